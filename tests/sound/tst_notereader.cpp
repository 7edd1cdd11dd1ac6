#include "SyntheticWave.h"
#include "sound/NoteReader.h"

#include <QTemporaryDir>
#include <QtTest>

#include <vector>

namespace {

constexpr int Cap = NoteBank::BufferSize;
constexpr int Guard = 64;
constexpr double GuardValue = 7.0;

// A mix with a guard zone behind it, to catch writes past the end.
struct Mix
{
    std::vector<double> samples = std::vector<double>(Cap + Guard, 0.0);

    Mix() { std::fill(samples.begin() + Cap, samples.end(), GuardValue); }
    bool guardIntact() const
    {
        return std::all_of(samples.begin() + Cap, samples.end(),
                           [](double x) { return x == GuardValue; });
    }
    int read(const NoteRequest &request) { return readNote(request, samples.data()); }
    double operator[](int i) const { return samples[i]; }
};

NoteRequest request(const QString &name, std::initializer_list<double> starts, double ring)
{
    NoteRequest r;
    r.sampleName = name;
    r.copyCount = 0;
    for (double t : starts)
        r.startTimes[r.copyCount++] = t;
    r.ringFraction = ring;
    return r;
}

} // namespace

class TestNoteReader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QVector<qint16> m_ramp; // 48,000 distinct values
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (int i = 0; i < 48000; ++i)
            m_ramp.append(qint16(i % 30000 + 1));
        QVERIFY(writeSyntheticWave(path("ramp.wav"), m_ramp));
        // Header claims 48,000 samples, the file holds 1,000.
        QVERIFY(writeSyntheticWave(path("short.wav"), m_ramp.mid(0, 1000), 96000));
        QFile stub(path("stub.wav"));
        QVERIFY(stub.open(QIODevice::WriteOnly) && stub.write("RIFF\0\0\0\0WAVE", 12) == 12);
    }

    void namesFollowTimbreStringAndFret_data()
    {
        QTest::addColumn<int>("gt");
        QTest::addColumn<int>("string");
        QTest::addColumn<int>("fret");
        QTest::addColumn<QString>("name");
        QTest::newRow("clean, sixth string, fret 3") << 1 << 5 << 3 << ":/raw/c03.wav";
        QTest::newRow("distorted, first string, fret 12") << 2 << 0 << 12 << ":/raw/d36.wav";
        QTest::newRow("acoustic, fourth string, open") << 0 << 3 << 0 << ":/raw/a10.wav";
        QTest::newRow("second string, fret 1") << 0 << 1 << 1 << ":/raw/a20.wav";
        QTest::newRow("first string, fret 16") << 0 << 0 << 16 << ":/raw/a40.wav";
        QTest::newRow("no such timbre") << 3 << 0 << 0 << "";
        QTest::newRow("negative timbre") << -1 << 0 << 0 << "";
        QTest::newRow("muted string") << 0 << 2 << -1 << "";
    }
    void namesFollowTimbreStringAndFret()
    {
        QFETCH(int, gt);
        QFETCH(int, string);
        QFETCH(int, fret);
        QFETCH(QString, name);
        QCOMPARE(sampleName(gt, noteIndex(string, fret), NoteBank::SamplePrefix), name);
    }

    void unreadableSampleLeavesTheMixAlone()
    {
        for (const QString &name :
             {QString(":/raw/a40.wav"), path("missing.wav"), path("stub.wav"), QString()}) {
            Mix m;
            m.samples[5] = 3.0;
            QCOMPARE(m.read(request(name, {0.0}, 1.0)), -1);
            QCOMPARE(m[5], 3.0);
            QCOMPARE(std::count(m.samples.begin(), m.samples.begin() + Cap, 0.0), Cap - 1);
        }
    }

    void ringFractionShortensAndFades()
    {
        Mix m;
        QCOMPARE(m.read(request(path("ramp.wav"), {0.25}, 0.5)), 4000 + 24000);
        QCOMPARE(m[3999], 0.0);
        QCOMPARE(m[4000], double(m_ramp[0]));
        QCOMPARE(m[4000 + 23999], double(m_ramp[23999]) / 24000.0);
        QCOMPARE(m[4000 + 12000], double(m_ramp[12000]) * 12000.0 / 24000.0);
        QCOMPARE(m[4000 + 24000], 0.0);
        QVERIFY(m.guardIntact());
    }

    void notesAddToWhatIsMixed()
    {
        Mix m;
        m.samples[4000] = 0.5;
        m.samples[4001] = -0.25;
        QCOMPARE(m.read(request(path("ramp.wav"), {0.25}, 1.0)), 4000 + 48000);
        QCOMPARE(m[4000], 0.5 + double(m_ramp[0]));
        QCOMPARE(m[4001], -0.25 + double(m_ramp[1]) * 47999.0 / 48000.0);
    }

    void ringFractionZeroAddsNothing()
    {
        Mix m;
        QCOMPARE(m.read(request(path("ramp.wav"), {0.1, 0.3}, 0.0)), 4800);
        QCOMPARE(std::count(m.samples.begin(), m.samples.begin() + Cap, 0.0), Cap);
    }

    void laterCopyCutsEarlierOne_data()
    {
        QTest::addColumn<double>("first");
        QTest::addColumn<double>("second");
        QTest::newRow("in order") << 0.0 << 0.5;
        QTest::newRow("reversed") << 0.5 << 0.0;
    }
    void laterCopyCutsEarlierOne()
    {
        QFETCH(double, first);
        QFETCH(double, second);
        Mix m;
        QCOMPARE(m.read(request(path("ramp.wav"), {first, second}, 1.0)), 8000 + 48000);
        const double L = 48000.0;
        QCOMPARE(m[0], double(m_ramp[0]));
        QCOMPARE(m[7999], double(m_ramp[7999]) * (L - 7999) / L);
        QCOMPARE(m[8000], double(m_ramp[0]));
        QCOMPARE(m[8000 + 47999], double(m_ramp[47999]) / L);
        QCOMPARE(m[8000 + 48000], 0.0);
    }

    void copiesBeyondTheBufferAreCut()
    {
        Mix m;
        // Starts at 7.9 s: only 1,600 positions fit; the return value still tells the true end.
        QCOMPARE(m.read(request(path("ramp.wav"), {7.9, 0.0}, 1.0)), 126400 + 48000);
        QCOMPARE(m[Cap - 1], double(m_ramp[1599]) * (48000.0 - 1599) / 48000.0);
        QVERIFY(m.guardIntact());

        Mix far;
        QCOMPARE(far.read(request(path("ramp.wav"), {100.0}, 1.0)), 1600000 + 48000);
        QVERIFY(far.guardIntact());
    }

    void ringLongerThanRecordingRingsIntoSilence()
    {
        Mix m;
        QCOMPARE(m.read(request(path("ramp.wav"), {0.0}, 2.0)), 96000);
        QCOMPARE(m[47999], double(m_ramp[47999]) * (96000.0 - 47999) / 96000.0);
        QCOMPARE(m[48000], 0.0);
        QCOMPARE(m[95999], 0.0);

        Mix huge;
        QCOMPARE(huge.read(request(path("ramp.wav"), {0.0}, 1e9)), INT_MAX);
        QVERIFY(huge.guardIntact());
    }

    void dataSizeBeyondTheFileReadsWhatIsThere()
    {
        Mix m;
        QCOMPARE(m.read(request(path("short.wav"), {0.0}, 1.0)), 1000);
        QCOMPARE(m[999], double(m_ramp[999]) / 1000.0);
        QCOMPARE(m[1000], 0.0);
    }

    void startsBeforeZeroAreTakenAsZero()
    {
        Mix m;
        QCOMPARE(m.read(request(path("ramp.wav"), {-2.0}, 0.5)), 24000);
        QCOMPARE(m[0], double(m_ramp[0]));
    }

    void bankSamplesAreResources()
    {
        Mix m;
        QCOMPARE(m.read(request(":/raw/a00.wav", {0.0}, 1.0)), 48000);
        QVERIFY(m[0] != 0.0);
    }
};

QTEST_GUILESS_MAIN(TestNoteReader)
#include "tst_notereader.moc"
