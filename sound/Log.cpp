#include "sound/Log.h"

Q_LOGGING_CATEGORY(lcSound, "kavendra.sound", QtWarningMsg)
