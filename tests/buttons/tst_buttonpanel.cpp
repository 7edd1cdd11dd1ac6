// The button panel as a view of the song model: buttons drawn in their cells, the selected
// look, presses reported, drag and drop through the model, the lock and the picture menu.
#include "buttons/ButtonIconTable.h"
#include "buttons/DialogSelectIcon.h"
#include "buttons/PanelKeyMap.h"
#include "buttons/QButtonPanel.h"
#include "buttons/QSoundButton.h"
#include "history/SongHistory.h"
#include "model/SongModel.h"
#include "script/Song.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/Mouse.h"
#include "widgets/QImageButton.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <memory>

class TestButtonPanel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void viewsFollowTheModel();
    void loadedLabelsAreDrawn();
    void pressesAreReported();
    void selectedLookFollowsTheModel();
    void dragSwapsMovesAndStays();
    void dropPastEdgesLandsInLastCell();
    void lockedPanelMovesNothing();
    void changeIconOnSelectedButton();
    void rightClickConcernsTheClickedButton();
    void closedChooserChangesNothing();
    void keysPressCells();
    void keyMapByPlaceAndByKey();
    void keyLegendsShowAndHide();

private:
    int add() { return m_song->addButton(0, SoundInfo()); }
    QSoundButton *view(int number) const { return m_panel->button(number); }
    void drag(int number, QPoint to);
    // Right-clicks the widget and, when the menu comes up, chooses its entry of the given text;
    // the chooser then gets the given answer, if any. Returns the menu's entries, empty when no
    // menu came up.
    QStringList chooseFromMenu(QWidget *clicked, const QString &entry,
                               std::function<void(DialogSelectIcon *)> answer = nullptr);
    bool changeIcon(QSoundButton *clicked, std::function<void(DialogSelectIcon *)> answer)
    {
        return !chooseFromMenu(clicked, QStringLiteral("Change Icon"), answer).isEmpty();
    }

    std::unique_ptr<SongModel> m_song;
    std::unique_ptr<SongHistory> m_history;
    std::unique_ptr<ButtonIconTable> m_table;
    std::unique_ptr<DialogSelectIcon> m_chooser;
    std::unique_ptr<QButtonPanel> m_panel;
};

void TestButtonPanel::init()
{
    m_song = std::make_unique<SongModel>();
    m_history = std::make_unique<SongHistory>(m_song.get());
    m_table = std::make_unique<ButtonIconTable>();
    m_chooser = std::make_unique<DialogSelectIcon>(m_table.get());
    m_panel = std::make_unique<QButtonPanel>(m_history.get(), m_table.get(), m_chooser.get());
    m_panel->resize(311, 160);
    m_panel->show();
}

void TestButtonPanel::cleanup()
{
    m_panel.reset();
    m_chooser.reset();
}

// Positions are in the panel's coordinates; the pressed button keeps the mouse meanwhile.
void TestButtonPanel::drag(int number, QPoint to)
{
    QSoundButton *button = view(number);
    Mouse::press(button);
    Mouse::move(button, QPoint(10, 10), Qt::LeftButton);
    Mouse::move(button, to - button->pos(), Qt::LeftButton);
    Mouse::release(button, to - button->pos());
}

QStringList TestButtonPanel::chooseFromMenu(QWidget *clicked, const QString &entry,
                                            std::function<void(DialogSelectIcon *)> answer)
{
    QStringList entries;
    QTimer::singleShot(50, this, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        QCOMPARE(menu->styleSheet().contains(QStringLiteral("background: #333333")), true);
        for (QAction *action : menu->actions()) {
            entries << action->text();
            if (action->text() == entry)
                menu->setActiveAction(action);
        }
        QTest::keyClick(menu, Qt::Key_Return);
    });
    if (answer)
        whenModal<DialogSelectIcon>(answer);
    // Window activations still queued from an earlier chooser would close the menu at once.
    QTest::qWait(50);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            clicked->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(clicked, &event);
    QTest::qWait(100);
    return entries;
}

