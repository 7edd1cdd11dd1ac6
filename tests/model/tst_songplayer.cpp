// The song player on a clock of the test's own: each entry's sound at its exact time, the
// last one's ring, stop, loop, entries left out, and no drift over a long song.
#include "model/SongPlayer.h"

#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <functional>
#include <optional>

namespace {
using Time = SongClock::Time;
constexpr int Rate = 48000;

// Time passes only when the player sleeps; interruptAt plays a stop that comes at that time.
class FakeClock : public SongClock
{
public:
    Time now() const override { return m_now; }
    bool sleepUntil(Time deadline) override
    {
        if (onSleep)
            onSleep(deadline);
        if (m_woken)
            return false;
        if (interruptAt && deadline >= *interruptAt) {
            m_now = *interruptAt;
            return false;
        }
        m_now = std::max(m_now, deadline);
        return true;
    }
    void wake() override { m_woken = true; }
    void rearm() override { m_woken = false; }

    std::optional<Time> interruptAt;
    // Runs on the player's thread before each sleep: what the user does while the song plays.
    std::function<void(Time deadline)> onSleep;

private:
    Time m_now{1234567};
    std::atomic<bool> m_woken{false};
};

struct Played
{
    Time at;
    QByteArray pcm;
};

class Recorder : public SongOutput
{
public:
    explicit Recorder(const FakeClock *clock) : m_clock(clock) {}
    void play(int sampleRate, const QByteArray &pcm) override
    {
        played.append({m_clock->now(), sampleRate == Rate ? pcm : QByteArray("wrong rate")});
    }
    QList<Played> played;

private:
    const FakeClock *m_clock;
};

// Button n sounds as n frames of value n, so every sound is told apart and has its own ring.
QByteArray soundOf(int number, int frames)
{
    QByteArray pcm;
    for (int i = 0; i < frames; ++i)
        pcm.append(char(number)).append(char(0));
    return pcm;
}

Time timeOfFrame(qint64 frame)
{
    return Time(frame * 1000000000 / Rate);
}
} // namespace

class TestSongPlayer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void entriesStartOnTimeAndTheLastRingsOut();
    void missingButtonsAreLeftOut();
    void stopSilencesAndReportsOnce();
    void loopContinuesWithoutAGap();
    void noDriftOverTwoHundredEntries();
    void emptyScheduleDoesNotPlay();

private:
    SongSchedule schedule(const QString &tapOrder, int tempo = 120, int beats = 1) const;

    FakeClock *m_clock = nullptr;
    Recorder *m_output = nullptr;
    std::unique_ptr<SongPlayer> m_player;
    QHash<int, QByteArray> m_sounds;
    Time m_start{};
};

void TestSongPlayer::init()
{
    auto clock = std::make_unique<FakeClock>();
    auto output = std::make_unique<Recorder>(clock.get());
    m_clock = clock.get();
    m_output = output.get();
    m_start = m_clock->now();
    m_player = std::make_unique<SongPlayer>(std::move(clock), std::move(output));
    m_sounds = {{1, soundOf(1, 30000)}, {2, soundOf(2, 100)}, {3, soundOf(3, 50000)}};
}

SongSchedule TestSongPlayer::schedule(const QString &tapOrder, int tempo, int beats) const
{
    return SongSchedule(
        tapOrder, [this](int n) { return m_sounds.contains(n); }, tempo, beats);
}

void TestSongPlayer::entriesStartOnTimeAndTheLastRingsOut()
{
    QSignalSpy started(m_player.get(), &SongPlayer::entryStarted);
    QSignalSpy finished(m_player.get(), &SongPlayer::finished);
    // 120 beats per minute, a beat an entry: 24000 frames apart at 48 kHz.
    QVERIFY(m_player->play(schedule(QStringLiteral("0,1,2,1")), m_sounds, Rate));
    m_player->waitForEnd();
    QVERIFY(m_player->isPlaying());
    QCoreApplication::sendPostedEvents();

    const int numbers[] = {1, 2, 3, 2};
    QCOMPARE(m_output->played.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(m_output->played[i].at, m_start + timeOfFrame(24000 * i));
        QCOMPARE(m_output->played[i].pcm, m_sounds[numbers[i]]);
        QCOMPARE(started[i], QVariantList({i, numbers[i]}));
    }
    QCOMPARE(started.size(), 4);
    // The last sound (100 frames) is short: the song ends with the last entry's time.
    QCOMPARE(m_clock->now(), m_start + timeOfFrame(4 * 24000));
    QCOMPARE(finished.size(), 1);
    QVERIFY(!m_player->isPlaying());
}

