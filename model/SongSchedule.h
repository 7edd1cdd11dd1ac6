#pragma once

#include <QList>
#include <QString>
#include <functional>

// The tap order as a timed sequence: which button each entry plays and the sample at which it
// starts. Entries that name no existing button are left out (and listed), so the song closes up
// around them. Start times are computed from the entry's index, never accumulated, so a long
// song cannot drift.
class SongSchedule
{
public:
    static constexpr int DefaultTempo = 120; // beats per minute
    static constexpr int DefaultBeats = 1;   // beats per entry
    static constexpr int MinTempo = 20;
    static constexpr int MaxTempo = 400;
    static constexpr int MinBeats = 1;
    static constexpr int MaxBeats = 16;

    struct Entry
    {
        int position = 0; // in the tap order, counted from 0
        int number = 0;   // the button it plays
    };

    // tapOrder as stored: comma-separated button numbers minus one; blanks around entries and
    // empty entries are ignored. exists tells whether a button number is on the panel.
    SongSchedule(const QString &tapOrder, const std::function<bool(int)> &exists,
                 int tempo = DefaultTempo, int beats = DefaultBeats);

    const QList<Entry> &entries() const { return m_entries; }
    // The texts of the entries left out, as written in the tap order.
    const QStringList &skipped() const { return m_skipped; }
    int tempo() const { return m_tempo; }
    int beats() const { return m_beats; }

    // The first sample of the entry with the given index in entries().
    qint64 startFrame(int index, int sampleRate) const;
    // Milliseconds of one entry.
    double entryMilliseconds() const;

    static bool isValidTempo(int tempo) { return tempo >= MinTempo && tempo <= MaxTempo; }
    static bool isValidBeats(int beats) { return beats >= MinBeats && beats <= MaxBeats; }

private:
    QList<Entry> m_entries;
    QStringList m_skipped;
    int m_tempo;
    int m_beats;
};