void TestButtonPanel::viewsFollowTheModel()
{
    for (int i = 1; i <= 10; ++i)
        QCOMPARE(add(), i);
    QCOMPARE(view(1)->geometry(), QRect(0, 0, 30, 30));
    QCOMPARE(view(2)->pos(), QPoint(31, 0));
    QCOMPARE(view(9)->pos(), QPoint(248, 0));
    QCOMPARE(view(10)->pos(), QPoint(0, 32));
    QCOMPARE(m_panel->buttonAt(0, 1), view(10));
    QVERIFY(view(10)->isVisible());
    QCOMPARE(view(10)->label(), QStringLiteral("10"));
    QCOMPARE(view(10)->pixmap().toImage(), view(10)->normalPixmap().toImage());

    m_song->removeButton(3);
    QVERIFY(!view(3));
    QVERIFY(!m_panel->buttonAt(2, 0));
    QCOMPARE(m_panel->findChildren<QSoundButton *>().size(), 9);
    m_song->moveButton(10, 2, 0);
    QCOMPARE(view(10)->pos(), QPoint(62, 0));

    m_song->loadSong(Song());
    QCOMPARE(m_panel->findChildren<QSoundButton *>().size(), 0);
}

void TestButtonPanel::loadedLabelsAreDrawn()
{
    Song song;
    SongButton plain;
    SongButton labelled;
    labelled.iconIndex = 20;
    labelled.hasLayout = true;
    labelled.layoutLabel = QStringLiteral("Hi");
    song.buttons = {plain, labelled};
    m_song->loadSong(song);
    QCOMPARE(view(1)->label(), QStringLiteral("1"));
    QCOMPARE(view(2)->label(), QStringLiteral("Hi"));
    QCOMPARE(view(2)->iconIndex(), 20);
    QVERIFY(!view(2)->normalPixmap().isNull()); // drawn as picture 0
    QCOMPARE(view(2)->pos(), QPoint(31, 0));
}

void TestButtonPanel::pressesAreReported()
{
    add();
    QSignalSpy pressed(m_panel.get(), &QButtonPanel::buttonPressed);
    QSignalSpy released(m_panel.get(), &QButtonPanel::backgroundReleased);
    Mouse::click(view(1), QPoint(5, 5), Qt::RightButton);
    QCOMPARE(pressed.size(), 0);
    Mouse::click(view(1));
    QCOMPARE(pressed.size(), 1);
    QCOMPARE(pressed.at(0).at(0).toInt(), 1);
    QCOMPARE(released.size(), 0);
    QVERIFY2(m_song->selected() == 0, "selecting is left to whoever listens");
    Mouse::click(m_panel.get(), QPoint(200, 140));
    QCOMPARE(released.size(), 1);
}

void TestButtonPanel::selectedLookFollowsTheModel()
{
    add();
    add();
    m_song->select(1);
    QCOMPARE(view(1)->pixmap().toImage(), view(1)->selectedPixmap().toImage());
    m_song->select(2);
    QCOMPARE(view(1)->pixmap().toImage(), view(1)->normalPixmap().toImage());
    QCOMPARE(view(2)->pixmap().toImage(), view(2)->selectedPixmap().toImage());
    // A new sound keeps the selected look; a new picture shows the normal one.
    SoundInfo other;
    other.gt = 2;
    m_song->setSound(2, other);
    QCOMPARE(view(2)->pixmap().toImage(), view(2)->selectedPixmap().toImage());
    m_song->setIcon(2, 5);
    QCOMPARE(view(2)->iconIndex(), 5);
    QCOMPARE(view(2)->pixmap().toImage(), view(2)->normalPixmap().toImage());
    m_song->removeButton(2);
    QVERIFY(!view(2));
}

void TestButtonPanel::dragSwapsMovesAndStays()
{
    m_panel->setLocked(false);
    add();
    add();
    drag(1, QPoint(31 + 15, 10)); // onto button 2: swap
    QCOMPARE(m_song->cellOf(1), QPoint(1, 0));
    QCOMPARE(m_song->cellOf(2), QPoint(0, 0));
    QCOMPARE(view(1)->pos(), QPoint(31, 0));
    QCOMPARE(view(2)->pos(), QPoint(0, 0));

    drag(1, QPoint(4 * 31 + 3, 2 * 32 + 3)); // onto an empty cell: move
    QCOMPARE(m_song->cellOf(1), QPoint(4, 2));
    QCOMPARE(view(1)->pos(), QPoint(124, 64));
    QVERIFY(!m_panel->buttonAt(1, 0));

    m_song->markSaved();
    drag(1, view(1)->pos() + QPoint(20, 20)); // over its own cell: nothing changes
    QCOMPARE(m_song->cellOf(1), QPoint(4, 2));
    QVERIFY(!m_song->isModified());
}

