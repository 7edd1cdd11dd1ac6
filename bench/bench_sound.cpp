// Rendering speed: a full sound of four strokes on six strings, and a single note, each with and
// without writing the WAV file. Target: a full render within 1 ms (median).
#include "sound/SoundInfo.h"
#include "sound/SoundMixer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Four different chords, so every one of the 24 notes is read and mixed on its own.
SoundInfo fullSound()
{
    SoundInfo s;
    const int chords[4][6] = {
        {3, 0, 0, 0, 2, 3}, {0, 1, 0, 2, 3, -1}, {2, 3, 2, 0, -1, -1}, {0, 0, 0, 2, 2, 0}};
    for (int r = 0; r < 4; ++r) {
        std::copy(chords[r], chords[r] + 6, s.fret[r]);
        s.strum_speed[r] = 15;
        s.direction[r] = r % 2 ? -1 : 1;
    }
    // The third chord has two muted strings: fill them so all 24 strings sound.
    s.fret[2][4] = 5;
    s.fret[2][5] = 7;
    s.fret[1][5] = 8;
    std::fill(s.time_offset, s.time_offset + 3, 250.0);
    s.hold = 100;
    return s;
}

QString benchFile()
{
    return QDir::temp().filePath(
        QStringLiteral("kavendra-bench-%1.wav").arg(QCoreApplication::applicationPid()));
}

void renderFullSound(benchmark::State &state)
{
    auto mixer = std::make_unique<SoundMixer>();
    const SoundInfo s = fullSound();
    const QString path = benchFile();
    const bool write = state.range(0);
    for (auto _ : state) {
        if (write)
            mixer->render(path, NoteBank::SamplePrefix, &s.fret[0][0], s.time_offset, s.strum_speed,
                          s.direction, s.hold, s.gt);
        else
            mixer->mixStrum(NoteBank::SamplePrefix, &s.fret[0][0], s.time_offset, s.strum_speed,
                            s.direction, s.hold, s.gt);
        benchmark::DoNotOptimize(mixer->mix().samples[0]);
    }
    state.counters["samples"] = mixer->mix().length;
    QFile::remove(path);
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

} // namespace

BENCHMARK(renderFullSound)->ArgName("write")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(playNoteWithoutPlayback)->ArgName("write")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
