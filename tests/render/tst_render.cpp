// The song render and kavendra-render: a three-button song against the reference renderer's
// sounds joined here at the scheduled cut points, and the command's options and failures.
#include "model/SongModel.h"
#include "model/SongRenderer.h"
#include "script/SongFile.h"
#include "sound/NoteReader.h"

#include "../sound/ReferenceRenderer.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
constexpr int Rate = 16000;
constexpr int FadeFrames = 64; // 4 ms
constexpr rlim_t FileSizeLimit = 4096;
const QString TapOrder = QStringLiteral("0,1,2,7,1,0,,2");
const QList<int> Plays = {1, 2, 3, 2, 1, 3};

SoundInfo chord(int gt, std::initializer_list<int> frets, double speed, double hold)
{
    SoundInfo s;
    s.reset();
    std::copy(frets.begin(), frets.end(), s.fret[0]);
    std::copy(frets.begin(), frets.end(), s.fret[1]);
    s.strum_speed[0] = s.strum_speed[1] = speed;
    s.direction[1] = -1;
    s.time_offset[0] = 180;
    s.hold = hold;
    s.gt = gt;
    return s;
}

// Three timbres; the third rings shorter than an entry, so silence follows it.
const SoundInfo Sounds[3] = {chord(0, {0, 1, 0, 2, 3, -1}, 20, 100),
                             chord(1, {3, 0, 0, 0, 2, 3}, 35, 80),
                             chord(2, {-1, -1, 2, 2, 0, 0}, 0, 8)};

QByteArray referenceSamples(const SoundInfo &s)
{
    return referenceRender(QString::fromLatin1(NoteBank::SamplePrefix), &s.fret[0][0],
                           s.time_offset, s.strum_speed, s.direction, s.hold, s.gt)
        .mid(44);
}

int sampleOf(const QByteArray &pcm, qint64 i)
{
    return i >= 0 && 2 * i + 2 <= pcm.size() ? qFromLittleEndian<qint16>(pcm.constData() + 2 * i)
                                             : 0;
}

// Each entry's sound from its start, rounded to the nearest sample, up to the next start; the one
// before it fades out linearly under its first 4 ms; the last one rings out.
QByteArray referenceSong(int tempo, int beats)
{
    QList<QByteArray> sounds;
    QList<qint64> starts;
    for (int i = 0; i < Plays.size(); ++i) {
        sounds.append(referenceSamples(Sounds[Plays[i] - 1]));
        starts.append(qRound64(i * 60.0 * beats * Rate / tempo));
    }
    const qint64 total = starts.last() + sounds.last().size() / 2;
    QByteArray pcm;
    for (int i = 0; i < Plays.size(); ++i) {
        const qint64 end = i + 1 < Plays.size() ? starts[i + 1] : total;
        for (qint64 f = starts[i]; f < end; ++f) {
            const qint64 k = f - starts[i];
            int v = sampleOf(sounds[i], k);
            if (i > 0 && k < FadeFrames)
                v += sampleOf(sounds[i - 1], f - starts[i - 1]) * int(FadeFrames - k) / FadeFrames;
            char bytes[2];
            qToLittleEndian<qint16>(qint16(qBound(-32768, v, 32767)), bytes);
            pcm.append(bytes, 2);
        }
    }
    return pcm;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Run
{
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Run render(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(KAVENDRA_RENDER), arguments);
    Run run;
    if (!process.waitForFinished(30000))
        return run;
    run.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}
} // namespace

class TestRender : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void songMatchesTheReference();
    void commandMatchesTheReference();
    void commandFailures_data();
    void commandFailures();
    void failedWriteKeepsTheOldFile();
    void infoDescribesTheSong();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    SongModel m_song;
    QString m_songFile;
};

void TestRender::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (int i = 0; i < 3; ++i)
        m_song.addButton(i + 4, Sounds[i]);
    m_song.setInfo(SongModel::Title, QStringLiteral("Three, \"quoted\""));
    m_song.setInfo(SongModel::Artist, QStringLiteral("Trio"));
    m_song.setInfo(SongModel::TapOrder, TapOrder);
    m_song.setTempo(110); // 8727.27 samples an entry
    m_songFile = path(QStringLiteral("three.kds"));
    QString reason;
    QVERIFY2(SongFile::write(m_songFile, m_song.toSong(), &reason), qPrintable(reason));
}

