#include "sound/WaveOutput.h"

#include "sound/Log.h"

#include <QAudioSink>
#include <QFileInfo>
#include <QMediaDevices>

namespace {

// Audio queued ahead of the device: enough to ride out a stall of this thread of a few tens of
// milliseconds (a busy or paging machine; 40 ms dropped out now and then), short enough that a
// new sound replaces the old one after about 30 ms.
constexpr int QueueMs = 60;
constexpr int FeedIntervalMs = 5;

// The multimedia backend complains on the terminal when it finds no sound server; look first.
bool soundServerPresent()
{
    if (qEnvironmentVariableIsSet("PULSE_SERVER"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return (!runtime.isEmpty() && QFileInfo::exists(runtime + "/pulse/native")) ||
           QFileInfo::exists("/run/pulse/native");
}

} // namespace

WaveOutput::WaveOutput(QObject *parent) : QObject(parent), m_feedTimer(this)
{
    m_feedTimer.setTimerType(Qt::PreciseTimer);
    m_feedTimer.setInterval(FeedIntervalMs);
    connect(&m_feedTimer, &QTimer::timeout, this, &WaveOutput::feed);
}

void WaveOutput::open(const QAudioFormat &format)
{
    if (m_sink && m_format == format && m_sink->state() != QAudio::StoppedState)
        return;
    closeSink();
    m_format = format;
    if (!m_devices) {
        if (!soundServerPresent()) {
            qCDebug(lcSound) << "no sound server";
            return;
        }
        // Devices are discovered in the background: open as soon as the default one is known.
        m_devices = new QMediaDevices(this);
        connect(m_devices, &QMediaDevices::audioOutputsChanged, this,
                &WaveOutput::onOutputsChanged);
    }
    m_device = QMediaDevices::defaultAudioOutput();
    if (m_device.isNull()) {
        qCDebug(lcSound) << "no audio output yet";
        return;
    }
    m_sink = new QAudioSink(m_device, format, this);
    m_sink->setBufferSize(format.bytesForDuration(QueueMs * 1000));
    m_stream = m_sink->start();
    qCDebug(lcSound) << "audio output" << m_device.description() << format << "queue"
                     << m_sink->bufferSize() << "bytes";
    if (!m_stream)
        closeSink();
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
    m_feedTimer.stop();
    delete m_sink;
    m_sink = nullptr;
    m_stream = nullptr;
}

// Follows the default output: a new device (or the first one found) gets the stream.
void WaveOutput::onOutputsChanged()
{
    if (m_sink && m_device == QMediaDevices::defaultAudioOutput())
        return;
    if (m_format.isValid())
        open(m_format);
}
