#pragma once

#include <QByteArray>
#include <QString>

struct Song;
struct SongButton;

// Writes a song as a song script: sections "etc", "display", "song", "align" and one "multi"
// per button, UTF-8 without byte-order mark, every line ended by a single line feed.
class SongScriptWriter
{
public:
    static QByteArray write(const Song &song);

    // A real as the file carries it: up to 15 significant digits, never "-0".
    static QString real(double value);

private:
    static void writeSongSection(QString &out, const Song &song);
    static void writeButton(QString &out, const SongButton &button);
};
