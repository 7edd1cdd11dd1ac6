#include "model/SongSchedule.h"

#include <QStringList>
#include <limits>

SongSchedule::SongSchedule(const QString &tapOrder, const std::function<bool(int)> &exists,
                           int tempo, int beats)
    : m_tempo(qBound(MinTempo, tempo, MaxTempo)), m_beats(qBound(MinBeats, beats, MaxBeats))
{
    const QStringList pieces = tapOrder.split(QLatin1Char(','));
    for (int position = 0; position < pieces.size(); ++position) {
        const QString piece = pieces[position].trimmed();
        if (piece.isEmpty())
            continue;
        bool ok = false;
        const int value = piece.toInt(&ok);
        if (ok && value >= 0 && value < std::numeric_limits<int>::max() && exists(value + 1))
            m_entries.append({position, value + 1});
        else
            m_skipped.append(piece);
    }
}

qint64 SongSchedule::startFrame(int index, int sampleRate) const
{
    // One multiplication per entry: rounding never adds up along the song.
    const qint64 numerator = qint64(index) * m_beats * 60 * sampleRate;
    return (numerator + m_tempo / 2) / m_tempo;
}

double SongSchedule::entryMilliseconds() const
{
    return 60000.0 * m_beats / m_tempo;
}
