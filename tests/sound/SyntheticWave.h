#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QVector>
#include <QtEndian>

// Writes a canonical 16 kHz mono 16-bit WAV file; dataBytes overrides the header's data size.
inline bool writeSyntheticWave(const QString &path, const QVector<qint16> &samples,
                               qint64 dataBytes = -1)
{
    const quint32 size = dataBytes < 0 ? quint32(samples.size() * 2) : quint32(dataBytes);
    QByteArray bytes(44, '\0');
    auto *h = reinterpret_cast<uchar *>(bytes.data());
    memcpy(h, "RIFFxxxxWAVEfmt ", 16);
    qToLittleEndian<quint32>(size + 36, h + 4);
    qToLittleEndian<quint32>(16, h + 16);
    qToLittleEndian<quint16>(1, h + 20);
    qToLittleEndian<quint16>(1, h + 22);
    qToLittleEndian<quint32>(16000, h + 24);
    qToLittleEndian<quint32>(32000, h + 28);
    qToLittleEndian<quint16>(2, h + 32);
    qToLittleEndian<quint16>(16, h + 34);
    memcpy(h + 36, "data", 4);
    qToLittleEndian<quint32>(size, h + 40);
    for (qint16 s : samples) {
        char le[2];
        qToLittleEndian<qint16>(s, le);
        bytes.append(le, 2);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
