#include "sound/SoundMixer.h"

#include "sound/Log.h"
#include "sound/WaveFile.h"
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
    u = u >= 0.0 ? u : 0.0; // NaN too
    u = std::min(u, 65535.0);
    return qint16(int(u + 0.5) - 32768);
}

// The greatest absolute value. The maximum does not depend on the order, so lanes may share it.
__attribute__((target_clones("avx512f", "avx2", "default"))) double peakOf(const double *samples,
                                                                           int length)
{
    double peak = 0.0;
#pragma omp simd reduction(max : peak)
    for (int i = 0; i < length; ++i)
        peak = std::max(peak, std::abs(samples[i]));
    return peak;
}

// The 16-bit samples of samples[i] * scale for i below length; with Keep the scaled values also
// replace the samples, so a mix is normalised and converted in one pass.
template <bool Keep>
__attribute__((target_clones("avx512f", "avx2", "default"))) void toPcm(double *samples, int length,
                                                                        double scale, uchar *pcm)
{
    for (int i = 0; i < length; ++i) {
        const double x = samples[i] * scale;
        if (Keep)
            samples[i] = x;
        qToLittleEndian<qint16>(toPcm16(x), pcm + 2 * i);
    }
}

bool writeFile(const QString &path, const char *bytes, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes, size) == size && file.flush();
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

SoundMixer::SoundMixer() : m_fileBytes(WaveFile::HeaderSize + 2 * WaveBuffer::Capacity, '\0') {}

void SoundMixer::setSoundType(int gt)
{
    m_soundType = gt;
}

bool SoundMixer::render(const QString &outPath, const QString &samplePrefix, const int *fret,
                        const double *timeOffset, const double *strumSpeed, const int *direction,
                        double hold, int gt)
{
    mixStrumNotes(samplePrefix, fret, timeOffset, strumSpeed, direction, hold, gt);
    return writeNormalized(outPath);
}

void SoundMixer::mixStrum(const QString &samplePrefix, const int *fret, const double *timeOffset,
                          const double *strumSpeed, const int *direction, double hold, int gt)
{
    mixStrumNotes(samplePrefix, fret, timeOffset, strumSpeed, direction, hold, gt);
    normalize();
}

void SoundMixer::mixStrumNotes(const QString &samplePrefix, const int *fret,
                               const double *timeOffset, const double *strumSpeed,
                               const int *direction, double hold, int gt)
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
}

void SoundMixer::playNote(int gt, int string, int fret)
{
    mixOneNote(gt, string, fret);
    const QString path = noteFilePath();
    if (writeNormalized(path))
        WavePlayer::play(path);
}

void SoundMixer::mixSingleNote(int gt, int string, int fret)
{
    mixOneNote(gt, string, fret);
    normalize();
}

void SoundMixer::mixOneNote(int gt, int string, int fret)
{
    NoteRequest request;
    request.sampleName = sampleName(gt, noteIndex(string, fret), NoteBank::SamplePrefix);
    qCDebug(lcSound).noquote() << request.sampleName;
    std::fill(m_mix.samples, m_mix.samples + m_mix.length, 0.0);
    m_mix.length = 0;
    mixNote(request);
}

void SoundMixer::mixNote(const NoteRequest &request)
{
    const int end = readNote(request, m_mix.samples);
    if (end > 0)
        m_mix.length = std::max(m_mix.length, std::min(end, NoteBank::BufferSize));
}

double SoundMixer::normalizingScale() const
{
    const double peak = peakOf(m_mix.samples, m_mix.length);
    return peak == 0.0 ? 1.0 : 1.0 / peak; // silence stays silence
}

void SoundMixer::normalize()
{
    const double scale = normalizingScale();
    for (int i = 0; i < m_mix.length; ++i)
        m_mix.samples[i] *= scale;
}

QByteArray SoundMixer::pcm() const
{
    QByteArray bytes(2 * m_mix.length, Qt::Uninitialized);
    toPcm<false>(m_mix.samples, m_mix.length, 1.0, reinterpret_cast<uchar *>(bytes.data()));
    return bytes;
}

bool SoundMixer::writeWave(const WaveBuffer &wave, const QString &path)
{
    const int length = std::clamp(wave.length, 0, WaveBuffer::Capacity);
    QByteArray bytes(WaveFile::HeaderSize + 2 * length, Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(bytes.data());
    WaveFile::putHeader(out, wave.sampleRate, length);
    toPcm<false>(wave.samples, length, 1.0, out + WaveFile::HeaderSize);
    return writeFile(path, bytes.constData(), bytes.size());
}

bool SoundMixer::writeNormalized(const QString &path)
{
    auto *out = reinterpret_cast<uchar *>(m_fileBytes.data());
    WaveFile::putHeader(out, m_mix.sampleRate, m_mix.length);
    toPcm<true>(m_mix.samples, m_mix.length, normalizingScale(), out + WaveFile::HeaderSize);
    if (writeFile(path, m_fileBytes.constData(), WaveFile::HeaderSize + 2 * m_mix.length))
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
