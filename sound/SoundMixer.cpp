#include "sound/SoundMixer.h"

#include "sound/Log.h"
#include "sound/WavePlayer.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Strokes = 4;
constexpr int Strings = NoteBank::StringCount;
constexpr int Gaps = Strokes - 1;
constexpr double MutedStart = -100.0;
constexpr int WaveHeaderSize = 44;
const char NoteFileName[] = "tmp_sound.wav";
const char StrumFileName[] = "out.wav";
const char OutputDirName[] = "kavendra";

// Sound plan: note index and start time (seconds) of every stroke and string.
struct StrumPlan
{
    int note[Strokes][Strings];
    double start[Strokes][Strings];
    double strokeStart[Strokes];
};

void planNotes(StrumPlan &plan, const int *fret)
{
    for (int r = 0; r < Strokes; ++r)
        for (int j = 0; j < Strings; ++j)
            plan.note[r][j] = noteIndex(j, fret[r * Strings + j]);
}

// A sounding string takes the next slot of its stroke; a muted one gets none.
void planStroke(StrumPlan &plan, int r, double speed)
{
    std::fill(plan.start[r], plan.start[r] + Strings, MutedStart);
    if (speed == 0.0) {
        std::fill(plan.start[r], plan.start[r] + Strings, plan.strokeStart[r]);
        return;
    }
    const bool down = speed > 0.0;
    const double step = std::abs(speed);
    int slot = 0;
    for (int visited = 0; visited < Strings; ++visited) {
        const int j = down ? Strings - 1 - visited : visited;
        if (plan.note[r][j] < 0) {
            qCDebug(lcSound) << "danger!";
            continue;
        }
        plan.start[r][j] = plan.strokeStart[r] + slot * step;
        ++slot;
    }
}

void planTimes(StrumPlan &plan, const double *gap, const double *speed)
{
    plan.strokeStart[0] = 0.0;
    for (int r = 1; r < Strokes; ++r)
        plan.strokeStart[r] = plan.strokeStart[r - 1] + gap[r - 1];
    for (int r = 0; r < Strokes; ++r)
        planStroke(plan, r, speed[r]);
}

QString joined(const double *values, int count, const QString &separator)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QString::number(values[i], 'g', 6) + separator;
    return text;
}

void logPlan(const StrumPlan &plan, const int *fret, const double *gap, const double *speed)
{
    if (!lcSound().isDebugEnabled())
        return;
    QString frets;
    for (int i = 0; i < Strokes * Strings; ++i)
        frets += QString::number(fret[i]) + ((i + 1) % Strings == 0 ? "|" : "");
    qCDebug(lcSound).noquote() << "fret " + frets;
    qCDebug(lcSound).noquote() << "time " + joined(gap, Gaps, "|");
    qCDebug(lcSound).noquote() << "speed " + joined(speed, Strokes, "|");
    qCDebug(lcSound).noquote() << "time2 " + joined(plan.strokeStart, Strokes, "|");
    QString offsets;
    for (int r = 0; r < Strokes; ++r)
        offsets += joined(plan.start[r], Strings, " ") + "\n";
    qCDebug(lcSound).noquote() << "ofs " + offsets;
}

// 1.0 -> 32767, 0.0 -> 0, -1.0 -> -32768; beyond full scale clamps.
qint16 toPcm16(double x)
{
    double u = (x + 1.0) / 2.0 * 65536.0;
    if (!(u >= 0.0))
        u = 0.0;
    u = std::min(u, 65535.0);
    return qint16(int(u + 0.5) - 32768);
}

void putHeader(uchar *out, const WaveBuffer &wave, int length)
{
    const quint32 dataBytes = quint32(length) * 2;
    const quint16 blockAlign = quint16(wave.bitsPerSample / 8);
    std::copy_n("RIFF", 4, out);
    qToLittleEndian<quint32>(dataBytes + 36, out + 4);
    std::copy_n("WAVEfmt ", 8, out + 8);
    qToLittleEndian<quint32>(16, out + 16);
    qToLittleEndian<quint16>(1, out + 20); // PCM
    qToLittleEndian<quint16>(1, out + 22); // mono
    qToLittleEndian<quint32>(wave.sampleRate, out + 24);
    qToLittleEndian<quint32>(wave.sampleRate * blockAlign, out + 28);
    qToLittleEndian<quint16>(blockAlign, out + 32);
    qToLittleEndian<quint16>(wave.bitsPerSample, out + 34);
    std::copy_n("data", 4, out + 36);
    qToLittleEndian<quint32>(dataBytes, out + 40);
}

QString outputDirectory()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (base.isEmpty())
        base = QDir::tempPath();
    const QString dir = base + QLatin1Char('/') + OutputDirName;
    QDir().mkpath(dir);
    return dir;
}

} // namespace

