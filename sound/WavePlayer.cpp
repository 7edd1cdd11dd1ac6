#include "sound/WavePlayer.h"

#include "sound/Log.h"
#include "sound/PulseOutput.h"

#include <QFile>
#include <QtEndian>

#include <memory>
#include <mutex>

namespace {

constexpr quint16 FormatPcm = 1;
constexpr quint16 FormatExtensible = 0xFFFE;
constexpr quint16 PlayableBits = 16;
constexpr int ChunkHeader = 8;
constexpr int FormatChunkSize = 16;

struct Wave
{
    int sampleRate = 0;
    int channels = 0;
    QByteArray pcm;
};

// Finds the 16-bit PCM samples of a RIFF WAVE file; false if it holds none.
bool parseWave(const QByteArray &file, Wave *wave)
{
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        return false;
    const auto *bytes = reinterpret_cast<const uchar *>(file.constData());
    bool playable = false;
    for (qsizetype at = 12; at + ChunkHeader <= file.size();) {
        const QByteArray id = file.mid(at, 4);
        const qsizetype size = qFromLittleEndian<quint32>(bytes + at + 4);
        const qsizetype body = at + ChunkHeader;
        const qsizetype available = qMin(size, file.size() - body);
        if (id == "fmt " && available >= FormatChunkSize) {
            const quint16 tag = qFromLittleEndian<quint16>(bytes + body);
            wave->channels = qFromLittleEndian<quint16>(bytes + body + 2);
            wave->sampleRate = qFromLittleEndian<qint32>(bytes + body + 4);
            playable = (tag == FormatPcm || tag == FormatExtensible) &&
                       qFromLittleEndian<quint16>(bytes + body + 14) == PlayableBits &&
                       wave->channels > 0 && wave->sampleRate > 0;
        } else if (id == "data" && playable) {
            // A data size beyond the end of the file plays what is there.
            const qsizetype frameBytes = 2 * wave->channels;
            wave->pcm = file.mid(body, available - available % frameBytes);
            return true;
        }
        at = body + size + (size & 1);
    }
    return false;
}

std::mutex g_outputLock;
std::unique_ptr<PulseOutput> g_output; // closed by its destructor at exit at the latest

PulseOutput &output()
{
    if (!g_output)
        g_output = std::make_unique<PulseOutput>();
    return *g_output;
}

} // namespace

void WavePlayer::play(const QString &fileName)
{
    QFile file(fileName);
    Wave wave;
    if (!file.open(QIODevice::ReadOnly) || !parseWave(file.readAll(), &wave)) {
        qCDebug(lcSound) << "cannot play" << fileName;
        return;
    }
    playPcm(wave.sampleRate, wave.channels, wave.pcm);
}

void WavePlayer::playPcm(int sampleRate, int channels, const QByteArray &pcm)
{
    std::lock_guard<std::mutex> lock(g_outputLock);
    output().play(sampleRate, channels, pcm);
}

void WavePlayer::prepare()
{
    std::lock_guard<std::mutex> lock(g_outputLock);
    output();
}

void WavePlayer::shutdown()
{
    std::lock_guard<std::mutex> lock(g_outputLock);
    g_output.reset();
}
