#include "tests/upload/FakeHttpPeer.h"
#include "upload/FormPostPlugin.h"

#include <QDateTime>
#include <QNetworkReply>
#include <QPluginLoader>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QByteArray B = "---------------------------123";

QByteArray fieldPart(const QByteArray &name, const QByteArray &value, bool utf8)
{
    return "Content-Disposition: form-data; name=\"" + name + "\"\r\n" +
           (utf8 ? QByteArray("Content-Transfer-Encoding: 8bit\r\n") : QByteArray()) + "\r\n" +
           value;
}

QByteArray filePart(const QByteArray &field, const QByteArray &file, const QByteArray &type,
                    const QByteArray &contents)
{
    return "Content-Disposition: form-data; name=\"" + field + "\"; filename=\"" + file +
           "\"\r\nContent-Type: " + type + "\r\n\r\n" + contents;
}

QByteArray closing(const QByteArray &boundary)
{
    return "\r\n--" + boundary + "--\r\n";
}

QByteArray boundaryOf(const FakeHttpPeer::Request &request)
{
    const QByteArray type = request.headers.value("content-type").value(0);
    const QByteArray prefix = "multipart/form-data; boundary=";
    return type.startsWith(prefix) ? type.mid(prefix.size()) : QByteArray();
}

// Waits until the reply has finished; false if it did not within the time given.
bool waitFinished(QNetworkReply *reply, int ms = 10000)
{
    if (!reply->isFinished()) {
        QSignalSpy spy(reply, &QNetworkReply::finished);
        if (!spy.wait(ms))
            return false;
    }
    return true;
}
} // namespace

class TestFormPost : public QObject
{
    Q_OBJECT

private slots:
    void bodyOfOneField();
    void bodyOfFilesAndFields();
    void bodyWithNothingAdded();
    void encodingAcceptsOnlyExactNames();
    void fileNameFromPath_data();
    void fileNameFromPath();
    void addFileReadsContents();
    void hostOfUrl_data();
    void hostOfUrl();
    void boundaryFollowsTheSecond();
    void postSendsHeadersAndBodyOnTheWire();
    void postEmptiesThePoster();
    void twoPostsInOneSecondShareABoundary();
    void failedTransfersFinish();
    void pluginLoadsAndPosts();
};

void TestFormPost::bodyOfOneField()
{
    FormPostPlugin poster;
    QCOMPARE(poster.encoding(), QString("utf-8"));
    poster.addField("a", "b");
    const QByteArray utf8 = "--" + B + "\r\n" + fieldPart("a", "b", true) + closing(B);
    QCOMPARE(poster.body(B), utf8);

    poster.setEncoding("ascii");
    QCOMPARE(poster.body(B), "--" + B + "\r\n" + fieldPart("a", "b", false) + closing(B));

    // U+00E9 is two bytes in UTF-8 and one in Latin-1.
    FormPostPlugin accented;
    accented.addField("t", QString::fromUtf8("caf\xc3\xa9"));
    QCOMPARE(accented.body(B),
             "--" + B + "\r\n" + fieldPart("t", "caf\xc3\xa9", true) + closing(B));
    accented.setEncoding("ascii");
    QCOMPARE(accented.body(B), "--" + B + "\r\n" + fieldPart("t", "caf\xe9", false) + closing(B));
}

void TestFormPost::bodyOfFilesAndFields()
{
    FormPostPlugin filesOnly;
    filesOnly.addFileData("up", "one\r\n", "a.kds", "multipart/form-data");
    filesOnly.addFileData("si", QByteArray("\0two", 4), "b.kds", "text/plain");
    QCOMPARE(filesOnly.body(B),
             "--" + B + "\r\n" + filePart("up", "a.kds", "multipart/form-data", "one\r\n") +
                 "\r\n--" + B + "\r\n" +
                 filePart("si", "b.kds", "text/plain", QByteArray("\0two", 4)) + closing(B));

    // Fields go first whatever the order of adding; names are sent unescaped, in Latin-1.
    FormPostPlugin mixed;
    mixed.addFileData("up", "x", "f\"1.kds", "text/plain");
    mixed.addField("q\"n", "v");
    mixed.addField(QString::fromUtf8("\xe2\x82\xac"), "w");
    QCOMPARE(mixed.body(B), "--" + B + "\r\n" + fieldPart("q\"n", "v", true) + "\r\n--" + B +
                                "\r\n" + fieldPart("?", "w", true) + "\r\n--" + B + "\r\n" +
                                filePart("up", "f\"1.kds", "text/plain", "x") + closing(B));
}

void TestFormPost::bodyWithNothingAdded()
{
    FormPostPlugin poster;
    QCOMPARE(poster.body(B), closing(B));
}

