#pragma once

#include <QStringList>

// The songs loaded or saved last, newest first, kept in the settings ("RecentFiles").
class RecentSongs
{
public:
    static constexpr int Limit = 8;

    // The remembered songs whose files are still there.
    static QStringList existing();
    // Puts the song first; a song already on the list moves up.
    static void add(const QString &fileName);
};
