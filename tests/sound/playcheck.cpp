// Helper of audio_e2e.sh: plays rendered sounds through WavePlayer, records a sink monitor stream
// with arrival times, and checks the recording against the files that were played.
//   playcheck play <dir>                   renders a.wav and b.wav, plays them on <dir>/play.wav
//   playcheck record <out.raw> <times>     copies stdin (16 kHz mono s16) and notes arrival times
//   playcheck check <dir> <rec.raw> <times> <plays>
//   playcheck quiet <file.wav>             plays a file where no audio server runs
#include "sound/SoundInfo.h"
#include "sound/SoundMixer.h"
#include "sound/WavePlayer.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Rate = 16000;
// The program opens its output at start-up, behind a two-second splash; sounds within the first
// second or two of a new stream can start late on PulseAudio.
constexpr int OpenWaitMs = 3000;
constexpr int AfterSoundMs = 700;
constexpr int ReplaceAfterMs = 400;
constexpr double SearchBeforeS = 0.05;
constexpr double SearchAfterS = 0.5;
constexpr int AlignLength = Rate / 2;
constexpr size_t AttackLength = Rate / 50; // the first 20 ms of sound: the pick's attack
constexpr double MinCorrelation = 0.98;
constexpr double MaxOtherCorrelation = 0.5;

qint64 nowUs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

void runFor(int ms)
{
    QTimer::singleShot(ms, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

std::vector<double> waveSamples(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll().mid(44);
    std::vector<double> x(bytes.size() / 2);
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = qFromLittleEndian<qint16>(bytes.constData() + 2 * i);
    return x;
}

SoundInfo chord(int gt, std::initializer_list<int> frets, double speed, int direction)
{
    SoundInfo s;
    s.reset();
    std::copy(frets.begin(), frets.end(), s.fret[0]);
    s.strum_speed[0] = speed;
    s.direction[0] = direction;
    s.hold = 60;
    s.gt = gt;
    return s;
}

// Renders sound i to path, keeps a copy for the check and plays path; logs the play.
void renderAndPlay(SoundMixer &mixer, const QString &dir, int i, QTextStream &log)
{
    static const SoundInfo sounds[] = {chord(0, {0, 1, 0, 2, 3, -1}, 20, 1),
                                       chord(2, {-1, -1, 2, 2, 0, 0}, 0, 1)};
    const SoundInfo &s = sounds[i];
    const QString path = dir + "/play.wav";
    // Every sound goes through the same path: the player must play what is there now.
    mixer.render(path, NoteBank::SamplePrefix, &s.fret[0][0], s.time_offset, s.strum_speed,
                 s.direction, s.hold, s.gt);
    const QString copy = dir + (i == 0 ? "/a.wav" : "/b.wav");
    QFile::remove(copy);
    QFile::copy(path, copy);
    log << "play " << nowUs() << ' ' << copy << Qt::endl;
    WavePlayer::play(path);
}

// a, then b after a has ended; then a again, replaced by b while it plays.
int play(const QString &dir)
{
    SoundMixer mixer; // opens the output, as the main window's mixer does
    QTextStream log(stdout);
    runFor(OpenWaitMs);
    for (int i : {0, 1}) {
        renderAndPlay(mixer, dir, i, log);
        runFor(mixer.mix().length * 1000 / Rate + AfterSoundMs);
    }
    renderAndPlay(mixer, dir, 0, log);
    runFor(ReplaceAfterMs);
    renderAndPlay(mixer, dir, 1, log);
    runFor(mixer.mix().length * 1000 / Rate + AfterSoundMs);
    return 0;
}

int record(const QString &rawPath, const QString &timesPath)
{
    QFile raw(rawPath), times(timesPath);
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

// Normalised correlation of a and b[offset ...] over count samples.
double correlation(const std::vector<double> &a, size_t from, const std::vector<double> &b,
                   qint64 offset, size_t count)
{
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = from; i < from + count; ++i) {
        const qint64 j = offset + qint64(i);
        const double y = j >= 0 && j < qint64(b.size()) ? b[j] : 0.0;
        ab += a[i] * y;
        aa += a[i] * a[i];
        bb += y * y;
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0.0;
}

// Monotonic time (us) at which recorded sample 0 reached the sink's monitor: the least delayed
// chunk tells. The sink renders in blocks, so a chunk's first sample is the one that is on time.
double recordingStart(const QString &timesPath)
{
    QFile file(timesPath);
    file.open(QIODevice::ReadOnly);
    double start = 1e300;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 2)
            start = std::min(start, fields[0].toLongLong() - fields[1].toLongLong() * 1e6 / Rate);
    }
    return start;
}

struct Play
{
    qint64 at;
    QString file;
};

QList<Play> plays(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QList<Play> list;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 3 && fields[0] == "play")
            list << Play{fields[1].toLongLong(), QString::fromLocal8Bit(fields[2])};
    }
    return list;
}

