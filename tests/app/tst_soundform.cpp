// The editing form as a view of the current sound: what the user's presses and edits write,
// what a redraw shows (and never writes back), and the knob links that follow the stroke.
#include "app/SoundForm.h"
#include "model/CurrentSound.h"
#include "sound/SoundMixer.h"
#include "tests/support/Mouse.h"
#include "widgets/QImageButton.h"
#include "widgets/QMELabel.h"
#include "widgets/QNoteLamp.h"
#include "widgets/QNumericLineEdit.h"
#include "widgets/QRotarySwitch.h"

#include <QFile>
#include <QSignalSpy>
#include <QtTest>
#include <limits>
#include <memory>

class TestSoundForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void initialForm();
    void neckPressSetsOneString();
    void neckPressOnMutedPosition();
    void typedFretsGoToTheSound();
    void markersStayOnNeck();
    void lampSelectionRelinksKnobs();
    void arrowsAndTimbreCycle();
    void loadedSoundFillsTheForm();
    void knobsFollowLoadedSound();
    void fractionsSurviveRedraws();
    void typedAndTurnedValuesAreWritten();
    void songValuesOutOfRange();
    void chordRedrawsItsStrokeOnly();

private:
    void pressNeck(int s, int p);
    void pressLamp(int r) { Mouse::press(m_form->m_noteLamps[r], QPoint(7, 7)); }
    static SoundInfo sampleSound();
    static bool showsImage(const QLabel *label, const char *path);

    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<CurrentSound> m_sound;
    SoundForm *m_form = nullptr;
};

void TestSoundForm::init()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(924, 636);
    m_sound = std::make_unique<CurrentSound>();
    m_form = new SoundForm(m_sound.get(), m_window.get());
}

void TestSoundForm::cleanup()
{
    m_window.reset();
    m_sound.reset();
}

void TestSoundForm::pressNeck(int s, int p)
{
    const QPoint centre = QMELabel::gridPoint(s, p) + QPoint(10, 10);
    Mouse::move(m_form->m_neck, centre);
    Mouse::click(m_form->m_neck, centre);
}

SoundInfo TestSoundForm::sampleSound()
{
    SoundInfo info;
    info.reset();
    const int frets[SoundInfo::Strokes][SoundInfo::Strings] = {
        {0, 1, 0, 2, 3, -1}, {3, 3, 0, 0, 2, 3}, {-1, -1, 5, 7, 7, 5}, {15, 12, -1, 0, 9, 10}};
    std::copy(&frets[0][0], &frets[0][0] + 24, &info.fret[0][0]);
    const double speeds[] = {30, 0, 400, 12};
    std::copy(speeds, speeds + 4, info.strum_speed);
    info.direction[1] = -1;
    info.direction[2] = -1;
    info.time_offset[0] = 250;
    info.time_offset[1] = 0;
    info.time_offset[2] = 399;
    info.hold = 80;
    info.vol = 60;
    info.gt = 2;
    return info;
}

bool TestSoundForm::showsImage(const QLabel *label, const char *path)
{
    const QImage expected(QString::fromLatin1(path));
    return !expected.isNull() && label->pixmap().toImage() ==
                                     expected.convertToFormat(label->pixmap().toImage().format());
}

