// Song files on disk: what an unreadable file reads as, and saves that fail without harm.
#include "script/SongFile.h"
#include "script/SongScriptReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Song oneButton(const QString &lyrics = QString())
{
    Song song;
    song.lyrics = lyrics;
    song.buttons.append(SongButton());
    return song;
}
} // namespace

class TestSongFile : public QObject
{
    Q_OBJECT

private slots:
    void unreadableFilesReadAsEmpty();
    void refusesWhatIsNoSong();
    void syntaxFollowsTheSuffix();
    void writeReadsBack();
    void failedWriteKeepsTheOldFile();

private:
    QTemporaryDir m_dir;
};

void TestSongFile::unreadableFilesReadAsEmpty()
{
    for (const QString &path : {m_dir.filePath(QStringLiteral("nothing here.kds")), m_dir.path()}) {
        const Song song = SongFile::read(path, 45);
        QVERIFY(song.buttons.isEmpty());
        QVERIFY(!song.title);
    }
}

void TestSongFile::refusesWhatIsNoSong()
{
    const QString fifo = m_dir.filePath(QStringLiteral("pipe.kds"));
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString toFifo = m_dir.filePath(QStringLiteral("link to pipe.kds"));
    QVERIFY(QFile::link(fifo, toFifo));
    const QString largest = m_dir.filePath(QStringLiteral("largest.kds"));
    writeFile(largest, "[multi\n]\n");
    QVERIFY(QFile::resize(largest, SongFile::MaxBytes));
    const QString over = m_dir.filePath(QStringLiteral("over.kds"));
    QVERIFY(QFile::copy(largest, over));
    QVERIFY(QFile::resize(over, SongFile::MaxBytes + 1));

    const QString notRegular = QStringLiteral("not a song file but a folder, pipe, device");
    const QList<QPair<QString, QString>> refused = {
        {fifo, notRegular},
        {toFifo, notRegular},
        {QStringLiteral("/dev/zero"), notRegular},
        {m_dir.path(), notRegular},
        {over, QStringLiteral("larger than 4 MB")},
        {m_dir.filePath(QStringLiteral("nothing here.kds")), QStringLiteral("No such file")},
    };
    for (const auto &[path, why] : refused) {
        // A refused file leaves the song given as it was.
        Song song = oneButton(QStringLiteral("kept"));
        QString reason;
        QVERIFY2(!SongFile::read(path, 45, &song, &reason), qPrintable(path));
        QVERIFY2(reason.contains(why), qPrintable(path + ": " + reason));
        QCOMPARE(song.buttons.size(), 1);
        QCOMPARE(song.lyrics, std::optional<QString>(QStringLiteral("kept")));
    }

    Song song;
    QString reason;
    QVERIFY2(SongFile::read(largest, 45, &song, &reason), qPrintable(reason));
    QVERIFY(reason.isEmpty());
    QCOMPARE(song.buttons.size(), 1);
}

void TestSongFile::syntaxFollowsTheSuffix()
{
    const QByteArray script = "[multi\n[gt,2]\n]\n";
    const QString kds = m_dir.filePath(QStringLiteral("song.kds"));
    const QString other = m_dir.filePath(QStringLiteral("song.KDS"));
    writeFile(kds, script);
    writeFile(other, script);
    QCOMPARE(SongFile::read(kds, 45).buttons.size(), 1);
    QCOMPARE(SongFile::read(kds, 45).buttons[0].info.gt, 2);
    // Any other suffix is the fret-list syntax, which has no "gt".
    const Song fretList = SongFile::read(other, 45);
    QCOMPARE(fretList.buttons.size(), SongScriptReader::read(script, false, 45).buttons.size());
    for (const SongButton &button : fretList.buttons)
        QCOMPARE(button.info.gt, 0);

    // Sections beyond the limit are counted, not kept.
    writeFile(kds, script + script + script);
    const Song limited = SongFile::read(kds, 2);
    QCOMPARE(limited.buttons.size(), 2);
    QCOMPARE(limited.leftOutButtons, 1);
}

void TestSongFile::writeReadsBack()
{
    const QString path = m_dir.filePath(QStringLiteral("back.kds"));
    QString reason = QStringLiteral("stale");
    QVERIFY(SongFile::write(path, oneButton(QStringLiteral("la")), &reason));
    QVERIFY(reason.isEmpty());
    const Song back = SongFile::read(path, 45);
    QCOMPARE(back.buttons.size(), 1);
    QCOMPARE(back.lyrics, std::optional<QString>(QStringLiteral("la")));
}

void TestSongFile::failedWriteKeepsTheOldFile()
{
    const QString blocker = m_dir.filePath(QStringLiteral("plain file"));
    writeFile(blocker, "x");
    QString reason;
    QVERIFY(!SongFile::write(blocker + QStringLiteral("/song.kds"), oneButton(), &reason));
    QVERIFY(!reason.isEmpty());

    // A write that fails half-way (here: the file size limit) leaves the old file in place.
    const QString path = m_dir.filePath(QStringLiteral("kept.kds"));
    QVERIFY(SongFile::write(path, oneButton(), &reason));
    const QByteArray before = readFile(path);
    QVERIFY(!before.isEmpty());
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{4096, saved.rlim_max};
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written =
        SongFile::write(path, oneButton(QString(20000, QLatin1Char('x'))), &reason);
    setrlimit(RLIMIT_FSIZE, &saved);
    QVERIFY(!written);
    QVERIFY(!reason.isEmpty());
    QCOMPARE(readFile(path), before);
    const QStringList leftovers = QDir(m_dir.path()).entryList({QStringLiteral("kept.kds?*")});
    QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(' ')));
}

QTEST_GUILESS_MAIN(TestSongFile)
#include "tst_songfile.moc"
