// The main window's frame and wiring: size and flags, the working directory, Play, the chord
// book's commands, Power, dragging by the background, and the song player's strip.
#include "app/MainWindow.h"
#include "app/SongPlayerBar.h"
#include "buttons/QButtonPanel.h"
#include "chordbook/DialogChordBook.h"
#include "history/SongHistory.h"
#include "model/CurrentSound.h"
#include "model/SongModel.h"
#include "model/SongPlayer.h"
#include "tests/support/Mouse.h"
#include "widgets/QImageButton.h"
#include "widgets/QNoteLamp.h"
#include "widgets/QNumericLineEdit.h"
#include "widgets/QRotarySwitch.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void frame();
    void workingDirectoryRule();
    void playPlaysWhatTheFormShows();
    void chordBookGoesToTheCurrentSound();
    void powerCloses();
    void dragByBackground();
    void tempoAndBeatsAreUndoableEdits();
    void songPlaysLightsAndStopsOnAPress();

private:
    QImageButton *buttonWithTip(const QString &tip) const;
    bool showActive() const
    {
        m_window->show();
        m_window->activateWindow();
        return QTest::qWaitForWindowActive(m_window.get());
    }

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

QImageButton *TestMainWindow::buttonWithTip(const QString &tip) const
{
    for (QImageButton *button : m_window->findChildren<QImageButton *>()) {
        if (button->toolTip() == tip)
            return button;
    }
    return nullptr;
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
    const QList<std::pair<QString, QRect>> buttons = {
        {"Power", QRect(863, 16, 46, 46)},  {"Load", QRect(42, 19, 39, 39)},
        {"Save", QRect(97, 19, 39, 39)},    {"Chord", QRect(152, 19, 39, 39)},
        {"Submit", QRect(207, 19, 39, 39)}, {"Play Current Sound", QRect(230, 350, 39, 39)},
    };
    QCOMPARE(w.m_playerBar->m_playKey->geometry(), QRect(432, 598, 40, 29));
    QCOMPARE(w.m_playerBar->m_loopKey->geometry(), QRect(478, 598, 40, 29));
    for (const auto &[tip, geometry] : buttons) {
        QImageButton *button = buttonWithTip(tip);
        QVERIFY2(button, qPrintable(tip));
        QCOMPARE(button->geometry(), geometry);
    }
    // Every picture button, lamp and knob says what it is.
    int controls = 0;
    for (QWidget *control : w.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!qobject_cast<QImageButton *>(control) && !qobject_cast<QNoteLamp *>(control) &&
            !qobject_cast<QRotarySwitch *>(control))
            continue;
        ++controls;
        QVERIFY2(!control->toolTip().isEmpty(), control->metaObject()->className());
    }
    // Nine picture buttons, the icon preview, the voice button, four arrows, lamps and knobs,
    // and the song player's two keys.
    QCOMPARE(controls, 9 + 1 + 1 + 4 + 4 + 4 + 2);
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

// Fret numbers typed but never played are heard.
void TestMainWindow::playPlaysWhatTheFormShows()
{
    MainWindow &w = *m_window;
    QNumericLineEdit *firstFret = nullptr; // stroke 0, first string
    for (QNumericLineEdit *edit : w.findChildren<QNumericLineEdit *>()) {
        if (edit->pos() == QPoint(405, 418))
            firstFret = edit;
    }
    QVERIFY(firstFret);
    QTest::keyClicks(firstFret, "3");
    QFile::remove(w.m_sound->strumFile());
    Mouse::click(buttonWithTip("Play Current Sound"));
    QCOMPARE(w.m_sound->sound().fret[0][0], 3);
    QFile file(w.m_sound->strumFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.size() > 44);
}

void TestMainWindow::chordBookGoesToTheCurrentSound()
{
    MainWindow &w = *m_window;
    auto *book = w.findChild<DialogChordBook *>();
    QVERIFY(book && book->isHidden());
    Mouse::click(buttonWithTip("Chord"));
    QVERIFY(book->isVisible());
    w.m_sound->setCurrentStroke(1);
    emit book->chordSet(DialogChordBook::chordFrets(5, 3)); // D m7
    const int dm7[SoundInfo::Strings] = {1, 1, 2, 0, 0, -1};
    QVERIFY(std::equal(dm7, dm7 + SoundInfo::Strings, w.m_sound->sound().fret[1]));

    const SoundInfo before = w.m_sound->sound();
    QFile::remove(w.m_sound->strumFile());
    emit book->chordPlayed(DialogChordBook::chordFrets(0, 0));
    QVERIFY(QFile::exists(w.m_sound->strumFile()));
    QCOMPARE(w.m_sound->sound(), before);
}

