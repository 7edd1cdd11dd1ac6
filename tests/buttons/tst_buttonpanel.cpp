// The button panel inside a real main window: numbering, cells, drag and drop, the lock,
// selection with the form write-back, the unsaved-changes flag and the picture menu.
#include "app/MainWindow.h"
#include "buttons/ButtonIconTable.h"
#include "buttons/DialogSelectIcon.h"
#include "buttons/QButtonPanel.h"
#include "buttons/QSoundButton.h"
#include "widgets/QImageButton.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

class TestButtonPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qRegisterMetaType<QMouseEvent *>();
        qRegisterMetaType<QSoundButton *>();
    }
    void init();
    void cleanup();
    void addFillsRowsLeftToRight();
    void deletedNumberIsReused();
    void numbersFollowLowestFreeNumberNotCell();
    void fullPanel();
    void addEmptyButtonSetsFlagAsGiven();
    void dragSwapsMovesAndStays();
    void dropPastEdgesLandsInLastCell();
    void lockedPanelMovesNothing();
    void pressLoadsButtonIntoForm();
    void deselectionWritesFormBack();
    void rightPressSelectsNothing();
    void buttonsListedRowByRow();
    void deleteAllEmptiesPanel();
    void changeIconOnSelectedButton();
    void changeIconWithoutSelectionShowsNoMenu();
    void changeIconOnUnselectedButtonConcernsSelected();

private:
    QSoundButton *add(int fret = 0, int icon = 0);
    void press(QWidget *w, Qt::MouseButton button = Qt::LeftButton, QPoint pos = QPoint(5, 5));
    void release(QWidget *w, QPoint pos = QPoint(5, 5), Qt::MouseButton button = Qt::LeftButton);
    void moveHeld(QWidget *w, QPoint pos);
    void drag(QSoundButton *button, QPoint to);
    QPoint cellOf(const QSoundButton *button) const;
    void chooseFromMenu(QSoundButton *clicked, bool expectMenu);
    void strayPick(int index);

    MainWindow *m_window = nullptr;
    QButtonPanel *m_panel = nullptr;
};

void TestButtonPanel::init()
{
    m_window = new MainWindow;
    m_panel = m_window->findChild<QButtonPanel *>();
    QVERIFY(m_panel);
    m_window->show();
}

void TestButtonPanel::cleanup()
{
    delete m_window;
    m_window = nullptr;
    DialogSelectIcon::instance()->hide();
    DialogSelectIcon::instance()->dropConnections();
}

QSoundButton *TestButtonPanel::add(int fret, int icon)
{
    SoundInfo info;
    info.reset();
    info.fret[0][0] = fret;
    QList<QSoundButton *> before;
    m_panel->buttons(before);
    if (!m_panel->addButton(icon, &info))
        return nullptr;
    QList<QSoundButton *> after;
    m_panel->buttons(after);
    for (QSoundButton *b : after) {
        if (!before.contains(b))
            return b;
    }
    return nullptr;
}

