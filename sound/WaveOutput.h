#pragma once

#include <QAudioFormat>
#include <QByteArray>
#include <QObject>
#include <QTimer>

class QAudioSink;
class QIODevice;

// The audio output of WavePlayer, living in the player's own thread so that a busy user interface
// never starves it. It keeps one output stream open and feeds it a little ahead of the device, so a
// new sound starts at once and replaces the one still playing.
class WaveOutput : public QObject
{
    Q_OBJECT

public:
    explicit WaveOutput(QObject *parent = nullptr);

public slots:
    // Opens the output for format unless it is open for it already.
    void open(const QAudioFormat &format);
    // Plays pcm (in format) from its first to its last sample.
    void play(const QAudioFormat &format, const QByteArray &pcm);

private:
    void feed();
    void closeSink();

    QAudioSink *m_sink = nullptr;
    QIODevice *m_stream = nullptr;
    QAudioFormat m_format;
    QByteArray m_pcm;
    qsizetype m_position = 0;
    QTimer m_feedTimer;
};
