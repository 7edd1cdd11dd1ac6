#include "tests/upload/FakeHttpPeer.h"
#include "upload/FormPostPlugin.h"

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

// The poster's body framed by the given boundary.
QByteArray bodyOf(FormPostPlugin &poster, const QByteArray &boundary = B)
{
    poster.setBoundarySource([boundary] { return boundary; });
    return poster.multipart().body();
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
    void boundaryOccursInNoPart();
    void postSendsHeadersAndBodyOnTheWire();
    void postEmptiesThePoster();
    void failedTransfersFinish();
    void streamingAnswersAreCut();
    void redirectsStayWithTheServer();
    void pluginLoadsAndPosts();
};

void TestFormPost::bodyOfOneField()
{
    FormPostPlugin poster;
    QCOMPARE(poster.encoding(), QString("utf-8"));
    poster.addField("a", "b");
    const QByteArray utf8 = "--" + B + "\r\n" + fieldPart("a", "b", true) + closing(B);
    QCOMPARE(bodyOf(poster), utf8);

    poster.setEncoding("ascii");
    QCOMPARE(bodyOf(poster), "--" + B + "\r\n" + fieldPart("a", "b", false) + closing(B));

    // U+00E9 is two bytes in UTF-8 and one in Latin-1.
    FormPostPlugin accented;
    accented.addField("t", QString::fromUtf8("caf\xc3\xa9"));
    QCOMPARE(bodyOf(accented),
             "--" + B + "\r\n" + fieldPart("t", "caf\xc3\xa9", true) + closing(B));
    accented.setEncoding("ascii");
    QCOMPARE(bodyOf(accented), "--" + B + "\r\n" + fieldPart("t", "caf\xe9", false) + closing(B));
}

void TestFormPost::bodyOfFilesAndFields()
{
    FormPostPlugin filesOnly;
    filesOnly.addFileData("up", "one\r\n", "a.kds", "multipart/form-data");
    filesOnly.addFileData("si", QByteArray("\0two", 4), "b.kds", "text/plain");
    QCOMPARE(bodyOf(filesOnly),
             "--" + B + "\r\n" + filePart("up", "a.kds", "multipart/form-data", "one\r\n") +
                 "\r\n--" + B + "\r\n" +
                 filePart("si", "b.kds", "text/plain", QByteArray("\0two", 4)) + closing(B));

    // Fields go first whatever the order of adding; names are sent in Latin-1 as quoted strings
    // (a quote or backslash escaped by a backslash, a line break as a space).
    FormPostPlugin mixed;
    mixed.addFileData("up", "x", "f\"1\\\r\n.kds", "text/plain");
    mixed.addField("q\"n", "v");
    mixed.addField(QString::fromUtf8("\xe2\x82\xac"), "w");
    QCOMPARE(bodyOf(mixed), "--" + B + "\r\n" + fieldPart("q\\\"n", "v", true) + "\r\n--" + B +
                                "\r\n" + fieldPart("?", "w", true) + "\r\n--" + B + "\r\n" +
                                filePart("up", "f\\\"1\\\\  .kds", "text/plain", "x") + closing(B));
}