void TestSoundForm::initialForm()
{
    SoundForm &f = *m_form;
    QCOMPARE(f.m_volEdit->text(), QStringLiteral("100"));
    QCOMPARE(f.m_holdEdit->text(), QStringLiteral("100"));
    for (int r = 0; r < 4; ++r) {
        for (int s = 0; s < 6; ++s)
            QCOMPARE(f.m_fretEdits[r][s]->text(), QStringLiteral("-"));
        QCOMPARE(f.m_speedEdits[r]->text(), QStringLiteral("0"));
        QVERIFY(showsImage(f.m_arrowButtons[r], ":/img/bt_down.png"));
    }
    for (QNumericLineEdit *edit : f.m_offsetEdits)
        QCOMPARE(edit->text(), QStringLiteral("0"));
    QCOMPARE(f.m_strokeMarker->geometry(), f.m_noteLamps[0]->geometry());
    QVERIFY(showsImage(f.m_soundTypeButton, ":/img/bt_acoustic.png"));
    for (int s = 0; s < 6; ++s)
        QCOMPARE(f.m_neck->markerPos(s), 0);

    // Links: vol and hold both ways; speed with stroke 0; the offset knob with nothing.
    QCOMPARE(f.m_volSwitch->linkedEdit(), f.m_volEdit);
    QCOMPARE(f.m_volEdit->linkedSwitch(), f.m_volSwitch);
    QCOMPARE(f.m_holdSwitch->linkedEdit(), f.m_holdEdit);
    QCOMPARE(f.m_holdEdit->linkedSwitch(), f.m_holdSwitch);
    QCOMPARE(f.m_speedSwitch->linkedEdit(), f.m_speedEdits[0]);
    QCOMPARE(f.m_speedEdits[0]->linkedSwitch(), f.m_speedSwitch);
    QCOMPARE(f.m_offsetSwitch->linkedEdit(), nullptr);
    for (QNumericLineEdit *edit : f.m_offsetEdits)
        QCOMPARE(edit->linkedSwitch(), nullptr);

    // Setting the form up wrote nothing into the sound.
    SoundInfo reset;
    reset.reset();
    QCOMPARE(m_sound->sound(), reset);
}

// One press sets one string: one field text, no other field redrawn.
void TestSoundForm::neckPressSetsOneString()
{
    SoundForm &f = *m_form;
    QTest::keyClicks(f.m_fretEdits[2][0], "7");
    QTest::mouseClick(f.m_speedEdits[1], Qt::LeftButton);
    QTest::keyClicks(f.m_speedEdits[1], "55");
    QCOMPARE(m_sound->sound().fret[2][0], 7);
    QCOMPARE(m_sound->sound().strum_speed[1], 55.0);

    QList<QSignalSpy *> spies;
    for (QObject *edit : m_window->findChildren<QNumericLineEdit *>())
        spies << new QSignalSpy(edit, SIGNAL(textChanged(QString)));
    const QString noteFile = SoundMixer::noteFilePath();
    QFile::remove(noteFile);
    pressNeck(1, 4); // second string, fret 3
    int changes = 0;
    for (QSignalSpy *spy : spies)
        changes += int(spy->size());
    qDeleteAll(spies);
    QCOMPARE(changes, 1);
    QCOMPARE(m_sound->sound().fret[0][1], 3);
    QCOMPARE(f.m_fretEdits[0][1]->text(), QStringLiteral("3"));
    QCOMPARE(f.m_neck->markerPos(1), 4);
    QVERIFY(QFile::exists(noteFile));
    // What was typed elsewhere is part of the sound and stays.
    QCOMPARE(f.m_fretEdits[2][0]->text(), QStringLiteral("7"));
    QCOMPARE(f.m_speedEdits[1]->text(), QStringLiteral("55"));

    // The open position sets "0"; another stroke keeps its own frets.
    pressLamp(3);
    pressNeck(5, 1);
    QCOMPARE(m_sound->sound().fret[3][5], 0);
    QCOMPARE(f.m_fretEdits[3][5]->text(), QStringLiteral("0"));
    QCOMPARE(m_sound->sound().fret[0][1], 3);
    QCOMPARE(f.m_neck->markerPos(1), 0);
}

void TestSoundForm::neckPressOnMutedPosition()
{
    SoundForm &f = *m_form;
    pressNeck(2, 3);
    QCOMPARE(m_sound->sound().fret[0][2], 2);
    pressNeck(2, 0);
    QCOMPARE(m_sound->sound().fret[0][2], -1);
    QCOMPARE(f.m_fretEdits[0][2]->text(), QStringLiteral("-"));

    // A press after the pointer left every hit square acts on the last hovered point.
    const QPoint gap = QMELabel::gridPoint(4, 3) + QPoint(-10, 10);
    Mouse::move(f.m_neck, QMELabel::gridPoint(4, 6) + QPoint(10, 10));
    Mouse::move(f.m_neck, gap);
    Mouse::press(f.m_neck, gap);
    QCOMPARE(m_sound->sound().fret[0][4], 5);
}

