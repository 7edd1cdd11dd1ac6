#pragma once

#include "sound/NoteRequest.h"

#include <QString>

// The note sample bank: 40 notes per timbre, index 0 the open sixth string (E2), one semitone a
// step.
namespace NoteBank {
constexpr int NoteCount = 40;
constexpr int StringCount = 6;
// Length of the placement and scratch buffers (8 seconds at 16,000 samples per second).
constexpr int BufferSize = 128000;
// Where the bank lives in the resources.
constexpr char SamplePrefix[] = ":/raw/";
} // namespace NoteBank

// Note index of string s (0 = first, highest string) stopped at fret f (0 = open).
int noteIndex(int string, int fret);

// Resource path of the sample for timbre gt and a note index: prefix + letter + two digits +
// ".wav". Empty for a gt outside 0..2.
QString sampleName(int gt, int noteIndex, const QString &prefix);

// Places the faded copies of request's sample into placement (by assignment, a later copy cuts an
// earlier one off). scratch is working space for the faded sample and is left zero. Both hold
// NoteBank::BufferSize values and are zero on entry. Returns the end of the copy that starts last,
// or -1 if the sample cannot be read. Nothing at or beyond BufferSize is written; starts before
// 0 are taken as 0.
int readNote(const NoteRequest &request, double *placement, double *scratch);
