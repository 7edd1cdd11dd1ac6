#pragma once

#include "sound/NoteReader.h"
#include "sound/WaveBuffer.h"

#include <QByteArray>
#include <QString>

// Renders sounds into mono 16-bit WAV files: the strums of a SoundInfo and single notes.
class SoundMixer
{
public:
    SoundMixer();

    void setSoundType(int gt);
    int soundType() const { return m_soundType; }

    // Mixes the up to 24 notes (fret: 4 strokes x 6 strings, stroke-major; times in ms, hold in
    // percent), normalises and writes the WAV file. Returns false when the file cannot be written
    // (a stale file at outPath is then removed where possible, so no old sound is played).
    bool render(const QString &outPath, const QString &samplePrefix, const int *fret,
                const double *timeOffset, const double *strumSpeed, const int *direction,
                double hold, int gt);
    // render without the file: the normalised mix only.
    void mixStrum(const QString &samplePrefix, const int *fret, const double *timeOffset,
                  const double *strumSpeed, const int *direction, double hold, int gt);

    // Renders one note (string 0 = first string) to noteFilePath() and plays it.
    void playNote(int gt, int string, int fret);
    // playNote without the file: the normalised mix only.
    void mixSingleNote(int gt, int string, int fret);

    // Scales the mix to peak at full scale; a silent mix stays silent.
    void normalize();

    const WaveBuffer &mix() const { return m_mix; }
    // The mix as 16-bit little-endian samples, the bytes of a WAV file after its header.
    QByteArray pcm() const;

    // Writes the wave as a canonical 44-byte-header PCM WAV file, replacing any file there.
    static bool writeWave(const WaveBuffer &wave, const QString &path);

    // The one per-user writable file that strums are rendered into (directory created).
    static QString strumFilePath();
    // "tmp_sound.wav" in the current directory when it is writable, else beside strumFilePath().
    static QString noteFilePath();

private:
    // mixStrum and mixSingleNote before normalize.
    void mixStrumNotes(const QString &samplePrefix, const int *fret, const double *timeOffset,
                       const double *strumSpeed, const int *direction, double hold, int gt);
    void mixOneNote(int gt, int string, int fret);
    void mixNote(const NoteRequest &request);
    // The factor that brings the mix's peak to full scale (1 for silence).
    double normalizingScale() const;
    // Normalises the mix and writes it in one pass; false (and no file at path) if it cannot.
    bool writeNormalized(const QString &path);

    WaveBuffer m_mix;
    QByteArray m_fileBytes; // the WAV file of the mix, built in place
    int m_soundType = 1;
};
