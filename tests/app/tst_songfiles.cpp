// The song file commands on the real window, with their dialogs answered by a driver: the
// unsaved-changes question before a load and on close, what a load reports, saves that fail
// or are cancelled, the ".kds" suffix, which edits count as unsaved changes, and the WAV
// exports with their ".wav" suffix and failures.
#include "app/MainWindow.h"
#include "app/RecentSongs.h"
#include "app/SongFileCommands.h"
#include "app/SoundExport.h"
#include "buttons/DialogSelectIcon.h"
#include "buttons/QButtonPanel.h"
#include "buttons/QSoundButton.h"
#include "model/CurrentSound.h"
#include "model/SongModel.h"
#include "model/SongRenderer.h"
#include "script/SongFile.h"
#include "script/SongScriptReader.h"
#include "sound/WaveFile.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/Mouse.h"
#include "upload/DialogSongInfo.h"
#include "widgets/QImageButton.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <sys/stat.h>

namespace {
// The driver's answers, by name.
const auto click = ModalDriver::click;
const auto chooseFile = ModalDriver::chooseFile;
const auto cancelFile = ModalDriver::cancelFile;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
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
    void typedNameIsUsedQuotesIncluded();
    void failedSaveKeepsFlag();
    void loadStopsWhenTheSaveDoesNot();
    void loadAfterLeaveAnyway();
    void loadReportsFilesItCannotUse();
    void closeAsksWithUnsavedChanges();
    void selectedButtonTakesFormEditsBeforeSave();
    void changedPictureIsAnUnsavedChange();
    void saveWritesTheSongsOwnFile();
    void recentSongs();
    void droppedSongIsLoaded();
    void exportWritesTheButtonsSound();
    void failedExportSaysWhyAndLeavesNothing();

private:
    QImageButton *command(const QString &tip) const;
    void pressLoad() const { Mouse::click(command(QStringLiteral("Load"))); }
    void pressSave() const { Mouse::click(command(QStringLiteral("Save"))); }
    SongModel *song() const { return m_window->findChild<SongModel *>(); }
    CurrentSound *sound() const { return m_window->findChild<CurrentSound *>(); }
    QSoundButton *view(int number) const
    {
        return m_window->findChild<QButtonPanel *>()->button(number);
    }
    void addButton() const { QVERIFY(song()->addButton(0, SoundInfo())); }
    SoundExport *exporter() const { return m_window->findChild<SoundExport *>(); }
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
    song()->markSaved(); // no question when the window goes
    m_window.reset();
}

QImageButton *TestSongFiles::command(const QString &tip) const
{
    for (QImageButton *button : m_window->findChildren<QImageButton *>()) {
        if (button->toolTip() == tip)
            return button;
    }
    return nullptr;
}

void TestSongFiles::songInfoEditsAreUnsavedChanges()
{
    auto *info = m_window->findChild<DialogSongInfo *>();
    info->show();
    auto *title = info->findChild<QLineEdit *>(QStringLiteral("LEtitle"));
    QTest::keyClicks(title, QStringLiteral("My song"));
    QVERIFY(song()->isModified());
    QCOMPARE(song()->info(SongModel::Title), QStringLiteral("My song"));

    // The upload's save changes nothing of the window's state.
    const QString path = m_dir.filePath(QStringLiteral("upload.kds"));
    QVERIFY(m_window->findChild<SongFileCommands *>()->writeTo(path));
    QVERIFY(QFileInfo::exists(path));
    QVERIFY(song()->isModified());
}

void TestSongFiles::saveAddsSuffixAndClearsFlag()
{
    addButton();
    const QString base = m_dir.filePath(QStringLiteral("plain name"));
    ModalDriver driver({chooseFile(base)});
    pressSave();
    QCOMPARE(driver.seen, QStringList{QStringLiteral("file dialog")});
    QVERIFY(QFileInfo::exists(base + QStringLiteral(".kds")));
    QVERIFY(!QFileInfo::exists(base));
    QVERIFY(!song()->isModified());
}

