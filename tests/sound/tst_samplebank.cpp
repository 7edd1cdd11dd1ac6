#include "sound/NoteReader.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <cmath>
#include <vector>

namespace {

constexpr double E2 = 82.4069; // note index 0, the open sixth string
constexpr int Rate = 16000;
constexpr int MinSamples = 47270;
constexpr int MaxSamples = 48000;
constexpr double PitchToleranceCents = 10.0;
constexpr double OctaveToleranceCents = 50.0;
constexpr int AttackWindow = 1600;   // 0.1 s
constexpr int SettledWindow = 24000; // 1.5 s

QByteArray canonicalHeader(quint32 samples)
{
    QByteArray h(
        "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x80\x3e\0\0\0\x7d\0\0\x02\0\x10\0data\0\0\0\0",
        44);
    qToLittleEndian<quint32>(2 * samples + 36, h.data() + 4);
    qToLittleEndian<quint32>(2 * samples, h.data() + 40);
    return h;
}

// YIN's cumulative-mean-normalised difference over a window of x from begin, lags 0 .. maxLag + 1.
std::vector<double> normalisedDifference(const std::vector<double> &x, int begin, int maxLag)
{
    const int window = 4096;
    std::vector<double> d(maxLag + 2, 0.0);
    for (int lag = 1; lag <= maxLag + 1; ++lag)
        for (int i = begin; i < begin + window; ++i) {
            const double diff = x[i] - x[i + lag];
            d[lag] += diff * diff;
        }
    std::vector<double> normalised(maxLag + 2, 1.0);
    double running = 0.0;
    for (int lag = 1; lag <= maxLag + 1; ++lag) {
        running += d[lag];
        normalised[lag] = running > 0.0 ? d[lag] * lag / running : 1.0;
    }
    return normalised;
}

// Frequency of the dip at lag, refined to a fraction of a sample.
double refined(const std::vector<double> &n, int lag)
{
    const double a = n[lag - 1], b = n[lag], c = n[lag + 1];
    return Rate / (lag + (a - c) / (2.0 * (a - 2.0 * b + c)));
}

// Unguided estimate: the first clear dip, as YIN picks it; tells the octave.
double firstDipFrequency(const std::vector<double> &x, int begin)
{
    const int maxLag = Rate / 70;
    const std::vector<double> n = normalisedDifference(x, begin, maxLag);
    for (int lag = Rate / 1000; lag <= maxLag; ++lag) {
        if (n[lag] >= 0.2)
            continue;
        while (lag < maxLag && n[lag + 1] < n[lag])
            ++lag;
        return refined(n, lag);
    }
    return 0.0;
}

// Precise estimate: the deepest dip within half an octave of the expected period.
double frequencyNear(const std::vector<double> &x, int begin, double expected)
{
    const int low = int(Rate / expected / std::sqrt(2.0));
    const int high = int(Rate / expected * std::sqrt(2.0)) + 1;
    const std::vector<double> n = normalisedDifference(x, begin, high);
    int best = low;
    for (int lag = low; lag <= high; ++lag)
        if (n[lag] < n[best])
            best = lag;
    return refined(n, best);
}

double centsBetween(double measured, double expected)
{
    return 1200.0 * std::log2(measured / expected);
}

} // namespace

class TestSampleBank : public QObject
{
    Q_OBJECT

private slots:
    void bankHoldsExactlyTheNamedFiles()
    {
        const QStringList files = QDir(":/raw").entryList(QDir::Files, QDir::Name);
        QStringList expected;
        for (int gt = 0; gt < 3; ++gt)
            for (int note = 0; note < NoteBank::NoteCount; ++note)
                expected << sampleName(gt, note, QString()).toLower();
        expected.sort();
        QCOMPARE(files, expected);
    }

    void everyFileIsACanonicalNoteAtItsPitch_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("frequency");
        for (int gt = 0; gt < 3; ++gt)
            for (int note = 0; note < NoteBank::NoteCount; ++note) {
                const QString name = sampleName(gt, note, NoteBank::SamplePrefix);
                QTest::newRow(qPrintable(name)) << name << E2 * std::pow(2.0, note / 12.0);
            }
    }
    void everyFileIsACanonicalNoteAtItsPitch()
    {
        QFETCH(QString, name);
        QFETCH(double, frequency);
        QFile file(name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const int samples = (bytes.size() - 44) / 2;
        QVERIFY(samples >= MinSamples && samples <= MaxSamples);
        QCOMPARE(bytes.size(), 44 + 2 * samples);
        QCOMPARE(bytes.left(44), canonicalHeader(samples));

        std::vector<double> x(samples);
        int peak = 0;
        for (int i = 0; i < samples; ++i) {
            const qint16 v = qFromLittleEndian<qint16>(bytes.constData() + 44 + 2 * i);
            x[i] = v;
            peak = std::max(peak, std::abs(int(v)));
        }
        QVERIFY2(peak < 32767, "clipped");
        QVERIFY2(peak > 3000, "nearly silent");
        // The octave from the attack, where the fundamental is strongest; the exact pitch once the
        // note has settled (the distorted patch starts up to 25 cents sharp).
        const double attack = firstDipFrequency(x, AttackWindow);
        QVERIFY2(std::abs(centsBetween(attack, frequency)) <= OctaveToleranceCents,
                 qPrintable(QString("attack at %1 Hz").arg(attack)));
        const double settled = frequencyNear(x, SettledWindow, frequency);
        const double cents = centsBetween(settled, frequency);
        QVERIFY2(std::abs(cents) <= PitchToleranceCents,
                 qPrintable(QString("%1 Hz, %2 cents off").arg(settled).arg(cents)));
    }
};

QTEST_GUILESS_MAIN(TestSampleBank)
#include "tst_samplebank.moc"
