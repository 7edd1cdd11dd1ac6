#include "model/SongRenderer.h"

#include "model/SongModel.h"
#include "model/SongSchedule.h"
#include "sound/CutFade.h"
#include "sound/NoteReader.h"
#include "sound/SoundMixer.h"
#include "sound/WaveBuffer.h"
#include "sound/WaveFile.h"

#include <QHash>
#include <QtEndian>

#include <algorithm>

namespace {
constexpr int SampleBytes = 2;

// Sample `at` of a sound, silence outside it.
int sampleAt(const QByteArray &pcm, qint64 at)
{
    if (at < 0 || (at + 1) * SampleBytes > pcm.size())
        return 0;
    return qFromLittleEndian<qint16>(pcm.constData() + at * SampleBytes);
}

qint64 framesOf(const QByteArray &pcm)
{
    return pcm.size() / SampleBytes;
}
} // namespace

SongRenderer::SongRenderer() : m_mixer(std::make_unique<SoundMixer>()) {}

SongRenderer::~SongRenderer() = default;

int SongRenderer::sampleRate()
{
    return WaveBuffer::DefaultSampleRate;
}

QByteArray SongRenderer::renderSound(const SoundInfo &sound)
{
    m_mixer->mixStrum(QString::fromLatin1(NoteBank::SamplePrefix), &sound.fret[0][0],
                      sound.time_offset, sound.strum_speed, sound.direction, sound.hold, sound.gt);
    return m_mixer->pcm();
}

QByteArray SongRenderer::renderButton(const SongModel &song, int number)
{
    const SongModel::Button *button = song.button(number);
    return button ? renderSound(button->sound) : QByteArray();
}

QByteArray SongRenderer::renderSong(const SongModel &song, const SongSchedule &schedule)
{
    const QList<SongSchedule::Entry> &entries = schedule.entries();
    if (entries.isEmpty())
        return QByteArray();
    QHash<int, QByteArray> sounds; // each button rendered once
    for (const SongSchedule::Entry &entry : entries) {
        if (!sounds.contains(entry.number))
            sounds.insert(entry.number, renderButton(song, entry.number));
    }
    const int rate = sampleRate();
    const int fadeFrames = CutFade::frames(rate);
    const qint64 lastStart = schedule.startFrame(int(entries.size() - 1), rate);
    const qint64 total =
        std::min(lastStart + framesOf(sounds.value(entries.last().number)), WaveFile::MaxFrames);
    QByteArray pcm(total * SampleBytes, Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(pcm.data());
    qint64 previousStart = 0;
    const QByteArray *previous = nullptr;
    for (int i = 0; i < entries.size(); ++i) {
        const qint64 start = schedule.startFrame(i, rate);
        const qint64 end = i + 1 < entries.size() ? schedule.startFrame(i + 1, rate) : total;
        const QByteArray &sound = *sounds.constFind(entries[i].number);
        for (qint64 frame = start; frame < std::min(end, total); ++frame) {
            int v = sampleAt(sound, frame - start);
            if (previous)
                v += CutFade::faded(sampleAt(*previous, frame - previousStart), frame - start,
                                    fadeFrames);
            qToLittleEndian<qint16>(qint16(std::clamp(v, -32768, 32767)),
                                    out + frame * SampleBytes);
        }
        previous = &sound;
        previousStart = start;
    }
    return pcm;
}
