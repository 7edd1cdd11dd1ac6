#pragma once

#include "script/Song.h"

#include <QString>

class QSaveFile;

// A song script on disk. Reading never fails: a file that cannot be read reads as an empty song.
// Writing replaces the file atomically, so a failed write leaves the old file as it was.
class SongFile
{
public:
    // The bracket syntax for ".kds" files, the fret-list syntax for others; at most maxButtons
    // buttons, the rest counted in Song::leftOutButtons.
    static Song read(const QString &fileName, int maxButtons);
    // False with the reason (for the user) when the file cannot be written.
    static bool write(const QString &fileName, const Song &song, QString *reason);

private:
    static bool writeAll(QSaveFile &file, const QByteArray &bytes, QString *reason);
};
