// Helper of audio_e2e.sh and bench/audio_latency.sh: plays rendered sounds through WavePlayer,
// records a sink's monitor with arrival times, and measures the recording against the files that
// were played. Every player mode logs "play <monotonic us> <file>" lines, the file holding the
// bytes that were played; <rec> names the recorder's files <rec>.raw and <rec>.times.
//   playcheck play <dir>                  a, then b, then a replaced by b while it rings
//   playcheck session                     plays what stdin asks for (see session())
//   playcheck quiet <file.wav>            plays a file (where no audio server runs)
//   playcheck latency <dir>               short sounds from silence, then replacing each other
//   playcheck ring <dir> <seconds>        long sounds back to back, each replacing the last
//   playcheck record <rec>                copies stdin (16 kHz mono s16) and notes arrival times
//   playcheck check <rec> <plays>         every play heard as its own file; replaced ones fade
//   playcheck delays <rec> <plays>        play-to-sound delays, from silence and on replacement
//   playcheck onsets <rec> <plays>        the same for a song's entries, all in one group
//   playcheck gaps <rec> <plays>          silences inside the sounds
#include "sound/SoundInfo.h"
#include "sound/SoundMixer.h"
#include "sound/WavePlayer.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QTextStream>
#include <QtEndian>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Rate = 16000;
constexpr int WaveHeaderSize = 44;
// The recorder's monitor stream delivers in bursts for its first second or two: players wait.
constexpr int OpenWaitMs = 3000;
constexpr int AfterSoundMs = 700;
constexpr int ReplaceAfterMs = 400;
constexpr int LatencyRuns = 10;
constexpr int ReplacementRuns = 20;
constexpr int ReplaceEveryMs = 250;
constexpr int RingEveryMs = 2000;
constexpr int JitterMs = 20; // plays fall at any point of the sink's render cycle
constexpr double SearchBeforeS = 0.05;
constexpr double SearchAfterS = 0.5;
constexpr double ClockWindowS = 1.0;
constexpr int AlignLength = Rate / 2;
constexpr size_t AttackLength = Rate / 50; // the first 20 ms of sound: the pick's attack
constexpr double MinCorrelation = 0.98;
constexpr double MaxOtherCorrelation = 0.5;
// A replaced sound fades out within this; it still sounds at over half its level in the first ms.
constexpr int FadeWindow = Rate / 100;
constexpr int FirstMs = Rate / 1000;
constexpr double MinFadeLevel = 0.5;
// Gaps: 1 ms blocks of digital silence where the sound playing is at least this loud.
constexpr int GapBlock = Rate / 1000;
constexpr double Audible = 100.0;

qint64 nowUs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int jitterMs()
{
    return QRandomGenerator::global()->bounded(JitterMs);
}

std::vector<double> samplesOf(const QByteArray &pcm)
{
    std::vector<double> x(pcm.size() / 2);
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = qFromLittleEndian<qint16>(pcm.constData() + 2 * i);
    return x;
}

std::vector<double> readFile(const QString &path, qint64 skip)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? samplesOf(file.readAll().mid(skip))
                                          : std::vector<double>();
}

double sampleOf(const std::vector<double> &x, qint64 i)
{
    return i >= 0 && i < qint64(x.size()) ? x[i] : 0.0;
}

