// The main window's commands on sound buttons: Add, Delete, Lock, a press on a button and the
// choice of the picture for new buttons through the shared chooser.
#include "app/MainWindow.h"
#include "buttons/ButtonIconTable.h"
#include "buttons/DialogSelectIcon.h"
#include "buttons/QButtonPanel.h"
#include "buttons/QSoundButton.h"
#include "sound/SoundMixer.h"
#include "widgets/QImageButton.h"

#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
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
    void iconChoiceGoesToNewButtons();
    void closingChooserWithoutChoiceChangesNothing();
    void pendingWindowConnectionSurvivesPanelChoice();

private:
    QImageButton *control(const QRect &geometry) const;
    QList<QSoundButton *> buttons() const;
    void click(QWidget *w);
    void changeIconOf(QSoundButton *button);

    MainWindow *m_window = nullptr;
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
    return table.picture(index).scaled(20, 20).toImage();
}

} // namespace

void TestButtonCommands::init()
{
    m_window = new MainWindow;
    m_window->show();
    m_panel = m_window->findChild<QButtonPanel *>();
    m_add = control(QRect(270, 350, 39, 39));
    m_delete = control(QRect(310, 350, 39, 39));
    m_lock = control(QRect(88, 352, 38, 30));
    m_icon = control(QRect(174, 358, 20, 20));
    QVERIFY(m_panel && m_add && m_delete && m_lock && m_icon);
}

void TestButtonCommands::cleanup()
{
    delete m_window;
    DialogSelectIcon::instance()->hide();
    DialogSelectIcon::instance()->dropConnections();
}

QImageButton *TestButtonCommands::control(const QRect &geometry) const
{
    for (QImageButton *b : m_window->findChildren<QImageButton *>(Qt::FindDirectChildrenOnly)) {
        if (b->geometry() == geometry)
            return b;
    }
    return nullptr;
}

QList<QSoundButton *> TestButtonCommands::buttons() const
{
    QList<QSoundButton *> list;
    m_panel->buttons(list);
    return list;
}

void TestButtonCommands::click(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 5));
}

