#pragma once

#include <QString>

// Plays WAV files asynchronously on the default audio output. Every call reads the file's current
// bytes; a new sound replaces the one still playing. The output stays open between sounds so a
// note starts at once. Without an audio device nothing is played and nothing is reported.
class WavePlayer
{
public:
    static void play(const QString &fileName);
    // Opens the output ahead of the first sound (optional; play opens it when needed).
    static void prepare();
    // Stops the sound and closes the output (e.g. before the application object goes away).
    static void shutdown();
    // Ends the process with code once the application object is gone. The audio backend closes its
    // server connection in an exit handler while its own thread still runs, which now and then
    // crashes a program on its way out; once the output was used, the process leaves without
    // running exit handlers.
    [[noreturn]] static void exitProcess(int code);
};
