#include "sound/PulseOutput.h"

#include "sound/CutFade.h"
#include "sound/Log.h"
#include "sound/OnTimeThread.h"

#include <QtEndian>

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>
#include <pulse/timeval.h>

#include <algorithm>
#include <cstring>

namespace {

const char ClientName[] = "Kavendra";
// Queued ahead of the server: rides out a stalled machine (7.5 ms dropped out by the thousand
// under two busy processes, 45 ms not once).
constexpr int QueueMs = 45;
// The first sounds are the bank's: open for them at start-up.
constexpr int BankRate = 16000;
constexpr int BankChannels = 1;
// Reconnecting: soon after a server went away, then less and less often.
constexpr int RetryFirstMs = 250;
constexpr int RetryLongestMs = 4000;

qint64 framesFor(int ms, const pa_sample_spec &spec)
{
    return qint64(spec.rate) * ms / 1000;
}

} // namespace

int PulseOutput::Placed::sampleAt(qint64 frame, int channel, int channels) const
{
    const qint64 at = ((frame - start) * channels + channel) * 2;
    if (frame < start || at + 2 > pcm.size())
        return 0;
    return qFromLittleEndian<qint16>(pcm.constData() + at);
}

PulseOutput::PulseOutput()
    : m_loop(pa_threaded_mainloop_new()), m_spec{PA_SAMPLE_S16LE, BankRate, BankChannels},
      m_retryMs(RetryFirstMs), m_fadeFrames(CutFade::frames(int(m_spec.rate)))
{
    if (!m_loop)
        return;
    connectToServer();
    if (pa_threaded_mainloop_start(m_loop) < 0) {
        dropConnection();
        pa_threaded_mainloop_free(m_loop);
        m_loop = nullptr;
        return;
    }
    // The loop's thread places every sound: on a busy machine it must not wait its turn.
    pa_threaded_mainloop_lock(m_loop);
    pa_mainloop_api_once(
        pa_threaded_mainloop_get_api(m_loop),
        [](pa_mainloop_api *, void *) { OnTimeThread::prefer(pthread_self()); }, nullptr);
    pa_threaded_mainloop_unlock(m_loop);
}

PulseOutput::~PulseOutput()
{
    if (!m_loop)
        return;
    pa_threaded_mainloop_stop(m_loop);
    dropConnection();
    pa_threaded_mainloop_free(m_loop); // frees the retry timer too
}

void PulseOutput::play(int sampleRate, int channels, const QByteArray &pcm)
{
    const pa_sample_spec spec{PA_SAMPLE_S16LE, quint32(sampleRate), quint8(channels)};
    if (!m_loop || channels < 1 || channels > int(PA_CHANNELS_MAX) || !pa_sample_spec_valid(&spec))
        return;
    pa_threaded_mainloop_lock(m_loop);
    m_next = pcm;
    m_hasNext = true;
    if (!pa_sample_spec_equal(&spec, &m_spec)) {
        // Another format needs another stream; it starts with this sound.
        m_spec = spec;
        m_fadeFrames = CutFade::frames(int(m_spec.rate));
        dropStream();
        retryNow();
    } else if (streamReady()) {
        askReadPosition();
    } else {
        retryNow();
    }
    pa_threaded_mainloop_unlock(m_loop);
}

void PulseOutput::connectToServer()
{
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), ClientName);
    if (!m_context) {
        retryLater();
        return;
    }
    pa_context_set_state_callback(m_context, onContextState, this);
    // A desktop runs its own server: never start one.
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        retryLater();
}

void PulseOutput::openStream()
{
    m_stream = pa_stream_new(m_context, ClientName, &m_spec, nullptr);
    if (!m_stream) {
        retryLater();
        return;
    }
    pa_stream_set_state_callback(m_stream, onStreamState, this);
    pa_stream_set_write_callback(m_stream, onWritable, this);
    pa_stream_set_underflow_callback(m_stream, onUnderflow, this);
    pa_buffer_attr attr;
    attr.maxlength = quint32(-1);
    attr.tlength = quint32(framesFor(QueueMs, m_spec) * pa_frame_size(&m_spec));
    attr.prebuf = quint32(-1);
    attr.minreq = quint32(-1);
    attr.fragsize = quint32(-1);
    if (pa_stream_connect_playback(m_stream, nullptr, &attr, PA_STREAM_NOFLAGS, nullptr, nullptr) <
        0)
        retryLater();
}

