// The upload from the song info dialog against a fake server: the required entries, the
// question, the request's fields and files, and each reply answered for itself.
#include "history/SongHistory.h"
#include "model/SongModel.h"
#include "script/SongFile.h"
#include "script/SongScriptWriter.h"
#include "tests/support/ModalDriver.h"
#include "tests/upload/FakeHttpPeer.h"
#include "upload/DialogSongInfo.h"
#include "upload/FormPostPlugin.h"
#include "upload/SongUpload.h"
#include "widgets/QToast.h"

#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <memory>

namespace {
const QByteArray UserAgent = "Apache-HttpClient/UNAVAILABLE (java 1.4)";

int livePosters()
{
    int count = 0;
    for (QWidget *widget : QApplication::allWidgets())
        count += qobject_cast<FormPostPlugin *>(widget) != nullptr;
    return count;
}

QByteArray boundaryOf(const FakeHttpPeer::Request &request)
{
    return request.headers.value("content-type")
        .value(0)
        .mid(int(qstrlen("multipart/form-data; boundary=")));
}

// A song and its dialog, uploading to the given address; the song is written as Save writes it.
struct Program
{
    explicit Program(const QString &url)
    {
        qputenv("KAVENDRA_UPLOAD_URL", url.toUtf8());
        dialog = std::make_unique<DialogSongInfo>(&history);
        dialog->setSongWriter([this](const QString &path) {
            writtenTo = path;
            folderPermissions = QFileInfo(QFileInfo(path).path()).permissions();
            QString reason;
            return writable && SongFile::write(path, song.toSong(), &reason);
        });
    }
    void fill(const QString &title, const QString &user, const QString &artist)
    {
        song.setInfo(SongModel::Title, title);
        song.setInfo(SongModel::User, user);
        song.setInfo(SongModel::Artist, artist);
        song.setInfo(SongModel::Lyrics, "first line\nsecond line");
    }
    void submit() { dialog->onMousePressSubmit(nullptr, nullptr); }
    // Submits, answers Yes, and waits for the result.
    QString upload()
    {
        QSignalSpy finished(dialog.get(), &DialogSongInfo::uploadFinished);
        answerQuestion("Yes");
        submit();
        if (finished.isEmpty() && !finished.wait(10000))
            return QStringLiteral("(no result)");
        return finished.first().at(1).toString();
    }
    // The text of the toast on screen, if any.
    QString toastText() const
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *toast = qobject_cast<QToast *>(widget);
            if (toast && toast->isVisible())
                return toast->textBox()->toPlainText();
        }
        return QString();
    }

    SongModel song;
    SongHistory history{&song};
    std::unique_ptr<DialogSongInfo> dialog;
    bool writable = true;
    QString writtenTo;
    QFile::Permissions folderPermissions;
};
} // namespace

class TestSongUpload : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void uploadBaseName_data();
    void uploadBaseName();
    void uploadAddress();
    void toastListsMissingEntries_data();
    void toastListsMissingEntries();
    void submitSendsSongAndFields();
    void unsafeTitleStaysInTempDir();
    void cancelSendsNothing();
    void eachReplyReportsItsOwnAnswer();
    void plantedFilesAreLeftAlone();
    void eachFailureIsShown();
    void refusedSongsAreNotSent();
    void silentServerIsDroppedWithTheDialog();

private:
    QTemporaryDir m_tmp;
};

void TestSongUpload::initTestCase()
{
    QVERIFY(m_tmp.isValid());
    // The uploads' temporary files go to a directory of this test alone.
    qputenv("TMPDIR", m_tmp.path().toUtf8());
    QCOMPARE(QDir::tempPath(), QDir(m_tmp.path()).canonicalPath());
}

void TestSongUpload::uploadBaseName_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("name");
    QTest::newRow("blanks") << "My first song"
                            << "My_first_song";
    QTest::newRow("parent path") << "../../x"
                                 << ".._.._x";
    QTest::newRow("slash") << "a/b"
                           << "a_b";
    QTest::newRow("backslash") << "a\\b"
                               << "a_b";
    QTest::newRow("nul") << QString("a") + QChar(0) + "b"
                         << "a_b";
    QTest::newRow("controls") << "a\tb\nc\x7f"
                              << "a_b_c_";
    QTest::newRow("dot") << "."
                         << "_";
    QTest::newRow("dot dot") << ".."
                             << "_";
    QTest::newRow("empty") << ""
                           << "_";
    QTest::newRow("three dots") << "..."
                                << "...";
    QTest::newRow("double quote") << "say \"hi\""
                                  << "say__hi_";
    QTest::newRow("kept") << QString::fromUtf8("Caf\xc3\xa9:*?<>|';&")
                          << QString::fromUtf8("Caf\xc3\xa9:*?<>|';&");
}

