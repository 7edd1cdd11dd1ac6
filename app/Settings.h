#pragma once

#include <QSettings>

// What the program remembers between runs, in the platform's settings store for the
// organisation "Ommerlund" and the application "Kavendra".
class Settings
{
public:
    static QSettings store();
};
