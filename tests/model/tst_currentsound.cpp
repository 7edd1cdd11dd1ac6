// The current sound without widgets: the neck's press, strokes, chords, directions, timbres and
// field values, each with its signal, and what play and playFrets render.
#include "model/CurrentSound.h"
#include "sound/SoundMixer.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The strum file that a fresh engine renders for these frets and the sound's other values.
QByteArray expectedStrum(const SoundInfo &sound, const int *frets)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("expected.wav"));
    SoundMixer mixer;
    if (!mixer.render(path, QStringLiteral(":/raw/"), frets, sound.time_offset, sound.strum_speed,
                      sound.direction, sound.hold, sound.gt))
        return QByteArray();
    return readFile(path);
}
} // namespace

class TestCurrentSound : public QObject
{
    Q_OBJECT

private slots:
    void startsReset();
    void pressFretSetsCurrentStrokeAndPlays();
    void strokeSelection();
    void chordGoesIntoCurrentStrokeOnly();
    void directionsAndTimbres();
    void valuesAreKeptExactly();
    void setSoundReplacesEverything();
    void playRendersTheSound();
    void playFretsLeavesTheSound();
};

void TestCurrentSound::startsReset()
{
    CurrentSound current;
    SoundInfo reset;
    reset.reset();
    QCOMPARE(current.sound(), reset);
    QCOMPARE(current.currentStroke(), 0);
    QCOMPARE(current.engine().soundType(), 0);
    QCOMPARE(current.strumFile(), SoundMixer::strumFilePath());
}

void TestCurrentSound::pressFretSetsCurrentStrokeAndPlays()
{
    CurrentSound current;
    QSignalSpy frets(&current, &CurrentSound::fretsChanged);
    const QString noteFile = SoundMixer::noteFilePath();
    QFile::remove(noteFile);

    current.pressFret(1, 3);
    QCOMPARE(current.sound().fret[0][1], 3);
    QCOMPARE(current.sound().fret[0][0], -1);
    QCOMPARE(frets.size(), 1);
    QCOMPARE(frets.at(0).at(0).toInt(), 0);
    QVERIFY(readFile(noteFile).size() > 44);

    // The same fret again sounds again but changes nothing.
    QFile::remove(noteFile);
    current.pressFret(1, 3);
    QCOMPARE(frets.size(), 1);
    QVERIFY(QFile::exists(noteFile));

    // The open string is fret 0; a muted string plays nothing.
    current.pressFret(5, 0);
    QCOMPARE(current.sound().fret[0][5], 0);
    QFile::remove(noteFile);
    current.pressFret(1, -1);
    QCOMPARE(current.sound().fret[0][1], -1);
    QVERIFY2(!QFile::exists(noteFile), "a muted string plays nothing");
}

void TestCurrentSound::strokeSelection()
{
    CurrentSound current;
    QSignalSpy strokes(&current, &CurrentSound::currentStrokeChanged);
    current.setCurrentStroke(3);
    current.setCurrentStroke(3);
    current.setCurrentStroke(4);
    current.setCurrentStroke(-1);
    QCOMPARE(current.currentStroke(), 3);
    QCOMPARE(strokes.size(), 1);
    current.pressFret(2, 5);
    QCOMPARE(current.sound().fret[3][2], 5);
    QCOMPARE(current.sound().fret[0][2], -1);
}

void TestCurrentSound::chordGoesIntoCurrentStrokeOnly()
{
    CurrentSound current;
    current.setFret(0, 0, 9);
    current.setCurrentStroke(2);
    QSignalSpy frets(&current, &CurrentSound::fretsChanged);
    const int chord[SoundInfo::Strings] = {-1, 3, 2, 0, 1, 0};
    current.setCurrentStrokeFrets(chord);
    for (int s = 0; s < SoundInfo::Strings; ++s)
        QCOMPARE(current.sound().fret[2][s], chord[s]);
    QCOMPARE(current.sound().fret[0][0], 9);
    QCOMPARE(frets.size(), 1);
    QCOMPARE(frets.at(0).at(0).toInt(), 2);
}

