// The main window's commands on sound buttons: Add, Delete, Lock, a press on a button or its key
// (with the form's edits going into the selected button), undo and redo of them, the right
// click, the shortcuts and the picture for new buttons.
#include "app/KeyHelp.h"
#include "app/MainWindow.h"
#include "buttons/ButtonIconTable.h"
#include "buttons/DialogSelectIcon.h"
#include "buttons/QButtonPanel.h"
#include "buttons/QSoundButton.h"
#include "model/CurrentSound.h"
#include "model/SongModel.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/Mouse.h"
#include "upload/DialogSongInfo.h"
#include "widgets/QImageButton.h"

#include <QFile>
#include <QLineEdit>
#include <QtTest>

class TestButtonCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void controlsInPlace();
    void addCopiesTheForm();
    void addTakesTypedFrets();
    void deleteRemovesSelectedOnly();
    void lockToggles();
    void pressLoadsAndPlays();
    void formEditsGoToTheSelectedButton();
    void undoAndRedoFollowTheEdits();
    void rightClickSelectsTheClickedButton();
    void keysPlayLikeClicks();
    void fieldsKeepTheirKeys();
    void shortcutsRunTheCommands();
    void keyLegendsSettingIsKept();
    void pressRecordsTapsWhileRecording();
    void iconChoiceGoesToNewButtons();
    void closingChooserWithoutChoiceChangesNothing();

private:
    QImageButton *control(const QRect &geometry) const;
    QLineEdit *field(QPoint pos) const;
    QSoundButton *view(int number) const { return m_panel->button(number); }
    // Clicks the preview and picks the picture in the chooser; returns where the chooser was.
    QPoint pickIcon(int index);

    MainWindow *m_window = nullptr;
    SongModel *m_song = nullptr;
    CurrentSound *m_sound = nullptr;
    QButtonPanel *m_panel = nullptr;
    QImageButton *m_add = nullptr;
    QImageButton *m_delete = nullptr;
    QImageButton *m_lock = nullptr;
    QImageButton *m_icon = nullptr;
};