void TestButtonCommands::changeIconOf(QSoundButton *button)
{
    // Window activations still queued from the chooser would close the menu at once.
    QTest::qWait(50);
    QTimer::singleShot(50, this, [] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            menu->setActiveAction(menu->actions().value(0));
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            button->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(button, &event);
}

void TestButtonCommands::controlsInPlace()
{
    QCOMPARE(m_add->toolTip(), QStringLiteral("Create New Button"));
    QCOMPARE(m_delete->toolTip(), QStringLiteral("Delete Button"));
    QCOMPARE(m_icon->pixmap().toImage(), preview(0));
    QCOMPARE(m_lock->pixmap().toImage(), QPixmap(QStringLiteral(":/img/bt_lock.png")).toImage());
    QCOMPARE(m_panel->geometry(), QRect(51, 420, 311, 160));
    QVERIFY(m_panel->isLocked());
    QVERIFY(DialogSelectIcon::instance()->isModal());
    // The panel lies over the controls made before it.
    QCOMPARE(m_window->childAt(60, 430), m_panel);
}

void TestButtonCommands::addCopiesTheForm()
{
    const int frets[SoundInfo::Strings] = {3, 0, 0, 0, 2, 3};
    m_window->setCurrentStrokeFrets(frets);
    SoundInfo form;
    form.reset();
    m_window->getSoundInfo(&form);
    click(m_add);
    QCOMPARE(buttons().size(), 1);
    QCOMPARE(buttons().at(0)->m_soundInfo, form);
    QCOMPARE(buttons().at(0)->m_iconIndex, 0);
    QVERIFY(m_panel->isModified());
    for (int i = 0; i < 50; ++i)
        click(m_add);
    QCOMPARE(buttons().size(), 45);
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
    click(m_add);
    QCOMPARE(buttons().at(0)->m_soundInfo.fret[0][0], 7);
    QCOMPARE(buttons().at(0)->m_soundInfo.fret[0][1], -1);
}

void TestButtonCommands::deleteRemovesSelectedOnly()
{
    click(m_add);
    click(m_add);
    click(m_delete);
    QCOMPARE(buttons().size(), 2);
    QSoundButton *first = buttons().at(0);
    click(first);
    click(m_delete);
    QCOMPARE(buttons().size(), 1);
    QCOMPARE(buttons().at(0)->number(), 2);
    click(m_add);
    QCOMPARE(buttons().at(0)->number(), 1);
}

void TestButtonCommands::lockToggles()
{
    click(m_lock);
    QVERIFY(!m_panel->isLocked());
    QCOMPARE(m_lock->pixmap().toImage(), QPixmap(QStringLiteral(":/img/bt_blank.png")).toImage());
    click(m_lock);
    QVERIFY(m_panel->isLocked());
    QCOMPARE(m_lock->pixmap().toImage(), QPixmap(QStringLiteral(":/img/bt_lock.png")).toImage());
}

void TestButtonCommands::pressLoadsAndPlays()
{
    const int chordC[SoundInfo::Strings] = {0, 1, 0, 2, 3, -1};
    const int chordG[SoundInfo::Strings] = {3, 0, 0, 0, 2, 3};
    m_window->setCurrentStrokeFrets(chordC);
    click(m_add);
    m_window->setCurrentStrokeFrets(chordG);
    click(m_add);

    QFile::remove(SoundMixer::strumFilePath());
    click(buttons().at(0));
    SoundInfo form;
    form.reset();
    m_window->getSoundInfo(&form);
    QCOMPARE(form, buttons().at(0)->m_soundInfo);
    QFile played(SoundMixer::strumFilePath());
    QVERIFY(played.open(QIODevice::ReadOnly));
    const QByteArray first = played.readAll();
    QVERIFY(first.size() > 44);
    played.close();

    click(buttons().at(1));
    QVERIFY(played.open(QIODevice::ReadOnly));
    QVERIFY(played.readAll() != first);
    m_window->getSoundInfo(&form);
    QCOMPARE(form.fret[0][0], 3);
}

void TestButtonCommands::iconChoiceGoesToNewButtons()
{
    DialogSelectIcon *chooser = DialogSelectIcon::instance();
    click(m_icon);
    QVERIFY(chooser->isVisible());
    QVERIFY(chooser->isModal());
    QCOMPARE(chooser->pos(), m_icon->mapToGlobal(QPoint(0, 20))); // just below the preview
    QTest::mouseClick(chooser->icon(9), Qt::LeftButton);
    QVERIFY(!chooser->isVisible());
    QCOMPARE(m_icon->pixmap().toImage(), preview(9));
    click(m_add);
    QCOMPARE(buttons().at(0)->m_iconIndex, 9);
    // The connection went with the choice: a pick in a chooser opened by nobody changes nothing.
    chooser->show();
    QTest::mouseClick(chooser->icon(4), Qt::LeftButton);
    QCOMPARE(m_icon->pixmap().toImage(), preview(9));
    click(m_add);
    QCOMPARE(buttons().at(1)->m_iconIndex, 9);
    QCOMPARE(buttons().at(0)->m_labelColor, QColor(255, 255, 255));
}

void TestButtonCommands::closingChooserWithoutChoiceChangesNothing()
{
    DialogSelectIcon *chooser = DialogSelectIcon::instance();
    click(m_icon);
    chooser->reject();
    QVERIFY(!chooser->isVisible());
    QCOMPARE(m_icon->pixmap().toImage(), preview(0));
    click(m_add);
    QCOMPARE(buttons().at(0)->m_iconIndex, 0);
}

void TestButtonCommands::pendingWindowConnectionSurvivesPanelChoice()
{
    DialogSelectIcon *chooser = DialogSelectIcon::instance();
    click(m_add);
    QSoundButton *button = buttons().at(0);
    click(m_icon);
    chooser->reject(); // the window's connection stays
    click(button);
    changeIconOf(button);
    QTRY_VERIFY(chooser->isVisible());
    QTest::mouseClick(chooser->icon(5), Qt::LeftButton);
    QCOMPARE(button->m_iconIndex, 5);                 // the panel's choice
    QCOMPARE(m_icon->pixmap().toImage(), preview(5)); // and the window's pending one
    click(m_add);
    QCOMPARE(buttons().at(1)->m_iconIndex, 5);

    // With no connection left, a later panel choice no longer reaches the window.
    click(button);
    changeIconOf(button);
    QTRY_VERIFY(chooser->isVisible());
    QTest::mouseClick(chooser->icon(2), Qt::LeftButton);
    QCOMPARE(button->m_iconIndex, 2);
    QCOMPARE(m_icon->pixmap().toImage(), preview(5));
}

QTEST_MAIN(TestButtonCommands)
#include "tst_buttoncommands.moc"
