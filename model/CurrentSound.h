#pragma once

#include "sound/SoundInfo.h"

#include <QObject>
#include <QString>
#include <memory>

class SoundMixer;

// The sound on the editing form, free of widgets: its SoundInfo, the stroke that the neck
// edits, and the engine that plays them. Views write through it and redraw from its signals.
class CurrentSound : public QObject
{
    Q_OBJECT

public:
    explicit CurrentSound(QObject *parent = nullptr);
    ~CurrentSound() override;

    const SoundInfo &sound() const { return m_sound; }
    int currentStroke() const { return m_currentStroke; }
    const SoundMixer &engine() const { return *m_engine; }
    // Where play() and playFrets() render to.
    QString strumFile() const { return m_strumFile; }

    // The whole sound at once (a sound button pressed).
    void setSound(const SoundInfo &sound);
    void setCurrentStroke(int stroke);

    void setFret(int stroke, int string, int fret);
    // Six fret values, string 0 first, into the current stroke (a chord).
    void setCurrentStrokeFrets(const int *frets);
    // A press on the neck: the current stroke's string takes the fret, and a fret that sounds
    // (0 or more) is played at once.
    void pressFret(int string, int fret);
    void flipDirection(int stroke);
    // Acoustic, clean, distortion, acoustic again.
    void cycleTimbre();

    void setStrumSpeed(int stroke, double milliseconds);
    void setTimeOffset(int gap, double milliseconds);
    void setVolume(double percent);
    void setHold(double percent);

    // Renders the sound and plays it; false when the file could not be written.
    bool play();
    // Six fret values as one stroke, with this sound's timing and timbre; the sound is unchanged.
    bool playFrets(const int *frets);

signals:
    void soundReplaced();
    void currentStrokeChanged(int stroke);
    void fretsChanged(int stroke);
    void directionChanged(int stroke);
    void timbreChanged(int gt);
    // A speed, an offset, the volume or the hold.
    void valuesChanged();

private:
    bool render(const int *frets);
    void setTimbre(int gt);

    SoundInfo m_sound;
    int m_currentStroke = 0;
    std::unique_ptr<SoundMixer> m_engine;
    QString m_strumFile;
};
