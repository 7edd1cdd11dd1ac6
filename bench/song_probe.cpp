// Helper of song_player.sh: plays a song of many tap order entries through the song player on
// the live output.
//   song_probe play <dir> <entries>   logs "play <scheduled monotonic us> <file>" for every entry
//                                     (the file holds the entry's sound), for playcheck onsets;
//                                     how late the player's thread handed each sound on goes to
//                                     standard error
#include "model/SongModel.h"
#include "model/SongPlayer.h"
#include "model/SongRenderer.h"
#include "model/SongSchedule.h"
#include "sound/WaveFile.h"
#include "sound/WavePlayer.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// 300 beats per minute: 200 ms an entry, and five sounds, so a sound comes back only after 1 s.
constexpr int Tempo = 300;
constexpr int Buttons = 5;
// The recorder's monitor stream delivers in bursts for its first second or two.
constexpr int OpenWaitMs = 3000;
constexpr int AfterSongMs = 1000;

qint64 microseconds(SongClock::Time t)
{
    return std::chrono::duration_cast<std::chrono::microseconds>(t).count();
}

// The steady clock, noting the song's start (the player's first look at it).
class NotingClock : public SongClock
{
public:
    Time now() const override
    {
        const Time t = m_steady->now();
        if (start == Time::zero())
            start = t;
        return t;
    }
    bool sleepUntil(Time deadline) override { return m_steady->sleepUntil(deadline); }
    void wake() override { m_steady->wake(); }
    void rearm() override { m_steady->rearm(); }

    mutable Time start{};

private:
    std::unique_ptr<SongClock> m_steady = SongClock::steady();
};

// The live output, noting when each sound was handed on.
class NotingOutput : public SongOutput
{
public:
    void play(int sampleRate, const QByteArray &pcm) override
    {
        calls.push_back(m_steady->now());
        m_live->play(sampleRate, pcm);
    }

    std::vector<SongClock::Time> calls;

private:
    std::unique_ptr<SongClock> m_steady = SongClock::steady();
    std::unique_ptr<SongOutput> m_live = SongOutput::live();
};

SoundInfo chord(int gt, std::initializer_list<int> frets)
{
    SoundInfo s;
    s.reset();
    std::copy(frets.begin(), frets.end(), s.fret[0]);
    s.hold = 100;
    s.gt = gt;
    return s;
}

void fillSong(SongModel &song, int entries)
{
    const SoundInfo chords[Buttons] = {chord(0, {0, 1, 0, 2, 3, -1}), chord(1, {3, 0, 0, 0, 2, 3}),
                                       chord(2, {-1, -1, 2, 2, 0, 0}), chord(0, {0, 0, 2, 2, 0, 0}),
                                       chord(1, {1, 3, 3, 2, 1, 1})};
    for (const SoundInfo &sound : chords)
        song.addButton(0, sound);
    QStringList order;
    for (int i = 0; i < entries; ++i)
        order << QString::number(i % Buttons);
    song.setInfo(SongModel::TapOrder, order.join(QLatin1Char(',')));
    song.setTempo(Tempo);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

int play(const QString &dir, int entries)
{
    SongModel song;
    fillSong(song, entries);
    const SongSchedule schedule = song.schedule();
    SongRenderer renderer;
    const int rate = SongRenderer::sampleRate();
    QHash<int, QByteArray> sounds;
    for (int n = 1; n <= Buttons; ++n) {
        sounds[n] = renderer.renderButton(song, n);
        QString error;
        if (!WaveFile::write(dir + QStringLiteral("/b%1.wav").arg(n), rate, sounds[n], &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }
    WavePlayer::prepare();
    QThread::msleep(OpenWaitMs);

    auto clock = std::make_unique<NotingClock>();
    auto output = std::make_unique<NotingOutput>();
    NotingClock *noting = clock.get();
    NotingOutput *calls = output.get();
    SongPlayer player(std::move(clock), std::move(output));
    QObject::connect(&player, &SongPlayer::finished, qApp, &QCoreApplication::quit);
    player.play(schedule, sounds, rate);
    QCoreApplication::exec();
    QThread::msleep(AfterSongMs);

    QTextStream log(stdout);
    std::vector<double> late;
    for (int k = 0; k < int(calls->calls.size()); ++k) {
        const qint64 scheduled =
            microseconds(noting->start) + schedule.startFrame(k, rate) * 1000000 / rate;
        log << "play " << scheduled << ' ' << dir
            << QStringLiteral("/b%1.wav").arg(schedule.entries()[k].number) << '\n';
        late.push_back((microseconds(calls->calls[k]) - scheduled) / 1000.0);
    }
    std::fprintf(stderr,
                 "player thread: %zu sounds handed on, late by median %.2f ms, max %.2f ms\n",
                 late.size(), median(late), *std::max_element(late.begin(), late.end()));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == "play")
        return play(args[1], args[2].toInt());
    std::fprintf(stderr, "usage: song_probe play <dir> <entries>\n");
    return 2;
}