void TestMainWindow::powerCloses()
{
    MainWindow &w = *m_window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Mouse::click(buttonWithTip("Power"), QPoint(5, 5), Qt::RightButton);
    QTest::qWait(20);
    QVERIFY2(w.isVisible(), "only the left button presses a picture button");
    Mouse::click(buttonWithTip("Power"));
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
    Mouse::drag(&w, QPoint(400, 40), QPoint(30, 20), Qt::RightButton);
    QCOMPARE(w.pos(), start);
    Mouse::drag(&w, QPoint(400, 40), QPoint(30, 20));
    QCOMPARE(w.pos(), start + QPoint(30, 20));
}

// A field's value counts when the user leaves the field; out of range it is brought into range.
void TestMainWindow::tempoAndBeatsAreUndoableEdits()
{
    MainWindow &w = *m_window;
    QNumericLineEdit *tempo = w.m_playerBar->m_tempoEdit;
    QNumericLineEdit *beats = w.m_playerBar->m_beatsEdit;
    // Leaving a field takes the keyboard focus, which only an active window has.
    QVERIFY(showActive());
    const auto enter = [&w](QNumericLineEdit *edit, const QString &text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        w.setFocus();
    };
    QCOMPARE(tempo->text(), QStringLiteral("120"));
    QCOMPARE(beats->text(), QStringLiteral("1"));
    enter(tempo, QStringLiteral("95"));
    QCOMPARE(w.m_song->tempo(), 95);
    QVERIFY(w.m_song->isModified());
    w.undo();
    QCOMPARE(w.m_song->tempo(), 120);
    QCOMPARE(tempo->text(), QStringLiteral("120"));
    QVERIFY(!w.m_song->isModified());
    w.redo();
    QCOMPARE(tempo->text(), QStringLiteral("95"));

    const QList<std::tuple<QNumericLineEdit *, QString, int>> cases = {
        {tempo, "20", 20}, {tempo, "19", 20}, {tempo, "400", 400}, {tempo, "401", 400},
        {beats, "16", 16}, {beats, "17", 16}, {beats, "0", 1},     {beats, "2", 2},
    };
    for (const auto &[edit, text, value] : cases) {
        enter(edit, text);
        QCOMPARE(edit->text(), QString::number(value));
    }
    QCOMPARE(w.m_song->tempo(), 400);
    QCOMPARE(w.m_song->beats(), 2);
    // An emptied field keeps the song's value.
    enter(beats, QString());
    QCOMPARE(beats->text(), QStringLiteral("2"));
}

void TestMainWindow::songPlaysLightsAndStopsOnAPress()
{
    MainWindow &w = *m_window;
    SongPlayerBar *bar = w.m_playerBar;
    QLabel *status = bar->m_status;
    QCOMPARE(status->text().trimmed(), QStringLiteral("no tap order yet"));
    bar->togglePlay();
    QVERIFY(!bar->player()->isPlaying());

    const int first = w.m_history->addButton(0, SoundInfo());
    const int second = w.m_history->addButton(1, SoundInfo());
    w.m_history->setInfo(SongModel::TapOrder, QStringLiteral("0,1,7,x"));
    QVERIFY2(status->text().contains(QStringLiteral("2 entries")), qPrintable(status->text()));
    QVERIFY2(status->text().contains(QStringLiteral("skips 7, x")), qPrintable(status->text()));
    QVERIFY(status->toolTip().contains(QStringLiteral("7, x")));

    bar->togglePlay();
    QVERIFY(bar->player()->isPlaying());
    emit bar->player()->entryStarted(1, second);
    QCOMPARE(w.m_buttonPanel->shownPlaying(), second);
    QVERIFY2(status->text().startsWith(QStringLiteral(" 1 / 2")), qPrintable(status->text()));
    // The lit button is not selected by it.
    QCOMPARE(w.m_song->selected(), 0);
    // A press plays its own sound: the song stops and nothing stays lit.
    w.m_buttonPanel->pressCell(w.m_song->cellOf(first));
    QVERIFY(!bar->player()->isPlaying());
    QCOMPARE(w.m_buttonPanel->shownPlaying(), 0);
    QVERIFY(status->text().contains(QStringLiteral("2 entries")));

    // Shift+Space plays and stops the song: a shortcut of the active window.
    QVERIFY(showActive());
    QTest::keyClick(&w, Qt::Key_Space, Qt::ShiftModifier);
    QVERIFY(bar->player()->isPlaying());
    QTest::keyClick(&w, Qt::Key_Space, Qt::ShiftModifier);
    QVERIFY(!bar->player()->isPlaying());
    bar->toggleLoop();
    QVERIFY(bar->player()->isLooping());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
