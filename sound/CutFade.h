#pragma once

#include <QtGlobal>

// A sound cut off by the next one fades out under the next one's first milliseconds, so that the
// cut does not click. The live output and the song render fade alike.
namespace CutFade {
constexpr int Milliseconds = 4;

constexpr int frames(int sampleRate)
{
    return int(qint64(sampleRate) * Milliseconds / 1000);
}

// The cut sound's sample, `into` frames after the cut, on its way down to silence.
constexpr int faded(int sample, qint64 into, int fadeFrames)
{
    return into >= 0 && into < fadeFrames ? sample * int(fadeFrames - into) / fadeFrames : 0;
}
} // namespace CutFade