std::vector<double> recording(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray raw = file.readAll();
    std::vector<double> rec(raw.size() / 2);
    for (size_t i = 0; i < rec.size(); ++i)
        rec[i] = qFromLittleEndian<qint16>(raw.constData() + 2 * i);
    return rec;
}

// The recording position where x's first sample landed, searched around the expected one.
qint64 align(const std::vector<double> &x, const std::vector<double> &rec, qint64 expected)
{
    qint64 best = 0;
    double bestC = -1.0;
    const size_t length = std::min<size_t>(AlignLength, x.size());
    for (qint64 at = expected - qint64(SearchBeforeS * Rate);
         at <= expected + qint64(SearchAfterS * Rate); ++at) {
        const double c = correlation(x, 0, rec, at, length);
        if (c > bestC) {
            bestC = c;
            best = at;
        }
    }
    return best;
}

// Each play must be heard as its own file: the whole file, or up to the next play that replaced it.
int check(const QString &dir, const QString &rawPath, const QString &timesPath,
          const QString &playsPath)
{
    const std::vector<double> rec = recording(rawPath);
    const std::vector<double> a = waveSamples(dir + "/a.wav"), b = waveSamples(dir + "/b.wav");
    const double start = recordingStart(timesPath);
    const QList<Play> list = plays(playsPath);
    if (list.size() != 4 || rec.empty()) {
        std::printf("FAIL: %lld plays, %zu recorded samples\n", qint64(list.size()), rec.size());
        return 1;
    }
    bool ok = true;
    for (int i = 0; i < list.size(); ++i) {
        const bool isA = list[i].file.endsWith("/a.wav");
        const std::vector<double> &x = isA ? a : b;
        const std::vector<double> &other = isA ? b : a;
        const qint64 at = align(x, rec, qint64((list[i].at - start) * Rate / 1e6));
        size_t heard = x.size();
        if (i + 1 < list.size()) // replaced: heard until the next sound starts
            heard = std::min<size_t>(heard, (list[i + 1].at - list[i].at) * Rate / 1000000);
        const size_t tail = heard / 10;
        const size_t onset =
            std::find_if(x.begin(), x.end(), [](double v) { return v != 0; }) - x.begin();
        const double attack =
            correlation(x, onset, rec, at, std::min(AttackLength, heard - std::min(heard, onset)));
        const double whole = correlation(x, 0, rec, at, heard);
        const double last = correlation(x, heard - tail, rec, at, tail);
        const double wrong = correlation(other, 0, rec, at, std::min(heard, other.size()));
        const double delayMs = (start + at * 1e6 / Rate - list[i].at) / 1000.0;
        const bool good = attack >= MinCorrelation && whole >= MinCorrelation &&
                          last >= MinCorrelation && wrong <= MaxOtherCorrelation;
        std::printf("play %d (%s, %zu of %zu samples): correlation of the attack %.4f, whole "
                    "%.4f, last tenth %.4f, other sound %.4f; play-to-first-sample delay %.1f ms "
                    "(to within a few ms) %s\n",
                    i + 1, isA ? "a" : "b", heard, x.size(), attack, whole, last, wrong, delayMs,
                    good ? "ok" : "FAIL");
        ok = ok && good;
    }
    return ok ? 0 : 1;
}

int quiet(const QString &path)
{
    WavePlayer::prepare();
    WavePlayer::play(path);
    runFor(300);
    WavePlayer::play(path);
    return 0;
}

int run(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0);
    if (mode == "play" && args.size() == 2)
        return play(args[1]);
    if (mode == "record" && args.size() == 3)
        return record(args[1], args[2]);
    if (mode == "check" && args.size() == 5)
        return check(args[1], args[2], args[3], args[4]);
    if (mode == "quiet" && args.size() == 2)
        return quiet(args[1]);
    std::fprintf(stderr, "usage: playcheck play|record|check|quiet ...\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    // Leaves the way the program does.
    WavePlayer::exitProcess(run(argc, argv));
}