void TestSoundForm::typedFretsGoToTheSound()
{
    SoundForm &f = *m_form;
    QTest::keyClicks(f.m_fretEdits[0][3], "7");
    QCOMPARE(f.m_fretEdits[0][3]->text(), QStringLiteral("7"));
    QCOMPARE(m_sound->sound().fret[0][3], 7);
    QCOMPARE(f.m_neck->markerPos(3), 8);

    QTest::keyClicks(f.m_fretEdits[1][2], "5");
    QCOMPARE(m_sound->sound().fret[1][2], 5);
    QCOMPARE(f.m_neck->markerPos(2), 0); // another stroke leaves the neck alone

    // An emptied field is the open string until it loses focus and reads "-" again.
    f.m_fretEdits[0][0]->setText("");
    QCOMPARE(m_sound->sound().fret[0][0], 0);
    QCOMPARE(f.m_neck->markerPos(0), 1);
    QCOMPARE(f.m_fretEdits[0][0]->text(), QString());
    f.m_fretEdits[0][0]->setText("-");
    QCOMPARE(m_sound->sound().fret[0][0], -1);
    // So is an emptied number field.
    f.m_speedEdits[2]->setText("");
    QCOMPARE(m_sound->sound().strum_speed[2], 0.0);
}

void TestSoundForm::markersStayOnNeck()
{
    SoundForm &f = *m_form;
    f.m_fretEdits[0][0]->setText("-5");
    QCOMPARE(f.m_neck->markerPos(0), 0);
    f.m_fretEdits[0][2]->setText("x");
    QCOMPARE(f.m_neck->markerPos(2), 1);

    // From a song: frets the neck does not have.
    SoundInfo info;
    info.reset();
    info.fret[0][3] = -7;
    info.fret[0][4] = 99;
    info.fret[0][5] = -2;
    m_sound->setSound(info);
    QCOMPARE(f.m_fretEdits[0][5]->text(), QStringLiteral("-"));
    QCOMPARE(f.m_fretEdits[0][4]->text(), QStringLiteral("99"));
    QCOMPARE(f.m_neck->markerPos(3), 0);
    QCOMPARE(f.m_neck->markerPos(4), QMELabel::PositionCount - 1);
    QCOMPARE(f.m_neck->markerPos(5), 0);
    for (int s = 0; s < 6; ++s)
        QVERIFY(f.m_neck->rect().contains(f.m_neck->stringMarker(s)->geometry()));
    QCOMPARE(m_sound->sound(), info);
}

void TestSoundForm::lampSelectionRelinksKnobs()
{
    SoundForm &f = *m_form;
    f.m_speedSwitch->setValue(120, true);
    QCOMPARE(f.m_speedEdits[0]->text(), QStringLiteral("120"));

    pressLamp(2);
    QCOMPARE(m_sound->currentStroke(), 2);
    QCOMPARE(f.m_strokeMarker->geometry(), QRect(387, 426 + 2 * 46, 15, 15));
    QCOMPARE(f.m_speedSwitch->linkedEdit(), f.m_speedEdits[2]);
    QCOMPARE(f.m_offsetSwitch->linkedEdit(), f.m_offsetEdits[1]);
    for (int r = 0; r < 4; ++r)
        QCOMPARE(f.m_speedEdits[r]->linkedSwitch(), r == 2 ? f.m_speedSwitch : nullptr);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(f.m_offsetEdits[i]->linkedSwitch(), i == 1 ? f.m_offsetSwitch : nullptr);
    QCOMPARE(f.m_speedSwitch->value(), 120.0); // no knob moves on a stroke change
    QCOMPARE(f.m_volEdit->linkedSwitch(), f.m_volSwitch);

    // Typing into an unlinked field turns no knob; into the linked one it does.
    QTest::keyClicks(f.m_offsetEdits[0], "30");
    QCOMPARE(f.m_offsetSwitch->value(), 0.0);
    QTest::keyClicks(f.m_offsetEdits[1], "80");
    QCOMPARE(f.m_offsetSwitch->value(), 80.0);

    // Back to stroke 0 from stroke 3: the offset knob still writes field 2, the field no
    // longer turns the knob.
    pressLamp(3);
    pressLamp(0);
    QCOMPARE(f.m_offsetSwitch->linkedEdit(), f.m_offsetEdits[2]);
    QCOMPARE(f.m_offsetEdits[2]->linkedSwitch(), nullptr);
    f.m_offsetSwitch->setValue(200, true);
    QCOMPARE(f.m_offsetEdits[2]->text(), QStringLiteral("200"));
    QCOMPARE(m_sound->sound().time_offset[2], 200.0);
    QTest::keyClicks(f.m_offsetEdits[2], "1");
    QCOMPARE(f.m_offsetSwitch->value(), 200.0);

    // The neck follows the selected stroke.
    f.m_fretEdits[1][4]->setText("9");
    QCOMPARE(f.m_neck->markerPos(4), 0);
    pressLamp(1);
    QCOMPARE(f.m_neck->markerPos(4), 10);
}

