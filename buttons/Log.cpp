#include "buttons/Log.h"

Q_LOGGING_CATEGORY(lcButtons, "kavendra.buttons", QtWarningMsg)
