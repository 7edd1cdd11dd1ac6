#include "model/CurrentSound.h"

#include "sound/SoundMixer.h"
#include "sound/WavePlayer.h"

#include <algorithm>

namespace {
const QString SamplePrefix = QStringLiteral(":/raw/");
constexpr int MutedFret = -1;
constexpr int AcousticType = 0;
constexpr int DistortionType = 2;
} // namespace

CurrentSound::CurrentSound(QObject *parent)
    : QObject(parent), m_engine(std::make_unique<SoundMixer>()),
      m_strumFile(SoundMixer::strumFilePath())
{
    WavePlayer::prepare(); // so that the first note is not late
    m_sound.reset();
    m_engine->setSoundType(m_sound.gt);
}

CurrentSound::~CurrentSound() = default;

void CurrentSound::setSound(const SoundInfo &sound)
{
    m_sound = sound;
    m_engine->setSoundType(sound.gt);
    emit soundReplaced();
}

void CurrentSound::setCurrentStroke(int stroke)
{
    if (stroke < 0 || stroke >= SoundInfo::Strokes || stroke == m_currentStroke)
        return;
    m_currentStroke = stroke;
    emit currentStrokeChanged(stroke);
}

void CurrentSound::setFret(int stroke, int string, int fret)
{
    if (m_sound.fret[stroke][string] == fret)
        return;
    m_sound.fret[stroke][string] = fret;
    emit fretsChanged(stroke);
}

void CurrentSound::setCurrentStrokeFrets(const int *frets)
{
    std::copy(frets, frets + SoundInfo::Strings, m_sound.fret[m_currentStroke]);
    emit fretsChanged(m_currentStroke);
}

void CurrentSound::pressFret(int string, int fret)
{
    setFret(m_currentStroke, string, fret);
    if (fret >= 0)
        m_engine->playNote(m_sound.gt, string, fret);
}

void CurrentSound::flipDirection(int stroke)
{
    m_sound.direction[stroke] = -m_sound.direction[stroke];
    emit directionChanged(stroke);
}

// A timbre from a song that names no samples rejoins the cycle at acoustic.
void CurrentSound::cycleTimbre()
{
    const int gt = m_sound.gt;
    setTimbre(gt >= AcousticType && gt < DistortionType ? gt + 1 : AcousticType);
}

void CurrentSound::setTimbre(int gt)
{
    m_sound.gt = gt;
    m_engine->setSoundType(gt);
    emit timbreChanged(gt);
}

void CurrentSound::setStrumSpeed(int stroke, double milliseconds)
{
    m_sound.strum_speed[stroke] = milliseconds;
    emit valuesChanged();
}

void CurrentSound::setTimeOffset(int gap, double milliseconds)
{
    m_sound.time_offset[gap] = milliseconds;
    emit valuesChanged();
}

void CurrentSound::setVolume(double percent)
{
    m_sound.vol = percent;
    emit valuesChanged();
}

void CurrentSound::setHold(double percent)
{
    m_sound.hold = percent;
    emit valuesChanged();
}

bool CurrentSound::play()
{
    return render(&m_sound.fret[0][0]);
}

bool CurrentSound::playFrets(const int *frets)
{
    int chord[SoundInfo::Strokes * SoundInfo::Strings];
    std::fill(std::begin(chord), std::end(chord), MutedFret);
    std::copy(frets, frets + SoundInfo::Strings, chord);
    return render(chord);
}

bool CurrentSound::render(const int *frets)
{
    if (!m_engine->render(m_strumFile, SamplePrefix, frets, m_sound.time_offset,
                          m_sound.strum_speed, m_sound.direction, m_sound.hold, m_sound.gt))
        return false;
    WavePlayer::play(m_strumFile);
    return true;
}
