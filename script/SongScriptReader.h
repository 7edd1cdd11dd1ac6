#pragma once

#include "script/Song.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

// Reads a song script into a Song: the bracket syntax of ".kds" files, or the older fret-list
// syntax. Buttons beyond maxButtons are counted in leftOutButtons and their records dropped.
class SongScriptReader
{
public:
    // Section modes; the numbers appear in the debug output.
    enum Mode { Chord, Multi, Align, SongInfo, Display, None };

    static Song read(const QByteArray &bytes, bool scriptSyntax, int maxButtons);
    // Files with the suffix "kds" (exactly) use the bracket syntax.
    static bool usesScriptSyntax(const QString &fileName);
    // UTF-8; bytes that are not valid UTF-8 come from an older Latin-1 system.
    static QString decode(const QByteArray &bytes);

private:
    SongScriptReader(const QString &text, int maxButtons);
    SongScriptReader(const SongScriptReader &) = delete; // m_lines points into m_text
    SongScriptReader &operator=(const SongScriptReader &) = delete;

    void parseScriptLine(QStringView line);
    void parseFretListLine(QStringView line);
    void openSection(QStringView line, qsizetype i);
    void openRecord(QStringView line, qsizetype i);
    void startButton();
    SongButton *current();

    void multiRecord(const QLatin1String &keyword, QStringView line, qsizetype comma);
    void chordRecord(const QLatin1String &keyword, QStringView line, qsizetype comma);
    void buttonRecord(const QLatin1String &keyword, QStringView line, qsizetype comma);
    void songRecord(const QLatin1String &keyword, QStringView line, qsizetype comma);
    QString readLyrics(QStringView line, qsizetype comma);

    void startFretListButton();
    void storeFret(int value);

    QStringView nextLine();

    const QString m_text;
    QList<QStringView> m_lines; // views into m_text
    qsizetype m_next = 0;
    int m_maxButtons;
    Song m_song;
    qint64 m_level = 0;
    Mode m_mode = None;
    bool m_hasCurrent = false;
    // Fret-list syntax state.
    qsizetype m_delimiter = -1;
    bool m_expectIndex = true;
    int m_index = 0;
    int m_lastValue = 0;
};