// Normalised correlation of a[from ...] and b[offset + from ...] over count samples.
double correlation(const std::vector<double> &a, size_t from, const std::vector<double> &b,
                   qint64 offset, size_t count)
{
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = from; i < std::min(from + count, a.size()); ++i) {
        const double y = sampleOf(b, offset + qint64(i));
        ab += a[i] * y;
        aa += a[i] * a[i];
        bb += y * y;
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0.0;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

SoundInfo chord(int gt, std::initializer_list<int> frets, double speed, double hold)
{
    SoundInfo s;
    s.reset();
    std::copy(frets.begin(), frets.end(), s.fret[0]);
    s.strum_speed[0] = speed;
    s.hold = hold;
    s.gt = gt;
    return s;
}

// Renders s to path (through the mixer, as the program does) and returns its length in ms.
int render(SoundMixer &mixer, const SoundInfo &s, const QString &path)
{
    mixer.render(path, NoteBank::SamplePrefix, &s.fret[0][0], s.time_offset, s.strum_speed,
                 s.direction, s.hold, s.gt);
    return mixer.mix().length * 1000 / Rate;
}

void logPlay(QTextStream &log, const QString &file)
{
    log << "play " << nowUs() << ' ' << file << Qt::endl;
}

// a, then b after a has ended; then a again, replaced by b while it plays. Every sound goes
// through the same path: the player must play what is there now.
int play(const QString &dir)
{
    WavePlayer::prepare(); // as the main window's current sound does
    SoundMixer mixer;
    QTextStream log(stdout);
    const QString path = dir + "/play.wav";
    const SoundInfo sounds[] = {chord(0, {0, 1, 0, 2, 3, -1}, 20, 60),
                                chord(2, {-1, -1, 2, 2, 0, 0}, 0, 60)};
    const QString copies[] = {dir + "/a.wav", dir + "/b.wav"};
    const struct
    {
        int sound;
        bool toTheEnd;
    } plays[] = {{0, true}, {1, true}, {0, false}, {1, true}};
    sleepMs(OpenWaitMs);
    for (const auto &p : plays) {
        const int lengthMs = render(mixer, sounds[p.sound], path);
        QFile::remove(copies[p.sound]);
        QFile::copy(path, copies[p.sound]);
        logPlay(log, copies[p.sound]);
        WavePlayer::play(path);
        sleepMs(p.toTheEnd ? lengthMs + AfterSoundMs : ReplaceAfterMs);
    }
    return 0;
}

// Plays what stdin asks for, until it ends: "play <file.wav> <log>" plays the file and appends
// the play to the log.
int session()
{
    char line[4096];
    while (std::fgets(line, sizeof line, stdin)) {
        const QStringList words = QString::fromLocal8Bit(line).trimmed().split(' ');
        if (words.size() != 3 || words[0] != "play")
            continue;
        QFile file(words[2]);
        if (!file.open(QIODevice::Append))
            return 1;
        QTextStream log(&file);
        logPlay(log, words[1]);
        WavePlayer::play(words[1]);
    }
    return 0;
}

int quiet(const QString &path)
{
    WavePlayer::prepare();
    WavePlayer::play(path);
    sleepMs(300);
    WavePlayer::play(path);
    return 0;
}

// Short sounds, each from silence; then the same sounds replacing each other.
int latency(const QString &dir)
{
    WavePlayer::prepare();
    SoundMixer mixer;
    QTextStream log(stdout);
    const QString files[] = {dir + "/a.wav", dir + "/b.wav"};
    const int lengthMs = std::max(render(mixer, chord(0, {0, 1, 0, 2, 3, -1}, 0, 15), files[0]),
                                  render(mixer, chord(2, {-1, -1, 2, 2, 0, 0}, 0, 15), files[1]));
    sleepMs(OpenWaitMs);
    for (int run = 0; run < LatencyRuns; ++run) {
        logPlay(log, files[run % 2]);
        WavePlayer::play(files[run % 2]);
        sleepMs(lengthMs + AfterSoundMs + jitterMs());
    }
    for (int run = 0; run < ReplacementRuns; ++run) {
        logPlay(log, files[run % 2]);
        WavePlayer::play(files[run % 2]);
        sleepMs(ReplaceEveryMs + jitterMs());
    }
    sleepMs(lengthMs + AfterSoundMs);
    return 0;
}

// Long ringing sounds for seconds, each replacing the one before: the output never falls silent.
int ring(const QString &dir, int seconds)
{
    WavePlayer::prepare();
    SoundMixer mixer;
    QTextStream log(stdout);
    const QString files[] = {dir + "/c.wav", dir + "/d.wav"};
    const int lengthMs = std::max(render(mixer, chord(0, {0, 1, 0, 2, 3, -1}, 20, 100), files[0]),
                                  render(mixer, chord(1, {3, 0, 0, 0, 2, 3}, 20, 100), files[1]));
    sleepMs(OpenWaitMs);
    const qint64 end = nowUs() + qint64(seconds) * 1000000;
    for (int run = 0; nowUs() < end; ++run) {
        logPlay(log, files[run % 2]);
        WavePlayer::play(files[run % 2]);
        sleepMs(RingEveryMs + jitterMs());
    }
    sleepMs(lengthMs + AfterSoundMs);
    return 0;
}

int record(const QString &prefix)
{
    QFile raw(prefix + ".raw"), times(prefix + ".times");
    if (!raw.open(QIODevice::WriteOnly) || !times.open(QIODevice::WriteOnly))
        return 1;
    QTextStream timeLog(&times);
    char buffer[256];
    qint64 total = 0;
    for (ssize_t n; (n = read(STDIN_FILENO, buffer, sizeof buffer)) > 0;) {
        const qint64 at = nowUs();
        raw.write(buffer, n);
        timeLog << at << ' ' << total / 2 << '\n'; // the chunk's first sample
        total += n;
    }
    return 0;
}

// A monitor recording with the monotonic time each piece arrived.
struct Recording
{
    std::vector<double> samples;
    std::vector<std::pair<qint64, double>> chunks; // first sample, arrival (us)

    bool load(const QString &prefix)
    {
        samples = readFile(prefix + ".raw", 0);
        QFile file(prefix + ".times");
        file.open(QIODevice::ReadOnly);
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() == 2)
                chunks.emplace_back(fields[1].toLongLong(), fields[0].toDouble());
        }
        return !samples.empty() && !chunks.empty();
    }

    // When sample 0 reached the monitor, judged by the pieces within window of sample n (all when
    // n < 0): the least delayed one tells, as the sink renders in blocks and a piece's first
    // sample is the one on time. Near, because the clocks drift apart over a long recording.
    double startNear(qint64 n, double windowS = ClockWindowS) const
    {
        double start = 1e300;
        for (const auto &[index, arrival] : chunks)
            if (n < 0 || std::abs(index - n) <= windowS * Rate)
                start = std::min(start, arrival - index * 1e6 / Rate);
        return start;
    }

    double timeOf(qint64 n) const { return startNear(n) + n * 1e6 / Rate; }
};

