#pragma once

#include <QByteArray>
#include <QString>

// A plain, unoptimised transcription of the strum algorithm: clears both work buffers after every
// note, places copies position by position. The renderer must produce the same bytes.
QByteArray referenceRender(const QString &prefix, const int *fret, const double *timeOffset,
                           const double *strumSpeed, const int *direction, double hold, int gt);

// The 44-byte header of a mono 16-bit WAV file of that many samples at 16,000 a second.
QByteArray referenceHeader(qint64 frames);
