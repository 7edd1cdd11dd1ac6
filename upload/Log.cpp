#include "upload/Log.h"

Q_LOGGING_CATEGORY(lcUpload, "kavendra.upload", QtWarningMsg)
