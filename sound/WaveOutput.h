#pragma once

#include <QAudioDevice>
#include <QAudioFormat>
#include <QByteArray>
#include <QObject>
#include <QTimer>

class QAudioSink;
class QIODevice;
class QMediaDevices;

// The audio output of WavePlayer, living in the player's own thread so that a busy user interface
// never starves it. It keeps one output stream open on the default device and feeds it a little
// ahead of the device, so a new sound starts at once and replaces the one still playing.
class WaveOutput : public QObject
{
    Q_OBJECT

public:
    explicit WaveOutput(QObject *parent = nullptr);

public slots:
    // Opens the output for format unless it is open for it already; without a device it opens as
    // soon as one appears.
    void open(const QAudioFormat &format);
    // Plays pcm (in format) from its first to its last sample.
    void play(const QAudioFormat &format, const QByteArray &pcm);

private:
    void feed();
    void closeSink();
    void onOutputsChanged();

    QMediaDevices *m_devices = nullptr;
    QAudioDevice m_device;
    QAudioSink *m_sink = nullptr;
    QIODevice *m_stream = nullptr;
    QAudioFormat m_format;
    QByteArray m_pcm;
    qsizetype m_position = 0;
    QTimer m_feedTimer; // a child, so it moves to the player thread with us
};