namespace {
QImage preview(int index)
{
    ButtonIconTable table;
    return table.picture(index)
        .scaled(20, 20, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .toImage();
}
} // namespace

void TestButtonCommands::init()
{
    m_window = new MainWindow;
    m_window->show();
    m_song = m_window->m_song;
    m_sound = m_window->m_sound;
    m_panel = m_window->m_buttonPanel;
    m_add = control(QRect(270, 350, 39, 39));
    m_delete = control(QRect(310, 350, 39, 39));
    m_lock = control(QRect(88, 352, 38, 30));
    m_icon = control(QRect(174, 358, 20, 20));
    QVERIFY(m_add && m_delete && m_lock && m_icon);
}

void TestButtonCommands::cleanup()
{
    delete m_window;
}

QImageButton *TestButtonCommands::control(const QRect &geometry) const
{
    for (QImageButton *b : m_window->findChildren<QImageButton *>(Qt::FindDirectChildrenOnly)) {
        if (b->geometry() == geometry)
            return b;
    }
    return nullptr;
}

QLineEdit *TestButtonCommands::field(QPoint pos) const
{
    for (QLineEdit *edit : m_window->findChildren<QLineEdit *>()) {
        if (edit->pos() == pos)
            return edit;
    }
    return nullptr;
}

QPoint TestButtonCommands::pickIcon(int index)
{
    QPoint shownAt;
    whenModal<DialogSelectIcon>([index, &shownAt](DialogSelectIcon *chooser) {
        shownAt = chooser->pos();
        QTest::mouseClick(chooser->icon(index), Qt::LeftButton);
    });
    Mouse::click(m_icon);
    return shownAt;
}

void TestButtonCommands::controlsInPlace()
{
    QCOMPARE(m_add->toolTip(), QStringLiteral("Create New Button"));
    QCOMPARE(m_delete->toolTip(), QStringLiteral("Delete Button"));
    QCOMPARE(m_icon->pixmap().toImage(), preview(0));
    QCOMPARE(m_lock->pixmap().toImage(), QPixmap(QStringLiteral(":/img/bt_lock.png")).toImage());
    QCOMPARE(m_panel->geometry(), QRect(51, 420, 311, 160));
    QVERIFY(m_panel->isLocked());
    // The panel lies over the controls made before it.
    QCOMPARE(m_window->childAt(60, 430), m_panel);
}

void TestButtonCommands::addCopiesTheForm()
{
    const int frets[SoundInfo::Strings] = {3, 0, 0, 0, 2, 3};
    m_sound->setCurrentStrokeFrets(frets);
    m_sound->flipDirection(2);
    Mouse::click(m_add);
    QCOMPARE(m_song->numbers(), QList<int>{1});
    QCOMPARE(m_song->button(1)->sound, m_sound->sound());
    QCOMPARE(m_song->button(1)->iconIndex, 0);
    QVERIFY(m_song->isModified());
    QVERIFY(view(1));
    for (int i = 0; i < 50; ++i)
        Mouse::click(m_add);
    QCOMPARE(m_song->numbers().size(), 45);
}

void TestButtonCommands::addTakesTypedFrets()
{
    QLineEdit *firstFret = field(QPoint(405, 418)); // stroke 0, string 1
    QVERIFY(firstFret);
    firstFret->setFocus();
    firstFret->selectAll();
    QTest::keyClicks(firstFret, QStringLiteral("7"));
    Mouse::click(m_add);
    QCOMPARE(m_song->button(1)->sound.fret[0][0], 7);
    QCOMPARE(m_song->button(1)->sound.fret[0][1], -1);
}

void TestButtonCommands::deleteRemovesSelectedOnly()
{
    Mouse::click(m_add);
    Mouse::click(m_add);
    m_song->markSaved();
    Mouse::click(m_delete); // nothing selected
    QCOMPARE(m_song->numbers().size(), 2);
    QVERIFY(!m_song->isModified());
    Mouse::click(view(1));
    const SoundInfo shown = m_sound->sound();
    Mouse::click(m_delete);
    QCOMPARE(m_song->numbers(), QList<int>{2});
    QVERIFY(!view(1));
    QCOMPARE(m_sound->sound(), shown); // the form keeps the deleted button's sound
    Mouse::click(m_add);
    QCOMPARE(m_song->cellOf(1), QPoint(0, 0));
}

void TestButtonCommands::lockToggles()
{
    Mouse::click(m_lock);
    QVERIFY(!m_panel->isLocked());
    QCOMPARE(m_lock->pixmap().toImage(), QPixmap(QStringLiteral(":/img/bt_blank.png")).toImage());
    Mouse::click(m_lock);
    QVERIFY(m_panel->isLocked());
    QCOMPARE(m_lock->pixmap().toImage(), QPixmap(QStringLiteral(":/img/bt_lock.png")).toImage());
}

void TestButtonCommands::pressLoadsAndPlays()
{
    const int chordC[SoundInfo::Strings] = {0, 1, 0, 2, 3, -1};
    const int chordG[SoundInfo::Strings] = {3, 0, 0, 0, 2, 3};
    m_sound->setCurrentStrokeFrets(chordC);
    Mouse::click(m_add);
    m_sound->setCurrentStrokeFrets(chordG);
    Mouse::click(m_add);

    QFile::remove(m_sound->strumFile());
    Mouse::click(view(1));
    QCOMPARE(m_song->selected(), 1);
    QCOMPARE(m_sound->sound(), m_song->button(1)->sound);
    QCOMPARE(view(1)->pixmap().toImage(), view(1)->selectedPixmap().toImage());
    QFile played(m_sound->strumFile());
    QVERIFY(played.open(QIODevice::ReadOnly));
    const QByteArray first = played.readAll();
    QVERIFY(first.size() > 44);
    played.close();

    Mouse::click(view(2));
    QVERIFY(played.open(QIODevice::ReadOnly));
    QVERIFY(played.readAll() != first);
    QCOMPARE(m_sound->sound().fret[0][0], 3);
    QCOMPARE(view(1)->pixmap().toImage(), view(1)->normalPixmap().toImage());
}

void TestButtonCommands::formEditsGoToTheSelectedButton()
{
    const int frets[SoundInfo::Strings] = {5, 5, 6, 7, 7, 5};
    Mouse::click(m_add);
    Mouse::click(m_add);
    Mouse::click(view(1));
    m_song->markSaved();

    // Nothing edited: a click on the background deselects without a change.
    Mouse::click(m_panel, QPoint(200, 140));
    QCOMPARE(m_song->selected(), 0);
    QVERIFY2(!m_song->isModified(), "an unedited button counted as changed");

    // While button 1 is selected, the form's edits are its own at once.
    Mouse::click(view(1));
    m_sound->setCurrentStrokeFrets(frets);
    QVERIFY(m_song->isModified());
    QCOMPARE(m_song->button(1)->sound, m_sound->sound());
    // Button 2 pressed: 1 keeps the edit, 2 is as it was.
    Mouse::click(view(2));
    QCOMPARE(m_song->button(1)->sound.fret[0][2], 6);
    QCOMPARE(m_song->button(2)->sound.fret[0][2], -1);
    m_sound->flipDirection(3);
    QCOMPARE(m_song->button(2)->sound.direction[3], -1);
    // Without a selection the form is no button's.
    Mouse::click(m_panel, QPoint(200, 140));
    m_song->markSaved();
    m_sound->flipDirection(3);
    QVERIFY(!m_song->isModified());
}

// One undo step per edit; an undone edit of the selected button shows on the form.
void TestButtonCommands::undoAndRedoFollowTheEdits()
{
    Mouse::click(m_add);
    Mouse::click(m_add);
    m_song->markSaved();
    Mouse::click(view(2));
    const SoundInfo loaded = m_sound->sound();
    m_sound->cycleTimbre();
    m_window->undo();
    QCOMPARE(m_sound->sound(), loaded);
    QCOMPARE(m_song->button(2)->sound, loaded);
    QVERIFY(!m_song->isModified());
    m_window->redo();
    QCOMPARE(m_sound->sound().gt, 1);
    QVERIFY(m_song->isModified());

    // Delete, then undo: the button is back with its sound, unselected; redo deletes it again.
    const SongModel::Button deleted = *m_song->button(2);
    Mouse::click(m_delete);
    QVERIFY(!view(2));
    m_window->undo();
    QVERIFY(view(2));
    QCOMPARE(m_song->button(2)->sound, deleted.sound);
    QCOMPARE(m_song->cellOf(2), QPoint(1, 0));
    QCOMPARE(m_song->selected(), 0);
    m_window->redo();
    QVERIFY(!m_song->button(2));
    // Back to before the second Add, and forward to the saved song.
    for (int step = 0; step < 3; ++step)
        m_window->undo();
    QCOMPARE(m_song->numbers(), QList<int>{1});
    QVERIFY(m_song->isModified()); // before the save
    m_window->redo();
    QCOMPARE(m_song->numbers(), (QList<int>{1, 2}));
    QVERIFY(!m_song->isModified()); // the saved song again
}

// The right click selects the clicked button and loads its sound, without playing it.
void TestButtonCommands::rightClickSelectsTheClickedButton()
{
    const int frets[SoundInfo::Strings] = {0, 1, 0, 2, 3, -1};
    m_sound->setCurrentStrokeFrets(frets);
    Mouse::click(m_add);
    m_sound->setCurrentStrokeFrets(frets + 1);
    Mouse::click(m_add);
    Mouse::click(view(1));
    QFile::remove(m_sound->strumFile());
    emit m_panel->selectRequested(2);
    QCOMPARE(m_song->selected(), 2);
    QCOMPARE(m_sound->sound(), m_song->button(2)->sound);
    QVERIFY(!QFile::exists(m_sound->strumFile()));
    QCOMPARE(m_song->button(1)->sound.fret[0][0], 0);
}

void TestButtonCommands::keysPlayLikeClicks()
{
    const int chordC[SoundInfo::Strings] = {0, 1, 0, 2, 3, -1};
    Mouse::click(m_add);
    m_sound->setCurrentStrokeFrets(chordC);
    Mouse::click(m_add);
    m_song->moveButton(2, 8, 4);
    QVERIFY(QTest::qWaitForWindowActive(m_window));

    QFile::remove(m_sound->strumFile());
    QTest::keyClick(m_window, Qt::Key_9, Qt::ShiftModifier); // the last cell of the fifth row
    QCOMPARE(m_song->selected(), 2);
    QCOMPARE(m_sound->sound(), m_song->button(2)->sound);
    QVERIFY(QFile::exists(m_sound->strumFile()));

    // A held key strums once.
    QFile::remove(m_sound->strumFile());
    QTest::keyPress(m_window, Qt::Key_1);
    QCOMPARE(m_song->selected(), 1);
    QVERIFY(QFile::remove(m_sound->strumFile()));
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, QString("1"), true);
    QApplication::sendEvent(m_window, &repeat);
    QVERIFY(!QFile::exists(m_sound->strumFile()));
    QTest::keyRelease(m_window, Qt::Key_1);