struct Play
{
    qint64 us;
    QString file;
    std::vector<double> x;
    qint64 at = 0;          // where its first sample landed in the recording
    size_t heard = 0;       // samples heard before the next play replaced it
    bool replacing = false; // it cut the play before short
};

QList<Play> loadPlays(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QHash<QString, std::vector<double>> sounds;
    QList<Play> list;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() != 3 || fields[0] != "play")
            continue;
        const QString name = QString::fromLocal8Bit(fields[2]);
        if (!sounds.contains(name))
            sounds[name] = readFile(name, WaveHeaderSize);
        list << Play{fields[1].toLongLong(), name, sounds[name]};
    }
    for (int i = 0; i < list.size(); ++i) {
        list[i].heard = list[i].x.size();
        if (i + 1 < list.size())
            list[i].heard =
                std::min<size_t>(list[i].heard, (list[i + 1].us - list[i].us) * Rate / 1000000);
        list[i].replacing = i > 0 && list[i - 1].heard < list[i - 1].x.size();
    }
    return list;
}

// The recording position where x's first sample landed, searched from first to last.
qint64 align(const std::vector<double> &x, const std::vector<double> &rec, qint64 first,
             qint64 last)
{
    qint64 best = 0;
    double bestC = -1.0;
    const size_t length = std::min<size_t>(AlignLength, x.size());
    for (qint64 at = first; at <= last; ++at) {
        const double c = correlation(x, 0, rec, at, length);
        if (c > bestC) {
            bestC = c;
            best = at;
        }
    }
    return best;
}