void TestButtonPanel::dropPastEdgesLandsInLastCell()
{
    m_panel->setLocked(false);
    add();
    add();
    drag(1, QPoint(1000, 1000));
    QCOMPARE(m_song->cellOf(1), QPoint(8, 4));
    drag(1, QPoint(-500, 40));
    QCOMPARE(m_song->cellOf(1), QPoint(0, 1));
    drag(2, QPoint(150, -300));
    QCOMPARE(m_song->cellOf(2), QPoint(4, 0));
    drag(2, QPoint(5000, 3));
    QCOMPARE(m_song->cellOf(2), QPoint(8, 0));
    QVERIFY(m_panel->m_selectionFrame->isVisible());
    QCOMPARE(m_panel->m_selectionFrame->pos(), QPoint(248, 0));
}

// A locked panel moves nothing; mouse moves alone change nothing of the song.
void TestButtonPanel::lockedPanelMovesNothing()
{
    QVERIFY(m_panel->isLocked());
    add();
    m_song->markSaved();
    drag(1, QPoint(100, 70));
    QCOMPARE(m_song->cellOf(1), QPoint(0, 0));
    QVERIFY(!m_panel->m_selectionFrame->isVisible());
    QVERIFY(!m_song->isModified());
}

void TestButtonPanel::changeIconOnSelectedButton()
{
    add();
    m_song->select(1);
    m_song->markSaved();
    const QImage before = view(1)->normalPixmap().toImage();
    QPoint shownAt;
    QVERIFY(changeIcon(view(1), [&shownAt](DialogSelectIcon *chooser) {
        shownAt = chooser->pos();
        QTest::mouseClick(chooser->icon(12), Qt::LeftButton);
    }));
    QCOMPARE(shownAt, view(1)->mapToGlobal(QPoint(0, 30))); // just below the button
    QVERIFY(!m_chooser->isVisible());
    QCOMPARE(m_song->button(1)->iconIndex, 12);
    QCOMPARE(view(1)->label(), QStringLiteral("1"));
    QVERIFY(view(1)->normalPixmap().toImage() != before);
    QCOMPARE(view(1)->pixmap().toImage(), view(1)->normalPixmap().toImage());
    QCOMPARE(m_song->selected(), 1);
    QVERIFY(m_song->isModified());
}

// The clicked button is to be selected first, and the menu concerns it, not the selected one.
void TestButtonPanel::rightClickConcernsTheClickedButton()
{
    add();
    add();
    m_song->select(1);
    QSignalSpy selectRequested(m_panel.get(), &QButtonPanel::selectRequested);
    QVERIFY(changeIcon(view(2), [](DialogSelectIcon *chooser) {
        QTest::mouseClick(chooser->icon(3), Qt::LeftButton);
    }));
    QCOMPARE(selectRequested.size(), 1);
    QCOMPARE(selectRequested.at(0).at(0).toInt(), 2);
    QCOMPARE(m_song->button(2)->iconIndex, 3);
    QCOMPARE(m_song->button(1)->iconIndex, 0);
    // One undo step puts the picture back.
    m_history->stack()->undo();
    QCOMPARE(m_song->button(2)->iconIndex, 0);
}

void TestButtonPanel::closedChooserChangesNothing()
{
    add();
    m_song->select(1);
    m_song->markSaved();
    QVERIFY(changeIcon(view(1), [](DialogSelectIcon *chooser) { chooser->reject(); }));
    QCOMPARE(m_song->button(1)->iconIndex, 0);
    QVERIFY(!m_song->isModified());
}

