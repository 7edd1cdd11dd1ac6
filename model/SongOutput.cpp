#include "model/SongOutput.h"

#include "sound/WavePlayer.h"

namespace {

class LiveOutput : public SongOutput
{
public:
    void play(int sampleRate, const QByteArray &pcm) override
    {
        WavePlayer::playPcm(sampleRate, 1, pcm);
    }
};

} // namespace

std::unique_ptr<SongOutput> SongOutput::live()
{
    return std::make_unique<LiveOutput>();
}
