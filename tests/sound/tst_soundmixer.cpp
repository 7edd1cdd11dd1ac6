#include "ReferenceRenderer.h"
#include "SyntheticWave.h"
#include "sound/SoundInfo.h"
#include "sound/SoundMixer.h"

#include <QLoggingCategory>
#include <QMutex>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

constexpr int ClickLength = 3200; // 0.2 s
constexpr double ClickValue = 1000.0;

QStringList g_messages;
QMutex g_messagesLock;

// The audio output's own thread may log at the same moment: keep only our lines, one at a time.
void collect(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (qstrcmp(context.category, "kavendra.sound") != 0)
        return;
    QMutexLocker lock(&g_messagesLock);
    g_messages << message;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

qint16 sampleAt(const QByteArray &wave, int i)
{
    return qFromLittleEndian<qint16>(wave.constData() + 44 + 2 * i);
}

// Sample positions where the mix is not silent.
QList<int> soundingPositions(const WaveBuffer &mix)
{
    QList<int> at;
    for (int i = 0; i < mix.length; ++i)
        if (mix.samples[i] != 0.0)
            at << i;
    return at;
}

} // namespace

class TestSoundMixer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_clicks; // prefix of one-sample clicks: a single value, then silence
    QString m_holds;  // prefix of constant 0.2 s notes
    std::unique_ptr<SoundMixer> m_mixer;
    SoundInfo m_info;

    QString out() const { return m_dir.filePath("out.wav"); }
    bool render(const QString &prefix)
    {
        return m_mixer->render(out(), prefix, &m_info.fret[0][0], m_info.time_offset,
                               m_info.strum_speed, m_info.direction, m_info.hold, m_info.gt);
    }
    void setStroke(int r, std::initializer_list<int> frets)
    {
        std::copy(frets.begin(), frets.end(), m_info.fret[r]);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).mkdir("clicks");
        QDir(m_dir.path()).mkdir("holds");
        m_clicks = m_dir.filePath("clicks") + "/";
        m_holds = m_dir.filePath("holds") + "/";
        for (int note = 0; note < 40; ++note) {
            const QString name = QString::asprintf("a%02d.wav", note);
            QVector<qint16> click(100, 0);
            click[0] = qint16(1000 + 10 * note);
            QVERIFY(writeSyntheticWave(m_clicks + name, click));
            QVERIFY(writeSyntheticWave(m_holds + name, QVector<qint16>(ClickLength, ClickValue)));
        }
        m_mixer = std::make_unique<SoundMixer>();
    }

    void init()
    {
        m_info.reset();
        g_messages.clear();
    }

    void downStrokeStartsSoundingStringsInTurn()
    {
        setStroke(0, {-1, -1, 2, -1, 0, 3}); // strings 6, 5 and 3 sound
        m_info.strum_speed[0] = 10;
        QLoggingCategory::setFilterRules("kavendra.sound.debug=true");
        const auto previous = qInstallMessageHandler(collect);
        QVERIFY(render(m_clicks));
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules("kavendra.sound.debug=false");
        QCOMPARE(soundingPositions(m_mixer->mix()), QList<int>({0, 160, 320}));
        // sixth string (index 3) first, then fifth (index 5 + 0), then third (index 15 + 2)
        const WaveBuffer &mix = m_mixer->mix();
        QVERIFY(mix.samples[0] < mix.samples[160] && mix.samples[160] < mix.samples[320]);
        QCOMPARE(g_messages.count("danger!"), 3);
        QVERIFY(g_messages.contains("fret -1-12-103|-1-1-1-1-1-1|-1-1-1-1-1-1|-1-1-1-1-1-1|"));
        QVERIFY(g_messages.contains("speed 0.01|0|0|0|"));
    }

    void upStrokeStartsWithTheFirstString()
    {
        setStroke(0, {-1, -1, 2, -1, 0, 3});
        m_info.strum_speed[0] = 10;
        m_info.direction[0] = -1;
        QVERIFY(render(m_clicks));
        const WaveBuffer &mix = m_mixer->mix();
        QCOMPARE(soundingPositions(mix), QList<int>({0, 160, 320}));
        QVERIFY(mix.samples[0] > mix.samples[160] && mix.samples[160] > mix.samples[320]);
    }

    void strokesFollowTheirOffsets()
    {
        setStroke(1, {0, -1, -1, -1, -1, -1});
        setStroke(2, {-1, -1, -1, -1, -1, -1}); // silent, still takes its gap
        setStroke(3, {-1, 1, -1, -1, -1, 0});
        m_info.time_offset[0] = 100;
        m_info.time_offset[1] = 50;
        m_info.time_offset[2] = 25;
        m_info.strum_speed[3] = 5;
        QVERIFY(render(m_clicks));
        // stroke 1 at 0.1 s; stroke 3 at 0.175 s, sixth string first, first string 5 ms later
        QCOMPARE(soundingPositions(m_mixer->mix()), QList<int>({1600, 2800, 2880}));
    }

    void sameNoteRestartsDifferentNoteRingsOn()
    {
        setStroke(0, {-1, -1, 2, -1, -1, -1});
        setStroke(1, {-1, -1, 2, -1, -1, -1});
        m_info.time_offset[0] = 100;
        QVERIFY(render(m_holds));
        const WaveBuffer &restart = m_mixer->mix();
        QCOMPARE(restart.length, 1600 + ClickLength);
        QCOMPARE(restart.samples[1599], double(ClickLength - 1599) / ClickLength);
        QCOMPARE(restart.samples[1600], 1.0);

        setStroke(1, {-1, -1, 3, -1, -1, -1});
        QVERIFY(render(m_holds));
        const WaveBuffer &overlap = m_mixer->mix();
        const double peak = ClickValue + ClickValue * (ClickLength - 1600) / ClickLength;
        QCOMPARE(overlap.samples[1600], 1.0);
        QCOMPARE(overlap.samples[1599], ClickValue * (ClickLength - 1599) / ClickLength / peak);
    }

    void holdZeroLastsUntilTheLatestStart()
    {
        setStroke(0, {0, 0, 0, 0, 0, 0});
        setStroke(1, {0, 0, 0, 0, 0, 0});
        m_info.time_offset[0] = 200;
        m_info.strum_speed[1] = 20;
        m_info.hold = 0;
        QVERIFY(render(NoteBank::SamplePrefix));
        QCOMPARE(m_mixer->mix().length, 3200 + 5 * 320);
        const QByteArray wave = fileBytes(out());
        QCOMPARE(wave.size(), 44 + 2 * (3200 + 5 * 320));
        QVERIFY(wave.mid(44) == QByteArray(wave.size() - 44, '\0'));
    }

    void fullChordPeaksAtFullScale()
    {
        setStroke(0, {0, 0, 0, 0, 0, 0});
        QVERIFY(render(NoteBank::SamplePrefix));
        QCOMPARE(m_mixer->mix().length, 48000);
        const QByteArray wave = fileBytes(out());
        QCOMPARE(wave.size(), 44 + 2 * 48000);
        int peak = 0;
        for (int i = 0; i < 48000; ++i)
            peak = std::max(peak, std::abs(int(sampleAt(wave, i))));
        QVERIFY(peak == 32767 || peak == 32768);
    }

    void unknownTimbreWritesAnEmptySound()
    {
        setStroke(0, {0, 0, 0, 0, 0, 0});
        m_info.gt = 3;
        QVERIFY(render(NoteBank::SamplePrefix));
        QCOMPARE(m_mixer->soundType(), 3);
        QCOMPARE(fileBytes(out()).size(), 44);
    }

    void unwritablePathReportsFailure()
    {
        setStroke(0, {0, 0, 0, 0, 0, 0});
        QVERIFY(!m_mixer->render(m_dir.filePath("no/such/dir/out.wav"), NoteBank::SamplePrefix,
                                 &m_info.fret[0][0], m_info.time_offset, m_info.strum_speed,
                                 m_info.direction, m_info.hold, m_info.gt));
    }

    void matchesTheReferenceByteForByte()
    {
        QRandomGenerator random(20261207);
        const double holds[] = {100, 0, 37.5, 150, 100};
        for (int round = 0; round < 40; ++round) {
            SoundInfo s;
            for (int r = 0; r < 4; ++r) {
                for (int j = 0; j < 6; ++j) {
                    const bool repeat = r > 0 && random.bounded(2) == 0;
                    s.fret[r][j] = repeat ? s.fret[r - 1][j] : random.bounded(-2, 19);
                }
                s.strum_speed[r] = random.bounded(3) == 0 ? 0 : random.bounded(400.0);
                s.direction[r] = random.bounded(2) ? 1 : -1;
            }
            for (double &gap : s.time_offset)
                gap = random.bounded(400.0);
            s.hold = round < 5 ? holds[round] : random.bounded(100.0);
            s.gt = round % 3;
            const QByteArray expected =
                referenceRender(NoteBank::SamplePrefix, &s.fret[0][0], s.time_offset, s.strum_speed,
                                s.direction, s.hold, s.gt);
            QVERIFY(m_mixer->render(out(), NoteBank::SamplePrefix, &s.fret[0][0], s.time_offset,
                                    s.strum_speed, s.direction, s.hold, s.gt));
            QVERIFY2(fileBytes(out()) == expected, qPrintable(QString::number(round)));
        }
    }

    void waveBytesAreExact()
    {
        WaveBuffer wave;
        const double values[] = {1.0, -1.0, 0.0, 0.5, 1.5, -2.0, 1.0 / 65536.0};
        wave.length = 7;
        std::copy(std::begin(values), std::end(values), wave.samples);
        QVERIFY(SoundMixer::writeWave(wave, out()));
        const QByteArray expected =
            QByteArray("RIFF\x32\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x80\x3e\0\0\0\x7d\0\0"
                       "\x02\0\x10\0data\x0e\0\0\0",
                       44) +
            QByteArray("\xff\x7f\x00\x80\x00\x00\x00\x40\xff\x7f\x00\x80\x01\x00", 14);
        QCOMPARE(fileBytes(out()), expected);
    }

    void singleNoteGoesToTheWorkingDirectory()
    {
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
        const QString path = SoundMixer::noteFilePath();
        m_mixer->setSoundType(2);
        m_mixer->playNote(0, 5, 0);
        QDir::setCurrent(previous);
        QCOMPARE(path, m_dir.filePath("tmp_sound.wav"));
        QCOMPARE(m_mixer->soundType(), 2);
        SoundInfo openSixth;
        openSixth.reset();
        openSixth.fret[0][5] = 0;
        const QByteArray expected =
            referenceRender(NoteBank::SamplePrefix, &openSixth.fret[0][0], openSixth.time_offset,
                            openSixth.strum_speed, openSixth.direction, 100.0, 0);
        QCOMPARE(fileBytes(path), expected);
    }

    void strumFileIsInAPrivateWritableDirectory()
    {
        const QString path = SoundMixer::strumFilePath();
        QVERIFY(path.endsWith("/kavendra/out.wav"));
        QVERIFY(QFileInfo(QFileInfo(path).path()).isWritable());
    }
};

QTEST_GUILESS_MAIN(TestSoundMixer)
#include "tst_soundmixer.moc"
