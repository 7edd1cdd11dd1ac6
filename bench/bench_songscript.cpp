// Save and load of a full song: 45 buttons and long lyrics. "Memory" runs write to /dev/shm,
// so the figure is the program's own work; "Disk" adds the file system's sync of the save.
#include "buttons/ButtonIconTable.h"
#include "buttons/DialogSelectIcon.h"
#include "buttons/QButtonPanel.h"
#include "history/SongHistory.h"
#include "model/SongModel.h"
#include "script/SongFile.h"
#include "script/SongScriptReader.h"
#include "script/SongScriptWriter.h"
#include "upload/DialogSongInfo.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int Buttons = 45;
constexpr int LyricsLines = 400;

// A full grid of buttons and about 24 kB of lyrics.
Song fullSong()
{
    Song song;
    song.title = QStringLiteral("[Live] Evening, at the harbour");
    song.artist = QStringLiteral("The Band");
    song.user = QStringLiteral("player");
    QStringList lines;
    for (int i = 0; i < LyricsLines; ++i)
        lines << QStringLiteral("[Verse %1] the tide comes in, the lights go out again").arg(i);
    song.lyrics = lines.join(QLatin1Char('\n'));
    QStringList taps;
    for (int i = 0; i < 500; ++i)
        taps << QString::number(i % Buttons);
    song.tapOrder = taps.join(QLatin1Char(','));
    for (int n = 0; n < Buttons; ++n) {
        SongButton button;
        SoundInfo &sound = button.info;
        sound.reset();
        for (int s = 0; s < SoundInfo::Strings; ++s)
            sound.fret[0][s] = sound.fret[1][s] = (n + s) % 12;
        sound.strum_speed[0] = 40 + n;
        sound.direction[1] = -1;
        sound.strum_speed[1] = 35.5;
        sound.time_offset[0] = 120 + n / 3.0;
        button.iconIndex = n % ButtonIconTable::Count;
        song.buttons.append(button);
    }
    return song;
}

// The song as the program holds it: the model with the panel and the song info dialog
// drawing it.
struct Program
{
    SongModel song;
    SongHistory history{&song};
    ButtonIconTable table;
    DialogSelectIcon chooser{&table};
    QButtonPanel panel{&history, &table, &chooser};
    DialogSongInfo info{&history};
};

// The full song as a save writes it: button places, the panel's size, labels.
Song savedSong()
{
    SongModel song;
    song.loadSong(fullSong());
    return song.toSong();
}

QString scratchDirectory(bool memory)
{
    const QString shm = QStringLiteral("/dev/shm");
    return memory && QFileInfo(shm).isWritable() ? shm : QDir::tempPath();
}

void BM_SaveSong(benchmark::State &state)
{
    Program program;
    program.song.loadSong(fullSong());
    QTemporaryDir dir(scratchDirectory(state.range(0)) + QStringLiteral("/kavendra-bench-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("song.kds"));
    QString reason;
    for (auto _ : state)
        benchmark::DoNotOptimize(SongFile::write(path, program.song.toSong(), &reason));
    state.SetLabel(state.range(0) ? "memory" : "disk");
}
BENCHMARK(BM_SaveSong)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Read, fill the model, draw every button and the song information.
void BM_LoadSong(benchmark::State &state)
{
    QTemporaryDir dir(scratchDirectory(true) + QStringLiteral("/kavendra-bench-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("song.kds"));
    QString reason;
    SongFile::write(path, savedSong(), &reason);
    Program program;
    for (auto _ : state) {
        state.PauseTiming();
        program.song.loadSong(Song());
        state.ResumeTiming();
        benchmark::DoNotOptimize(program.song.loadSong(SongFile::read(path, Buttons)));
    }
}
BENCHMARK(BM_LoadSong)->Unit(benchmark::kMillisecond);

// The format alone, without widgets or files.
void BM_WriteSongText(benchmark::State &state)
{
    const Song song = savedSong();
    const QByteArray bytes = SongScriptWriter::write(song);
    for (auto _ : state)
        benchmark::DoNotOptimize(SongScriptWriter::write(song));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_WriteSongText)->Unit(benchmark::kMicrosecond);

void BM_ReadSongText(benchmark::State &state)
{
    const QByteArray bytes = SongScriptWriter::write(savedSong());
    for (auto _ : state)
        benchmark::DoNotOptimize(SongScriptReader::read(bytes, true, Buttons));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReadSongText)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