void TestRender::songMatchesTheReference()
{
    SongRenderer renderer;
    QCOMPARE(SongRenderer::sampleRate(), Rate);
    const QByteArray song = renderer.renderSong(m_song, m_song.schedule());
    const QByteArray expected = referenceSong(110, 1);
    QCOMPARE(song.size(), expected.size());
    QVERIFY(song == expected);
    QVERIFY(renderer.renderButton(m_song, 2) == referenceSamples(Sounds[1]));
    QVERIFY(renderer.renderSound(Sounds[2]) == referenceSamples(Sounds[2]));
    QVERIFY(renderer.renderButton(m_song, 4).isEmpty());
    QVERIFY(renderer.renderSong(SongModel(), SongModel().schedule()).isEmpty());
}

void TestRender::commandMatchesTheReference()
{
    const QString out = path(QStringLiteral("song.wav"));
    Run run = render({m_songFile, QStringLiteral("-o"), out});
    QCOMPARE(run.code, 0);
    QCOMPARE(run.err.trimmed(), QByteArray("kavendra-render: left out of the tap order, as no "
                                           "button has their number: 7"));
    QByteArray expected = referenceSong(110, 1);
    QVERIFY(readAll(out) == referenceHeader(expected.size() / 2) + expected);

    run = render({m_songFile, QStringLiteral("--tempo"), QStringLiteral("96"),
                  QStringLiteral("--beats"), QStringLiteral("2"), QStringLiteral("--output"), out});
    QCOMPARE(run.code, 0);
    expected = referenceSong(96, 2);
    QVERIFY(readAll(out) == referenceHeader(expected.size() / 2) + expected);

    run = render(
        {m_songFile, QStringLiteral("--button"), QStringLiteral("3"), QStringLiteral("-o"), out});
    QCOMPARE(run.code, 0);
    QVERIFY(run.err.isEmpty());
    expected = referenceSamples(Sounds[2]);
    QVERIFY(readAll(out) == referenceHeader(expected.size() / 2) + expected);
}

void TestRender::commandFailures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QString song = QStringLiteral("three.kds");
    const QString out = QStringLiteral("out.wav");
    const QString o = QStringLiteral("-o");
    QTest::newRow("missing song") << QStringList{"none.kds", o, out} << 1
                                  << "Cannot read none.kds: No such file or directory.";
    const QString notSong =
        QStringLiteral("It is not a song file but a folder, pipe, device or socket.");
    QTest::newRow("folder") << QStringList{".", o, out} << 1 << "Cannot read .: " + notSong;
    // A pipe nobody writes to: refused, not waited on.
    QTest::newRow("pipe") << QStringList{"pipe.kds", o, out} << 1
                          << "Cannot read pipe.kds: " + notSong;
    QTest::newRow("no buttons") << QStringList{"empty.kds", o, out} << 1
                                << "Cannot read empty.kds: it holds no sound buttons";
    QTest::newRow("no such button")
        << QStringList{song, "--button", "4", o, out} << 1 << "three.kds has no button 4";
    QTest::newRow("output in a file") << QStringList{song, o, "three.kds/out.wav"} << 1
                                      << "Cannot write three.kds/out.wav: Not a directory";
    QTest::newRow("output the song") << QStringList{song, o, "./three.kds"} << 1
                                     << "Cannot write ./three.kds: it is the song itself";
    QTest::newRow("output a folder") << QStringList{song, o, "."} << 1 << "Cannot write .:";
    QTest::newRow("bad option") << QStringList{song, "--loud", o, out} << 2
                                << "Unknown option 'loud'.";
    QTest::newRow("tempo too low") << QStringList{song, "--tempo", "19", o, out} << 2
                                   << "--tempo takes a whole number from 20 to 400, not '19'";
    QTest::newRow("beats too high") << QStringList{song, "--beats", "17", o, out} << 2
                                    << "--beats takes a whole number from 1 to 16, not '17'";
    QTest::newRow("button no number") << QStringList{song, "--button", "x", o, out} << 2
                                      << "--button takes a whole number 1 or more, not 'x'";
    QTest::newRow("no output") << QStringList{song} << 2 << "no output named";
    QTest::newRow("no song") << QStringList{o, out} << 2 << "no song named";
    QTest::newRow("two songs") << QStringList{song, song, o, out} << 2 << "one song at a time";
    QTest::newRow("info and output") << QStringList{song, "--info", o, out} << 2
                                     << "--info prints the song and writes no sound: leave out -o";
}

