#include "widgets/Log.h"

Q_LOGGING_CATEGORY(lcWidgets, "kavendra.widgets", QtWarningMsg)