void TestSongUpload::uploadBaseName()
{
    QFETCH(QString, title);
    QFETCH(QString, name);
    QCOMPARE(SongUpload::baseName(title), name);
}

void TestSongUpload::uploadAddress()
{
    Program custom("http://songs.example:81/songs/upload.php");
    QVERIFY(custom.dialog.get());
    QCOMPARE(custom.dialog->uploadUrl(), QString("http://songs.example:81/songs/upload.php"));
    Program standard("");
    QCOMPARE(standard.dialog->uploadUrl(), QString("http://127.0.0.1:8080/songs/upload.php"));
}

void TestSongUpload::toastListsMissingEntries_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("message");
    QTest::newRow("title and artist") << ""
                                      << "me"
                                      << ""
                                      << "Title is empty.\nArtist is empty.\n";
    QTest::newRow("blanks are empty") << "   "
                                      << " "
                                      << "x"
                                      << "Title is empty.\nUser is empty.\n";
    QTest::newRow("a tab is content") << "\t"
                                      << "me"
                                      << "  "
                                      << "Artist is empty.\n";
}

void TestSongUpload::toastListsMissingEntries()
{
    QFETCH(QString, title);
    QFETCH(QString, user);
    QFETCH(QString, artist);
    QFETCH(QString, message);
    FakeHttpPeer peer;
    Program program(peer.url("/songs/upload.php"));
    program.fill(title, user, artist);

    for (int round = 0; round < 2; ++round) {
        QString shown;
        QPointer<QToast> toast;
        int ticksToHide = 0;
        whenModal<QToast>([&](QToast *t) {
            toast = t;
            shown = t->textBox()->toPlainText();
            // Count the ticks from a fresh reset, whatever the real timer managed meanwhile.
            int ticks = t->elapsed() / 30;
            while (t->isVisible() && ticks < 200) {
                t->timerevent();
                ++ticks;
            }
            ticksToHide = ticks;
        });
        program.submit();
        QCOMPARE(shown, message);
        QCOMPARE(ticksToHide, 101);
        QVERIFY(toast && !toast->isVisible());
        QVERIFY(!toast->isCounting());
    }
    QCOMPARE(program.dialog->findChildren<QToast *>().size(), 0);
    QCoreApplication::processEvents();
    QVERIFY(peer.requests().isEmpty());
    QCOMPARE(livePosters(), 0);
}

void TestSongUpload::submitSendsSongAndFields()
{
    FakeHttpPeer peer;
    peer.setAnswer(200, "ok 7");
    Program program(peer.url("/songs/upload.php"));
    program.fill("My first song", "me", QString::fromUtf8("The B\xc3\xa4nd"));
    QSignalSpy finished(program.dialog.get(), &DialogSongInfo::uploadFinished);

    QString question;
    answerQuestion("Yes", &question);
    program.submit();
    QCOMPARE(question, QString("Upload song|Do you really want to submit this song?"));
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.first(), (QList<QVariant>{true, "The song was uploaded as song 7."}));
    QCOMPARE(program.toastText(), QString("The song was uploaded as song 7."));

    // Written in a folder of its own, which only this user may enter, and gone afterwards.
    QCOMPARE(QFileInfo(program.writtenTo).fileName(), QString("My_first_song.kds"));
    QCOMPARE(QFileInfo(QFileInfo(program.writtenTo).path()).path(), QDir::tempPath());
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(program.folderPermissions & others, QFile::Permissions());
    QVERIFY(program.folderPermissions.testFlags(QFile::ReadOwner | QFile::WriteOwner |
                                                QFile::ExeOwner));
    QVERIFY(QDir(m_tmp.path()).isEmpty());
    const QByteArray song = SongScriptWriter::write(program.song.toSong());
    QVERIFY(song.contains("[title,My first song]"));

    QCOMPARE(peer.requests().size(), 1);
    const FakeHttpPeer::Request &request = peer.requests().first();
    QVERIFY(request.head.startsWith("POST /songs/upload.php HTTP/1.1"));
    QCOMPARE(request.headers.value("user-agent"), QList<QByteArray>{UserAgent});
    {
        FormPostPlugin expected;
        expected.addField("artist", QString::fromUtf8("The B\xc3\xa4nd"));
        expected.addField("user", "me");
        expected.addField("title", "My first song");
        expected.addField("file", "My_first_song");
        expected.addField("text", "first line\nsecond line");
        expected.addFileData("upfile", song, "My_first_song.kds", "multipart/form-data");
        expected.addFileData("sifile", song, "My_first_song.kds", "multipart/form-data");
        const QByteArray boundary = boundaryOf(request);
        expected.setBoundarySource([boundary] { return boundary; });
        QCOMPARE(request.body, expected.multipart().body());
    }

    // The poster goes once its reply has finished.
    QTRY_COMPARE(livePosters(), 0);
}