void TestSoundForm::arrowsAndTimbreCycle()
{
    SoundForm &f = *m_form;
    Mouse::click(f.m_arrowButtons[1]);
    QCOMPARE(m_sound->sound().direction[1], -1);
    QVERIFY(showsImage(f.m_arrowButtons[1], ":/img/bt_up.png"));
    QVERIFY(showsImage(f.m_arrowButtons[0], ":/img/bt_down.png"));
    Mouse::click(f.m_arrowButtons[1]);
    QCOMPARE(m_sound->sound().direction[1], 1);
    QVERIFY(showsImage(f.m_arrowButtons[1], ":/img/bt_down.png"));

    const char *const images[] = {":/img/bt_clean.png", ":/img/bt_distortion.png",
                                  ":/img/bt_acoustic.png"};
    for (int i = 0; i < 3; ++i) {
        Mouse::click(f.m_soundTypeButton);
        QCOMPARE(m_sound->sound().gt, (i + 1) % 3);
        QVERIFY(showsImage(f.m_soundTypeButton, images[i]));
    }
}

void TestSoundForm::loadedSoundFillsTheForm()
{
    SoundForm &f = *m_form;
    const SoundInfo sound = sampleSound();
    m_sound->setSound(sound);
    QCOMPARE(f.m_fretEdits[0][5]->text(), QStringLiteral("-"));
    QCOMPARE(f.m_fretEdits[3][0]->text(), QStringLiteral("15"));
    QCOMPARE(f.m_speedEdits[2]->text(), QStringLiteral("400"));
    QCOMPARE(f.m_offsetEdits[2]->text(), QStringLiteral("399"));
    QCOMPARE(f.m_volEdit->text(), QStringLiteral("60"));
    QCOMPARE(f.m_holdEdit->text(), QStringLiteral("80"));
    QVERIFY(showsImage(f.m_arrowButtons[2], ":/img/bt_up.png"));
    QVERIFY(showsImage(f.m_soundTypeButton, ":/img/bt_distortion.png"));
    QCOMPARE(f.m_neck->markerPos(4), 4);
    QCOMPARE(m_sound->sound(), sound);
}

void TestSoundForm::knobsFollowLoadedSound()
{
    SoundForm &f = *m_form;
    SoundInfo sound = sampleSound();
    pressLamp(3);
    m_sound->setSound(sound);
    QCOMPARE(f.m_speedSwitch->value(), 12.0);
    QCOMPARE(f.m_offsetSwitch->value(), 399.0);
    QCOMPARE(f.m_volSwitch->value(), 60.0);
    QCOMPARE(f.m_holdSwitch->value(), 80.0);

    // Stroke 0 has no offset: the knob, still linked to field 2, neither moves nor writes it.
    pressLamp(0);
    sound.time_offset[2] = 5;
    m_sound->setSound(sound);
    QCOMPARE(f.m_offsetSwitch->value(), 399.0);
    QCOMPARE(f.m_offsetEdits[2]->text(), QStringLiteral("5"));
    QCOMPARE(f.m_speedSwitch->value(), 30.0);
}

// A narrow field shows "12." for 12.5 and a knob "12"; neither is written back.
void TestSoundForm::fractionsSurviveRedraws()
{
    SoundForm &f = *m_form;
    SoundInfo sound = sampleSound();
    sound.strum_speed[0] = 12.5;
    sound.strum_speed[1] = 0.25;
    sound.strum_speed[3] = 399.75;
    sound.time_offset[0] = 33.125;
    sound.time_offset[1] = 7.5;
    sound.hold = 55.5;
    sound.vol = 99.9;
    m_sound->setSound(sound);
    QCOMPARE(f.m_speedEdits[1]->text(), QStringLiteral("0.2"));
    QCOMPARE(f.m_holdEdit->text(), QStringLiteral("55"));
    QCOMPARE(m_sound->sound(), sound);

    pressLamp(1);
    pressNeck(0, 3);
    sound.fret[1][0] = 2;
    QCOMPARE(m_sound->sound(), sound);
}

