#include "SyntheticWave.h"
#include "sound/NoteReader.h"

#include <QTemporaryDir>
#include <QtTest>

#include <vector>

namespace {

constexpr int Cap = NoteBank::BufferSize;
constexpr int Guard = 64;
constexpr double GuardValue = 7.0;

// A placement/scratch buffer pair with a guard zone behind each, to catch writes past the end.
struct Buffers
{
    std::vector<double> placement = guarded();
    std::vector<double> scratch = guarded();

    static std::vector<double> guarded()
    {
        std::vector<double> v(Cap + Guard, 0.0);
        std::fill(v.begin() + Cap, v.end(), GuardValue);
        return v;
    }
    bool guardsIntact() const
    {
        auto intact = [](const std::vector<double> &v) {
            return std::all_of(v.begin() + Cap, v.end(), [](double x) { return x == GuardValue; });
        };
        return intact(placement) && intact(scratch);
    }
    int read(const NoteRequest &request)
    {
        return readNote(request, placement.data(), scratch.data());
    }
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

    void unreadableSampleLeavesBuffersAlone()
    {
        for (const QString &name :
             {QString(":/raw/a40.wav"), path("missing.wav"), path("stub.wav"), QString()}) {
            Buffers b;
            b.placement[5] = 3.0;
            QCOMPARE(b.read(request(name, {0.0}, 1.0)), -1);
            QCOMPARE(b.placement[5], 3.0);
            QVERIFY(std::all_of(b.scratch.begin(), b.scratch.begin() + Cap,
                                [](double x) { return x == 0.0; }));
        }
    }

    void ringFractionShortensAndFades()
    {
        Buffers b;
        QCOMPARE(b.read(request(path("ramp.wav"), {0.25}, 0.5)), 4000 + 24000);
        QCOMPARE(b.placement[3999], 0.0);
        QCOMPARE(b.placement[4000], double(m_ramp[0]));
        QCOMPARE(b.placement[4000 + 23999], double(m_ramp[23999]) / 24000.0);
        QCOMPARE(b.placement[4000 + 12000], double(m_ramp[12000]) * 12000.0 / 24000.0);
        QCOMPARE(b.placement[4000 + 24000], 0.0);
        QVERIFY(b.guardsIntact());
    }

    void ringFractionZeroPlacesNothing()
    {
        Buffers b;
        QCOMPARE(b.read(request(path("ramp.wav"), {0.1, 0.3}, 0.0)), 4800);
        QVERIFY(std::all_of(b.placement.begin(), b.placement.begin() + Cap,
                            [](double x) { return x == 0.0; }));
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
        Buffers b;
        QCOMPARE(b.read(request(path("ramp.wav"), {first, second}, 1.0)), 8000 + 48000);
        const double L = 48000.0;
        QCOMPARE(b.placement[0], double(m_ramp[0]));
        QCOMPARE(b.placement[7999], double(m_ramp[7999]) * (L - 7999) / L);
        QCOMPARE(b.placement[8000], double(m_ramp[0]));
        QCOMPARE(b.placement[8000 + 47999], double(m_ramp[47999]) / L);
        QCOMPARE(b.placement[8000 + 48000], 0.0);
    }

    void copiesBeyondTheBufferAreCut()
    {
        Buffers b;
        // Starts at 7.9 s: only 1,600 positions fit; the return value still tells the true end.
        QCOMPARE(b.read(request(path("ramp.wav"), {7.9, 0.0}, 1.0)), 126400 + 48000);
        QCOMPARE(b.placement[Cap - 1], double(m_ramp[1599]) * (48000.0 - 1599) / 48000.0);
        QVERIFY(b.guardsIntact());

        Buffers far;
        QCOMPARE(far.read(request(path("ramp.wav"), {100.0}, 1.0)), 1600000 + 48000);
        QVERIFY(far.guardsIntact());
    }

    void ringLongerThanRecordingRingsIntoSilence()
    {
        Buffers b;
        QCOMPARE(b.read(request(path("ramp.wav"), {0.0}, 2.0)), 96000);
        QCOMPARE(b.placement[47999], double(m_ramp[47999]) * (96000.0 - 47999) / 96000.0);
        QCOMPARE(b.placement[48000], 0.0);
        QCOMPARE(b.placement[95999], 0.0);

        Buffers huge;
        QCOMPARE(huge.read(request(path("ramp.wav"), {0.0}, 1e9)), INT_MAX);
        QVERIFY(huge.guardsIntact());
    }

    void dataSizeBeyondTheFileReadsWhatIsThere()
    {
        Buffers b;
        QCOMPARE(b.read(request(path("short.wav"), {0.0}, 1.0)), 1000);
        QCOMPARE(b.placement[999], double(m_ramp[999]) / 1000.0);
        QCOMPARE(b.placement[1000], 0.0);
    }

    void startsBeforeZeroAreTakenAsZero()
    {
        Buffers b;
        QCOMPARE(b.read(request(path("ramp.wav"), {-2.0}, 0.5)), 24000);
        QCOMPARE(b.placement[0], double(m_ramp[0]));
    }

    void bankSamplesAreResources()
    {
        Buffers b;
        QCOMPARE(b.read(request(":/raw/a00.wav", {0.0}, 1.0)), 48000);
        QVERIFY(b.placement[0] != 0.0);
    }
};

QTEST_GUILESS_MAIN(TestNoteReader)
#include "tst_notereader.moc"