void TestSongPlayer::missingButtonsAreLeftOut()
{
    QSignalSpy started(m_player.get(), &SongPlayer::entryStarted);
    m_player->play(schedule(QStringLiteral("0,7,2"), 60, 1), m_sounds, Rate);
    m_player->waitForEnd();
    QCoreApplication::sendPostedEvents();
    // The song closes up around the entry for button 8: the third entry plays second.
    QCOMPARE(m_output->played.size(), 2);
    QCOMPARE(m_output->played[1].at, m_start + timeOfFrame(Rate));
    QCOMPARE(m_output->played[1].pcm, m_sounds[3]);
    QCOMPARE(started.size(), 2);
    QCOMPARE(started[1], QVariantList({2, 3}));
    // A long last sound keeps ringing past its slot.
    QCOMPARE(m_clock->now(), m_start + timeOfFrame(Rate + 50000));
}

void TestSongPlayer::stopSilencesAndReportsOnce()
{
    QSignalSpy finished(m_player.get(), &SongPlayer::finished);
    // The stop comes one frame before the third entry.
    m_clock->interruptAt = m_start + timeOfFrame(2 * 24000 - 1);
    m_player->play(schedule(QStringLiteral("0,1,2,0")), m_sounds, Rate);
    m_player->waitForEnd();
    QCOMPARE(m_output->played.size(), 2);
    m_player->stop();
    QVERIFY(!m_player->isPlaying());
    QCOMPARE(m_output->played.size(), 3);
    QVERIFY(m_output->played.last().pcm.isEmpty());
    QCoreApplication::sendPostedEvents();
    QCOMPARE(finished.size(), 1);
    // A second stop does nothing.
    m_player->stop();
    QCOMPARE(m_output->played.size(), 3);
    QCOMPARE(finished.size(), 1);
}

void TestSongPlayer::loopContinuesWithoutAGap()
{
    QSignalSpy started(m_player.get(), &SongPlayer::entryStarted);
    m_player->setLooping(true);
    m_clock->interruptAt = m_start + timeOfFrame(7 * 24000 - 1);
    m_player->play(schedule(QStringLiteral("0,1,2")), m_sounds, Rate);
    m_player->waitForEnd();
    QCOMPARE(m_output->played.size(), 7);
    for (int k = 0; k < 7; ++k) {
        QCOMPARE(m_output->played[k].at, m_start + timeOfFrame(24000 * k));
        QCOMPARE(m_output->played[k].pcm, m_sounds[k % 3 + 1]);
    }
    m_player->stop();
    QCoreApplication::sendPostedEvents();
    // Reports still queued at the stop are dropped: the song is over for the listener.
    QCOMPARE(started.size(), 0);

    // Looping switched off during the second entry: the pass ends the song.
    m_clock->interruptAt.reset();
    m_start = m_clock->now();
    m_clock->onSleep = [this](Time deadline) {
        if (deadline > m_start + timeOfFrame(24000))
            m_player->setLooping(false);
    };
    m_player->play(schedule(QStringLiteral("0,1")), m_sounds, Rate);
    m_player->waitForEnd();
    QCOMPARE(m_output->played.size(), 7 + 1 + 2);
}

void TestSongPlayer::noDriftOverTwoHundredEntries()
{
    // 111 beats per minute: an entry lasts 25945.9... frames, which no whole step matches.
    QStringList order;
    for (int i = 0; i < 200; ++i)
        order << QString::number(i % 3);
    m_player->play(schedule(order.join(QLatin1Char(',')), 111, 1), m_sounds, Rate);
    m_player->waitForEnd();
    QCOMPARE(m_output->played.size(), 200);
    const double frameNs = 1e9 / Rate;
    for (int k = 0; k < 200; ++k) {
        const double exact = k * 60.0 / 111 * 1e9;
        const double at = double((m_output->played[k].at - m_start).count());
        QVERIFY2(std::abs(at - exact) <= frameNs, qPrintable(QString::number(k)));
    }
}

void TestSongPlayer::emptyScheduleDoesNotPlay()
{
    QSignalSpy finished(m_player.get(), &SongPlayer::finished);
    QVERIFY(!m_player->play(schedule(QStringLiteral("8, x")), m_sounds, Rate));
    QVERIFY(!m_player->isPlaying());
    QVERIFY(m_output->played.isEmpty());
    QCOMPARE(finished.size(), 0);
}

QTEST_GUILESS_MAIN(TestSongPlayer)
#include "tst_songplayer.moc"