// Finds every play in the recording: near its play time, or anywhere for a single play (a young
// monitor stream delivers in bursts); and how much of each was heard before the next one.
void alignAll(QList<Play> &list, const Recording &rec)
{
    const double start = rec.startNear(-1);
    for (Play &p : list) {
        const qint64 expected = qint64((p.us - start) * Rate / 1e6);
        p.at = list.size() == 1 ? align(p.x, rec.samples, 0, qint64(rec.samples.size()))
                                : align(p.x, rec.samples, expected - qint64(SearchBeforeS * Rate),
                                        expected + qint64(SearchAfterS * Rate));
    }
    for (int i = 0; i < list.size(); ++i) {
        Play &p = list[i];
        p.heard = p.x.size();
        if (i + 1 < list.size())
            p.heard = size_t(std::clamp<qint64>(list[i + 1].at - p.at, 0, qint64(p.heard)));
        p.replacing = i > 0 && list[i - 1].heard < list[i - 1].x.size();
    }
}

double delayMs(const Play &p, const Recording &rec)
{
    return (rec.timeOf(p.at) - p.us) / 1000.0;
}

// Under the first ms of a sound that replaced old (aligned at atOld), the old one must go on,
// fading, and be gone after FadeWindow: a fade, not a click. Returns the old sound's level in
// the first ms (1 is unchanged), or -1 if the recording holds anything else there.
double fadeLevel(const Play &p, const Play &old, const std::vector<double> &rec)
{
    double ro = 0, oo = 0;
    for (qint64 k = 0; k < 2 * FadeWindow; ++k) {
        const double o = k < FadeWindow ? sampleOf(old.x, p.at + k - old.at) : 0.0;
        const double r = sampleOf(rec, p.at + k) - sampleOf(p.x, k); // what is not the new sound
        if (std::abs(r) > std::abs(o) + 1)
            return -1;
        if (k < FirstMs) {
            ro += r * o;
            oo += o * o;
        }
    }
    return oo > 0 ? ro / oo : -1;
}

// Each play must be heard as its own file: the whole file, or up to the next play that replaced
// it; a replaced one fades out under the next.
int check(const Recording &rec, QList<Play> &list)
{
    alignAll(list, rec);
    bool ok = true;
    for (int i = 0; i < list.size(); ++i) {
        const Play &p = list[i];
        const std::vector<double> &x = p.x;
        const size_t tail = p.heard / 10;
        // Under a replaced sound's fade the attack is checked by the fade.
        const size_t onset = std::find_if(x.begin(), x.end(), [](double v) { return v != 0; }) -
                             x.begin() + (p.replacing ? FadeWindow : 0);
        const double attack = correlation(x, onset, rec.samples, p.at, AttackLength);
        const double whole = correlation(x, 0, rec.samples, p.at, p.heard);
        const double last = correlation(x, p.heard - tail, rec.samples, p.at, tail);
        double wrong = 0.0; // the other sounds, where this one should be
        for (const Play &o : list)
            if (o.file != p.file)
                wrong = std::max(wrong, correlation(o.x, 0, rec.samples, p.at, p.heard));
        bool good = attack >= MinCorrelation && whole >= MinCorrelation && last >= MinCorrelation &&
                    wrong <= MaxOtherCorrelation;
        std::printf("play %d (%s, %zu of %zu samples): correlation of the attack %.4f, whole "
                    "%.4f, last tenth %.4f, other sound %.4f; play-to-first-sample delay %.1f ms",
                    i + 1, qPrintable(p.file.section('/', -1)), p.heard, x.size(), attack, whole,
                    last, wrong, delayMs(p, rec));
        if (p.replacing) {
            const double level = fadeLevel(p, list[i - 1], rec.samples);
            std::printf("; the replaced sound's level in its first ms %.2f", level);
            good = good && level >= MinFadeLevel;
        }
        std::printf(" %s\n", good ? "ok" : "FAIL");
        ok = ok && good;
    }
    return ok ? 0 : 1;
}