SoundMixer::SoundMixer()
{
    WavePlayer::prepare(); // so that the first note is not late
}

void SoundMixer::setSoundType(int gt)
{
    m_soundType = gt;
}

bool SoundMixer::render(const QString &outPath, const QString &samplePrefix, const int *fret,
                        const double *timeOffset, const double *strumSpeed, const int *direction,
                        double hold, int gt)
{
    mixStrum(samplePrefix, fret, timeOffset, strumSpeed, direction, hold, gt);
    return writeOrDiscard(outPath);
}

void SoundMixer::mixStrum(const QString &samplePrefix, const int *fret, const double *timeOffset,
                          const double *strumSpeed, const int *direction, double hold, int gt)
{
    m_soundType = gt;
    double speed[Strokes];
    double gap[Gaps];
    for (int r = 0; r < Strokes; ++r)
        speed[r] = strumSpeed[r] / 1000.0 * direction[r];
    for (int i = 0; i < Gaps; ++i)
        gap[i] = timeOffset[i] / 1000.0;

    StrumPlan plan;
    planNotes(plan, fret);
    planTimes(plan, gap, speed);
    logPlan(plan, fret, gap, speed);

    std::fill(m_mix.samples, m_mix.samples + m_mix.length, 0.0);
    m_mix.length = 0;
    for (int j = 0; j < Strings; ++j) {
        bool consumed[Strokes] = {};
        for (int r = 0; r < Strokes; ++r) {
            const int note = plan.note[r][j];
            if (consumed[r] || note < 0)
                continue;
            // The same note in a later stroke restarts this string's ring.
            NoteRequest request;
            request.sampleName = sampleName(m_soundType, note, samplePrefix);
            request.startTimes[0] = plan.start[r][j];
            request.copyCount = 1;
            for (int r2 = r + 1; r2 < Strokes; ++r2) {
                if (consumed[r2] || plan.note[r2][j] != note)
                    continue;
                request.startTimes[request.copyCount++] = plan.start[r2][j];
                consumed[r2] = true;
            }
            request.ringFraction = hold / 100.0;
            mixNote(request);
            consumed[r] = true;
        }
    }
    normalize();
}

void SoundMixer::playNote(int gt, int string, int fret)
{
    mixSingleNote(gt, string, fret);
    const QString path = noteFilePath();
    if (writeOrDiscard(path))
        WavePlayer::play(path);
}

void SoundMixer::mixSingleNote(int gt, int string, int fret)
{
    NoteRequest request;
    request.sampleName = sampleName(gt, noteIndex(string, fret), NoteBank::SamplePrefix);
    qCDebug(lcSound).noquote() << request.sampleName;
    std::fill(m_mix.samples, m_mix.samples + m_mix.length, 0.0);
    m_mix.length = 0;
    mixNote(request);
    normalize();
}

void SoundMixer::mixNote(const NoteRequest &request)
{
    const int end = readNote(request, m_placement, m_scratch);
    if (end <= 0)
        return;
    const int used = std::min(end, NoteBank::BufferSize);
    m_mix.length = std::max(m_mix.length, used);
    // readNote wrote only [0, end) of the placement and leaves the scratch zero: clearing just that
    // keeps both work buffers zero, as the next note needs them.
    for (int i = 0; i < used; ++i) {
        m_mix.samples[i] += m_placement[i];
        m_placement[i] = 0.0;
    }
}

void SoundMixer::normalize()
{
    double peak = 0.0;
    for (int i = 0; i < m_mix.length; ++i)
        peak = std::max(peak, std::abs(m_mix.samples[i]));
    if (peak == 0.0)
        return; // silence stays silence
    const double scale = 1.0 / peak;
    for (int i = 0; i < m_mix.length; ++i)
        m_mix.samples[i] *= scale;
}

bool SoundMixer::writeWave(const WaveBuffer &wave, const QString &path)
{
    const int length = std::clamp(wave.length, 0, WaveBuffer::Capacity);
    QByteArray bytes(WaveHeaderSize + 2 * length, Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(bytes.data());
    putHeader(out, wave, length);
    for (int i = 0; i < length; ++i)
        qToLittleEndian<qint16>(toPcm16(wave.samples[i]), out + WaveHeaderSize + 2 * i);

    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

bool SoundMixer::writeOrDiscard(const QString &path)
{
    if (writeWave(m_mix, path))
        return true;
    qCDebug(lcSound) << "cannot write" << path;
    QFile::remove(path); // an older sound must not be played in its place
    return false;
}

QString SoundMixer::strumFilePath()
{
    return outputDirectory() + QLatin1Char('/') + StrumFileName;
}

QString SoundMixer::noteFilePath()
{
    if (QFileInfo(QDir::currentPath()).isWritable())
        return QDir::current().absoluteFilePath(NoteFileName);
    return outputDirectory() + QLatin1Char('/') + NoteFileName;
}
