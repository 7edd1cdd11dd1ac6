#pragma once

#include <QString>

class QWidget;

// The save dialog with the suffix rule of the program's files: a name chosen without the suffix
// gets it, and as the dialog asked about replacing the name as typed, the suffixed name is asked
// about here. An empty string when the user cancels.
class SaveName
{
public:
    static QString choose(QWidget *window, const QString &title, const QString &start,
                          const QString &filter, const QString &suffix);
};
