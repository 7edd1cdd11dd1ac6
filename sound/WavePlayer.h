#pragma once

#include <QByteArray>
#include <QString>

// Plays WAV files (16-bit PCM) asynchronously on the desktop's sound server. Every call reads the
// file's current bytes; a new sound replaces the one still playing. The output stays open between
// sounds so a note starts at once. Without a sound server nothing is played and nothing is
// reported; a server that comes back is used again.
class WavePlayer
{
public:
    static void play(const QString &fileName);
    // Samples already in memory (16-bit little-endian, interleaved); may be called from any
    // thread. An empty pcm silences the output.
    static void playPcm(int sampleRate, int channels, const QByteArray &pcm);
    // Opens the output ahead of the first sound (optional; play opens it when needed).
    static void prepare();
    // Stops the sound and closes the output; it is closed at exit in any case.
    static void shutdown();
};
