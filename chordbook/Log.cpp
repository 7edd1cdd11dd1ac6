#include "chordbook/Log.h"

Q_LOGGING_CATEGORY(lcChordBook, "kavendra.chordbook", QtWarningMsg)