void PulseOutput::dropStream()
{
    m_askingPosition = false;
    if (!m_stream)
        return;
    pa_stream_set_state_callback(m_stream, nullptr, nullptr);
    pa_stream_set_write_callback(m_stream, nullptr, nullptr);
    pa_stream_set_underflow_callback(m_stream, nullptr, nullptr);
    pa_stream_disconnect(m_stream);
    pa_stream_unref(m_stream);
    m_stream = nullptr;
}

void PulseOutput::dropConnection()
{
    dropStream();
    if (!m_context)
        return;
    pa_context_set_state_callback(m_context, nullptr, nullptr);
    pa_context_disconnect(m_context);
    pa_context_unref(m_context);
    m_context = nullptr;
}

// Whatever is missing or broken is made again: the connection, else the stream.
void PulseOutput::reconnect()
{
    if (!m_context || !PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context))) {
        dropConnection();
        connectToServer();
    } else if (pa_context_get_state(m_context) == PA_CONTEXT_READY &&
               (!m_stream || !PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream)))) {
        dropStream();
        openStream();
    }
}

void PulseOutput::retryLater()
{
    if (m_retry)
        return;
    timeval at;
    pa_timeval_add(pa_gettimeofday(&at), pa_usec_t(m_retryMs) * PA_USEC_PER_MSEC);
    pa_mainloop_api *api = pa_threaded_mainloop_get_api(m_loop);
    m_retry = api->time_new(api, &at, onRetry, this);
    m_retryMs = std::min(2 * m_retryMs, RetryLongestMs);
}

void PulseOutput::retryNow()
{
    if (m_retry) {
        pa_mainloop_api *api = pa_threaded_mainloop_get_api(m_loop);
        api->time_free(m_retry);
        m_retry = nullptr;
    }
    reconnect();
}

bool PulseOutput::streamReady() const
{
    return m_stream && pa_stream_get_state(m_stream) == PA_STREAM_READY;
}

// The server's read position tells where the queued sound is cut, so that its fade lines up.
void PulseOutput::askReadPosition()
{
    if (m_askingPosition)
        return; // the answer starts the newest sound
    if (pa_operation *op = pa_stream_update_timing_info(m_stream, onTiming, this)) {
        pa_operation_unref(op);
        m_askingPosition = true;
    } else {
        startNext(m_writeFrame - framesFor(QueueMs, m_spec));
    }
}

// Puts the next sound at frame, overwriting what was queued from there on, and keeps the queue
// as full as it was.
void PulseOutput::startNext(qint64 frame)
{
    m_replaced = m_sound;
    m_sound = Placed{m_next, frame};
    m_next.clear();
    m_hasNext = false;
    const qint64 end = std::max(m_writeFrame, frame + framesFor(QueueMs, m_spec));
    m_writeFrame = frame;
    write(end - frame, PA_SEEK_ABSOLUTE);
}

void PulseOutput::write(qint64 frames, pa_seek_mode_t seek)
{
    const size_t frameBytes = pa_frame_size(&m_spec);
    while (frames > 0) {
        void *data = nullptr;
        size_t bytes = size_t(frames) * frameBytes;
        if (pa_stream_begin_write(m_stream, &data, &bytes) < 0 || !data)
            return;
        const qint64 chunk = std::min<qint64>(frames, qint64(bytes / frameBytes));
        fill(static_cast<qint16 *>(data), m_writeFrame, chunk);
        const qint64 offset = seek == PA_SEEK_ABSOLUTE ? m_writeFrame * qint64(frameBytes) : 0;
        if (pa_stream_write(m_stream, data, size_t(chunk) * frameBytes, nullptr, offset, seek) < 0)
            return;
        m_writeFrame += chunk;
        frames -= chunk;
        seek = PA_SEEK_RELATIVE;
    }
}

