// Save and load of a full song: 45 buttons and long lyrics. "Memory" runs write to /dev/shm,
// so the figure is the program's own work; "Disk" adds the file system's sync of the save.
#include "buttons/ButtonIconTable.h"
#include "buttons/QButtonPanel.h"
#include "buttons/QSoundButton.h"
#include "script/SongScript.h"
#include "script/SongScriptReader.h"
#include "script/SongScriptWriter.h"
#include "upload/DialogSongInfo.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int Buttons = 45;
constexpr int LyricsLines = 400;

// A full panel and a song info dialog with about 24 kB of lyrics.
struct FullSong
{
    ButtonIconTable table;
    QButtonPanel panel{nullptr, &table};
    DialogSongInfo info{nullptr};

    FullSong()
    {
        panel.resize(311, 160);
        info.setTitle(QStringLiteral("[Live] Evening, at the harbour"));
        info.setArtist(QStringLiteral("The Band"));
        info.setUser(QStringLiteral("player"));
        QStringList lines;
        for (int i = 0; i < LyricsLines; ++i)
            lines << QStringLiteral("[Verse %1] the tide comes in, the lights go out again").arg(i);
        info.setLyrics(lines.join(QLatin1Char('\n')));
        QStringList taps;
        for (int i = 0; i < 500; ++i)
            taps << QString::number(i % Buttons);
        info.setTapOrder(taps.join(QLatin1Char(',')));
        for (int n = 0; n < Buttons; ++n) {
            QSoundButton *button = panel.addEmptyButton(false);
            SoundInfo &sound = button->m_soundInfo;
            sound.reset();
            for (int s = 0; s < SoundInfo::Strings; ++s)
                sound.fret[0][s] = sound.fret[1][s] = (n + s) % 12;
            sound.strum_speed[0] = 40 + n;
            sound.direction[1] = -1;
            sound.strum_speed[1] = 35.5;
            sound.time_offset[0] = 120 + n / 3.0;
            button->m_iconIndex = n % ButtonIconTable::Count;
            button->m_texts[2] = QString::number(n + 1);
        }
    }
};

QString scratchDirectory(bool memory)
{
    const QString shm = QStringLiteral("/dev/shm");
    return memory && QFileInfo(shm).isWritable() ? shm : QDir::tempPath();
}

void BM_SaveSong(benchmark::State &state)
{
    FullSong song;
    QTemporaryDir dir(scratchDirectory(state.range(0)) + QStringLiteral("/kavendra-bench-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("song.kds"));
    for (auto _ : state) {
        SongScript script(&song.panel, &song.table, &song.info);
        benchmark::DoNotOptimize(script.save(path, &song.panel));
    }
    state.SetLabel(state.range(0) ? "memory" : "disk");
}
BENCHMARK(BM_SaveSong)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_LoadSong(benchmark::State &state)
{
    FullSong song;
    QTemporaryDir dir(scratchDirectory(true) + QStringLiteral("/kavendra-bench-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("song.kds"));
    SongScript(&song.panel, &song.table, &song.info).save(path, &song.panel);
    ButtonIconTable table;
    QButtonPanel panel(nullptr, &table);
    DialogSongInfo info(nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        panel.deleteAll();
        state.ResumeTiming();
        SongScript script(&panel, &table, &info);
        benchmark::DoNotOptimize(script.load(path));
    }
}
BENCHMARK(BM_LoadSong)->Unit(benchmark::kMillisecond);

// The format alone, without widgets or files.
void BM_WriteSongText(benchmark::State &state)
{
    FullSong full;
    const QByteArray bytes = [&] {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("song.kds"));
        SongScript(&full.panel, &full.table, &full.info).save(path, &full.panel);
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    const Song song = SongScriptReader::read(bytes, true, Buttons);
    for (auto _ : state)
        benchmark::DoNotOptimize(SongScriptWriter::write(song));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_WriteSongText)->Unit(benchmark::kMicrosecond);

void BM_ReadSongText(benchmark::State &state)
{
    FullSong full;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("song.kds"));
    SongScript(&full.panel, &full.table, &full.info).save(path, &full.panel);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
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
