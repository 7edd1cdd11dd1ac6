// The recovery copy without widgets: written after a change as Save writes the song, removed
// with the changes, one copy per program, and the song's own file name kept beside it.
#include "model/SongModel.h"
#include "model/SongRecovery.h"
#include "script/Song.h"
#include "script/SongScriptWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

SoundInfo sound(int fret)
{
    SoundInfo info;
    info.reset();
    info.fret[0][0] = fret;
    return info;
}
} // namespace

class TestSongRecovery : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void folderFollowsXdgState();
    void changeWritesTheSavedBytesAfterADelay();
    void removedWhenSavedOrDiscarded();
    void twoProgramsNeverShareACopy();
    void leftCopyKeepsTheSongAndItsFileName();

private:
    QString copy(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SongModel> m_song;
};

void TestSongRecovery::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_song = std::make_unique<SongModel>();
}

void TestSongRecovery::cleanup()
{
    m_song.reset();
    m_dir.reset();
}

void TestSongRecovery::folderFollowsXdgState()
{
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "/x/state");
    QCOMPARE(SongRecovery::defaultFolder(), QStringLiteral("/x/state/kavendra"));
    // A relative path is no XDG folder; nor is an empty one.
    const QString fallback = QDir::homePath() + QStringLiteral("/.local/state/kavendra");
    qputenv("XDG_STATE_HOME", "x/state");
    QCOMPARE(SongRecovery::defaultFolder(), fallback);
    qputenv("XDG_STATE_HOME", "");
    QCOMPARE(SongRecovery::defaultFolder(), fallback);
    qputenv("XDG_STATE_HOME", saved);
}

void TestSongRecovery::changeWritesTheSavedBytesAfterADelay()
{
    SongRecovery recovery(m_song.get(), m_dir->path());
    QCOMPARE(recovery.path(), copy(QStringLiteral("recovery.kds")));
    QVERIFY(recovery.writeNow()); // nothing unsaved: nothing written
    QVERIFY(!QFileInfo::exists(recovery.path()));

    m_song->addButton(2, sound(3));
    m_song->setInfo(SongModel::Title, QStringLiteral("Dünen"));
    QVERIFY(!QFileInfo::exists(recovery.path()));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(recovery.path()), 3 * SongRecovery::WriteDelay);
    QCOMPARE(contents(recovery.path()), SongScriptWriter::write(m_song->toSong()));

    // A change after the write: written again, and at once when asked.
    m_song->addButton(4, sound(5));
    QVERIFY(recovery.writeNow());
    QCOMPARE(contents(recovery.path()), SongScriptWriter::write(m_song->toSong()));
}

void TestSongRecovery::removedWhenSavedOrDiscarded()
{
    SongRecovery recovery(m_song.get(), m_dir->path());
    const QString name = recovery.path() + QStringLiteral(".name");
    m_song->addButton(0, sound(1));
    QVERIFY(recovery.writeNow());
    QVERIFY(QFileInfo::exists(recovery.path()) && QFileInfo::exists(name));
    m_song->markSaved();
    QVERIFY(!QFileInfo::exists(recovery.path()) && !QFileInfo::exists(name));

    // Saved before the delay: no copy is written afterwards.
    m_song->addButton(0, sound(2));
    m_song->markSaved();
    QTest::qWait(SongRecovery::WriteDelay + 500);
    QVERIFY(!QFileInfo::exists(recovery.path()));

    m_song->addButton(0, sound(3));
    QVERIFY(recovery.writeNow());
    recovery.discard();
    QVERIFY(!QFileInfo::exists(recovery.path()) && !QFileInfo::exists(name));
}

// Each program holds its own copy's lock; only a copy whose program has gone is left over, and
// no new program writes over it.
void TestSongRecovery::twoProgramsNeverShareACopy()
{
    SongModel other;
    auto first = std::make_unique<SongRecovery>(m_song.get(), m_dir->path());
    SongRecovery second(&other, m_dir->path());
    QCOMPARE(first->path(), copy(QStringLiteral("recovery.kds")));
    QCOMPARE(second.path(), copy(QStringLiteral("recovery-2.kds")));

    m_song->addButton(0, sound(1));
    other.addButton(0, sound(2));
    QVERIFY(first->writeNow() && second.writeNow());
    QVERIFY(contents(first->path()) != contents(second.path()));
    QVERIFY(second.leftCopies().isEmpty()); // the first still runs

    first.reset();
    const QList<SongRecovery::LeftCopy> left = second.leftCopies();
    QCOMPARE(left.size(), 1);
    QCOMPARE(left.first().path, copy(QStringLiteral("recovery.kds")));
    SongModel third;
    SongRecovery later(&third, m_dir->path());
    QCOMPARE(later.path(), copy(QStringLiteral("recovery-3.kds")));
    // Held by the list above until it goes.
    QVERIFY(later.leftCopies().isEmpty());
}

void TestSongRecovery::leftCopyKeepsTheSongAndItsFileName()
{
    const QString fileName = QStringLiteral("/songs/my \"quoted\" title, ünï.kds");
    {
        SongRecovery recovery(m_song.get(), m_dir->path());
        recovery.setFileNameSource([fileName] { return fileName; });
        m_song->addButton(3, sound(7));
        m_song->setInfo(SongModel::Lyrics, QStringLiteral("line one\nline two"));
        QVERIFY(recovery.writeNow());
    }
    SongModel restored;
    SongRecovery recovery(&restored, m_dir->path());
    QCOMPARE(recovery.path(), copy(QStringLiteral("recovery-2.kds")));
    const QList<SongRecovery::LeftCopy> left = recovery.leftCopies();
    QCOMPARE(left.size(), 1);
    QCOMPARE(left.first().fileName, fileName);
    QVERIFY(qAbs(left.first().time.secsTo(QDateTime::currentDateTime())) < 60);
    restored.loadSong(SongRecovery::read(left.first()).value());
    QCOMPARE(SongScriptWriter::write(restored.toSong()), SongScriptWriter::write(m_song->toSong()));

    // Cut off before its song section, it is no copy to restore.
    QFile cut(left.first().path);
    QVERIFY(cut.open(QIODevice::ReadWrite));
    QVERIFY(cut.resize(contents(left.first().path).indexOf("[title")));
    cut.close();
    QVERIFY(!SongRecovery::read(left.first()));

    // Restored, the copy becomes the program's own, and the copy it claimed is free again.
    recovery.adopt(left.first());
    QCOMPARE(recovery.path(), left.first().path);
    QCOMPARE(SongRecovery(&restored, m_dir->path()).path(), copy(QStringLiteral("recovery-2.kds")));
    restored.markUnsaved();
    restored.markSaved();
    QVERIFY(!QFileInfo::exists(left.first().path));
    QVERIFY(!QFileInfo::exists(left.first().path + QStringLiteral(".name")));
}

QTEST_GUILESS_MAIN(TestSongRecovery)
#include "tst_songrecovery.moc"