void TestButtonPanel::press(QWidget *w, Qt::MouseButton button, QPoint pos)
{
    QMouseEvent event(QEvent::MouseButtonPress, pos, w->mapToGlobal(pos), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void TestButtonPanel::release(QWidget *w, QPoint pos, Qt::MouseButton button)
{
    QMouseEvent event(QEvent::MouseButtonRelease, pos, w->mapToGlobal(pos), button, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// A move while the left button is held: the pressed button keeps the mouse, so positions are in
// its coordinates even far outside it.
void TestButtonPanel::moveHeld(QWidget *w, QPoint pos)
{
    QMouseEvent event(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void TestButtonPanel::drag(QSoundButton *button, QPoint to)
{
    press(button);
    moveHeld(button, QPoint(10, 10));
    moveHeld(button, to - button->pos());
    release(button, to - button->pos());
}

QPoint TestButtonPanel::cellOf(const QSoundButton *button) const
{
    for (int c = 0; c < 9; ++c) {
        for (int r = 0; r < 5; ++r) {
            if (m_panel->buttonAt(c, r) == button)
                return QPoint(c, r);
        }
    }
    return QPoint(-1, -1);
}

void TestButtonPanel::addFillsRowsLeftToRight()
{
    QCOMPARE(m_panel->geometry(), QRect(51, 420, 311, 160));
    for (int i = 1; i <= 10; ++i) {
        QSoundButton *b = add(i);
        QVERIFY(b);
        QCOMPARE(b->number(), i);
        QCOMPARE(b->m_soundInfo.fret[0][0], i);
        QCOMPARE(b->size(), QSize(30, 30));
        QVERIFY(b->isVisible());
        QCOMPARE(b->m_texts[QSoundButton::LabelText], QString::number(i));
    }
    QList<QSoundButton *> all;
    m_panel->buttons(all);
    QCOMPARE(all.at(0)->pos(), QPoint(0, 0));
    QCOMPARE(all.at(1)->pos(), QPoint(31, 0));
    QCOMPARE(all.at(8)->pos(), QPoint(248, 0));
    QCOMPARE(all.at(9)->pos(), QPoint(0, 32));
    QCOMPARE(cellOf(all.at(9)), QPoint(0, 1));
    QVERIFY(m_panel->isModified());
}

void TestButtonPanel::deletedNumberIsReused()
{
    m_panel->deleteSelected(); // no selection: nothing happens
    QVERIFY(!m_panel->isModified());
    QSoundButton *third = nullptr;
    for (int i = 1; i <= 5; ++i) {
        QSoundButton *b = add();
        if (i == 3)
            third = b;
    }
    press(third);
    release(third);
    m_panel->m_modified = false;
    m_panel->deleteSelected();
    QVERIFY(m_panel->isModified());
    QVERIFY(!m_panel->selected());
    QVERIFY(!m_panel->buttonAt(2, 0));
    QCOMPARE(m_panel->buttonAt(3, 0)->number(), 4);
    QSoundButton *added = add();
    QCOMPARE(added->number(), 3);
    QCOMPARE(cellOf(added), QPoint(2, 0));
    QCOMPARE(add()->number(), 6);
}

void TestButtonPanel::numbersFollowLowestFreeNumberNotCell()
{
    m_panel->setLocked(false);
    QSoundButton *one = add();
    QSoundButton *two = add();
    drag(one, QPoint(40, 40)); // cell (1, 1)
    QCOMPARE(cellOf(one), QPoint(1, 1));
    QSoundButton *three = add();
    QCOMPARE(three->number(), 3);
    QCOMPARE(cellOf(three), QPoint(0, 0));
    QCOMPARE(cellOf(two), QPoint(1, 0));
}

void TestButtonPanel::fullPanel()
{
    for (int i = 0; i < 45; ++i)
        QVERIFY(add());
    QList<QSoundButton *> all;
    m_panel->buttons(all);
    QCOMPARE(all.last()->number(), 45);
    QCOMPARE(all.last()->pos(), QPoint(8 * 31, 4 * 32));
    m_panel->m_modified = false;
    SoundInfo info;
    QVERIFY(!m_panel->addButton(0, &info));
    QVERIFY(m_panel->isModified()); // set even when nothing was added
    QVERIFY(!m_panel->addEmptyButton(false));
    all.clear();
    m_panel->buttons(all);
    QCOMPARE(all.size(), 45);
}

void TestButtonPanel::addEmptyButtonSetsFlagAsGiven()
{
    m_panel->m_modified = true;
    QSoundButton *b = m_panel->addEmptyButton(false);
    QVERIFY(b);
    QVERIFY(!m_panel->isModified());
    QCOMPARE(b->number(), 1);
    QCOMPARE(b->m_soundInfo, SoundInfo());
    QVERIFY(b->pixmap().isNull());
    QVERIFY(m_panel->addEmptyButton(true));
    QVERIFY(m_panel->isModified());
}

void TestButtonPanel::dragSwapsMovesAndStays()
{
    m_panel->setLocked(false);
    QSoundButton *a = add();
    QSoundButton *b = add();
    drag(a, QPoint(31 + 15, 10)); // onto b: swap
    QCOMPARE(cellOf(a), QPoint(1, 0));
    QCOMPARE(cellOf(b), QPoint(0, 0));
    QCOMPARE(a->pos(), QPoint(31, 0));
    QCOMPARE(b->pos(), QPoint(0, 0));

    drag(a, QPoint(4 * 31 + 3, 2 * 32 + 3)); // onto an empty cell: move
    QCOMPARE(cellOf(a), QPoint(4, 2));
    QCOMPARE(a->pos(), QPoint(124, 64));
    QVERIFY(!m_panel->buttonAt(1, 0));

    drag(a, a->pos() + QPoint(20, 20)); // over its own cell: nothing changes
    QCOMPARE(cellOf(a), QPoint(4, 2));
    QCOMPARE(cellOf(b), QPoint(0, 0));
    QList<QSoundButton *> all;
    m_panel->buttons(all);
    QCOMPARE(all.size(), 2);
    QCOMPARE(a->number(), 1);
    QCOMPARE(b->number(), 2);
    QCOMPARE(m_panel->selected(), a);
}

void TestButtonPanel::dropPastEdgesLandsInLastCell()
{
    m_panel->setLocked(false);
    QSoundButton *a = add();
    QSoundButton *b = add();
    drag(a, QPoint(1000, 1000));
    QCOMPARE(cellOf(a), QPoint(8, 4));
    drag(a, QPoint(-500, 40));
    QCOMPARE(cellOf(a), QPoint(0, 1));
    drag(b, QPoint(150, -300));
    QCOMPARE(cellOf(b), QPoint(4, 0));
    drag(b, QPoint(5000, 3));
    QCOMPARE(cellOf(b), QPoint(8, 0));
    auto *frame = m_panel->m_selectionFrame;
    QVERIFY(frame->isVisible());
    QCOMPARE(frame->pos(), QPoint(248, 0));
}

void TestButtonPanel::lockedPanelMovesNothing()
{
    QVERIFY(m_panel->isLocked());
    QSoundButton *a = add();
    m_panel->m_modified = false;
    drag(a, QPoint(100, 70));
    QCOMPARE(cellOf(a), QPoint(0, 0));
    QCOMPARE(m_panel->selected(), a);
    QVERIFY(!m_panel->m_selectionFrame->isVisible());
    QVERIFY(m_panel->isModified()); // every move reported by a button counts
}

void TestButtonPanel::pressLoadsButtonIntoForm()
{
    SoundInfo info;
    info.reset();
    info.fret[0][0] = 3;
    info.fret[0][4] = 2;
    info.gt = 2;
    m_panel->addButton(0, &info);
    QList<QSoundButton *> all;
    m_panel->buttons(all);
    QSignalSpy pressed(m_panel, &QButtonPanel::signalOnMousePressSB);
    press(all.first());
    release(all.first());
    QCOMPARE(pressed.size(), 1);
    QCOMPARE(m_panel->selected(), all.first());
    QCOMPARE(all.first()->pixmap().toImage(), all.first()->selectedPixmap().toImage());
    SoundInfo form;
    form.reset();
    m_window->getSoundInfo(&form);
    QCOMPARE(form.fret[0][0], 3);
    QCOMPARE(form.fret[0][4], 2);
    QCOMPARE(form.gt, 2);
}

void TestButtonPanel::deselectionWritesFormBack()
{
    QSoundButton *a = add(1);
    QSoundButton *b = add(2);
    press(a);
    release(a);
    m_panel->m_modified = false;

    // Nothing edited: a click on the background deselects without a change.
    press(m_panel, Qt::LeftButton, QPoint(200, 140));
    release(m_panel, QPoint(200, 140));
    QVERIFY(!m_panel->selected());
    QCOMPARE(a->pixmap().toImage(), a->normalPixmap().toImage());
    QVERIFY2(!m_panel->isModified(), "an unedited button counted as changed");

    // The form edited while a is selected, then b pressed: a takes the form's values first.
    press(a);
    release(a);
    const int frets[SoundInfo::Strings] = {5, 5, 6, 7, 7, 5};
    m_window->setCurrentStrokeFrets(frets);
    press(b);
    release(b);
    QVERIFY(m_panel->isModified());
    for (int s = 0; s < SoundInfo::Strings; ++s)
        QCOMPARE(a->m_soundInfo.fret[0][s], frets[s]);
    QCOMPARE(b->m_soundInfo.fret[0][0], 2);
    QCOMPARE(m_panel->selected(), b);

    // Pressing the selected button again writes the form back into it too.
    m_window->setCurrentStrokeFrets(frets);
    m_panel->m_modified = false;
    press(b);
    release(b);
    QCOMPARE(b->m_soundInfo.fret[0][0], 5);
    QVERIFY(m_panel->isModified());
    QCOMPARE(m_panel->selected(), b);
}

void TestButtonPanel::rightPressSelectsNothing()
{
    QSoundButton *a = add();
    QSignalSpy pressed(m_panel, &QButtonPanel::signalOnMousePressSB);
    press(a, Qt::RightButton);
    release(a, QPoint(5, 5), Qt::RightButton);
    QCOMPARE(pressed.size(), 0);
    QVERIFY(!m_panel->selected());
}

void TestButtonPanel::buttonsListedRowByRow()
{
    m_panel->setLocked(false);
    QSoundButton *a = add();
    QSoundButton *b = add();
    drag(a, QPoint(0, 40));     // (0, 1)
    drag(b, QPoint(8 * 31, 0)); // (8, 0)
    QList<QSoundButton *> all;
    m_panel->buttons(all);
    QCOMPARE(all, (QList<QSoundButton *>{b, a}));
}

void TestButtonPanel::deleteAllEmptiesPanel()
{
    for (int i = 0; i < 4; ++i)
        add();
    QList<QSoundButton *> all;
    m_panel->buttons(all);
    press(all.at(1));
    release(all.at(1));
    m_panel->m_modified = false;
    m_panel->deleteAll();
    all.clear();
    m_panel->buttons(all);
    QVERIFY(all.isEmpty());
    QVERIFY(!m_panel->selected());
    QVERIFY(!m_panel->isModified());
    QCOMPARE(m_panel->findChildren<QSoundButton *>().size(), 0);
    QCOMPARE(add()->number(), 1);
}

// Right-clicks the button and, if a menu comes up, chooses "Change Icon" from it.
void TestButtonPanel::chooseFromMenu(QSoundButton *clicked, bool expectMenu)
{
    bool menuSeen = false;
    QString styleSheet;
    QTimer::singleShot(50, this, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        menuSeen = true;
        styleSheet = menu->styleSheet();
        QAction *action = menu->actions().value(0);
        QCOMPARE(action->text(), QStringLiteral("Change Icon"));
        menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    // Window activations still queued from the chooser would close the menu at once.
    QTest::qWait(50);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            clicked->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(clicked, &event);
    QTest::qWait(100);
    QCOMPARE(menuSeen, expectMenu);
    if (expectMenu)
        QVERIFY(styleSheet.contains(QStringLiteral("background: #333333")));
}

// A pick in the chooser opened by nobody: it must reach no one.
void TestButtonPanel::strayPick(int index)
{
    DialogSelectIcon *chooser = DialogSelectIcon::instance();
    chooser->show();
    QTest::mouseClick(chooser->icon(index), Qt::LeftButton);
    QVERIFY(!chooser->isVisible());
}

void TestButtonPanel::changeIconOnSelectedButton()
{
    QSoundButton *a = add(0, 0);
    press(a);
    release(a);
    m_panel->m_modified = false;
    const QImage before = a->normalPixmap().toImage();
    chooseFromMenu(a, true);
    DialogSelectIcon *chooser = DialogSelectIcon::instance();
    QVERIFY(chooser->isVisible());
    QTest::mouseClick(chooser->icon(12), Qt::LeftButton);
    QVERIFY(!chooser->isVisible());
    QCOMPARE(a->m_iconIndex, 12);
    QCOMPARE(a->m_labelColor, QColor(0, 0, 0));
    QCOMPARE(a->number(), 1);
    QCOMPARE(a->m_texts[QSoundButton::LabelText], QStringLiteral("1"));
    QVERIFY(a->normalPixmap().toImage() != before);
    QCOMPARE(a->pixmap().toImage(), a->normalPixmap().toImage());
    QCOMPARE(m_panel->selected(), a);
    QVERIFY(!m_panel->isModified());
    // The connection went with the choice: a stray pick changes nothing.
    strayPick(4);
    QCOMPARE(a->m_iconIndex, 12);
}

void TestButtonPanel::changeIconWithoutSelectionShowsNoMenu()
{
    QSoundButton *a = add();
    chooseFromMenu(a, false);
    QVERIFY(!DialogSelectIcon::instance()->isVisible());
    press(a);
    release(a);
    strayPick(4);
    QCOMPARE(a->m_iconIndex, 0);
}

void TestButtonPanel::changeIconOnUnselectedButtonConcernsSelected()
{
    QSoundButton *a = add(0, 0);
    QSoundButton *b = add(0, 0);
    press(a);
    release(a);
    chooseFromMenu(b, true);
    QTest::mouseClick(DialogSelectIcon::instance()->icon(3), Qt::LeftButton);
    QCOMPARE(a->m_iconIndex, 3);
    QCOMPARE(b->m_iconIndex, 0);

    // A choice arriving after the selection is gone changes no button.
    chooseFromMenu(a, true);
    press(m_panel, Qt::LeftButton, QPoint(200, 140));
    release(m_panel, QPoint(200, 140));
    QTest::mouseClick(DialogSelectIcon::instance()->icon(7), Qt::LeftButton);
    QCOMPARE(a->m_iconIndex, 3);
    QCOMPARE(b->m_iconIndex, 0);
    press(b);
    release(b);
    strayPick(4);
    QCOMPARE(b->m_iconIndex, 0);
}

QTEST_MAIN(TestButtonPanel)
#include "tst_buttonpanel.moc"
