#pragma once

// One playable sound: four strokes of six strings with their timing, ring length and timbre.
// Times are milliseconds, vol and hold percent. String 0 is the first (highest) string.
class SoundInfo
{
public:
    static constexpr int Strokes = 4;
    static constexpr int Strings = 6;
    static constexpr int Gaps = Strokes - 1;

    double vol = 100.0;
    double hold = 100.0;
    double strum_speed[Strokes] = {0.0, 0.0, 0.0, 0.0};
    double time_offset[Gaps] = {0.0, 0.0, 0.0};
    int fret[Strokes][Strings] = {};
    int gt = 0;
    int direction[Strokes] = {1, 1, 1, 1};

    // Every string muted, full volume and ring, acoustic, all strokes down.
    void reset();
    void copyFrom(const SoundInfo &other);

    bool operator==(const SoundInfo &other) const;
    bool operator!=(const SoundInfo &other) const { return !(*this == other); }
};