void TestFormPost::bodyWithNothingAdded()
{
    FormPostPlugin poster;
    QCOMPARE(bodyOf(poster), closing(B));
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
    QCOMPARE(bodyOf(poster),
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

void TestFormPost::boundaryOccursInNoPart()
{
    const QByteArray first = "---------------------------111";
    const QByteArray second = "---------------------------222";
    int draws = 0;
    const auto source = [&] { return ++draws == 1 ? first : second; };

    // A file that holds the first boundary drawn forces a second draw.
    MultipartBody form(source);
    form.addField("title", "t");
    form.addFile("upfile", "a.kds", "text/plain", "x\r\n--" + first + "\r\ny");
    QCOMPARE(form.boundary(), second);
    QCOMPARE(form.contentType(), "multipart/form-data; boundary=" + second);
    QCOMPARE(form.body(),
             "--" + second + "\r\n" + fieldPart("title", "t", false) + "\r\n--" + second + "\r\n" +
                 filePart("upfile", "a.kds", "text/plain", "x\r\n--" + first + "\r\ny") +
                 closing(second));
    QCOMPARE(draws, 2);

    // A part added later that holds the boundary in use (here in a name) changes it.
    draws = 0;
    MultipartBody late(source);
    QCOMPARE(late.boundary(), first);
    late.addField("n" + first, "v");
    QCOMPARE(late.boundary(), second);

    // Random boundaries: the browsers' shape, at most 70 characters, different each time.
    const QByteArray random = MultipartBody::randomBoundary();
    QVERIFY(QRegularExpression("^-{27}[1-9][0-9]*$").match(QString::fromLatin1(random)).hasMatch());
    QVERIFY(random.size() <= 70);
    QVERIFY(MultipartBody::randomBoundary() != random);
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

    QNetworkReply *reply = poster.post(peer.url("/songs/upload.php"));
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
    QVERIFY(boundary.startsWith(QByteArray(27, '-')));
    QCOMPARE(request.body, bodyOf(expected, boundary));
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

void TestFormPost::streamingAnswersAreCut()
{
    // A fast stream is cut at the cap, with exactly the cap kept.
    FakeHttpPeer fast;
    fast.setStreaming(16 * 1024, 5);
    FormPostPlugin poster;
    QNetworkReply *reply = poster.post(fast.url("/"));
    QVERIFY(waitFinished(reply));
    QCOMPARE(reply->error(), QNetworkReply::OperationCanceledError);
    QCOMPARE(poster.response().size(), FormPostPlugin::MaxResponseBytes);
    QCOMPARE(poster.failure(), QString("the server's answer was longer than 64 kB"));
    QCOMPARE(FormPostPlugin::MaxResponseBytes, 65536);

    // A slow stream that never goes quiet ends at the time limit, under the cap.
    FakeHttpPeer slow;
    slow.setStreaming(10, 20);
    poster.setTimeLimitMs(400);
    reply = poster.post(slow.url("/"));
    QVERIFY(waitFinished(reply));
    QCOMPARE(reply->error(), QNetworkReply::OperationCanceledError);
    QCOMPARE(poster.failure(), QString("the server took longer than 0.4 s"));
    QVERIFY(!poster.response().isEmpty());
    QVERIFY(poster.response().size() < 1000);

    // A new post starts without the old failure.
    FakeHttpPeer plain;
    reply = poster.post(plain.url("/"));
    QVERIFY(waitFinished(reply));
    QCOMPARE(poster.failure(), QString());
    QCOMPARE(poster.response(), QByteArray("ok 1"));
}

void TestFormPost::redirectsStayWithTheServer()
{
    // Another port is another server: nothing goes there.
    FakeHttpPeer elsewhere;
    FakeHttpPeer redirecting;
    redirecting.setAnswer(307, "",
                          "Location: " + elsewhere.url("/songs/upload.php").toUtf8() + "\r\n");
    FormPostPlugin poster;
    poster.addField("title", "t");
    QNetworkReply *reply = poster.post(redirecting.url("/songs/upload.php"));
    QVERIFY(waitFinished(reply));
    QCOMPARE(redirecting.requests().size(), 1);
    QCoreApplication::processEvents();
    QVERIFY(elsewhere.requests().isEmpty());
    QCOMPARE(reply->error(), QNetworkReply::OperationCanceledError);
    QCOMPARE(poster.failure(), "the server sent the song on to http://127.0.0.1:" +
                                   QString::number(elsewhere.port()) + "; it was not sent there");

    // The same scheme, host and port: followed, the form posted again.
    FakeHttpPeer moved;
    moved.queueAnswer(308, "", "Location: /songs/new.php\r\n");
    moved.setAnswer(200, "ok 3");
    poster.addField("title", "t");
    reply = poster.post(moved.url("/songs/upload.php"));
    QVERIFY(waitFinished(reply));
    QCOMPARE(reply->error(), QNetworkReply::NoError);
    QCOMPARE(poster.response(), QByteArray("ok 3"));
    QCOMPARE(moved.requests().size(), 2);
    QVERIFY(moved.requests().at(1).head.startsWith("POST /songs/new.php "));
    QCOMPARE(moved.requests().at(1).body, moved.requests().at(0).body);
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
