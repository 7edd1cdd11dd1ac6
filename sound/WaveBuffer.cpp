#include "sound/WaveBuffer.h"

WaveBuffer::WaveBuffer() : samples(new double[Capacity]()) {}

WaveBuffer::~WaveBuffer()
{
    delete[] samples;
}
