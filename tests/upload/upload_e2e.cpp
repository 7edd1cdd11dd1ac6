// Run by e2e_upload_server.sh against the reference song server; not a test on its own.
#include "app/MainWindow.h"
#include "model/SongModel.h"
#include "script/Song.h"
#include "script/SongScriptWriter.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/Mouse.h"
#include "upload/DialogSongInfo.h"
#include "upload/SongUpload.h"
#include "widgets/QImageButton.h"

#include <QFileDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

#include <memory>

namespace {
const QString Title = QStringLiteral("Evening <b>& \"Song\"'s");
const QString Artist = QString::fromUtf8("Die B\xc3\xa4nd & <i>Co</i>");
const QString User = QStringLiteral("player' OR 1=1 --");
const QString Lyrics = QStringLiteral("la <script>alert(1)</script> la");
const QString TapOrder = QStringLiteral("0,1,2,1");

QString serverUrl(const QString &path)
{
    return qEnvironmentVariable("KAVENDRA_SERVER_URL") + path;
}

QByteArray get(const QString &url, int *status)
{
    QNetworkAccessManager manager;
    QNetworkReply *reply = manager.get(QNetworkRequest(QUrl(url)));
    QSignalSpy finished(reply, &QNetworkReply::finished);
    if (!reply->isFinished())
        finished.wait(10000);
    *status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return reply->readAll();
}

// The stored row of a song, as the server's own storage holds it.
QJsonObject storedSong(int id)
{
    const QString code =
        QStringLiteral(
            "$db = new PDO('sqlite:' . getenv('KAVENDRA_SONG_DATA') . '/songs.sqlite');"
            "$q = $db->prepare('SELECT title, artist, user, lyrics, file, uploaded_at, script_name,"
            " script_sha256, copy_name, copy_size, copy_sha256, length(script) AS size"
            " FROM songs WHERE id = ?');"
            "$q->execute([%1]); echo json_encode($q->fetch(PDO::FETCH_ASSOC));")
            .arg(id);
    QProcess php;
    php.start(QStringLiteral("php"), {QStringLiteral("-r"), code});
    php.waitForFinished(10000);
    return QJsonDocument::fromJson(php.readAllStandardOutput()).object();
}

QList<SoundInfo> soundsOf(const SongModel &song)
{
    QList<SoundInfo> sounds;
    for (int number : song.numbers())
        sounds.append(song.button(number)->sound);
    return sounds;
}

void pressLoad(MainWindow &window)
{
    for (QImageButton *button : window.findChildren<QImageButton *>()) {
        if (button->toolTip() == QStringLiteral("Load"))
            Mouse::click(button);
    }
}

SoundInfo sound(int fret, int gt, double speed)
{
    SoundInfo info;
    info.reset();
    for (int s = 0; s < SoundInfo::Strings; ++s)
        info.fret[0][s] = fret + s % 3;
    info.strum_speed[0] = speed;
    info.direction[1] = -1;
    info.strum_speed[1] = speed / 2;
    info.time_offset[0] = 250;
    info.gt = gt;
    info.hold = 80;
    info.vol = 90;
    return info;
}
} // namespace

class UploadEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void uploadThroughTheDialog();
    void nothingListensNeitherHangsNorCrashes();
};

