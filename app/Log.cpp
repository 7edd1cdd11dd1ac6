#include "app/Log.h"

Q_LOGGING_CATEGORY(lcApp, "kavendra.app", QtWarningMsg)
