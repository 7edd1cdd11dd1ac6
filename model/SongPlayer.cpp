#include "model/SongPlayer.h"

#include "sound/OnTimeThread.h"

#include <QMetaObject>

namespace {
constexpr qint64 NanosecondsPerSecond = 1000000000;
constexpr int BytesPerFrame = 2;
} // namespace

SongPlayer::SongPlayer(QObject *parent)
    : SongPlayer(SongClock::steady(), SongOutput::live(), parent)
{
}

SongPlayer::SongPlayer(std::unique_ptr<SongClock> clock, std::unique_ptr<SongOutput> output,
                       QObject *parent)
    : QObject(parent), m_clock(std::move(clock)), m_output(std::move(output))
{
}

SongPlayer::~SongPlayer()
{
    halt();
}

bool SongPlayer::play(const SongSchedule &schedule, const QHash<int, QByteArray> &sounds,
                      int sampleRate)
{
    stop();
    if (schedule.entries().isEmpty() || sampleRate <= 0)
        return false;
    m_playing = true;
    m_sampleRate = sampleRate;
    m_clock->rearm();
    m_start = m_clock->now();
    m_thread =
        std::thread(&SongPlayer::run, this, Run{schedule, sounds, sampleRate, ++m_generation});
    OnTimeThread::prefer(m_thread.native_handle());
    return true;
}

void SongPlayer::stop()
{
    halt();
    if (!m_playing)
        return;
    m_playing = false;
    ++m_generation;
    m_output->play(m_sampleRate, QByteArray());
    emit finished();
}

void SongPlayer::waitForEnd()
{
    if (m_thread.joinable())
        m_thread.join();
}

void SongPlayer::halt()
{
    m_clock->wake();
    waitForEnd();
}

SongClock::Time SongPlayer::timeOf(const Run &song, qint64 frame) const
{
    return m_start + SongClock::Time(frame * NanosecondsPerSecond / song.sampleRate);
}

// Entry k of the run (counted over all passes) starts at the schedule's start frame of k:
// passes follow each other as entries do, and nothing adds up along the song.
void SongPlayer::run(const Run &song)
{
    const QList<SongSchedule::Entry> &entries = song.schedule.entries();
    qint64 lastStart = 0;
    QByteArray lastSound;
    for (qint64 k = 0;; ++k) {
        const qint64 start = song.schedule.startFrame(int(k), song.sampleRate);
        if (!m_clock->sleepUntil(timeOf(song, start)))
            return;
        if (k > 0 && k % entries.size() == 0 && !m_looping)
            break;
        const SongSchedule::Entry &entry = entries[k % entries.size()];
        lastSound = song.sounds.value(entry.number);
        lastStart = start;
        m_output->play(song.sampleRate, lastSound);
        post(song.generation, [this, entry] { emit entryStarted(entry.position, entry.number); });
    }
    // The last sound rings out in full.
    if (!m_clock->sleepUntil(timeOf(song, lastStart + lastSound.size() / BytesPerFrame)))
        return;
    post(song.generation, [this] {
        m_playing = false;
        emit finished();
    });
}

void SongPlayer::post(int generation, const std::function<void()> &report)
{
    QMetaObject::invokeMethod(
        this,
        [this, generation, report] {
            if (generation == m_generation)
                report();
        },
        Qt::QueuedConnection);
}