// The sound from its start, the replaced one fading out under its first frames, then silence.
void PulseOutput::fill(qint16 *out, qint64 first, qint64 frames) const
{
    const int channels = m_spec.channels;
    for (qint64 k = 0; k < frames; ++k) {
        const qint64 frame = first + k;
        const qint64 intoSound = frame - m_sound.start;
        for (int c = 0; c < channels; ++c) {
            const int v =
                m_sound.sampleAt(frame, c, channels) +
                CutFade::faded(m_replaced.sampleAt(frame, c, channels), intoSound, m_fadeFrames);
            qToLittleEndian<qint16>(qint16(std::clamp(v, -32768, 32767)), out + k * channels + c);
        }
    }
}

void PulseOutput::onContextState(pa_context *context, void *self)
{
    auto *out = static_cast<PulseOutput *>(self);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        qCDebug(lcSound) << "sound server ready:" << pa_context_get_server(context);
        out->m_retryMs = RetryFirstMs;
        out->m_readsAhead = false;
        if (pa_operation *op = pa_context_get_server_info(context, onServerInfo, self))
            pa_operation_unref(op);
        out->openStream();
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        qCDebug(lcSound) << "no sound server";
        out->m_hasNext = false; // a sound that found no server is not played later
        out->retryLater();
        break;
    default:
        break;
    }
}

void PulseOutput::onStreamState(pa_stream *stream, void *self)
{
    auto *out = static_cast<PulseOutput *>(self);
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY:
        // A new stream starts empty: with the sound that waited for it, or with silence.
        out->m_writeFrame = 0;
        out->m_replaced = Placed();
        out->m_sound = Placed{out->m_hasNext ? out->m_next : QByteArray(), 0};
        out->m_next.clear();
        out->m_hasNext = false;
        break;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        qCDebug(lcSound) << "sound stream lost";
        out->m_hasNext = false;
        out->retryLater();
        break;
    default:
        break;
    }
}

void PulseOutput::onWritable(pa_stream *, size_t bytes, void *self)
{
    auto *out = static_cast<PulseOutput *>(self);
    out->write(qint64(bytes / pa_frame_size(&out->m_spec)), PA_SEEK_RELATIVE);
}

void PulseOutput::onTiming(pa_stream *stream, int success, void *self)
{
    auto *out = static_cast<PulseOutput *>(self);
    if (stream != out->m_stream || !out->m_askingPosition)
        return;
    out->m_askingPosition = false;
    if (!out->m_hasNext || !out->streamReady())
        return;
    const pa_timing_info *timing = pa_stream_get_timing_info(stream);
    const qint64 frameBytes = qint64(pa_frame_size(&out->m_spec));
    if (!success || !timing || timing->read_index_corrupt) {
        out->startNext(out->m_writeFrame - framesFor(QueueMs, out->m_spec)); // about there
        return;
    }
    qint64 frame = timing->read_index / frameBytes;
    // PipeWire's server hands up to a request's worth to its graph in each cycle and reports the
    // read position only afterwards: a sound put at the reported one could lose its start.
    if (out->m_readsAhead)
        frame += pa_stream_get_buffer_attr(stream)->minreq / frameBytes;
    out->startNext(frame);
}

void PulseOutput::onServerInfo(pa_context *, const pa_server_info *info, void *self)
{
    if (!info || !info->server_name)
        return;
    qCDebug(lcSound) << "sound server:" << info->server_name << info->server_version;
    static_cast<PulseOutput *>(self)->m_readsAhead =
        std::strstr(info->server_name, "PipeWire") != nullptr;
}

void PulseOutput::onUnderflow(pa_stream *, void *)
{
    qCDebug(lcSound) << "sound stream ran dry";
}

void PulseOutput::onRetry(pa_mainloop_api *api, pa_time_event *event, const timeval *, void *self)
{
    auto *out = static_cast<PulseOutput *>(self);
    api->time_free(event);
    out->m_retry = nullptr;
    out->reconnect();
}