void TestSongUpload::unsafeTitleStaysInTempDir()
{
    FakeHttpPeer peer;
    Program program(peer.url("/songs/upload.php"));
    // Relative to the temporary directory this would name a file two levels up.
    program.fill("../../x", "me", "band");
    QCOMPARE(program.upload(), QString("The song was uploaded as song 1."));

    QCOMPARE(QFileInfo(program.writtenTo).fileName(), QString(".._.._x.kds"));
    QVERIFY(!QFile::exists(QDir(m_tmp.path()).absoluteFilePath("../../x.kds")));
    const FakeHttpPeer::Request &request = peer.requests().first();
    QVERIFY(request.body.contains("name=\"upfile\"; filename=\".._.._x.kds\"\r\n"));
    QVERIFY(request.body.contains(
        "name=\"file\"\r\nContent-Transfer-Encoding: 8bit\r\n\r\n.._.._x\r\n"));
    QVERIFY(request.body.contains(
        "name=\"title\"\r\nContent-Transfer-Encoding: 8bit\r\n\r\n../../x\r\n"));
}

// Another user's link or file at the old, predictable path is neither written nor sent.
void TestSongUpload::plantedFilesAreLeftAlone()
{
    const QString victim = m_tmp.filePath("victim.txt");
    QFile file(victim);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("mine") == 4);
    file.close();
    const QString link = m_tmp.filePath("Linked.kds");
    QVERIFY(QFile::link(victim, link));
    const QString planted = m_tmp.filePath("Planted.kds");
    QVERIFY(QFile::copy(victim, planted));

    FakeHttpPeer peer;
    for (const QString title : {"Linked", "Planted"}) {
        Program program(peer.url("/songs/upload.php"));
        program.fill(title, "me", "band");
        QCOMPARE(program.upload(), QString("The song was uploaded as song 1."));
        QVERIFY(!peer.requests().last().body.contains("mine"));
        QVERIFY(peer.requests().last().body.contains("[title," + title.toUtf8() + "]"));
    }
    QCOMPARE(QFileInfo(link).symLinkTarget(), victim);
    for (const QString &path : {victim, planted}) {
        QFile kept(path);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("mine"));
    }
    QCOMPARE(QDir(m_tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
             (QStringList{"Linked.kds", "Planted.kds", "victim.txt"}));
    QFile::remove(link);
    QFile::remove(planted);
    QFile::remove(victim);
}

void TestSongUpload::cancelSendsNothing()
{
    FakeHttpPeer peer;
    Program program(peer.url("/songs/upload.php"));
    program.fill("Cancelled song", "me", "band");
    answerQuestion("Cancel");
    program.submit();
    // Escape counts as Cancel too.
    whenModal<QMessageBox>([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Escape); });
    program.submit();
    QCoreApplication::processEvents();
    QVERIFY(peer.requests().isEmpty());
    QVERIFY(QDir(m_tmp.path()).isEmpty());
    QCOMPARE(livePosters(), 0);
}

void TestSongUpload::eachReplyReportsItsOwnAnswer()
{
    FakeHttpPeer peer;
    Program program(peer.url("/songs/upload.php"));
    QSignalSpy finished(program.dialog.get(), &DialogSongInfo::uploadFinished);

    // The first upload hangs until the second has been answered.
    peer.setHolding(true);
    program.fill("First", "me", "band");
    answerQuestion("Yes");
    program.submit();
    QTRY_COMPARE(peer.requests().size(), 1);
    peer.setHolding(false);
    peer.setAnswer(200, "ok 2");
    program.fill("Second", "me", "band");
    answerQuestion("Yes");
    program.submit();
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(1).toString(), QString("The song was uploaded as song 2."));
    QTRY_COMPARE(livePosters(), 1);

    peer.releaseHeld(200, "ok 1");
    QTRY_COMPARE(finished.size(), 2);
    QCOMPARE(finished.at(1).at(1).toString(), QString("The song was uploaded as song 1."));
    QTRY_COMPARE(livePosters(), 0);
    QCOMPARE(peer.requests().size(), 2);
    QVERIFY(peer.requests().at(0).body.contains("\r\n\r\nFirst\r\n"));
    QVERIFY(peer.requests().at(1).body.contains("\r\n\r\nSecond\r\n"));
}

