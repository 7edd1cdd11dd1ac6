// Rendering speed: a full sound of four strokes on six strings, against the floor (only the work
// no render can avoid, for the same sound), and a single note. Target: a full render within 1 ms
// (median) and within 1.3 times the floor of the same run; the last line prints that ratio.
#include "sound/SoundInfo.h"
#include "sound/SoundMixer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtEndian>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Rate = 16000;
constexpr int WaveHeaderSize = 44;
constexpr double FloorTarget = 1.3;

// No string plays the same note twice, so every one of the 24 notes rings in full: nothing is cut
// by a restart, and the render fades all of them.
SoundInfo fullSound()
{
    SoundInfo s;
    const int chords[SoundInfo::Strokes][SoundInfo::Strings] = {
        {3, 0, 0, 0, 2, 3}, {0, 1, 2, 2, 3, 8}, {2, 3, 4, 4, 5, 7}, {1, 2, 1, 3, 0, 0}};
    for (int r = 0; r < SoundInfo::Strokes; ++r) {
        std::copy(chords[r], chords[r] + SoundInfo::Strings, s.fret[r]);
        s.strum_speed[r] = 15;
        s.direction[r] = r % 2 ? -1 : 1;
    }
    std::fill(s.time_offset, s.time_offset + SoundInfo::Gaps, 250.0);
    s.hold = 100;
    return s;
}

