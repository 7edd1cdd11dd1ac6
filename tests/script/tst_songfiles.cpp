// The main window's song file commands with their dialogs answered by a driver: the
// unsaved-changes question before a load and on close, saves that fail or are cancelled,
// the ".kds" suffix and the flag that song information changes set.
#include "app/MainWindow.h"
#include "buttons/QButtonPanel.h"
#include "buttons/QSoundButton.h"
#include "script/SongScriptReader.h"
#include "upload/DialogSongInfo.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

namespace {
// Answers the modal dialogs that open, one handler per dialog in order, and records them.
class ModalDriver : public QObject
{
public:
    using Handler = std::function<void(QWidget *)>;

    explicit ModalDriver(std::deque<Handler> handlers) : m_handlers(std::move(handlers))
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalDriver::poll);
        m_timer.start(20);
    }

    QStringList seen;
    int unexpected = 0;

private:
    void poll()
    {
        // Marked rather than remembered: a new dialog may take the address of a deleted one.
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal->property(HandledProperty).toBool())
            return;
        modal->setProperty(HandledProperty, true);
        seen << (qobject_cast<QMessageBox *>(modal) ? modal->windowTitle()
                                                    : QStringLiteral("file dialog"));
        if (m_handlers.empty()) {
            ++unexpected;
            QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
            return;
        }
        Handler handler = std::move(m_handlers.front());
        m_handlers.pop_front();
        handler(modal);
    }

    static constexpr const char *HandledProperty = "drivenByTest";
    QTimer m_timer;
    std::deque<Handler> m_handlers;
};

ModalDriver::Handler click(const QString &text)
{
    return [text](QWidget *widget) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        QVERIFY(box);
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == text)
                QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
        }
    };
}

ModalDriver::Handler chooseFile(const QString &path)
{
    return [path](QWidget *widget) {
        QPointer<QFileDialog> dialog = qobject_cast<QFileDialog *>(widget);
        QVERIFY(dialog);
        // The dialog reads its directory in a thread and may ignore an early accept: retry.
        auto *retry = new QTimer(dialog);
        QObject::connect(retry, &QTimer::timeout, dialog, [dialog, path] {
            // Typed as a user types it: the whole path in the name field.
            if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                name->setText(path);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        retry->start(50);
    };
}

ModalDriver::Handler cancelFile()
{
    return
        [](QWidget *widget) { QMetaObject::invokeMethod(widget, "reject", Qt::QueuedConnection); };
}

void pressLoad(MainWindow &window)
{
    QMetaObject::invokeMethod(&window, "onMousePressLoad", Q_ARG(QMouseEvent *, nullptr),
                              Q_ARG(QWidget *, nullptr));
}

void pressSave(MainWindow &window)
{
    QMetaObject::invokeMethod(&window, "onMousePressSave", Q_ARG(QMouseEvent *, nullptr),
                              Q_ARG(QWidget *, nullptr));
}
} // namespace

class TestSongFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void songInfoEditsAreUnsavedChanges();
    void saveAddsSuffixAndClearsFlag();
    void failedSaveKeepsFlag();
    void loadStopsWhenTheSaveDoesNot();
    void loadAfterLeaveAnyway();
    void closeAsksWithUnsavedChanges();
    void selectedButtonTakesFormEditsBeforeSave();

private:
    QButtonPanel *panel() const { return m_window->findChild<QButtonPanel *>(); }
    DialogSongInfo *songInfo() const { return m_window->findChild<DialogSongInfo *>(); }
    int buttonCount() const
    {
        QList<QSoundButton *> list;
        panel()->buttons(list);
        return int(list.size());
    }

    void addButton() const
    {
        SoundInfo sound;
        sound.reset();
        QVERIFY(panel()->addButton(0, &sound));
    }
    // A file whose directory is a plain file: no save can create it.
    QString impossiblePath() const
    {
        const QString blocker = m_dir.filePath(QStringLiteral("plain file"));
        QFile file(blocker);
        file.open(QIODevice::WriteOnly);
        return blocker + QStringLiteral("/song.kds");
    }

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
};

void TestSongFiles::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(m_dir.isValid());
}

void TestSongFiles::init()
{
    m_window = std::make_unique<MainWindow>();
    m_window->show();
}

void TestSongFiles::cleanup()
{
    panel()->m_modified = false; // no question when the window goes
    m_window.reset();
}

void TestSongFiles::songInfoEditsAreUnsavedChanges()
{
    QVERIFY(!panel()->isModified());
    songInfo()->show();
    auto *title = songInfo()->findChild<QLineEdit *>(QStringLiteral("LEtitle"));
    QTest::keyClicks(title, QStringLiteral("My song"));
    QVERIFY(panel()->isModified());

    panel()->m_modified = false;
    songInfo()->recordTap(3);
    QVERIFY(panel()->isModified());

    // The upload's save changes nothing of the window's state.
    const QString path = m_dir.filePath(QStringLiteral("upload.kds"));
    m_window->saveScriptToFile(path);
    QVERIFY(QFileInfo::exists(path));
    QVERIFY(panel()->isModified());
}

void TestSongFiles::saveAddsSuffixAndClearsFlag()
{
    addButton();
    const QString base = m_dir.filePath(QStringLiteral("plain name"));
    ModalDriver driver({chooseFile(base)});
    pressSave(*m_window);
    QCOMPARE(driver.seen, QStringList{QStringLiteral("file dialog")});
    QVERIFY(QFileInfo::exists(base + QStringLiteral(".kds")));
    QVERIFY(!QFileInfo::exists(base));
    QVERIFY(!panel()->isModified());
}

