#include "sound/WaveFile.h"

#include <QSaveFile>
#include <QtEndian>

#include <algorithm>

namespace {
constexpr quint16 FormatPcm = 1;
constexpr quint16 Mono = 1;
constexpr quint32 FormatChunkSize = 16;

QString failure(const QString &path, const QString &why)
{
    return QStringLiteral("Cannot write %1: %2").arg(path, why);
}
} // namespace

void WaveFile::putHeader(uchar *out, int sampleRate, int frames)
{
    const quint32 dataBytes = quint32(frames) * 2;
    const quint16 blockAlign = BitsPerSample / 8;
    std::copy_n("RIFF", 4, out);
    qToLittleEndian<quint32>(dataBytes + HeaderSize - 8, out + 4);
    std::copy_n("WAVEfmt ", 8, out + 8);
    qToLittleEndian<quint32>(FormatChunkSize, out + 16);
    qToLittleEndian<quint16>(FormatPcm, out + 20);
    qToLittleEndian<quint16>(Mono, out + 22);
    qToLittleEndian<quint32>(sampleRate, out + 24);
    qToLittleEndian<quint32>(sampleRate * blockAlign, out + 28);
    qToLittleEndian<quint16>(blockAlign, out + 32);
    qToLittleEndian<quint16>(BitsPerSample, out + 34);
    std::copy_n("data", 4, out + 36);
    qToLittleEndian<quint32>(dataBytes, out + 40);
}

bool WaveFile::write(const QString &path, int sampleRate, const QByteArray &pcm, QString *error)
{
    const qint64 frames = pcm.size() / 2;
    if (frames > MaxFrames) {
        *error = failure(path, QStringLiteral("the sound is too long for a WAV file"));
        return false;
    }
    uchar header[HeaderSize];
    putHeader(header, sampleRate, int(frames));
    // Unbuffered, so that a full disk is seen at its write, with its reason.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        writeAll(file, reinterpret_cast<const char *>(header), HeaderSize) &&
        writeAll(file, pcm.constData(), frames * 2) && file.commit())
        return true;
    *error = failure(path, file.errorString());
    return false;
}

bool WaveFile::writeAll(QSaveFile &file, const char *bytes, qint64 size)
{
    for (qint64 done = 0; done < size;) {
        const qint64 written = file.write(bytes + done, size - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}
