#pragma once

#include "script/Song.h"

#include <QString>

class QSaveFile;

// A song script on disk. Only regular files up to MaxBytes are read: a pipe, a device or a
// huge file would block or fill the memory. Writing replaces the file atomically, so a failed
// write leaves the old file as it was.
class SongFile
{
public:
    // Far above a full panel with a megabyte of lyrics (about 1.1 MB).
    static constexpr qint64 MaxBytes = 4 * 1024 * 1024;

    // The bracket syntax for ".kds" files, the fret-list syntax for others; at most maxButtons
    // buttons, the rest counted in Song::leftOutButtons. False with the reason (for the user)
    // when the file is refused or cannot be read; the song is then left as it was.
    static bool read(const QString &fileName, int maxButtons, Song *song, QString *reason);
    // The same, with a file that cannot be read reading as an empty song.
    static Song read(const QString &fileName, int maxButtons);
    // False with the reason (for the user) when the file cannot be written.
    static bool write(const QString &fileName, const Song &song, QString *reason);

private:
    static bool readBytes(const QString &fileName, QByteArray *bytes, QString *reason);
    static void readOpened(int fd, qint64 size, QByteArray *bytes, QString *reason);
    static bool writeAll(QSaveFile &file, const QByteArray &bytes, QString *reason);
};
