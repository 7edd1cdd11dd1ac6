#pragma once

#include <QByteArray>
#include <memory>

// Where a playing song's sounds go: each one replaces the one before, as a press does. Tests
// put a recorder here.
class SongOutput
{
public:
    virtual ~SongOutput() = default;

    // Mono 16-bit PCM from its first sample; an empty one silences the output. Called from the
    // player's thread.
    virtual void play(int sampleRate, const QByteArray &pcm) = 0;

    // The desktop's sound server, shared with every other sound of the program.
    static std::unique_ptr<SongOutput> live();
};