void TestSongFiles::failedSaveKeepsFlag()
{
    addButton();
    ModalDriver driver({chooseFile(impossiblePath()), click(QStringLiteral("OK"))});
    pressSave(*m_window);
    QCOMPARE(driver.seen,
             (QStringList{QStringLiteral("file dialog"), QStringLiteral("Save Script")}));
    QVERIFY(panel()->isModified());
}

// "Save" before a load: a save that is cancelled or fails ends the load; so does "Cancel".
void TestSongFiles::loadStopsWhenTheSaveDoesNot()
{
    addButton();
    {
        ModalDriver cancelled({click(QStringLiteral("Save")), cancelFile()});
        pressLoad(*m_window);
        QCOMPARE(cancelled.seen,
                 (QStringList{QStringLiteral("Confirm"), QStringLiteral("file dialog")}));
        QCOMPARE(cancelled.unexpected, 0);
    }
    {
        ModalDriver failed({click(QStringLiteral("Save")), chooseFile(impossiblePath()),
                            click(QStringLiteral("OK"))});
        pressLoad(*m_window);
        QCOMPARE(failed.seen.size(), 3);
        QCOMPARE(failed.unexpected, 0);
    }
    {
        ModalDriver cancel({click(QStringLiteral("Cancel"))});
        pressLoad(*m_window);
        QCOMPARE(cancel.seen, QStringList{QStringLiteral("Confirm")});
        QCOMPARE(cancel.unexpected, 0);
    }
    QCOMPARE(buttonCount(), 1);
    QVERIFY(panel()->isModified());
}

void TestSongFiles::loadAfterLeaveAnyway()
{
    addButton();
    addButton();
    const QString song = m_dir.filePath(QStringLiteral("two buttons.kds"));
    m_window->saveScriptToFile(song);
    addButton();
    {
        ModalDriver leave({click(QStringLiteral("Leave Anyway")), chooseFile(song)});
        pressLoad(*m_window);
        QCOMPARE(leave.seen,
                 (QStringList{QStringLiteral("Confirm"), QStringLiteral("file dialog")}));
    }
    QCOMPARE(buttonCount(), 2);
    QVERIFY(!panel()->isModified());
    QCOMPARE(QSettings(QStringLiteral("Ommerlund"), QStringLiteral("Kavendra"))
                 .value(QStringLiteral("FileDir"))
                 .toString(),
             QFileInfo(song).absolutePath());

    // "Save" with a completed save goes on loading.
    addButton();
    const QString first = m_dir.filePath(QStringLiteral("saved first.kds"));
    ModalDriver save({click(QStringLiteral("Save")), chooseFile(first), chooseFile(song)});
    pressLoad(*m_window);
    QCOMPARE(save.seen.size(), 3);
    QVERIFY(QFileInfo::exists(first));
    QCOMPARE(buttonCount(), 2);
}

void TestSongFiles::closeAsksWithUnsavedChanges()
{
    QVERIFY(m_window->close()); // nothing to lose: no question
    m_window->show();
    addButton();
    {
        ModalDriver cancel({click(QStringLiteral("Cancel"))});
        QVERIFY(!m_window->close());
        QCOMPARE(cancel.seen, QStringList{QStringLiteral("Confirm")});
        QVERIFY(m_window->isVisible());
    }
    {
        ModalDriver saveCancelled({click(QStringLiteral("Save")), cancelFile()});
        QVERIFY(!m_window->close());
        QVERIFY(m_window->isVisible());
    }
    {
        ModalDriver saved({click(QStringLiteral("Save")),
                           chooseFile(m_dir.filePath(QStringLiteral("at close")))});
        QVERIFY(m_window->close());
        QVERIFY(QFileInfo::exists(m_dir.filePath(QStringLiteral("at close.kds"))));
    }
    m_window->show();
    addButton();
    ModalDriver leave({click(QStringLiteral("Leave Anyway"))});
    QVERIFY(m_window->close());
}

// What the form shows for the selected button is what close asks about and what Save writes.
void TestSongFiles::selectedButtonTakesFormEditsBeforeSave()
{
    addButton();
    QList<QSoundButton *> list;
    panel()->buttons(list);
    QTest::mouseClick(list.first(), Qt::LeftButton);
    QCOMPARE(panel()->selected(), list.first());
    panel()->m_modified = false;
    const SoundInfo before = list.first()->m_soundInfo;
    const int frets[SoundInfo::Strings] = {3, 0, 0, 0, 2, 3};
    m_window->setCurrentStrokeFrets(frets);
    {
        ModalDriver cancel({click(QStringLiteral("Cancel"))});
        QVERIFY(!m_window->close());
        QCOMPARE(cancel.seen, QStringList{QStringLiteral("Confirm")});
    }
    const QString path = m_dir.filePath(QStringLiteral("selected.kds"));
    ModalDriver driver({chooseFile(path)});
    pressSave(*m_window);
    QVERIFY(!panel()->isModified());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const Song song = SongScriptReader::read(file.readAll(), true, 1);
    QCOMPARE(song.buttons.size(), 1);
    QVERIFY(song.buttons.first().info != before);
    QVERIFY(song.buttons.first().info == list.first()->m_soundInfo);
}

QTEST_MAIN(TestSongFiles)
#include "tst_songfiles.moc"
