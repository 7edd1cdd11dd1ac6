#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class QSaveFile;

// Mono 16-bit PCM WAV files, the format the strum file has: a canonical 44-byte header and the
// little-endian samples.
class WaveFile
{
public:
    static constexpr int HeaderSize = 44;
    static constexpr int BitsPerSample = 16;
    // The most samples the header's 32-bit sizes can describe.
    static constexpr qint64 MaxFrames = (qint64(0xFFFFFFFF) - (HeaderSize - 8)) / 2;

    static void putHeader(uchar *out, int sampleRate, int frames);
    // Writes the file at once or not at all: a file already there stays as it was when the new
    // one cannot be written whole. False with the reason, "Cannot write <path>: <why>".
    static bool write(const QString &path, int sampleRate, const QByteArray &pcm, QString *error);

private:
    static bool writeAll(QSaveFile &file, const char *bytes, qint64 size);
};
