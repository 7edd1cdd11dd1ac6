// The main window's commands on sound buttons: Add, Delete, Lock, a press on a button (with the
// form's edits going back into the button it leaves) and the picture for new buttons.
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
    void leftButtonTakesTheFormsEdits();
    void pressRecordsTapsWhileRecording();
    void iconChoiceGoesToNewButtons();
    void closingChooserWithoutChoiceChangesNothing();

private:
    QImageButton *control(const QRect &geometry) const;
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
    QLineEdit *firstFret = nullptr; // stroke 0, string 1
    for (QLineEdit *edit : m_window->findChildren<QLineEdit *>()) {
        if (edit->pos() == QPoint(405, 418))
            firstFret = edit;
    }
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

void TestButtonCommands::leftButtonTakesTheFormsEdits()
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

    // The form edited while button 1 is selected, then button 2 pressed: 1 keeps the edit.
    Mouse::click(view(1));
    m_sound->setCurrentStrokeFrets(frets);
    Mouse::click(view(2));
    QVERIFY(m_song->isModified());
    QCOMPARE(m_song->button(1)->sound.fret[0][2], 6);
    QCOMPARE(m_song->button(2)->sound.fret[0][2], -1);

    // Pressing the selected button again stores the edit too.
    m_sound->setCurrentStrokeFrets(frets);
    m_song->markSaved();
    Mouse::click(view(2));
    QCOMPARE(m_song->button(2)->sound.fret[0][2], 6);
    QVERIFY(m_song->isModified());
    QCOMPARE(m_song->selected(), 2);
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

QTEST_MAIN(TestButtonCommands)
#include "tst_buttoncommands.moc"