void TestSongFiles::typedNameIsUsedQuotesIncluded()
{
    QTemporaryDir dir;
    const QString quoted = dir.filePath(QStringLiteral("my \"quoted\" title.kds"));
    addButton();
    {
        ModalDriver driver({chooseFile(quoted)});
        pressSave();
        QCOMPARE(driver.seen, QStringList{QStringLiteral("file dialog")});
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QFileInfo(quoted).fileName()});
    QVERIFY(!song()->isModified());

    // Without the suffix it gets one; an existing file is replaced only when the user agrees.
    // "No" asked inside the dialog leaves it open for another name: the user then cancels it.
    const auto no = [](QWidget *box) {
        click(QStringLiteral("&No"))(box);
        if (auto *dialog = qobject_cast<QFileDialog *>(box->parentWidget()))
            QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
    };
    const QString bare = dir.filePath(QStringLiteral("\"a\" b"));
    for (const QString &typed : {quoted, bare}) {
        writeFile(QFileInfo(typed).suffix() == "kds" ? typed : typed + ".kds", "old");
        addButton();
        ModalDriver driver({chooseFile(typed), no});
        QVERIFY(!m_window->findChild<SongFileCommands *>()->saveAs());
        QCOMPARE(driver.seen,
                 (QStringList{QStringLiteral("file dialog"), QStringLiteral("Save Script")}));
        QVERIFY(song()->isModified());
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             (QStringList{QStringLiteral("\"a\" b.kds"), QFileInfo(quoted).fileName()}));
}

void TestSongFiles::failedSaveKeepsFlag()
{
    addButton();
    QString warning;
    ModalDriver driver({chooseFile(impossiblePath()), [&warning](QWidget *box) {
                            warning = static_cast<QMessageBox *>(box)->text();
                            click(QStringLiteral("OK"))(box);
                        }});
    pressSave();
    QCOMPARE(driver.seen,
             (QStringList{QStringLiteral("file dialog"), QStringLiteral("Save Script")}));
    QVERIFY2(warning.startsWith(QStringLiteral("Cannot save ") + impossiblePath() + ":\n"),
             qPrintable(warning));
    QVERIFY(song()->isModified());
}

// "Save" before a load: a save that is cancelled or fails ends the load; so does "Cancel".
void TestSongFiles::loadStopsWhenTheSaveDoesNot()
{
    addButton();
    {
        ModalDriver cancelled({click(QStringLiteral("Save")), cancelFile()});
        pressLoad();
        QCOMPARE(cancelled.seen,
                 (QStringList{QStringLiteral("Confirm"), QStringLiteral("file dialog")}));
        QCOMPARE(cancelled.unexpected, 0);
    }
    {
        ModalDriver failed({click(QStringLiteral("Save")), chooseFile(impossiblePath()),
                            click(QStringLiteral("OK"))});
        pressLoad();
        QCOMPARE(failed.seen.size(), 3);
        QCOMPARE(failed.unexpected, 0);
    }
    {
        ModalDriver cancel({click(QStringLiteral("Cancel"))});
        pressLoad();
        QCOMPARE(cancel.seen, QStringList{QStringLiteral("Confirm")});
        QCOMPARE(cancel.unexpected, 0);
    }
    QCOMPARE(song()->numbers().size(), 1);
    QVERIFY(song()->isModified());
}

void TestSongFiles::loadAfterLeaveAnyway()
{
    addButton();
    addButton();
    const QString saved = m_dir.filePath(QStringLiteral("two buttons.kds"));
    QVERIFY(m_window->findChild<SongFileCommands *>()->writeTo(saved));
    addButton();
    {
        ModalDriver leave({click(QStringLiteral("Leave Anyway")), chooseFile(saved)});
        pressLoad();
        QCOMPARE(leave.seen,
                 (QStringList{QStringLiteral("Confirm"), QStringLiteral("file dialog")}));
    }
    QCOMPARE(song()->numbers().size(), 2);
    QVERIFY(view(2) && !view(3));
    QVERIFY(!song()->isModified());
    QCOMPARE(QSettings(QStringLiteral("Ommerlund"), QStringLiteral("Kavendra"))
                 .value(QStringLiteral("FileDir"))
                 .toString(),
             QFileInfo(saved).absolutePath());

    // "Save" with a completed save goes on loading; the loaded song is saved to its own file.
    addButton();
    ModalDriver save({click(QStringLiteral("Save")), chooseFile(saved)});
    pressLoad();
    QCOMPARE(save.seen, (QStringList{QStringLiteral("Confirm"), QStringLiteral("file dialog")}));
    QCOMPARE(song()->numbers().size(), 3);
}

