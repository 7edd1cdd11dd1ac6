#pragma once

#include <QString>

// The program's own plug-in folder, found relative to the program itself (in the build tree
// as in an install under any prefix).
class PluginFolder
{
public:
    static QString path();
    // The file of the form poster plug-in in that folder; empty when there is none.
    static QString formPoster();
};
