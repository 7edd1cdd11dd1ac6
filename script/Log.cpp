#include "script/Log.h"

Q_LOGGING_CATEGORY(lcScript, "kavendra.script", QtWarningMsg)
