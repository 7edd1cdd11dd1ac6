#pragma once

#include "model/SongClock.h"
#include "model/SongOutput.h"
#include "model/SongSchedule.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <atomic>
#include <memory>
#include <thread>

// Plays a song's schedule: each entry's sound starts at the song's start plus the entry's start
// frame, a deadline computed from the entry's index on the clock, so a long song keeps time.
// The next entry replaces the sound before it. Played once, the song ends when the last entry's
// time is over and its sound has rung out; looping, the next pass follows the last entry as the
// next entry would. Runs on a thread of its own; the signals arrive on the player's thread.
class SongPlayer : public QObject
{
    Q_OBJECT

public:
    // The steady clock and the live output.
    explicit SongPlayer(QObject *parent = nullptr);
    SongPlayer(std::unique_ptr<SongClock> clock, std::unique_ptr<SongOutput> output,
               QObject *parent = nullptr);
    ~SongPlayer() override;

    // Stops a song still playing and starts this one at once. sounds holds the mono 16-bit PCM
    // of every button the schedule names. False (nothing played) when the schedule is empty.
    bool play(const SongSchedule &schedule, const QHash<int, QByteArray> &sounds, int sampleRate);
    // Silences the output at once; finished follows if the song was playing.
    void stop();
    bool isPlaying() const { return m_playing; }

    // May change while the song plays: it takes effect at the end of the pass.
    void setLooping(bool looping) { m_looping = looping; }
    bool isLooping() const { return m_looping; }

    // Until the song has ended by itself (for tests: only a song played once ends).
    void waitForEnd();

signals:
    // position: the entry's place in the tap order; number: the button it plays.
    void entryStarted(int position, int number);
    void finished();

private:
    struct Run
    {
        SongSchedule schedule;
        QHash<int, QByteArray> sounds;
        int sampleRate;
        int generation;
    };

    void run(const Run &song);
    SongClock::Time timeOf(const Run &song, qint64 frame) const;
    void halt();
    void post(int generation, const std::function<void()> &report);

    std::unique_ptr<SongClock> m_clock;
    std::unique_ptr<SongOutput> m_output;
    std::thread m_thread;
    std::atomic<bool> m_looping{false};
    SongClock::Time m_start{};
    int m_sampleRate = 0;
    // Counts the songs played: a report from one that was stopped is dropped.
    int m_generation = 0;
    bool m_playing = false;
};
