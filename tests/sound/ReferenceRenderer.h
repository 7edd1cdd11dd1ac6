#pragma once

#include <QByteArray>
#include <QString>

// A plain, unoptimised transcription of the strum algorithm: clears both work buffers after every
// note, places copies position by position. The renderer must produce the same bytes.
QByteArray referenceRender(const QString &prefix, const int *fret, const double *timeOffset,
                           const double *strumSpeed, const int *direction, double hold, int gt);
