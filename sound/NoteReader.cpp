#include "sound/NoteReader.h"

#include "sound/Log.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <climits>

namespace {

constexpr int HeaderSize = 44;
constexpr int SampleRateOffset = 24;
constexpr int DataSizeOffset = 40;
constexpr int Timbres = 3;
constexpr char TimbreLetters[Timbres] = {'a', 'c', 'd'};
// Semitones above the open sixth string, from the sixth string to the first.
constexpr int StringBase[NoteBank::StringCount] = {0, 5, 10, 15, 19, 24};
// Far beyond any buffer, small enough for exact 64-bit integer arithmetic.
constexpr double PositionLimit = 1e15;

// Sample index as a whole number: truncated toward zero, negative (or NaN) taken as 0.
qint64 toPosition(double value)
{
    if (!(value > 0.0))
        return 0;
    return qint64(std::min(value, PositionLimit));
}

// The bytes of one sample file: uncompressed resources are used in place, files are read.
struct SampleBytes
{
    QFile file;
    QByteArray copy;
    const uchar *data = nullptr;
    qint64 size = 0;

    bool open(const QString &name)
    {
        file.setFileName(name);
        if (name.isEmpty() || !file.open(QIODevice::ReadOnly))
            return false;
        size = file.size();
        if (name.startsWith(QLatin1Char(':')) && size > 0)
            data = file.map(0, size);
        if (!data) {
            copy = file.readAll();
            data = reinterpret_cast<const uchar *>(copy.constData());
            size = copy.size();
        }
        return true;
    }
};

// mix[i] += v[i] * (L - i) / L * gain for the first count samples v. Cloned for wider vector
// units: this division dominates a render, and IEEE division gives the same result at any width.
__attribute__((target_clones("avx512f", "avx2", "default"))) void
fadeInto(double *mix, int count, const uchar *samples, double ringLength, double gain)
{
    for (int i = 0; i < count; ++i) {
        const double v = qFromLittleEndian<qint16>(samples + 2 * i);
        mix[i] += v * (ringLength - double(i)) / ringLength * gain;
    }
}

} // namespace

int noteIndex(int string, int fret)
{
    if (string < 0 || string >= NoteBank::StringCount || fret < 0)
        return -1;
    return StringBase[NoteBank::StringCount - 1 - string] + std::min(fret, NoteBank::NoteCount);
}

QString sampleName(int gt, int noteIndex, const QString &prefix)
{
    if (gt < 0 || gt >= Timbres || noteIndex < 0)
        return QString();
    return prefix + QLatin1Char(TimbreLetters[gt]) +
           QStringLiteral("%1.wav").arg(noteIndex, 2, 10, QLatin1Char('0'));
}

int readNote(const NoteRequest &request, double *mix)
{
    SampleBytes bytes;
    if (!bytes.open(request.sampleName))
        return -1;
    return mixNote(request, bytes.data, bytes.size, mix);
}

int mixNote(const NoteRequest &request, const uchar *data, qint64 size, double *mix)
{
    if (size < HeaderSize)
        return -1;
    const qint32 sampleRate = qFromLittleEndian<qint32>(data + SampleRateOffset);
    const quint32 dataSize = qFromLittleEndian<quint32>(data + DataSizeOffset);
    // A data size beyond the end of the file reads only what is there.
    const qint64 sampleCount = std::min<qint64>(dataSize / 2, (size - HeaderSize) / 2);
    const qint64 ringLength = toPosition(double(sampleCount) * request.ringFraction);
    qCDebug(lcSound) << "real length:" << ringLength;

    const int copyCount = std::clamp(request.copyCount, 0, NoteRequest::MaxCopies);
    qint64 offsets[NoteRequest::MaxCopies] = {};
    for (int k = 0; k < copyCount; ++k)
        offsets[k] = toPosition(double(sampleRate) * request.startTimes[k]);
    std::sort(offsets, offsets + copyCount);

    // Past the recorded samples a ring adds silence: nothing to add.
    const qint64 sounding = std::min(ringLength, sampleCount);
    for (int k = 0; k < copyCount; ++k) {
        qint64 stop = std::min<qint64>(offsets[k] + sounding, NoteBank::BufferSize);
        if (k + 1 < copyCount)
            stop = std::min(stop, offsets[k + 1]);
        if (offsets[k] < stop)
            fadeInto(mix + offsets[k], int(stop - offsets[k]), data + HeaderSize,
                     double(ringLength), request.gain);
    }
    const qint64 lastStart = copyCount > 0 ? offsets[copyCount - 1] : 0;
    return int(std::min<qint64>(lastStart + ringLength, INT_MAX));
}