QString benchFile()
{
    return QDir::temp().filePath(
        QStringLiteral("kavendra-bench-%1.wav").arg(QCoreApplication::applicationPid()));
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool render(SoundMixer &mixer, const SoundInfo &s, const QString &path)
{
    return mixer.render(path, NoteBank::SamplePrefix, &s.fret[0][0], s.time_offset, s.strum_speed,
                        s.direction, s.hold, s.gt);
}

// file 0 renders into /dev/null: all of the render's work but the disk's.
void renderFullSound(benchmark::State &state)
{
    auto mixer = std::make_unique<SoundMixer>();
    const SoundInfo s = fullSound();
    const QString path = state.range(0) ? benchFile() : QStringLiteral("/dev/null");
    for (auto _ : state) {
        render(*mixer, s, path);
        benchmark::DoNotOptimize(mixer->mix().samples[0]);
    }
    state.counters["samples"] = mixer->mix().length;
    QFile::remove(benchFile());
}

// One note of the floor: its samples and where it starts in the mix.
struct FloorNote
{
    std::vector<qint16> samples;
    int start = 0;
};

// The notes of fullSound in the render's order (string by string, stroke by stroke), so that the
// floor adds them up exactly as the render does.
std::vector<FloorNote> floorNotes(const SoundInfo &s)
{
    std::vector<FloorNote> notes;
    for (int j = 0; j < SoundInfo::Strings; ++j) {
        for (int r = 0; r < SoundInfo::Strokes; ++r) {
            const int slot = s.direction[r] > 0 ? SoundInfo::Strings - 1 - j : j;
            const double startS = r * s.time_offset[0] / 1000.0 + slot * s.strum_speed[r] / 1000.0;
            const QByteArray wave =
                fileBytes(sampleName(s.gt, noteIndex(j, s.fret[r][j]), NoteBank::SamplePrefix));
            FloorNote note;
            note.samples.resize((wave.size() - WaveHeaderSize) / 2);
            for (size_t i = 0; i < note.samples.size(); ++i)
                note.samples[i] =
                    qFromLittleEndian<qint16>(wave.constData() + WaveHeaderSize + 2 * i);
            note.start = int(Rate * startS);
            notes.push_back(std::move(note));
        }
    }
    return notes;
}

__attribute__((target_clones("avx512f", "avx2", "default"))) void
floorFade(double *mix, const qint16 *v, int length)
{
    const double ring = length;
    for (int i = 0; i < length; ++i)
        mix[i] += v[i] * (ring - double(i)) / ring;
}

__attribute__((target_clones("avx512f", "avx2", "default"))) double floorPeak(const double *mix,
                                                                              int length)
{
    double peak = 0.0;
#pragma omp simd reduction(max : peak)
    for (int i = 0; i < length; ++i)
        peak = std::max(peak, std::abs(mix[i]));
    return peak;
}

__attribute__((target_clones("avx512f", "avx2", "default"))) void
floorConvert(const double *mix, int length, double scale, qint16 *pcm)
{
    for (int i = 0; i < length; ++i) {
        double u = (mix[i] * scale + 1.0) / 2.0 * 65536.0;
        u = std::min(u >= 0.0 ? u : 0.0, 65535.0);
        pcm[i] = qint16(int(u + 0.5) - 32768);
    }
}

// Fades the notes into the mix, normalises and converts: the 16-bit samples of the sound.
int renderFloor(const std::vector<FloorNote> &notes, std::vector<double> &mix,
                std::vector<qint16> &pcm)
{
    int length = 0;
    for (const FloorNote &note : notes)
        length = std::max(length, note.start + int(note.samples.size()));
    std::fill(mix.begin(), mix.begin() + length, 0.0);
    for (const FloorNote &note : notes)
        floorFade(mix.data() + note.start, note.samples.data(), int(note.samples.size()));
    const double peak = floorPeak(mix.data(), length);
    floorConvert(mix.data(), length, 1.0 / peak, pcm.data());
    return length;
}

void floorOfFullSound(benchmark::State &state)
{
    const SoundInfo s = fullSound();
    const std::vector<FloorNote> notes = floorNotes(s);
    std::vector<double> mix(WaveBuffer::Capacity);
    std::vector<qint16> pcm(WaveBuffer::Capacity);
    // The floor must make the very sound the render makes.
    auto mixer = std::make_unique<SoundMixer>();
    const QString path = benchFile();
    render(*mixer, s, path);
    const int length = renderFloor(notes, mix, pcm);
    const QByteArray rendered = fileBytes(path).mid(WaveHeaderSize);
    QFile::remove(path);
    if (rendered != QByteArray(reinterpret_cast<const char *>(pcm.data()), 2 * length))
        state.SkipWithError("the floor's sound differs from the render's");
    for (auto _ : state)
        benchmark::DoNotOptimize(renderFloor(notes, mix, pcm));
    state.counters["samples"] = length;
}

void playNoteWithoutPlayback(benchmark::State &state)
{
    auto mixer = std::make_unique<SoundMixer>();
    const bool write = state.range(0);
    const QString path = benchFile();
    for (auto _ : state) {
        mixer->mixSingleNote(0, 5, 3);
        if (write)
            SoundMixer::writeWave(mixer->mix(), path);
        benchmark::DoNotOptimize(mixer->mix().samples[0]);
    }
    QFile::remove(path);
}

// The console report, plus the full render's median CPU time over the floor's (CPU time: other
// work on the machine disturbs it less than wall time).
class FloorRatioReporter : public benchmark::ConsoleReporter
{
public:
    FloorRatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                m_times[run.run_name.function_name + "/" + run.run_name.args] =
                    run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatio() const
    {
        const auto full = m_times.find("renderFullSound/file:0");
        const auto floor = m_times.find("floorOfFullSound/");
        if (full == m_times.end() || floor == m_times.end())
            return;
        const double ratio = full->second / floor->second;
        std::printf("full render / floor: %.2f (target <= %.1f) %s\n", ratio, FloorTarget,
                    ratio <= FloorTarget ? "ok" : "MISSED");
    }

private:
    std::map<std::string, double> m_times;
};

} // namespace

BENCHMARK(renderFullSound)->ArgName("file")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(floorOfFullSound)->Unit(benchmark::kMicrosecond);
BENCHMARK(playNoteWithoutPlayback)->ArgName("write")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    FloorRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio();
    benchmark::Shutdown();
    return 0;
}
