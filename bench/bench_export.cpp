// Export of a 200-entry song: every distinct button rendered once, the entries joined with their
// cut fades, and the WAV file written. Target: under 0.5 s. The argument is how many distinct
// buttons the tap order plays (a row of the panel, or all of it).
#include "model/SongModel.h"
#include "model/SongRenderer.h"
#include "sound/WaveFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <benchmark/benchmark.h>

namespace {
constexpr int Entries = 200;

// Buttons whose chords differ, strummed down and up, ringing in full.
void fillSong(SongModel &song, int buttons)
{
    for (int b = 0; b < buttons; ++b) {
        SoundInfo s;
        s.reset();
        for (int r = 0; r < 2; ++r) {
            for (int string = 0; string < SoundInfo::Strings; ++string)
                s.fret[r][string] = (b + string * 2) % 12;
            s.strum_speed[r] = 15;
        }
        s.direction[1] = -1;
        s.time_offset[0] = 200;
        s.gt = b % 3;
        song.addButton(0, s);
    }
    QStringList taps;
    for (int i = 0; i < Entries; ++i)
        taps << QString::number((i * 7) % buttons);
    song.setInfo(SongModel::TapOrder, taps.join(QLatin1Char(',')));
}

void exportSong(benchmark::State &state)
{
    SongModel song;
    fillSong(song, int(state.range(0)));
    const QString path = QDir::temp().filePath(
        QStringLiteral("kavendra-bench-export-%1.wav").arg(QCoreApplication::applicationPid()));
    qint64 bytes = 0;
    for (auto _ : state) {
        SongRenderer renderer; // nothing rendered before
        const QByteArray pcm = renderer.renderSong(song, song.schedule());
        QString error;
        if (!WaveFile::write(path, SongRenderer::sampleRate(), pcm, &error)) {
            state.SkipWithError(qPrintable(error));
            break;
        }
        bytes = pcm.size();
    }
    state.counters["seconds_of_sound"] = double(bytes / 2) / SongRenderer::sampleRate();
    QFile::remove(path);
}
BENCHMARK(exportSong)->ArgName("buttons")->Arg(9)->Arg(45)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