void TestSoundForm::typedAndTurnedValuesAreWritten()
{
    SoundForm &f = *m_form;
    SoundInfo sound = sampleSound();
    sound.strum_speed[1] = 12.5;
    sound.hold = 55.5;
    m_sound->setSound(sound);

    QTest::mouseClick(f.m_speedEdits[1], Qt::LeftButton);
    QTest::keyClicks(f.m_speedEdits[1], "13");
    QCOMPARE(m_sound->sound().strum_speed[1], 13.0);
    QTest::mouseClick(f.m_fretEdits[2][0], Qt::LeftButton);
    QTest::keyClicks(f.m_fretEdits[2][0], "4");
    QCOMPARE(m_sound->sound().fret[2][0], 4);

    // Typed past the field's maximum: the capped value counts.
    QTest::mouseClick(f.m_volEdit, Qt::LeftButton);
    QTest::keyClicks(f.m_volEdit, "300");
    QCOMPARE(f.m_volEdit->text(), QStringLiteral("100"));
    QCOMPARE(m_sound->sound().vol, 100.0);

    // A knob turned by the user writes its field, and so the sound.
    Mouse::press(f.m_holdSwitch, QPoint(29, 5));
    Mouse::move(f.m_holdSwitch, QPoint(5, 29), Qt::LeftButton);
    Mouse::release(f.m_holdSwitch, QPoint(5, 29));
    QVERIFY(f.m_holdEdit->text() != QStringLiteral("55"));
    QCOMPARE(m_sound->sound().hold, f.m_holdEdit->text().toDouble());
    QCOMPARE(m_sound->sound().direction[1], -1);
    QCOMPARE(m_sound->sound().gt, 2);
}

void TestSoundForm::songValuesOutOfRange()
{
    SoundForm &f = *m_form;
    SoundInfo sound = sampleSound();
    sound.gt = 7;
    sound.vol = std::numeric_limits<double>::quiet_NaN();
    sound.hold = 1e300;
    sound.strum_speed[0] = 250.5;
    sound.time_offset[0] = -40;
    m_sound->setSound(sound);
    // Knobs ignore what they cannot show; the fields keep their last text.
    QCOMPARE(f.m_volEdit->text(), QStringLiteral("100"));
    QCOMPARE(f.m_holdSwitch->value(), 100.0);
    QCOMPARE(f.m_speedEdits[0]->text(), QStringLiteral("250"));
    QVERIFY(showsImage(f.m_soundTypeButton, ":/img/bt_acoustic.png")); // the picture it had
    QCOMPARE(m_sound->sound().strum_speed[0], 250.5);
    QCOMPARE(m_sound->sound().time_offset[0], -40.0);
    QVERIFY(qIsNaN(m_sound->sound().vol));

    // The timbre button brings an unknown timbre back into the cycle.
    Mouse::click(f.m_soundTypeButton);
    QCOMPARE(m_sound->sound().gt, 0);
    QVERIFY(showsImage(f.m_soundTypeButton, ":/img/bt_acoustic.png"));
}

void TestSoundForm::chordRedrawsItsStrokeOnly()
{
    SoundForm &f = *m_form;
    m_sound->setSound(sampleSound());
    f.m_fretEdits[0][0]->setText("9"); // typed: part of the sound now
    pressLamp(2);
    const int chord[6] = {-1, 3, 2, 0, 1, 0};
    m_sound->setCurrentStrokeFrets(chord);
    for (int s = 0; s < 6; ++s)
        QCOMPARE(f.m_neck->markerPos(s), chord[s] + 1);
    QCOMPARE(f.m_fretEdits[2][0]->text(), QStringLiteral("-"));
    QCOMPARE(f.m_fretEdits[2][1]->text(), QStringLiteral("3"));
    QCOMPARE(f.m_fretEdits[0][0]->text(), QStringLiteral("9"));
    QCOMPARE(m_sound->sound().fret[0][0], 9);
}

QTEST_MAIN(TestSoundForm)
#include "tst_soundform.moc"
