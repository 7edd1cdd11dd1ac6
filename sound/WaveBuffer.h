#pragma once

// A mono sound of at most Capacity samples at 16,000 per second, nominally within -1.0 .. 1.0.
class WaveBuffer
{
public:
    static constexpr int Capacity = 128000;
    static constexpr int DefaultSampleRate = 16000;
    static constexpr int DefaultBitsPerSample = 16;

    WaveBuffer();
    ~WaveBuffer();
    WaveBuffer(const WaveBuffer &) = delete;
    WaveBuffer &operator=(const WaveBuffer &) = delete;

    int sampleRate = DefaultSampleRate;
    int bitsPerSample = DefaultBitsPerSample;
    int length = Capacity; // number of valid samples
    double *samples;       // Capacity values
};
