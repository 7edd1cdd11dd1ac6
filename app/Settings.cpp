#include "app/Settings.h"

QSettings Settings::store()
{
    return QSettings(QStringLiteral("Ommerlund"), QStringLiteral("Kavendra"));
}
