#pragma once

#include <QByteArray>
#include <memory>

class SongModel;
class SongSchedule;
class SoundInfo;
class SoundMixer;

// Renders sounds and whole songs as mono 16-bit little-endian PCM at the engine's rate, the
// samples a strum file holds: for export, and for a player that plays the song itself.
class SongRenderer
{
public:
    SongRenderer();
    ~SongRenderer();
    SongRenderer(const SongRenderer &) = delete;
    SongRenderer &operator=(const SongRenderer &) = delete;

    static int sampleRate();

    // The sound as a press of Play renders it.
    QByteArray renderSound(const SoundInfo &sound);
    // Empty when the song has no button with that number.
    QByteArray renderButton(const SongModel &song, int number);
    // The song as the player plays it: each entry's button from its scheduled start, cut at the
    // next entry's start with the live output's fade, the last one ringing to its end.
    QByteArray renderSong(const SongModel &song, const SongSchedule &schedule);

private:
    std::unique_ptr<SoundMixer> m_mixer;
};
