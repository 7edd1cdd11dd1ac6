#include "sound/SoundInfo.h"

#include <algorithm>
#include <iterator>

void SoundInfo::reset()
{
    *this = SoundInfo();
    for (auto &stroke : fret)
        std::fill(std::begin(stroke), std::end(stroke), -1);
}

void SoundInfo::copyFrom(const SoundInfo &other)
{
    *this = other;
}

bool SoundInfo::operator==(const SoundInfo &other) const
{
    return vol == other.vol && hold == other.hold && gt == other.gt &&
           std::equal(std::begin(strum_speed), std::end(strum_speed), other.strum_speed) &&
           std::equal(std::begin(time_offset), std::end(time_offset), other.time_offset) &&
           std::equal(&fret[0][0], &fret[0][0] + Strokes * Strings, &other.fret[0][0]) &&
           std::equal(std::begin(direction), std::end(direction), other.direction);
}