void TestCurrentSound::directionsAndTimbres()
{
    CurrentSound current;
    QSignalSpy directions(&current, &CurrentSound::directionChanged);
    current.flipDirection(1);
    QCOMPARE(current.sound().direction[1], -1);
    QCOMPARE(current.sound().direction[0], 1);
    current.flipDirection(1);
    QCOMPARE(current.sound().direction[1], 1);
    QCOMPARE(directions.size(), 2);

    QSignalSpy timbres(&current, &CurrentSound::timbreChanged);
    for (int i = 1; i <= 3; ++i) {
        current.cycleTimbre();
        QCOMPARE(current.sound().gt, i % 3);
        QCOMPARE(current.engine().soundType(), i % 3);
    }
    QCOMPARE(timbres.size(), 3);

    // A timbre from a song that names no samples rejoins the cycle at acoustic.
    SoundInfo odd = current.sound();
    odd.gt = 7;
    current.setSound(odd);
    QCOMPARE(current.engine().soundType(), 7);
    current.cycleTimbre();
    QCOMPARE(current.sound().gt, 0);
    odd.gt = -1;
    current.setSound(odd);
    current.cycleTimbre();
    QCOMPARE(current.sound().gt, 0);
}

void TestCurrentSound::valuesAreKeptExactly()
{
    CurrentSound current;
    QSignalSpy values(&current, &CurrentSound::valuesChanged);
    current.setStrumSpeed(3, 12.5);
    current.setTimeOffset(2, 33.125);
    current.setVolume(99.9);
    current.setHold(0);
    QCOMPARE(current.sound().strum_speed[3], 12.5);
    QCOMPARE(current.sound().time_offset[2], 33.125);
    QCOMPARE(current.sound().vol, 99.9);
    QCOMPARE(current.sound().hold, 0.0);
    QCOMPARE(values.size(), 4);
}

void TestCurrentSound::setSoundReplacesEverything()
{
    CurrentSound current;
    current.setCurrentStroke(2);
    SoundInfo sound;
    sound.reset();
    sound.fret[3][4] = 12;
    sound.gt = 2;
    QSignalSpy replaced(&current, &CurrentSound::soundReplaced);
    current.setSound(sound);
    QCOMPARE(current.sound(), sound);
    QCOMPARE(current.engine().soundType(), 2);
    QCOMPARE(current.currentStroke(), 2);
    QCOMPARE(replaced.size(), 1);
}

void TestCurrentSound::playRendersTheSound()
{
    CurrentSound current;
    current.pressFret(0, 3);
    current.setCurrentStroke(1);
    current.pressFret(2, 0);
    current.setStrumSpeed(0, 30);
    current.flipDirection(1);
    current.setTimeOffset(0, 250);
    current.setHold(60);
    QFile::remove(current.strumFile());
    QVERIFY(current.play());
    const QByteArray played = readFile(current.strumFile());
    QVERIFY(played.size() > 44);
    QCOMPARE(played, expectedStrum(current.sound(), &current.sound().fret[0][0]));
}

void TestCurrentSound::playFretsLeavesTheSound()
{
    CurrentSound current;
    current.setStrumSpeed(0, 40);
    current.flipDirection(0);
    current.setFret(1, 0, 11);
    const SoundInfo before = current.sound();
    QSignalSpy frets(&current, &CurrentSound::fretsChanged);
    const int chord[SoundInfo::Strings] = {3, 2, 0, 0, 0, 3};
    QFile::remove(current.strumFile());
    QVERIFY(current.playFrets(chord));
    QCOMPARE(current.sound(), before);
    QCOMPARE(frets.size(), 0);

    // The chord is stroke 0; the other strokes are muted.
    int expected[SoundInfo::Strokes][SoundInfo::Strings];
    for (auto &stroke : expected)
        std::fill(std::begin(stroke), std::end(stroke), -1);
    std::copy(chord, chord + SoundInfo::Strings, expected[0]);
    QCOMPARE(readFile(current.strumFile()), expectedStrum(before, &expected[0][0]));
}

QTEST_GUILESS_MAIN(TestCurrentSound)
#include "tst_currentsound.moc"