    // While recording, each key is a tap; an empty cell's key does nothing.
    m_window->findChild<DialogSongInfo *>()->onMousePressRecord(nullptr, nullptr);
    QTest::keyClick(m_window, Qt::Key_1);
    QTest::keyClick(m_window, Qt::Key_2);
    QTest::keyClick(m_window, Qt::Key_9, Qt::ShiftModifier);
    QCOMPARE(m_song->info(SongModel::TapOrder), QStringLiteral("0,1"));
    QCOMPARE(m_song->selected(), 2);

    // Space plays the form; nothing is selected by it.
    QFile::remove(m_sound->strumFile());
    QTest::keyClick(m_window, Qt::Key_Space);
    QVERIFY(QFile::exists(m_sound->strumFile()));
}

// A focused field takes its keys; Escape (or a click on the panel) hands them back to play.
void TestButtonCommands::fieldsKeepTheirKeys()
{
    Mouse::click(m_add);
    QLineEdit *fret = field(QPoint(405 + 44, 418));
    QVERIFY(fret);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QVERIFY2(QApplication::focusWidget() == m_window, "no field has the keys at start");
    fret->setFocus();
    QFile::remove(m_sound->strumFile());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_1);
    QCOMPARE(fret->text(), QStringLiteral("1"));
    QCOMPARE(m_song->selected(), 0);
    QVERIFY(!QFile::exists(m_sound->strumFile()));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!fret->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_1);
    QCOMPARE(m_song->selected(), 1);
    QCOMPARE(fret->text(), QStringLiteral("-")); // button 1's sound on the form

    fret->setFocus();
    QVERIFY(fret->hasFocus());
    QTest::mouseClick(m_panel, Qt::LeftButton, Qt::NoModifier, QPoint(200, 140));
    QVERIFY(!fret->hasFocus());

    // Space in a number field is no Play.
    QLineEdit *speed = field(QPoint(715, 418));
    speed->setFocus();
    QFile::remove(m_sound->strumFile());
    QTest::keyClick(speed, Qt::Key_Space);
    QVERIFY(!QFile::exists(m_sound->strumFile()));
}

