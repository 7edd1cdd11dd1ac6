#include "app/MainWindow.h"
#include "sound/SoundMixer.h"
#include "widgets/QImageButton.h"
#include "widgets/QMELabel.h"
#include "widgets/QNoteLamp.h"
#include "widgets/QNumericLineEdit.h"
#include "widgets/QRotarySwitch.h"

#include <QDir>
#include <QFile>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QtTest>
#include <limits>
#include <memory>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void slotTableOrder();
    void frame();
    void workingDirectoryRule();
    void initialForm();
    void neckPressSetsCurrentStroke();
    void neckPressOnMutedPosition();
    void typedFretsMoveMarkers();
    void markersStayOnNeck();
    void lampSelectionRelinksKnobs();
    void arrowsAndTimbreCycle();
    void transferRoundTrip();
    void knobsFollowLoadedSound();
    void fractionsSurviveReadBack();
    void typedValuesAreRead();
    void songValuesOutOfRange();
    void chordGoesIntoCurrentStroke();
    void playFretsLeavesSound();
    void playReadsForm();
    void powerCloses();
    void dragByBackground();

private:
    // Hovers the neck at grid point (s, p) and presses there.
    void pressNeck(int s, int p);
    void pressLamp(int r);
    void clickButton(QImageButton *button);
    void sendMouse(QWidget *target, QEvent::Type type, QPoint local, Qt::MouseButton button);
    static SoundInfo sampleSound();
    static bool showsImage(const QLabel *label, const char *path);

    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindow::initTestCase()
{
    // Power closes windows; the test run must go on after that.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestMainWindow::init()
{
    m_window = std::make_unique<MainWindow>();
}

void TestMainWindow::cleanup()
{
    m_window.reset();
}

void TestMainWindow::sendMouse(QWidget *target, QEvent::Type type, QPoint local,
                               Qt::MouseButton button)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void TestMainWindow::pressNeck(int s, int p)
{
    const QPoint centre = QMELabel::gridPoint(s, p) + QPoint(10, 10);
    sendMouse(m_window->m_neck, QEvent::MouseMove, centre, Qt::NoButton);
    sendMouse(m_window->m_neck, QEvent::MouseButtonPress, centre, Qt::LeftButton);
    sendMouse(m_window->m_neck, QEvent::MouseButtonRelease, centre, Qt::LeftButton);
}

void TestMainWindow::pressLamp(int r)
{
    sendMouse(m_window->m_noteLamps[r], QEvent::MouseButtonPress, {7, 7}, Qt::LeftButton);
}

void TestMainWindow::clickButton(QImageButton *button)
{
    sendMouse(button, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
    sendMouse(button, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton);
}

SoundInfo TestMainWindow::sampleSound()
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

bool TestMainWindow::showsImage(const QLabel *label, const char *path)
{
    const QImage expected(QString::fromLatin1(path));
    return !expected.isNull() && label->pixmap().toImage() ==
                                     expected.convertToFormat(label->pixmap().toImage().format());
}

void TestMainWindow::slotTableOrder()
{
    const QStringList expected = {
        "onMouseMoveNeck(QMouseEvent*)",
        "onMouseLeaveNeck(QMouseEvent*)",
        "onMousePressNeck(QMouseEvent*)",
        "onMousePressPower(QMouseEvent*,QWidget*)",
        "onMousePressNoteLamp(QMouseEvent*,QWidget*)",
        "onMousePressPlay(QMouseEvent*,QWidget*)",
        "onMousePressArrow(QMouseEvent*,QWidget*)",
        "onMousePressSoundType(QMouseEvent*,QWidget*)",
        "onMousePressAdd(QMouseEvent*,QWidget*)",
        "onMousePressDelete(QMouseEvent*,QWidget*)",
        "onMousePressLock(QMouseEvent*,QWidget*)",
        "onMousePressLoad(QMouseEvent*,QWidget*)",
        "onMousePressSave(QMouseEvent*,QWidget*)",
        "onMousePressBook(QMouseEvent*,QWidget*)",
        "onMousePressWeb(QMouseEvent*,QWidget*)",
        "onMousePressSB(QMouseEvent*,QSoundButton*)",
        "onMousePressIcon(QMouseEvent*,QWidget*)",
        "onSelectIcon(int)",
        "onFretLineEditChanged()",
        "writeSoundButtonInfo(SoundInfo*)",
    };
    const QMetaObject &meta = MainWindow::staticMetaObject;
    QStringList declared;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        if (method.methodType() == QMetaMethod::Slot)
            declared << QString::fromLatin1(method.methodSignature());
    }
    QCOMPARE(declared, expected);
}

void TestMainWindow::frame()
{
    MainWindow &w = *m_window;
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(w.size(), QSize(924, 636));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QVERIFY(!w.menuWidget() || !w.menuWidget()->isVisibleTo(&w));
    QCOMPARE(w.objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(w.centralWidget()->objectName(), QStringLiteral("centralWidget"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Kavendra"));
    QCOMPARE(w.m_powerButton->toolTip(), QStringLiteral("Power"));
    QCOMPARE(w.m_playButton->toolTip(), QStringLiteral("Play Currnt Sound"));
}

void TestMainWindow::workingDirectoryRule()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString base = QDir(root.path()).absolutePath();
    for (const char *name : {"Debug", "release", "RELEASE", "bin", "debugging"})
        QVERIFY(QDir(base).mkpath(QString::fromLatin1(name)));
    QCOMPARE(MainWindow::workingDirectoryFor(base + "/Debug"), base);
    QCOMPARE(MainWindow::workingDirectoryFor(base + "/release"), base);
    QCOMPARE(MainWindow::workingDirectoryFor(base + "/RELEASE"), base);
    QCOMPARE(MainWindow::workingDirectoryFor(base + "/bin"), base + "/bin");
    QCOMPARE(MainWindow::workingDirectoryFor(base + "/debugging"), base + "/debugging");
    // The constructor made the program's own directory current.
    QCOMPARE(QDir::currentPath(),
             MainWindow::workingDirectoryFor(QCoreApplication::applicationDirPath()));
}

void TestMainWindow::initialForm()
{
    MainWindow &w = *m_window;
    QCOMPARE(w.m_volEdit->text(), QStringLiteral("100"));
    QCOMPARE(w.m_holdEdit->text(), QStringLiteral("100"));
    for (int r = 0; r < 4; ++r) {
        for (int s = 0; s < 6; ++s)
            QCOMPARE(w.m_fretEdits[r][s]->text(), QStringLiteral("-"));
        QCOMPARE(w.m_speedEdits[r]->text(), QStringLiteral("0"));
        QVERIFY(showsImage(w.m_arrowButtons[r], ":/img/bt_down.png"));
    }
    for (QNumericLineEdit *edit : w.m_offsetEdits)
        QCOMPARE(edit->text(), QStringLiteral("0"));
    QCOMPARE(w.m_currentStroke, 0);
    QCOMPARE(w.m_strokeMarker->geometry(), w.m_noteLamps[0]->geometry());
    QVERIFY(showsImage(w.m_soundTypeButton, ":/img/bt_acoustic.png"));
    QCOMPARE(w.m_engine->soundType(), 0);
    for (int s = 0; s < 6; ++s)
        QCOMPARE(w.m_neck->markerPos(s), 0);

    // Links: vol and hold both ways; speed with stroke 0; the offset knob with nothing.
    QCOMPARE(w.m_volSwitch->linkedEdit(), w.m_volEdit);
    QCOMPARE(w.m_volEdit->linkedSwitch(), w.m_volSwitch);
    QCOMPARE(w.m_holdSwitch->linkedEdit(), w.m_holdEdit);
    QCOMPARE(w.m_holdEdit->linkedSwitch(), w.m_holdSwitch);
    QCOMPARE(w.m_speedSwitch->linkedEdit(), w.m_speedEdits[0]);
    QCOMPARE(w.m_speedEdits[0]->linkedSwitch(), w.m_speedSwitch);
    QCOMPARE(w.m_offsetSwitch->linkedEdit(), nullptr);
    for (QNumericLineEdit *edit : w.m_offsetEdits)
        QCOMPARE(edit->linkedSwitch(), nullptr);

    // The form reads back as the reset sound (a fresh record has every string open).
    SoundInfo read;
    w.getSoundInfo(&read);
    SoundInfo reset;
    reset.reset();
    QCOMPARE(read, reset);
}

void TestMainWindow::neckPressSetsCurrentStroke()
{
    MainWindow &w = *m_window;
    const QString noteFile = QDir::current().absoluteFilePath("tmp_sound.wav");
    QFile::remove(noteFile);

    // Typed but never transferred: a neck press refills these from m_soundInfo.
    w.m_fretEdits[2][0]->setText("7");
    w.m_speedEdits[1]->setText("55");
    w.m_offsetEdits[2]->setText("9");
    w.m_volEdit->setText("42");

    pressNeck(1, 4); // second string, fret 3
    QCOMPARE(w.m_soundInfo.fret[0][1], 3);
    QCOMPARE(w.m_fretEdits[0][1]->text(), QStringLiteral("3"));
    QCOMPARE(w.m_neck->markerPos(1), 4);
    for (int s : {0, 2, 3, 4, 5}) {
        QCOMPARE(w.m_soundInfo.fret[0][s], -1);
        QCOMPARE(w.m_fretEdits[0][s]->text(), QStringLiteral("-"));
    }
    QCOMPARE(w.m_fretEdits[2][0]->text(), QStringLiteral("-"));
    QCOMPARE(w.m_speedEdits[1]->text(), QStringLiteral("0"));
    QCOMPARE(w.m_offsetEdits[2]->text(), QStringLiteral("0"));
    QCOMPARE(w.m_volEdit->text(), QStringLiteral("42"));
    QVERIFY(QFile::exists(noteFile));

    // The open position sets "0"; another stroke keeps its own frets.
    pressLamp(3);
    pressNeck(5, 1);
    QCOMPARE(w.m_soundInfo.fret[3][5], 0);
    QCOMPARE(w.m_fretEdits[3][5]->text(), QStringLiteral("0"));
    QCOMPARE(w.m_soundInfo.fret[0][1], 3);
    QCOMPARE(w.m_neck->markerPos(1), 0);
}

void TestMainWindow::neckPressOnMutedPosition()
{
    MainWindow &w = *m_window;
    pressNeck(2, 3);
    QCOMPARE(w.m_soundInfo.fret[0][2], 2);

    const QString noteFile = QDir::current().absoluteFilePath("tmp_sound.wav");
    QFile::remove(noteFile);
    pressNeck(2, 0);
    QCOMPARE(w.m_soundInfo.fret[0][2], -1);
    QCOMPARE(w.m_fretEdits[0][2]->text(), QStringLiteral("-"));
    QVERIFY2(!QFile::exists(noteFile), "a muted string plays nothing");

    // A press after the pointer left every hit square acts on the last hovered point.
    const QPoint gap = QMELabel::gridPoint(4, 3) + QPoint(-10, 10);
    sendMouse(w.m_neck, QEvent::MouseMove, QMELabel::gridPoint(4, 6) + QPoint(10, 10),
              Qt::NoButton);
    sendMouse(w.m_neck, QEvent::MouseMove, gap, Qt::NoButton);
    sendMouse(w.m_neck, QEvent::MouseButtonPress, gap, Qt::LeftButton);
    QCOMPARE(w.m_soundInfo.fret[0][4], 5);
}

void TestMainWindow::typedFretsMoveMarkers()
{
    MainWindow &w = *m_window;
    QTest::keyClicks(w.m_fretEdits[0][3], "7");
    QCOMPARE(w.m_fretEdits[0][3]->text(), QStringLiteral("7"));
    QCOMPARE(w.m_neck->markerPos(3), 8);
    QCOMPARE(w.m_soundInfo.fret[0][3], -1); // typing does not transfer

    QTest::keyClicks(w.m_fretEdits[1][2], "5");
    QCOMPARE(w.m_neck->markerPos(2), 0); // another stroke leaves the neck alone

    // An emptied field shows the open string until it loses focus.
    w.m_fretEdits[0][0]->setText("");
    QCOMPARE(w.m_neck->markerPos(0), 1);
}

void TestMainWindow::markersStayOnNeck()
{
    MainWindow &w = *m_window;
    w.m_fretEdits[0][0]->setText("-5");
    QCOMPARE(w.m_neck->markerPos(0), 0);
    w.m_fretEdits[0][1]->setText("-1");
    QCOMPARE(w.m_neck->markerPos(1), 0);
    w.m_fretEdits[0][2]->setText("x");
    QCOMPARE(w.m_neck->markerPos(2), 1);

    // From a song: frets the neck does not have.
    SoundInfo info;
    info.reset();
    info.fret[0][3] = -7;
    info.fret[0][4] = 99;
    info.fret[0][5] = -2;
    w.setSoundInfo(&info);
    QCOMPARE(w.m_fretEdits[0][5]->text(), QStringLiteral("-"));
    QCOMPARE(w.m_neck->markerPos(3), 0);
    QCOMPARE(w.m_neck->markerPos(4), QMELabel::PositionCount - 1);
    QCOMPARE(w.m_neck->markerPos(5), 0);
    for (int s = 0; s < 6; ++s)
        QVERIFY(w.m_neck->rect().contains(w.m_neck->stringMarker(s)->geometry()));
}

void TestMainWindow::lampSelectionRelinksKnobs()
{
    MainWindow &w = *m_window;
    w.m_speedSwitch->setValue(120, true);
    QCOMPARE(w.m_speedEdits[0]->text(), QStringLiteral("120"));

    pressLamp(2);
    QCOMPARE(w.m_currentStroke, 2);
    QCOMPARE(w.m_strokeMarker->geometry(), QRect(387, 426 + 2 * 46, 15, 15));
    QCOMPARE(w.m_speedSwitch->linkedEdit(), w.m_speedEdits[2]);
    QCOMPARE(w.m_offsetSwitch->linkedEdit(), w.m_offsetEdits[1]);
    for (int r = 0; r < 4; ++r)
        QCOMPARE(w.m_speedEdits[r]->linkedSwitch(), r == 2 ? w.m_speedSwitch : nullptr);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(w.m_offsetEdits[i]->linkedSwitch(), i == 1 ? w.m_offsetSwitch : nullptr);
    QCOMPARE(w.m_speedSwitch->value(), 120.0); // no knob moves on a stroke change
    QCOMPARE(w.m_volEdit->linkedSwitch(), w.m_volSwitch);

    // Typing into an unlinked field turns no knob; into the linked one it does.
    QTest::keyClicks(w.m_offsetEdits[0], "30");
    QCOMPARE(w.m_offsetSwitch->value(), 0.0);
    QTest::keyClicks(w.m_offsetEdits[1], "80");
    QCOMPARE(w.m_offsetSwitch->value(), 80.0);

    // Back to stroke 0 from stroke 3: the offset knob still writes field 2, the field no
    // longer turns the knob.
    pressLamp(3);
    pressLamp(0);
    QCOMPARE(w.m_offsetSwitch->linkedEdit(), w.m_offsetEdits[2]);
    QCOMPARE(w.m_offsetEdits[2]->linkedSwitch(), nullptr);
    w.m_offsetSwitch->setValue(200, true);
    QCOMPARE(w.m_offsetEdits[2]->text(), QStringLiteral("200"));
    QTest::keyClicks(w.m_offsetEdits[2], "1");
    QCOMPARE(w.m_offsetSwitch->value(), 200.0);

    // The neck follows the selected stroke.
    w.m_fretEdits[1][4]->setText("9");
    QCOMPARE(w.m_neck->markerPos(4), 0);
    pressLamp(1);
    QCOMPARE(w.m_neck->markerPos(4), 10);
}

void TestMainWindow::arrowsAndTimbreCycle()
{
    MainWindow &w = *m_window;
    clickButton(w.m_arrowButtons[1]);
    QCOMPARE(w.m_soundInfo.direction[1], -1);
    QVERIFY(showsImage(w.m_arrowButtons[1], ":/img/bt_up.png"));
    QVERIFY(showsImage(w.m_arrowButtons[0], ":/img/bt_down.png"));
    clickButton(w.m_arrowButtons[1]);
    QCOMPARE(w.m_soundInfo.direction[1], 1);
    QVERIFY(showsImage(w.m_arrowButtons[1], ":/img/bt_down.png"));

    // A press from a button that is no arrow changes nothing.
    w.onMousePressArrow(nullptr, w.m_playButton);
    for (int r = 0; r < 4; ++r)
        QCOMPARE(w.m_soundInfo.direction[r], 1);

    const char *const images[] = {":/img/bt_clean.png", ":/img/bt_distortion.png",
                                  ":/img/bt_acoustic.png"};
    for (int i = 0; i < 3; ++i) {
        clickButton(w.m_soundTypeButton);
        QCOMPARE(w.m_soundInfo.gt, (i + 1) % 3);
        QCOMPARE(w.m_engine->soundType(), (i + 1) % 3);
        QVERIFY(showsImage(w.m_soundTypeButton, images[i]));
    }
}

void TestMainWindow::transferRoundTrip()
{
    MainWindow &w = *m_window;
    const SoundInfo sound = sampleSound();
    w.setSoundInfo(&sound);
    QCOMPARE(w.m_soundInfo, sound);
    QCOMPARE(w.m_fretEdits[0][5]->text(), QStringLiteral("-"));
    QCOMPARE(w.m_fretEdits[3][0]->text(), QStringLiteral("15"));
    QCOMPARE(w.m_speedEdits[2]->text(), QStringLiteral("400"));
    QCOMPARE(w.m_offsetEdits[2]->text(), QStringLiteral("399"));
    QCOMPARE(w.m_volEdit->text(), QStringLiteral("60"));
    QCOMPARE(w.m_holdEdit->text(), QStringLiteral("80"));
    QCOMPARE(w.m_engine->soundType(), 2);
    QVERIFY(showsImage(w.m_arrowButtons[2], ":/img/bt_up.png"));
    QVERIFY(showsImage(w.m_soundTypeButton, ":/img/bt_distortion.png"));
    QCOMPARE(w.m_neck->markerPos(4), 4);

    SoundInfo read;
    w.getSoundInfo(&read);
    QCOMPARE(read, sound);

    // An empty fret field reads as the open string.
    w.m_fretEdits[1][1]->setText("");
    w.getSoundInfo(&read);
    QCOMPARE(read.fret[1][1], 0);
}

void TestMainWindow::knobsFollowLoadedSound()
{
    MainWindow &w = *m_window;
    SoundInfo sound = sampleSound();
    pressLamp(3);
    w.setSoundInfo(&sound);
    QCOMPARE(w.m_speedSwitch->value(), 12.0);
    QCOMPARE(w.m_offsetSwitch->value(), 399.0);
    QCOMPARE(w.m_volSwitch->value(), 60.0);
    QCOMPARE(w.m_holdSwitch->value(), 80.0);

    // Stroke 0 has no offset: the knob, still linked to field 2, neither moves nor writes it.
    pressLamp(0);
    sound.time_offset[2] = 5;
    w.setSoundInfo(&sound);
    QCOMPARE(w.m_offsetSwitch->value(), 399.0);
    QCOMPARE(w.m_offsetEdits[2]->text(), QStringLiteral("5"));
    QCOMPARE(w.m_speedSwitch->value(), 30.0);
}

void TestMainWindow::fractionsSurviveReadBack()
{
    MainWindow &w = *m_window;
    SoundInfo sound = sampleSound();
    sound.strum_speed[0] = 12.5;
    sound.strum_speed[1] = 0.25;
    sound.strum_speed[3] = 399.75;
    sound.time_offset[0] = 33.125;
    sound.time_offset[1] = 7.5;
    sound.hold = 55.5;
    sound.vol = 99.9;
    w.setSoundInfo(&sound);

    SoundInfo read;
    w.getSoundInfo(&read);
    QCOMPARE(read, sound);
    w.getSoundInfo(&w.m_soundInfo);
    QCOMPARE(w.m_soundInfo, sound);

    // Also after another stroke was selected and the fields refilled by a neck press.
    pressLamp(1);
    pressNeck(0, 3);
    w.getSoundInfo(&read);
    QCOMPARE(read.strum_speed[0], 12.5);
    QCOMPARE(read.time_offset[0], 33.125);
    QCOMPARE(read.hold, 55.5);
}

void TestMainWindow::typedValuesAreRead()
{
    MainWindow &w = *m_window;
    SoundInfo sound = sampleSound();
    sound.strum_speed[1] = 12.5;
    sound.hold = 55.5;
    w.setSoundInfo(&sound);

    // The user types over the shortened values: the typed numbers count.
    QTest::mouseClick(w.m_speedEdits[1], Qt::LeftButton);
    QTest::keyClicks(w.m_speedEdits[1], "13");
    QTest::mouseClick(w.m_holdEdit, Qt::LeftButton);
    QTest::keyClicks(w.m_holdEdit, "7");
    w.m_holdSwitch->setValue(90, true); // a knob turned afterwards wins
    QTest::mouseClick(w.m_fretEdits[2][0], Qt::LeftButton);
    QTest::keyClicks(w.m_fretEdits[2][0], "4");

    SoundInfo read;
    w.getSoundInfo(&read);
    QCOMPARE(read.strum_speed[1], 13.0);
    QCOMPARE(read.hold, 90.0);
    QCOMPARE(read.fret[2][0], 4);
    QCOMPARE(read.direction[1], -1);
    QCOMPARE(read.gt, 2);
}

void TestMainWindow::songValuesOutOfRange()
{
    MainWindow &w = *m_window;
    SoundInfo sound = sampleSound();
    sound.gt = 7;
    sound.vol = std::numeric_limits<double>::quiet_NaN();
    sound.hold = 1e300;
    sound.strum_speed[0] = 250.5;
    sound.time_offset[0] = -40;
    w.setSoundInfo(&sound);
    QCOMPARE(w.m_engine->soundType(), 7);
    // Knobs ignore what they cannot show; the fields keep their last text.
    QCOMPARE(w.m_volEdit->text(), QStringLiteral("100"));
    QCOMPARE(w.m_holdSwitch->value(), 100.0);
    QCOMPARE(w.m_speedEdits[0]->text(), QStringLiteral("250"));

    SoundInfo read;
    w.getSoundInfo(&read);
    QCOMPARE(read.strum_speed[0], 250.5);
    QCOMPARE(read.time_offset[0], -40.0);

    // The timbre button brings an unknown timbre back into the cycle.
    clickButton(w.m_soundTypeButton);
    QCOMPARE(w.m_soundInfo.gt, 0);
    QVERIFY(showsImage(w.m_soundTypeButton, ":/img/bt_acoustic.png"));
}

void TestMainWindow::chordGoesIntoCurrentStroke()
{
    MainWindow &w = *m_window;
    const SoundInfo sound = sampleSound();
    w.setSoundInfo(&sound);
    w.m_fretEdits[0][0]->setText("9"); // typed, not transferred: refilled from the record
    pressLamp(2);
    const int chord[6] = {-1, 3, 2, 0, 1, 0};
    w.setCurrentStrokeFrets(chord);
    for (int s = 0; s < 6; ++s) {
        QCOMPARE(w.m_soundInfo.fret[2][s], chord[s]);
        QCOMPARE(w.m_neck->markerPos(s), chord[s] + 1);
        QCOMPARE(w.m_soundInfo.fret[0][s], sound.fret[0][s]);
    }
    QCOMPARE(w.m_fretEdits[2][0]->text(), QStringLiteral("-"));
    QCOMPARE(w.m_fretEdits[0][0]->text(), QStringLiteral("0"));
}

void TestMainWindow::playFretsLeavesSound()
{
    MainWindow &w = *m_window;
    const SoundInfo sound = sampleSound();
    w.setSoundInfo(&sound);
    w.m_fretEdits[1][0]->setText("11");
    QFile::remove(w.m_outFile);

    const int chord[6] = {0, 1, 0, 2, 3, -1};
    w.playFrets(chord);
    QCOMPARE(w.m_soundInfo, sound);
    QCOMPARE(w.m_fretEdits[1][0]->text(), QStringLiteral("11"));
    QVERIFY(QFile::exists(w.m_outFile));
}

void TestMainWindow::playReadsForm()
{
    MainWindow &w = *m_window;
    QTest::keyClicks(w.m_fretEdits[0][4], "3");
    QTest::keyClicks(w.m_fretEdits[1][0], "12");
    QFile::remove(w.m_outFile);

    clickButton(w.m_playButton);
    QCOMPARE(w.m_soundInfo.fret[0][4], 3);
    QCOMPARE(w.m_soundInfo.fret[1][0], 12);
    QFile file(w.m_outFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.size() > 44);
}

void TestMainWindow::powerCloses()
{
    MainWindow &w = *m_window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickButton(w.m_powerButton);
    QVERIFY(w.isVisible()); // the close is queued behind the press
    QTRY_VERIFY(!w.isVisible());
}

void TestMainWindow::dragByBackground()
{
    MainWindow &w = *m_window;
    w.move(100, 100);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QPoint start = w.pos();

    const auto drag = [&](Qt::MouseButton button, QPoint from, QPoint by) {
        const QPoint global = w.mapToGlobal(from);
        QMouseEvent press(QEvent::MouseButtonPress, from, global, button, button, Qt::NoModifier);
        QApplication::sendEvent(&w, &press);
        QMouseEvent move(QEvent::MouseMove, from + by, global + by, Qt::NoButton, button,
                         Qt::NoModifier);
        QApplication::sendEvent(&w, &move);
    };
    drag(Qt::RightButton, {400, 40}, {30, 20});
    QCOMPARE(w.pos(), start);
    drag(Qt::LeftButton, {400, 40}, {30, 20});
    QCOMPARE(w.pos(), start + QPoint(30, 20));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