void printDelays(const char *what, const std::vector<double> &ms, double medianTarget,
                 double maxTarget)
{
    const double most = ms.empty() ? 0.0 : *std::max_element(ms.begin(), ms.end());
    std::printf("%s: %zu plays, median %.1f ms, max %.1f ms (targets <= %.0f ms median, <= %.0f "
                "ms max) %s\n  ",
                what, ms.size(), median(ms), most, medianTarget, maxTarget,
                median(ms) <= medianTarget && most <= maxTarget ? "ok" : "MISSED");
    for (double v : ms)
        std::printf(" %.1f", v);
    std::printf("\n");
}

// Play to first sample at the monitor, for plays from silence and for replacements, or for all
// plays as one song, whose entries must each be heard within 5 ms of their time.
int delays(const Recording &rec, QList<Play> &list, bool song)
{
    alignAll(list, rec);
    std::vector<double> fromSilence, replacing;
    int lost = 0;
    for (const Play &p : list) {
        if (correlation(p.x, 0, rec.samples, p.at, p.heard) < MinCorrelation) {
            ++lost;
            continue;
        }
        (p.replacing && !song ? replacing : fromSilence).push_back(delayMs(p, rec));
    }
    if (song) {
        printDelays("onset error", fromSilence, 5, 5);
    } else {
        printDelays("from silence", fromSilence, 5, 5);
        printDelays("replacement", replacing, 5, 15);
    }
    if (lost)
        std::printf("%d plays not heard as played\n", lost);
    return lost ? 1 : 0;
}

// Runs of 1 ms blocks that are digitally silent where the sound playing should be audible.
int gaps(const Recording &rec, QList<Play> &list)
{
    alignAll(list, rec);
    int count = 0, blocks = 0, run = 0, longest = 0;
    for (int i = 0; i < list.size(); ++i) {
        const Play &p = list[i];
        const qint64 end = i + 1 < list.size() ? list[i + 1].at : p.at + qint64(p.x.size());
        for (qint64 b = p.at; b + GapBlock <= end; b += GapBlock) {
            double expected = 0.0, heard = 0.0;
            for (qint64 k = b; k < b + GapBlock; ++k) {
                expected = std::max(expected, std::abs(sampleOf(p.x, k - p.at)));
                heard = std::max(heard, std::abs(sampleOf(rec.samples, k)));
            }
            if (expected >= Audible && heard == 0.0) {
                count += run == 0;
                ++run;
                ++blocks;
                longest = std::max(longest, run);
            } else {
                run = 0;
            }
        }
    }
    const double seconds = double(list.last().at + list.last().x.size() - list.first().at) / Rate;
    std::printf("gaps: %d, %d ms of silence in %.1f s of sound, the longest %d ms (target 0) %s\n",
                count, blocks * GapBlock * 1000 / Rate, seconds, longest * GapBlock * 1000 / Rate,
                count == 0 ? "ok" : "MISSED");
    return 0;
}

int measure(const QString &mode, const QString &prefix, const QString &playsPath)
{
    Recording rec;
    QList<Play> list = loadPlays(playsPath);
    if (!rec.load(prefix) || list.isEmpty()) {
        std::printf("FAIL: %lld plays, %zu recorded samples\n", qint64(list.size()),
                    rec.samples.size());
        return 1;
    }
    if (mode == "check")
        return check(rec, list);
    if (mode == "delays" || mode == "onsets")
        return delays(rec, list, mode == "onsets");
    return gaps(rec, list);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0);
    if (mode == "play" && args.size() == 2)
        return play(args[1]);
    if (mode == "session" && args.size() == 1)
        return session();
    if (mode == "quiet" && args.size() == 2)
        return quiet(args[1]);
    if (mode == "latency" && args.size() == 2)
        return latency(args[1]);
    if (mode == "ring" && args.size() == 3)
        return ring(args[1], args[2].toInt());
    if (mode == "record" && args.size() == 2)
        return record(args[1]);
    if ((mode == "check" || mode == "delays" || mode == "onsets" || mode == "gaps") &&
        args.size() == 3)
        return measure(mode, args[1], args[2]);
    std::fprintf(stderr, "usage: playcheck play|session|quiet|latency|ring|record|check|delays|"
                         "onsets|gaps ...\n");
    return 2;
}