void UploadEndToEnd::uploadThroughTheDialog()
{
    MainWindow window;
    auto *dialog = window.findChild<DialogSongInfo *>();
    QVERIFY(dialog);
    QCOMPARE(dialog->uploadUrl(), qEnvironmentVariable("KAVENDRA_UPLOAD_URL"));
    auto *song = window.findChild<SongModel *>();
    QVERIFY(song);
    for (const SoundInfo &info : {sound(0, 0, 40), sound(3, 1, 30), sound(5, 2, 60)})
        QVERIFY(song->addButton(2, info));
    song->setInfo(SongModel::Title, Title);
    song->setInfo(SongModel::Artist, Artist);
    song->setInfo(SongModel::User, User);
    song->setInfo(SongModel::Lyrics, Lyrics);
    song->setInfo(SongModel::TapOrder, TapOrder);

    QSignalSpy finished(dialog, &DialogSongInfo::uploadFinished);
    answerQuestion("Yes");
    dialog->onMousePressSubmit(nullptr, nullptr);
    QVERIFY(finished.wait(20000));
    const QString result = finished.first().at(1).toString();
    QVERIFY2(finished.first().first().toBool(), qPrintable(result));
    const QRegularExpressionMatch ok =
        QRegularExpression("^The song was uploaded as song (\\d+)\\.$").match(result);
    QVERIFY2(ok.hasMatch(), qPrintable(result));
    const int id = ok.captured(1).toInt();

    const QString baseName = SongUpload::baseName(Title);
    const QByteArray script = SongScriptWriter::write(song->toSong());

    // What PHP parsed: the five fields and both file parts.
    const QJsonObject row = storedSong(id);
    QCOMPARE(row.value("title").toString(), Title);
    QCOMPARE(row.value("artist").toString(), Artist);
    QCOMPARE(row.value("user").toString(), User);
    QCOMPARE(row.value("lyrics").toString(), Lyrics);
    QCOMPARE(row.value("file").toString(), baseName);
    QCOMPARE(row.value("script_name").toString(), baseName + ".kds");
    QCOMPARE(row.value("copy_name").toString(), baseName + ".kds");
    QCOMPARE(row.value("size").toInt(), script.size());
    QCOMPARE(row.value("copy_size").toInt(), script.size());
    const QString sha = QCryptographicHash::hash(script, QCryptographicHash::Sha256).toHex();
    QCOMPARE(row.value("script_sha256").toString(), sha);
    QCOMPARE(row.value("copy_sha256").toString(), sha);
    QVERIFY(QDateTime::fromString(row.value("uploaded_at").toString(), Qt::ISODate).isValid());

    // The listing shows every typed text escaped.
    int status = 0;
    const QByteArray page = get(serverUrl("/songs/"), &status);
    QCOMPARE(status, 200);
    QVERIFY(page.contains("&lt;b&gt;&amp; &quot;Song&quot;&apos;s"));
    QVERIFY(page.contains("Die B\xc3\xa4nd &amp; &lt;i&gt;Co&lt;/i&gt;"));
    QVERIFY(page.contains("player&apos; OR 1=1 --"));
    QVERIFY(page.contains("la &lt;script&gt;alert(1)&lt;/script&gt; la"));
    QVERIFY(!page.contains("<script>"));
    QVERIFY(page.contains(QString("href=\"download.php?id=%1\"").arg(id).toUtf8()));

    // The stored file is the one sent, and it loads back into the same song.
    const QByteArray stored = get(serverUrl(QString("/songs/download.php?id=%1").arg(id)), &status);
    QCOMPARE(status, 200);
    QCOMPARE(stored, script);
    QTemporaryDir dir;
    const QString copy = dir.filePath("downloaded.kds");
    QFile out(copy);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(stored) == stored.size());
    out.close();

    song->markSaved(); // loading asks nothing then
    MainWindow other;
    whenModal<QFileDialog>([copy](QFileDialog *files) {
        files->selectFile(copy);
        static_cast<QDialog *>(files)->accept();
    });
    pressLoad(other);
    const SongModel *loaded = other.findChild<SongModel *>();
    QCOMPARE(loaded->info(SongModel::Title), Title);
    QCOMPARE(loaded->info(SongModel::Artist), Artist);
    QCOMPARE(loaded->info(SongModel::User), User);
    // One-line lyrics read back with a blank where the closing bracket stood.
    QCOMPARE(loaded->info(SongModel::Lyrics).trimmed(), Lyrics);
    QCOMPARE(loaded->info(SongModel::TapOrder), TapOrder);
    QCOMPARE(soundsOf(*loaded), soundsOf(*song));
    QCOMPARE(soundsOf(*loaded).size(), 3);
}

void UploadEndToEnd::nothingListensNeitherHangsNorCrashes()
{
    quint16 port;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    qputenv("KAVENDRA_UPLOAD_URL",
            QString("http://127.0.0.1:%1/songs/upload.php").arg(port).toUtf8());
    MainWindow window;
    auto *dialog = window.findChild<DialogSongInfo *>();
    auto *song = window.findChild<SongModel *>();
    song->setInfo(SongModel::Title, "Song");
    song->setInfo(SongModel::Artist, "band");
    song->setInfo(SongModel::User, "me");
    QSignalSpy finished(dialog, &DialogSongInfo::uploadFinished);
    answerQuestion("Yes");
    QElapsedTimer clock;
    clock.start();
    dialog->onMousePressSubmit(nullptr, nullptr);
    QVERIFY(clock.elapsed() < 5000);
    QVERIFY(finished.wait(20000));
    QVERIFY(!finished.first().first().toBool());
    QCOMPARE(finished.first().at(1).toString(),
             QStringLiteral("The upload failed: Connection refused"));
}

QTEST_MAIN(UploadEndToEnd)
#include "upload_e2e.moc"