void TestFormPost::encodingAcceptsOnlyExactNames()
{
    FormPostPlugin poster;
    poster.setEncoding("UTF-8");
    QCOMPARE(poster.encoding(), QString("utf-8"));
    poster.setEncoding("ascii");
    QCOMPARE(poster.encoding(), QString("ascii"));
    poster.setEncoding("latin1");
    QCOMPARE(poster.encoding(), QString("ascii"));
    poster.setEncoding("utf-8");
    QCOMPARE(poster.encoding(), QString("utf-8"));
}

void TestFormPost::fileNameFromPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("slashes") << "/tmp/songs/a b.kds"
                             << "a b.kds";
    QTest::newRow("backslashes") << "C:\\songs\\x.kds"
                                 << "x.kds";
    QTest::newRow("slash before backslash") << "dir/sub\\x.kds"
                                            << "sub\\x.kds";
    QTest::newRow("backslash before slash") << "dir\\sub/x.kds"
                                            << "x.kds";
    QTest::newRow("bare name") << "x.kds"
                               << "x.kds";
    QTest::newRow("trailing slash") << "dir/"
                                    << "";
}

void TestFormPost::fileNameFromPath()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(FormPostPlugin::fileNameOf(path), name);
}

void TestFormPost::addFileReadsContents()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("song one.kds"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[song\n]\n");
    file.close();

    FormPostPlugin poster;
    poster.addFile("upfile", file.fileName(), "multipart/form-data");
    poster.addFile("sifile", dir.filePath("missing.kds"), "multipart/form-data");
    QCOMPARE(poster.body(B),
             "--" + B + "\r\n" +
                 filePart("upfile", "song one.kds", "multipart/form-data", "[song\n]\n") +
                 "\r\n--" + B + "\r\n" +
                 filePart("sifile", "missing.kds", "multipart/form-data", "") + closing(B));
}

void TestFormPost::hostOfUrl_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("host");
    QTest::newRow("with port") << "http://127.0.0.1:8080/songs/upload.php"
                               << "127.0.0.1:8080";
    QTest::newRow("nothing after host") << "http://example.org"
                                        << "example.org";
    QTest::newRow("rest after host") << "http://h:1?x=/y"
                                     << "h:1?x=";
    QTest::newRow("no scheme") << "example.org/songs/upload.php"
                               << "";
}

void TestFormPost::hostOfUrl()
{
    QFETCH(QString, url);
    QFETCH(QString, host);
    QCOMPARE(FormPostPlugin::hostOf(url), host);
}

void TestFormPost::boundaryFollowsTheSecond()
{
    const QString boundary = FormPostPlugin::boundaryFor(1700000000);
    QCOMPARE(FormPostPlugin::boundaryFor(1700000000), boundary);
    QVERIFY(FormPostPlugin::boundaryFor(1700000001) != boundary);
    QVERIFY(boundary.startsWith(QString(27, '-')));
    QVERIFY(boundary.at(27) != '-');
    const QString digits = boundary.mid(27);
    QVERIFY(QRegularExpression("^[1-9][0-9]*$").match(digits).hasMatch());
    // Three values of at most 10 digits each.
    QVERIFY(digits.size() >= 3 && digits.size() <= 30);
}

void TestFormPost::postSendsHeadersAndBodyOnTheWire()
{
    FakeHttpPeer peer;
    peer.setAnswer(200, "ok 17");
    FormPostPlugin poster;
    poster.setUserAgent("Apache-HttpClient/UNAVAILABLE (java 1.4)");
    poster.addField("title", QString::fromUtf8("Caf\xc3\xa9 song"));
    poster.addFileData("upfile", "[song\n]\n", "Caf_song.kds", "multipart/form-data");

    FormPostPlugin expected;
    expected.addField("title", QString::fromUtf8("Caf\xc3\xa9 song"));
    expected.addFileData("upfile", "[song\n]\n", "Caf_song.kds", "multipart/form-data");

    const qint64 before = QDateTime::currentSecsSinceEpoch();
    QNetworkReply *reply = poster.post(peer.url("/songs/upload.php"));
    const qint64 after = QDateTime::currentSecsSinceEpoch();
    QVERIFY(reply);
    QCOMPARE(reply->request().transferTimeout(), FormPostPlugin::TransferTimeoutMs);
    QCOMPARE(FormPostPlugin::TransferTimeoutMs, 30000);
    QByteArray seenByHandler;
    connect(reply, &QNetworkReply::finished, this,
            [&poster, &seenByHandler] { seenByHandler = poster.response(); });
    QVERIFY(waitFinished(reply));

    QCOMPARE(peer.requests().size(), 1);
    const FakeHttpPeer::Request &request = peer.requests().first();
    QVERIFY(request.head.startsWith("POST /songs/upload.php HTTP/1.1\r\n"));
    QCOMPARE(request.headers.value("host"),
             QList<QByteArray>{"127.0.0.1:" + QByteArray::number(peer.port())});
    QCOMPARE(request.headers.value("user-agent"),
             QList<QByteArray>{"Apache-HttpClient/UNAVAILABLE (java 1.4)"});
    QVERIFY(!request.headers.contains("referer"));
    const QByteArray boundary = boundaryOf(request);
    QVERIFY(boundary == FormPostPlugin::boundaryFor(before).toLatin1() ||
            boundary == FormPostPlugin::boundaryFor(after).toLatin1());
    QCOMPARE(request.body, expected.body(QString::fromLatin1(boundary)));
    QCOMPARE(request.headers.value("content-length"),
             QList<QByteArray>{QByteArray::number(request.body.size())});

    // The answer is in place before a handler connected to the reply runs.
    QCOMPARE(seenByHandler, QByteArray("ok 17"));
    QCOMPARE(poster.response(), QByteArray("ok 17"));
}

