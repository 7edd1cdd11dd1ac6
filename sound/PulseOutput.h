#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <pulse/def.h>
#include <pulse/sample.h>

struct pa_context;
struct pa_mainloop_api;
struct pa_server_info;
struct pa_stream;
struct pa_threaded_mainloop;
struct pa_time_event;

// One playback stream on the desktop's sound server (PulseAudio, or PipeWire through
// pipewire-pulse), fed by the server's requests from libpulse's own thread: the sound, then
// silence. The stream stays open, with about 45 ms queued. A new sound overwrites the queue from
// the server's read position, so it is heard at once while the queue stays full; the sound it
// replaces fades out over a few milliseconds. When the server goes away the output tries again
// until it is back; a play while it is away tries at once. Without a server nothing is played.
class PulseOutput
{
public:
    PulseOutput();
    ~PulseOutput();
    PulseOutput(const PulseOutput &) = delete;
    PulseOutput &operator=(const PulseOutput &) = delete;

    // Plays pcm (16-bit little-endian, interleaved) from its first sample, replacing the sound
    // playing. Returns at once; may be called from any thread.
    void play(int sampleRate, int channels, const QByteArray &pcm);

private:
    // A sound placed in the stream: its first frame is the stream's frame start.
    struct Placed
    {
        QByteArray pcm;
        qint64 start = 0;
        int sampleAt(qint64 frame, int channel, int channels) const;
    };

    void connectToServer();
    void openStream();
    void dropStream();
    void dropConnection();
    void reconnect();
    void retryLater();
    void retryNow();
    bool streamReady() const;
    void askReadPosition();
    void startNext(qint64 frame);
    void write(qint64 frames, pa_seek_mode_t seek);
    void fill(qint16 *out, qint64 first, qint64 frames) const;

    static void onContextState(pa_context *context, void *self);
    static void onStreamState(pa_stream *stream, void *self);
    static void onWritable(pa_stream *stream, size_t bytes, void *self);
    static void onTiming(pa_stream *stream, int success, void *self);
    static void onServerInfo(pa_context *context, const pa_server_info *info, void *self);
    static void onUnderflow(pa_stream *stream, void *self);
    static void onRetry(pa_mainloop_api *api, pa_time_event *event, const struct timeval *,
                        void *self);

    pa_threaded_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    pa_time_event *m_retry = nullptr;
    pa_sample_spec m_spec;
    int m_retryMs;

    // All below is guarded by the main loop's lock.
    Placed m_sound;    // playing, or played last
    Placed m_replaced; // fading out at the start of m_sound
    QByteArray m_next; // waits for the server's read position (or for the stream)
    bool m_hasNext = false;
    bool m_askingPosition = false;
    bool m_readsAhead = false; // the server may have read past the position it reports (PipeWire)
    qint64 m_writeFrame = 0;   // where the next write lands in the stream
    int m_fadeFrames;
};