void TestSongFiles::loadReportsFilesItCannotUse()
{
    const QString missing = m_dir.filePath(QStringLiteral("nothing here.kds"));
    const QString songOnly = m_dir.filePath(QStringLiteral("song only.kds"));
    writeFile(songOnly, "[song\n[title,Kept]\n]\n");
    const QString many = m_dir.filePath(QStringLiteral("many.kds"));
    writeFile(many, QByteArray("[multi\n]\n").repeated(SongModel::Capacity + 2));
    const QString one = m_dir.filePath(QStringLiteral("one.kds"));
    writeFile(one, "[multi\n]\n");

    const auto loadAndRead = [this](const QString &path) {
        QString message;
        ModalDriver driver({chooseFile(path), [&message](QWidget *box) {
                                message = static_cast<QMessageBox *>(box)->windowTitle() + "|" +
                                          static_cast<QMessageBox *>(box)->text();
                                click(QStringLiteral("OK"))(box);
                            }});
        pressLoad();
        return message;
    };
    QCOMPARE(loadAndRead(missing), QStringLiteral("Application name|Cannot open ") + missing +
                                       QStringLiteral("\nNo such file or directory."));
    // Song information without buttons still reaches the song.
    QCOMPARE(loadAndRead(songOnly), QStringLiteral("Application name|Cannot open ") + songOnly);
    QCOMPARE(song()->info(SongModel::Title), QStringLiteral("Kept"));
    QCOMPARE(loadAndRead(many),
             QStringLiteral("Application name|The song has more buttons than the panel holds "
                            "(45): 2 buttons were left out."));
    QCOMPARE(song()->numbers().size(), SongModel::Capacity);
    QVERIFY(!song()->isModified());
    {
        ModalDriver driver({chooseFile(one)});
        pressLoad();
        QCOMPARE(driver.seen, QStringList{QStringLiteral("file dialog")}); // nothing to report
    }
    QCOMPARE(song()->numbers(), QList<int>{1});

    // What is no song is refused at once, and the song stays as it was.
    const QString fifo = m_dir.filePath(QStringLiteral("pipe.kds"));
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString huge = m_dir.filePath(QStringLiteral("huge.kds"));
    QVERIFY(QFile::copy(one, huge));
    QVERIFY(QFile::resize(huge, SongFile::MaxBytes + 1));
    song()->setInfo(SongModel::Title, QStringLiteral("Kept"));
    for (const QString &path : {fifo, QStringLiteral("/dev/zero"), huge}) {
        QVERIFY2(loadAndRead(path).startsWith(QStringLiteral("Application name|Cannot open ") +
                                              path + QLatin1Char('\n')),
                 qPrintable(path));
        QCOMPARE(song()->numbers(), QList<int>{1});
        QCOMPARE(song()->info(SongModel::Title), QStringLiteral("Kept"));
    }
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

// What the form shows for the selected button is what Save writes and what close asks about.
void TestSongFiles::selectedButtonTakesFormEditsBeforeSave()
{
    addButton();
    Mouse::click(view(1));
    QCOMPARE(song()->selected(), 1);
    song()->markSaved();
    const SoundInfo before = song()->button(1)->sound;
    const int frets[SoundInfo::Strings] = {3, 0, 0, 0, 2, 3};
    sound()->setCurrentStrokeFrets(frets);
    const QString path = m_dir.filePath(QStringLiteral("selected.kds"));
    {
        ModalDriver driver({chooseFile(path)});
        pressSave();
    }
    QVERIFY(!song()->isModified());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const Song saved = SongScriptReader::read(file.readAll(), true, 1);
    QCOMPARE(saved.buttons.size(), 1);
    QVERIFY(saved.buttons.first().info != before);
    QVERIFY(saved.buttons.first().info == sound()->sound());

    sound()->flipDirection(0);
    ModalDriver cancel({click(QStringLiteral("Cancel"))});
    QVERIFY(!m_window->close());
    QCOMPARE(cancel.seen, QStringList{QStringLiteral("Confirm")});
}

// Load a song, give a button another picture: Power asks, and the picture is saved.
void TestSongFiles::changedPictureIsAnUnsavedChange()
{
    const QString path = m_dir.filePath(QStringLiteral("pictures.kds"));
    writeFile(path, "[multi\n[bg,2]\n]\n");
    {
        ModalDriver driver({chooseFile(path)});
        pressLoad();
    }
    QVERIFY(!song()->isModified());
    Mouse::click(view(1));
    // A menu is a popup, not a modal window: it is answered once it is up.
    QTimer::singleShot(100, this, [] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            menu->setActiveAction(menu->actions().value(0));
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    whenModal<DialogSelectIcon>(
        [](DialogSelectIcon *chooser) { QTest::mouseClick(chooser->icon(7), Qt::LeftButton); });
    QTest::qWait(50);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            view(1)->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(view(1), &event);
    QCOMPARE(song()->button(1)->iconIndex, 7);
    QVERIFY(song()->isModified());

    ModalDriver driver({click(QStringLiteral("Cancel"))});
    Mouse::click(command(QStringLiteral("Power")));
    QTRY_COMPARE(driver.seen, QStringList{QStringLiteral("Confirm")});
    QVERIFY(m_window->isVisible());
}

// Save writes the file the song came from or went to, without asking; Save As always asks. A song
// that was not loaded whole has no file of its own: Save asks then.
void TestSongFiles::saveWritesTheSongsOwnFile()
{
    const QString path = m_dir.filePath(QStringLiteral("own.kds"));
    addButton();
    {
        ModalDriver driver({chooseFile(path)});
        pressSave();
        QCOMPARE(driver.seen.size(), 1);
    }
    addButton();
    {
        ModalDriver driver({});
        pressSave();
        QCOMPARE(driver.seen, QStringList());
    }
    QVERIFY(!song()->isModified());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(SongScriptReader::read(file.readAll(), true, 45).buttons.size(), 2);
    auto *files = m_window->findChild<SongFileCommands *>();
    const QString other = m_dir.filePath(QStringLiteral("other.kds"));
    {
        ModalDriver driver({chooseFile(other)});
        QVERIFY(files->saveAs());
        QCOMPARE(driver.seen.size(), 1);
    }
    QCOMPARE(files->fileName(), other);

    const QString many = m_dir.filePath(QStringLiteral("too many.kds"));
    writeFile(many, QByteArray("[multi\n]\n").repeated(SongModel::Capacity + 1));
    {
        ModalDriver driver({click(QStringLiteral("OK"))}); // the left-out button reported
        m_window->openSong(many);
    }
    QCOMPARE(files->fileName(), QString());
    song()->setInfo(SongModel::Title, QStringLiteral("changed"));
    ModalDriver driver({cancelFile()});
    pressSave();
    QCOMPARE(driver.seen, QStringList{QStringLiteral("file dialog")});
}

// The last eight songs loaded or saved, newest first, without those whose files went; the right
// click on Load offers them.
void TestSongFiles::recentSongs()
{
    QSettings(QStringLiteral("Ommerlund"), QStringLiteral("Kavendra")).remove("RecentFiles");
    QStringList paths;
    for (int i = 0; i < RecentSongs::Limit + 1; ++i) {
        paths.prepend(m_dir.filePath(QStringLiteral("recent %1.kds").arg(i)));
        writeFile(paths.first(), "[multi\n]\n");
        m_window->openSong(paths.first());
    }
    QCOMPARE(RecentSongs::existing(), paths.mid(0, RecentSongs::Limit));
    m_window->openSong(paths.at(3));
    QCOMPARE(RecentSongs::existing().first(), paths.at(3));
    QCOMPARE(RecentSongs::existing().size(), RecentSongs::Limit);
    QFile::remove(paths.at(1));
    QCOMPARE(RecentSongs::existing().size(), RecentSongs::Limit - 1);
    QVERIFY(!RecentSongs::existing().contains(paths.at(1)));

    QStringList entries;
    QTimer::singleShot(100, this, [&entries] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *action : menu->actions())
            entries << action->text();
        menu->setActiveAction(menu->actions().value(1));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            command(QStringLiteral("Load"))->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(command(QStringLiteral("Load")), &event);
    QCOMPARE(entries.size(), RecentSongs::Limit - 1);
    QCOMPARE(entries.first(), QStringLiteral("recent 5.kds"));
    QCOMPARE(m_window->findChild<SongFileCommands *>()->fileName(), paths.at(0));
}

// A song file dropped on the window loads after the unsaved-changes question; other files are
// refused.
void TestSongFiles::droppedSongIsLoaded()
{
    const QString path = m_dir.filePath(QStringLiteral("dropped.KDS"));
    writeFile(path, "[multi\n]\n[multi\n]\n");
    const auto drop = [this](const QString &file) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        data.setText(file);
        QDragEnterEvent enter(QPoint(600, 200), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(600, 200), Qt::CopyAction, &data, Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &dropped);
        return dropped.isAccepted();
    };
    QVERIFY(!drop(m_dir.filePath(QStringLiteral("notes.txt"))));
    addButton();
    {
        ModalDriver driver({click(QStringLiteral("Cancel"))});
        QVERIFY(drop(path));
        QTRY_COMPARE(driver.seen, QStringList{QStringLiteral("Confirm")});
    }
    QCOMPARE(song()->numbers().size(), 1);
    {
        ModalDriver driver({click(QStringLiteral("Leave Anyway"))});
        QVERIFY(drop(path));
        QTRY_COMPARE(song()->numbers().size(), 2);
    }
    QVERIFY(!song()->isModified());
    // The fields leave dropped files to the window.
    QVERIFY(!m_window->findChild<QLineEdit *>()->acceptDrops());
}

void TestSongFiles::exportWritesTheButtonsSound()
{
    SoundInfo sound;
    sound.fret[0][0] = 3;
    const int number = song()->addButton(0, sound);
    const QString base = m_dir.filePath(QStringLiteral("one button"));
    ModalDriver driver({chooseFile(base)});
    exporter()->exportButton(number);
    QCOMPARE(driver.seen, QStringList{QStringLiteral("file dialog")});
    QFile file(base + QStringLiteral(".wav"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pcm = SongRenderer().renderButton(*song(), number);
    QVERIFY(!pcm.isEmpty());
    QByteArray header(WaveFile::HeaderSize, 0);
    WaveFile::putHeader(reinterpret_cast<uchar *>(header.data()), SongRenderer::sampleRate(),
                        int(pcm.size() / 2));
    QCOMPARE(file.readAll(), header + pcm);
    // An export changes nothing of the song.
    song()->markSaved();
    ModalDriver again({chooseFile(base + QStringLiteral(".wav"))});
    exporter()->exportSound(sound);
    QVERIFY(!song()->isModified());
}

void TestSongFiles::failedExportSaysWhyAndLeavesNothing()
{
    const int number = song()->addButton(0, SoundInfo());
    QString warning;
    const QString path = QFileInfo(impossiblePath()).path() + QStringLiteral("/sound.wav");
    {
        ModalDriver driver({chooseFile(path), [&warning](QWidget *box) {
                                warning = static_cast<QMessageBox *>(box)->text();
                                click(QStringLiteral("OK"))(box);
                            }});
        exporter()->exportButton(number);
        QCOMPARE(driver.seen,
                 (QStringList{QStringLiteral("file dialog"), QStringLiteral("Export")}));
    }
    QVERIFY2(warning.startsWith(QStringLiteral("Cannot write ")) && warning.contains(path),
             qPrintable(warning));
    QVERIFY(!QFileInfo::exists(path));

    // A song without a tap order has nothing to export: it says so before any dialog.
    ModalDriver empty({click(QStringLiteral("OK"))});
    exporter()->exportSong();
    QCOMPARE(empty.seen, QStringList{QStringLiteral("Export")});
}

QTEST_MAIN(TestSongFiles)
#include "tst_songfiles.moc"
