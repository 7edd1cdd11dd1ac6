#include "sound/WaveOutput.h"

#include "sound/Log.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>

namespace {

// Audio queued ahead of the device: enough to ride out a busy machine, short enough that a new
// sound replaces the old one without a noticeable lag.
constexpr int QueueMs = 40;
constexpr int FeedIntervalMs = 5;

} // namespace

WaveOutput::WaveOutput(QObject *parent) : QObject(parent)
{
    m_feedTimer.setTimerType(Qt::PreciseTimer);
    m_feedTimer.setInterval(FeedIntervalMs);
    connect(&m_feedTimer, &QTimer::timeout, this, &WaveOutput::feed);
}

void WaveOutput::open(const QAudioFormat &format)
{
    if (m_stream && m_format == format && m_sink->state() != QAudio::StoppedState)
        return;
    closeSink();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        qCDebug(lcSound) << "no audio output";
        return;
    }
    m_format = format;
    m_sink = new QAudioSink(device, format, this);
    m_sink->setBufferSize(format.bytesForDuration(QueueMs * 1000));
    m_stream = m_sink->start();
    if (!m_stream) {
        qCDebug(lcSound) << "audio output cannot be opened" << m_sink->error();
        closeSink();
    }
}

void WaveOutput::play(const QAudioFormat &format, const QByteArray &pcm)
{
    open(format);
    if (!m_stream)
        return;
    // Trailing silence pushes the last samples through the device queue.
    m_pcm = pcm + QByteArray(m_sink->bufferSize(), '\0');
    m_position = 0;
    feed();
    m_feedTimer.start();
}

void WaveOutput::feed()
{
    if (!m_stream || m_sink->state() == QAudio::StoppedState) {
        m_feedTimer.stop();
        closeSink();
        return;
    }
    const int frame = m_format.bytesPerFrame();
    const qsizetype room = qMin<qsizetype>(m_sink->bytesFree(), m_pcm.size() - m_position);
    const qsizetype chunk = room - room % frame;
    if (chunk > 0)
        m_position += qMax<qint64>(0, m_stream->write(m_pcm.constData() + m_position, chunk));
    if (m_position >= m_pcm.size()) {
        m_feedTimer.stop();
        m_pcm.clear();
        m_position = 0;
    }
}

void WaveOutput::closeSink()
{
    delete m_sink;
    m_sink = nullptr;
    m_stream = nullptr;
}