void TestFormPost::postEmptiesThePoster()
{
    FakeHttpPeer peer;
    FormPostPlugin poster;
    poster.setReferer("http://songs.local/form");
    poster.addField("a", "b");
    QVERIFY(waitFinished(poster.post(peer.url("/"))));
    QVERIFY(waitFinished(poster.post(peer.url("/"))));
    QCOMPARE(peer.requests().size(), 2);
    const FakeHttpPeer::Request &second = peer.requests().at(1);
    QCOMPARE(second.body, closing(boundaryOf(second)));
    QCOMPARE(second.headers.value("referer"), QList<QByteArray>{"http://songs.local/form"});
    QCOMPARE(poster.referer(), QString("http://songs.local/form"));
}

void TestFormPost::twoPostsInOneSecondShareABoundary()
{
    FakeHttpPeer peer;
    FormPostPlugin first;
    FormPostPlugin second;
    // Retry in the rare case that the clock turns to the next second between the posts.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        QNetworkReply *a = first.post(peer.url("/"));
        QNetworkReply *b = second.post(peer.url("/"));
        const qint64 after = QDateTime::currentSecsSinceEpoch();
        QVERIFY(waitFinished(a));
        QVERIFY(waitFinished(b));
        if (before != after)
            continue;
        const QList<FakeHttpPeer::Request> &requests = peer.requests();
        QCOMPARE(boundaryOf(requests.at(requests.size() - 2)),
                 boundaryOf(requests.at(requests.size() - 1)));
        return;
    }
    QFAIL("the clock turned during every attempt");
}

void TestFormPost::failedTransfersFinish()
{
    // Nothing listens on this port once the server is gone.
    quint16 closedPort;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        closedPort = probe.serverPort();
    }
    FakeHttpPeer peer;
    peer.setAnswer(500, "broken");

    struct Case
    {
        QString url;
        QNetworkReply::NetworkError error;
        QByteArray response;
    };
    const QList<Case> cases = {
        {"127.0.0.1/songs/upload.php", QNetworkReply::ProtocolUnknownError, ""},
        {"", QNetworkReply::ProtocolUnknownError, ""},
        {QString("http://127.0.0.1:%1/songs/upload.php").arg(closedPort),
         QNetworkReply::ConnectionRefusedError, ""},
        {peer.url("/songs/upload.php"), QNetworkReply::InternalServerError, "broken"},
    };
    for (const Case &c : cases) {
        FormPostPlugin poster;
        poster.addField("a", "b");
        QNetworkReply *reply = poster.post(c.url);
        QVERIFY(reply);
        QVERIFY2(waitFinished(reply), qPrintable(c.url));
        QCOMPARE(reply->error(), c.error);
        QCOMPARE(poster.response(), c.response);
    }
}

void TestFormPost::pluginLoadsAndPosts()
{
    QPluginLoader loader(QStringLiteral(KAVENDRA_FORMPOST_PLUGIN_PATH));
    QCOMPARE(loader.metaData().value("IID").toString(), QString(FormPost_iid));
    QVERIFY2(loader.load(), qPrintable(loader.errorString()));
    QPointer<QObject> instance = loader.instance();
    QVERIFY(instance);
    QCOMPARE(loader.instance(), instance.data());
    QCOMPARE(instance->metaObject()->className(), "FormPostPlugin");
    auto *poster = qobject_cast<FormPost *>(instance);
    QVERIFY(poster);

    FakeHttpPeer peer;
    peer.setAnswer(200, "ok 1");
    poster->addField("artist", "me");
    QNetworkReply *reply = poster->post(peer.url("/songs/upload.php"));
    QVERIFY(waitFinished(reply));
    QCOMPARE(poster->response(), QByteArray("ok 1"));
    QCOMPARE(peer.requests().size(), 1);
    const QByteArray boundary = boundaryOf(peer.requests().first());
    QCOMPARE(peer.requests().first().body,
             "--" + boundary + "\r\n" + fieldPart("artist", "me", true) + closing(boundary));

    // Deleting the instance lets the entry point make a fresh one.
    delete instance;
    QVERIFY(loader.instance());
    QVERIFY(qobject_cast<FormPost *>(loader.instance()));
}

QTEST_MAIN(TestFormPost)
#include "tst_formpost.moc"