void TestButtonPanel::keysPressCells()
{
    add();
    add();
    m_song->moveButton(2, 0, 4);
    QSignalSpy pressed(m_panel.get(), &QButtonPanel::buttonPressed);
    m_panel->pressCell(QPoint(0, 4));
    m_panel->pressCell(QPoint(1, 0)); // empty now
    m_panel->pressCell(QPoint(0, 0));
    QCOMPARE(pressed.size(), 2);
    QCOMPARE(pressed.at(0).at(0).toInt(), 2);
    QCOMPARE(pressed.at(1).at(0).toInt(), 1);
    QCOMPARE(view(2)->toolTip(), QStringLiteral("Button 2 (key \u21e71)"));
}

void TestButtonPanel::keyMapByPlaceAndByKey()
{
    // Key codes of X11 and Wayland: the first and last key of each row, and the keys beside.
    const QList<std::tuple<quint32, bool, QPoint>> places = {
        {10, false, {0, 0}},   {18, false, {8, 0}},   {19, false, {-1, -1}}, {24, false, {0, 1}},
        {32, false, {8, 1}},   {33, false, {-1, -1}}, {38, false, {0, 2}},   {46, false, {8, 2}},
        {47, false, {-1, -1}}, {52, false, {0, 3}},   {60, false, {8, 3}},   {61, false, {-1, -1}},
        {10, true, {0, 4}},    {18, true, {8, 4}},    {24, true, {0, 1}},    {87, false, {0, 4}},
        {81, false, {8, 4}},   {0, false, {-1, -1}},
    };
    for (const auto &[code, shift, cell] : places)
        QVERIFY2(PanelKeyMap::cellForScanCode(code, shift) == cell,
                 qPrintable(QString::number(code)));

    // Without key places (this platform), the key decides.
    const auto cellOf = [](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        return PanelKeyMap::cellFor(QKeyEvent(QEvent::KeyPress, key, modifiers));
    };
    QCOMPARE(cellOf(Qt::Key_1), QPoint(0, 0));
    QCOMPARE(cellOf(Qt::Key_Q), QPoint(0, 1));
    QCOMPARE(cellOf(Qt::Key_Period), QPoint(8, 3));
    QCOMPARE(cellOf(Qt::Key_9, Qt::ShiftModifier), QPoint(8, 4));
    QCOMPARE(cellOf(Qt::Key_1, Qt::KeypadModifier), QPoint(0, 4));
    QCOMPARE(cellOf(Qt::Key_L, Qt::ShiftModifier), QPoint(8, 2));
    QCOMPARE(cellOf(Qt::Key_0), QPoint(-1, -1));
    QCOMPARE(cellOf(Qt::Key_S, Qt::ControlModifier), QPoint(-1, -1));
    QCOMPARE(cellOf(Qt::Key_A, Qt::AltModifier), QPoint(-1, -1));

    QCOMPARE(PanelKeyMap::legend(QPoint(0, 0)), QStringLiteral("1"));
    QCOMPARE(PanelKeyMap::legend(QPoint(8, 3)), QStringLiteral("."));
    QCOMPARE(PanelKeyMap::legend(QPoint(4, 4)), QStringLiteral("\u21e75"));
    QCOMPARE(PanelKeyMap::legend(QPoint(9, 0)), QString());
    QCOMPARE(PanelKeyMap::legend(QPoint(0, 5)), QString());
}

void TestButtonPanel::keyLegendsShowAndHide()
{
    add();
    QVERIFY(m_panel->keyLegendsShown());
    const auto shot = [this] { return m_panel->grab().toImage(); };
    const QImage withLegends = shot();
    QSignalSpy toggled(m_panel.get(), &QButtonPanel::keyLegendsToggled);
    const QStringList entries = chooseFromMenu(m_panel.get(), QStringLiteral("Show Key Legends"));
    QCOMPARE(entries, QStringList{QStringLiteral("Show Key Legends")});
    QCOMPARE(toggled.size(), 1);
    QCOMPARE(toggled.at(0).at(0).toBool(), false);
    QVERIFY(!m_panel->keyLegendsShown());
    QVERIFY(shot() != withLegends);
    // A button's menu has the same entry.
    QVERIFY(chooseFromMenu(view(1), QStringLiteral("Show Key Legends")).contains("Change Icon"));
    QVERIFY(m_panel->keyLegendsShown());
    QCOMPARE(shot(), withLegends);
}

QTEST_MAIN(TestButtonPanel)
#include "tst_buttonpanel.moc"
