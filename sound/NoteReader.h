#pragma once

#include "sound/NoteRequest.h"

#include <QString>

// The note sample bank: 40 notes per timbre, index 0 the open sixth string (E2), one semitone a
// step.
namespace NoteBank {
constexpr int NoteCount = 40;
constexpr int StringCount = 6;
// Length of the mix a note is added into (8 seconds at 16,000 samples per second).
constexpr int BufferSize = 128000;
// Where the bank lives in the resources.
constexpr char SamplePrefix[] = ":/raw/";
} // namespace NoteBank

// Note index of string s (0 = first, highest string) stopped at fret f (0 = open).
int noteIndex(int string, int fret);

// Resource path of the sample for timbre gt and a note index: prefix + letter + two digits +
// ".wav". Empty for a gt outside 0..2.
QString sampleName(int gt, int noteIndex, const QString &prefix);

// Adds the faded copies of request's sample into mix (NoteBank::BufferSize values). A later copy
// cuts an earlier one off: each copy sounds until the next one starts. Returns the end of the copy
// that starts last, or -1 if the sample cannot be read. Nothing at or beyond BufferSize is
// touched; starts before 0 are taken as 0.
int readNote(const NoteRequest &request, double *mix);
// The same for a sample given as the bytes of its WAV file (size of them); -1 when they are too
// short for a header.
int mixNote(const NoteRequest &request, const uchar *data, qint64 size, double *mix);