void TestSongUpload::eachFailureIsShown()
{
    quint16 closedPort;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        closedPort = probe.serverPort();
    }
    FakeHttpPeer broken;
    broken.setAnswer(500, "broken\nsecond line");
    FakeHttpPeer garbage;
    garbage.setAnswer(200, "<html>\x01hello</html>");
    FakeHttpPeer refusing;
    refusing.setAnswer(400, "error: bad field text");
    FakeHttpPeer streaming;
    streaming.setStreaming(16 * 1024, 5);
    FakeHttpPeer elsewhere;
    FakeHttpPeer redirecting;
    redirecting.setAnswer(307, "", "Location: " + elsewhere.url("/").toUtf8() + "\r\n");
    struct Case
    {
        QString url;
        QString result;
    };
    const QList<Case> cases = {
        {QString("http://127.0.0.1:%1/songs/upload.php").arg(closedPort),
         "The upload failed: Connection refused"},
        {broken.url("/songs/upload.php"), "The server refused the song (500): broken"},
        {garbage.url("/songs/upload.php"),
         "The server gave an answer the program does not understand: <html>hello</html>"},
        {refusing.url("/songs/upload.php"),
         "The server refused the song (400): error: bad field text"},
        {streaming.url("/songs/upload.php"),
         "The upload failed: the server's answer was longer than 64 kB."},
        {redirecting.url("/songs/upload.php"),
         "The upload failed: the server sent the song on to " + elsewhere.url("") +
             "; it was not sent there."},
    };
    for (const Case &c : cases) {
        Program program(c.url);
        program.fill("Song", "me", "band");
        QCOMPARE(program.upload(), c.result);
        QCOMPARE(program.toastText(), c.result);
        QTRY_COMPARE(livePosters(), 0);
    }
    QVERIFY(elsewhere.requests().isEmpty());
    QVERIFY(QDir(m_tmp.path()).isEmpty());
}

// What the server would refuse, and a song that could not be written, are not sent.
void TestSongUpload::refusedSongsAreNotSent()
{
    FakeHttpPeer peer;
    Program program(peer.url("/songs/upload.php"));
    program.fill("Song", "me", "band");
    program.song.setInfo(SongModel::Lyrics, QString(SongUpload::MaxLyricsChars, QChar(0x00e9)));
    QCOMPARE(program.upload(), QString("The song was uploaded as song 1."));
    QCOMPARE(peer.requests().size(), 1);

    const QString tooLong = "The song was not uploaded. The lyrics are longer than the song "
                            "server takes (65,536 characters).";
    program.song.setInfo(SongModel::Lyrics, QString(SongUpload::MaxLyricsChars + 1, 'x'));
    QCOMPARE(program.upload(), tooLong);
    QCOMPARE(program.toastText(), tooLong);
    program.song.setInfo(SongModel::Lyrics, "");
    program.song.setInfo(SongModel::Artist, QString(SongUpload::MaxNameChars + 1, 'a'));
    QCOMPARE(program.upload(), QString("The song was not uploaded. The artist is longer than "
                                       "the song server takes (200 characters)."));
    program.song.setInfo(SongModel::Artist, "band");
    program.writable = false;
    QCOMPARE(program.upload(),
             QString("The song was not uploaded. The song could not be written."));
    QCOMPARE(peer.requests().size(), 1);
    QCOMPARE(livePosters(), 0);
}

void TestSongUpload::silentServerIsDroppedWithTheDialog()
{
    // A server that never answers: the submit returns at once, and the request is dropped
    // with the dialog.
    FakeHttpPeer silent;
    silent.setHolding(true);
    {
        Program program(silent.url("/songs/upload.php"));
        program.fill("Song", "me", "band");
        QSignalSpy finished(program.dialog.get(), &DialogSongInfo::uploadFinished);
        answerQuestion("Yes");
        program.submit();
        QTRY_COMPARE(silent.requests().size(), 1);
        QCOMPARE(finished.size(), 0);
        QCOMPARE(livePosters(), 1);
    }
    QCOMPARE(livePosters(), 0);
}

QTEST_MAIN(TestSongUpload)
#include "tst_songupload.moc"
