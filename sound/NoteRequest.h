#pragma once

#include <QString>

// What the note reader places: one sample, faded to its ring length, at up to four start times.
struct NoteRequest
{
    static constexpr int MaxCopies = 4;

    QString sampleName;
    double gain = 1.0;
    double startTimes[MaxCopies] = {}; // seconds from the start of the sound
    int copyCount = 1;
    double ringFraction = 1.0;
};