void TestButtonCommands::shortcutsRunTheCommands()
{
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    Mouse::click(m_add);
    Mouse::click(m_add);
    QTest::keyClick(m_window, Qt::Key_2);
    QTest::keyClick(m_window, Qt::Key_Delete);
    QCOMPARE(m_song->numbers(), QList<int>{1});
    QTest::keyClick(m_window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_song->numbers(), (QList<int>{1, 2}));
    QTest::keyClick(m_window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(m_song->numbers(), QList<int>{1});
    QTest::keyClick(m_window, Qt::Key_Z, Qt::ControlModifier);

    // Delete in a field is the field's.
    QTest::keyClick(m_window, Qt::Key_2);
    QLineEdit *speed = field(QPoint(715, 418));
    speed->setFocus();
    speed->setCursorPosition(0);
    QTest::keyClick(speed, Qt::Key_Delete);
    QCOMPARE(m_song->numbers(), (QList<int>{1, 2}));
    QCOMPARE(speed->text(), QString());

    // F1 shows the keys; any key puts them away.
    m_window->setFocus();
    auto *help = m_window->findChild<KeyHelp *>();
    QVERIFY(!help->isVisible());
    QTest::keyClick(m_window, Qt::Key_F1);
    QVERIFY(help->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_1);
    QVERIFY(!help->isVisible());
    QCOMPARE(m_song->selected(), 2);
    QTest::keyClick(m_window, Qt::Key_F1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete); // a shortcut only puts it away
    QVERIFY(!help->isVisible());
    QVERIFY(m_song->button(2));
    QTest::keyClick(m_window, Qt::Key_F1);
    QTest::keyClick(m_window, Qt::Key_F1);
    QVERIFY(!help->isVisible());

    // The file commands ask (here, where the platform names no Save As or Quit key, too).
    m_song->markSaved();
    for (QKeyCombination keys :
         {Qt::CTRL | Qt::Key_O, Qt::CTRL | Qt::Key_S, Qt::CTRL | Qt::SHIFT | Qt::Key_S}) {
        ModalDriver driver({ModalDriver::cancelFile()});
        // Without a window manager nobody activates the window again after a dialog.
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        QTest::keyClick(m_window, keys.key(), keys.keyboardModifiers());
        QCOMPARE(driver.seen, QStringList{QStringLiteral("file dialog")});
    }
    Mouse::click(m_add);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    ModalDriver driver({ModalDriver::click(QStringLiteral("Cancel"))});
    QTest::keyClick(m_window, Qt::Key_Q, Qt::ControlModifier);
    QTRY_COMPARE(driver.seen, QStringList{QStringLiteral("Confirm")});
    QVERIFY(m_window->isVisible());
}

void TestButtonCommands::pressRecordsTapsWhileRecording()
{
    Mouse::click(m_add);
    Mouse::click(m_add);
    Mouse::click(view(2));
    auto *info = m_window->findChild<DialogSongInfo *>();
    QImageButton *record = nullptr;
    for (QImageButton *button : info->findChildren<QImageButton *>()) {
        if (button->toolTip() == QStringLiteral("record tap order when play button"))
            record = button;
    }
    QVERIFY(record);
    Mouse::click(record);
    QVERIFY(info->isRecording());
    for (int number : {2, 1, 2})
        Mouse::click(view(number));
    QCOMPARE(m_song->info(SongModel::TapOrder), QStringLiteral("1,0,1"));
}

void TestButtonCommands::iconChoiceGoesToNewButtons()
{
    QCOMPARE(pickIcon(9), m_icon->mapToGlobal(QPoint(0, 20))); // just below the preview
    QCOMPARE(m_icon->pixmap().toImage(), preview(9));
    Mouse::click(m_add);
    QCOMPARE(m_song->button(1)->iconIndex, 9);
    Mouse::click(m_add);
    QCOMPARE(m_song->button(2)->iconIndex, 9);
}

void TestButtonCommands::closingChooserWithoutChoiceChangesNothing()
{
    whenModal<DialogSelectIcon>([](DialogSelectIcon *chooser) { chooser->reject(); });
    Mouse::click(m_icon);
    QCOMPARE(m_icon->pixmap().toImage(), preview(0));
    Mouse::click(m_add);
    QCOMPARE(m_song->button(1)->iconIndex, 0);
}

void TestButtonCommands::keyLegendsSettingIsKept()
{
    QVERIFY(m_panel->keyLegendsShown());
    emit m_panel->keyLegendsToggled(false);
    {
        MainWindow next;
        QVERIFY(!next.m_buttonPanel->keyLegendsShown());
    }
    emit m_panel->keyLegendsToggled(true);
    MainWindow next;
    QVERIFY(next.m_buttonPanel->keyLegendsShown());
}

QTEST_MAIN(TestButtonCommands)
#include "tst_buttoncommands.moc"