// One line on standard error, no output file, and the song as it was.
void TestRender::commandFailures()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFile(path(QStringLiteral("empty.kds"))).open(QIODevice::WriteOnly);
    ::mkfifo(QFile::encodeName(path(QStringLiteral("pipe.kds"))).constData(), 0600);
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.start(QStringLiteral(KAVENDRA_RENDER), arguments);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), code);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(err.startsWith(QStringLiteral("kavendra-render: ") + message), qPrintable(err));
    QCOMPARE(err.count(QLatin1Char('\n')), 1);
    QVERIFY(process.readAllStandardOutput().isEmpty());
    QCOMPARE(QDir(m_dir.path()).entryList({"out.wav*"}, QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(SongFile::read(m_songFile, SongModel::Capacity).buttons.size(), 3);
}

// A disk that fills up halfway through (a file size limit, which binds root too): the file that
// was there stays, and no piece of the new one is left beside it.
void TestRender::failedWriteKeepsTheOldFile()
{
    const QString folder = path(QStringLiteral("full"));
    QVERIFY(QDir().mkpath(folder));
    const QString out = folder + QStringLiteral("/old.wav");
    QFile old(out);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    QProcess process;
    process.setChildProcessModifier([] {
        const rlimit limit{FileSizeLimit, FileSizeLimit};
        setrlimit(RLIMIT_FSIZE, &limit);
        signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the program
    });
    process.start(QStringLiteral(KAVENDRA_RENDER), {m_songFile, QStringLiteral("-o"), out});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
             QStringLiteral("kavendra-render: Cannot write %1: File too large\n").arg(out));
    QCOMPARE(readAll(out), QByteArray("old"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"old.wav"});
}

void TestRender::infoDescribesTheSong()
{
    const Run run = render(
        {m_songFile, QStringLiteral("--info"), QStringLiteral("--beats"), QStringLiteral("3")});
    QCOMPARE(run.code, 0);
    QVERIFY(run.err.isEmpty());
    QJsonParseError error;
    const QJsonObject song = QJsonDocument::fromJson(run.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(song["title"].toString(), QStringLiteral("Three, \"quoted\""));
    QCOMPARE(song["artist"].toString(), QStringLiteral("Trio"));
    QCOMPARE(song["user"].toString(), QString());
    QCOMPARE(song["tapOrder"].toString(), TapOrder);
    QCOMPARE(song["plays"].toArray(), QJsonArray({1, 2, 3, 2, 1, 3}));
    QCOMPARE(song["skipped"].toArray(), QJsonArray({"7"}));
    QCOMPARE(song["tempo"].toInt(), 110);
    QCOMPARE(song["beats"].toInt(), 3);
    const QJsonArray buttons = song["buttons"].toArray();
    QCOMPARE(buttons.size(), 3);
    const QJsonObject third = buttons[2].toObject();
    QCOMPARE(third["number"].toInt(), 3);
    QCOMPARE(third["cell"].toObject(), QJsonObject({{"column", 2}, {"row", 0}}));
    QCOMPARE(third["picture"].toInt(), 6);
    QCOMPARE(third["label"].toString(), QStringLiteral("3"));
    const QJsonObject sound = third["sound"].toObject();
    QCOMPARE(sound["gt"].toInt(), 2);
    QCOMPARE(sound["hold"].toDouble(), 8.0);
    QCOMPARE(sound["fret"].toArray()[1].toArray(), QJsonArray({-1, -1, 2, 2, 0, 0}));
    QCOMPARE(sound["time_offset"].toArray(), QJsonArray({180, 0, 0}));
    const QJsonObject second = buttons[1].toObject()["sound"].toObject();
    QCOMPARE(second["strum_speed"].toArray(), QJsonArray({35, 35, 0, 0}));
    QCOMPARE(second["direction"].toArray(), QJsonArray({1, -1, 1, 1}));
}

QTEST_GUILESS_MAIN(TestRender)
#include "tst_render.moc"
