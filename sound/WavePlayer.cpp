#include "sound/WavePlayer.h"

#include "sound/Log.h"
#include "sound/WaveOutput.h"

#include <QAudioFormat>
#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int ShutdownWaitMs = 2000;
constexpr quint16 FormatPcm = 1;
constexpr quint16 FormatFloat = 3;
constexpr quint16 FormatExtensible = 0xFFFE;
constexpr int ChunkHeader = 8;

struct PlayerThread
{
    QThread *thread = nullptr;
    WaveOutput *output = nullptr;
    bool used = false; // the output thread, and with it the audio backend, was started
};

PlayerThread &player()
{
    static PlayerThread instance;
    return instance;
}

QAudioFormat::SampleFormat sampleFormat(quint16 tag, quint16 bits)
{
    if (tag == FormatFloat && bits == 32)
        return QAudioFormat::Float;
    if (tag != FormatPcm && tag != FormatExtensible)
        return QAudioFormat::Unknown;
    switch (bits) {
    case 8:
        return QAudioFormat::UInt8;
    case 16:
        return QAudioFormat::Int16;
    case 32:
        return QAudioFormat::Int32;
    default:
        return QAudioFormat::Unknown;
    }
}

// Finds the format and the samples of a RIFF WAVE file; false if it is none we can play.
bool parseWave(const QByteArray &file, QAudioFormat *format, QByteArray *pcm)
{
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        return false;
    const auto *bytes = reinterpret_cast<const uchar *>(file.constData());
    bool haveFormat = false;
    for (qsizetype at = 12; at + ChunkHeader <= file.size();) {
        const QByteArray id = file.mid(at, 4);
        const qsizetype size = qFromLittleEndian<quint32>(bytes + at + 4);
        const qsizetype body = at + ChunkHeader;
        const qsizetype available = qMin(size, file.size() - body);
        if (id == "fmt " && available >= 16) {
            format->setSampleFormat(sampleFormat(qFromLittleEndian<quint16>(bytes + body),
                                                 qFromLittleEndian<quint16>(bytes + body + 14)));
            format->setChannelCount(qFromLittleEndian<quint16>(bytes + body + 2));
            format->setSampleRate(qFromLittleEndian<qint32>(bytes + body + 4));
            haveFormat = format->isValid();
        } else if (id == "data" && haveFormat) {
            // A data size beyond the end of the file plays what is there.
            *pcm = file.mid(body, available - available % format->bytesPerFrame());
            return true;
        }
        at = body + size + (size & 1);
    }
    return false;
}

WaveOutput *output()
{
    PlayerThread &p = player();
    if (p.output || !QCoreApplication::instance())
        return p.output;
    p.used = true;
    p.thread = new QThread;
    p.thread->setObjectName(QStringLiteral("WavePlayer"));
    p.output = new WaveOutput;
    p.output->moveToThread(p.thread);
    QObject::connect(p.thread, &QThread::finished, p.output, &QObject::deleteLater);
    p.thread->start(QThread::TimeCriticalPriority);
    qAddPostRoutine(WavePlayer::shutdown);
    return p.output;
}

QAudioFormat bankFormat()
{
    QAudioFormat format;
    format.setSampleRate(16000);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

} // namespace

void WavePlayer::play(const QString &fileName)
{
    QFile file(fileName);
    QAudioFormat format;
    QByteArray pcm;
    if (!file.open(QIODevice::ReadOnly) || !parseWave(file.readAll(), &format, &pcm)) {
        qCDebug(lcSound) << "cannot play" << fileName;
        return;
    }
    if (WaveOutput *out = output())
        QMetaObject::invokeMethod(out, [out, format, pcm] { out->play(format, pcm); });
}

void WavePlayer::prepare()
{
    if (WaveOutput *out = output())
        QMetaObject::invokeMethod(out, [out] { out->open(bankFormat()); });
}

void WavePlayer::shutdown()
{
    PlayerThread &p = player();
    if (!p.thread)
        return;
    p.thread->quit();
    // A wedged audio server must not keep the program from exiting.
    if (p.thread->wait(ShutdownWaitMs))
        delete p.thread;
    p.thread = nullptr;
    p.output = nullptr;
}

void WavePlayer::exitProcess(int code)
{
    shutdown();
    if (player().used) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    std::exit(code);
}
