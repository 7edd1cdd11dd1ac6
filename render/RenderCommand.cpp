#include "render/RenderCommand.h"

#include "model/SongModel.h"
#include "model/SongRenderer.h"
#include "model/SongSchedule.h"
#include "render/SongJson.h"
#include "script/SongFile.h"
#include "sound/WaveFile.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTextStream>

#include <limits>

namespace {
const QString ProgramName = QStringLiteral("kavendra-render");

// A whole number from min to max, or nothing.
std::optional<int> number(const QString &text, int min, int max)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= min && value <= max ? std::optional<int>(value) : std::nullopt;
}

// Why the file cannot be read; empty when it can.
QString outOfRange(const QString &option, const QString &value, int min, int max)
{
    const QString upTo = max == std::numeric_limits<int>::max()
                             ? QStringLiteral("%1 or more").arg(min)
                             : QStringLiteral("from %1 to %2").arg(min).arg(max);
    return QStringLiteral("--%1 takes a whole number %2, not '%3'").arg(option, upTo, value);
}
} // namespace

RenderCommand::RenderCommand(QTextStream &out, QTextStream &err) : m_out(out), m_err(err) {}

int RenderCommand::run(const QStringList &arguments)
{
    Request request;
    QString reason;
    if (!parse(arguments, &request, &reason)) {
        if (reason.isEmpty())
            return Success; // help or version printed
        m_err << ProgramName << ": " << reason << " (see " << ProgramName << " --help)" << Qt::endl;
        return UsageError;
    }
    SongModel song;
    if (!readSong(request.song, &song))
        return Failure;
    if (request.tempo)
        song.setTempo(*request.tempo);
    if (request.beats)
        song.setBeats(*request.beats);
    if (request.info) {
        m_out << QJsonDocument(SongJson::describe(song)).toJson();
        m_out.flush();
        return Success;
    }
    // A slip of the keyboard must not put a sound in the place of the song.
    if (QFileInfo(request.output).canonicalFilePath() ==
        QFileInfo(request.song).canonicalFilePath())
        return fail(QStringLiteral("Cannot write %1: it is the song itself").arg(request.output));
    return request.button ? renderButton(song, request) : renderSong(song, request);
}

bool RenderCommand::parse(const QStringList &arguments, Request *request, QString *reason)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Renders a song (.kds) as the player plays it into a WAV file."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Write the sound to OUT.wav."),
                                    QStringLiteral("OUT.wav"));
    const QCommandLineOption tempo(QStringLiteral("tempo"),
                                   QStringLiteral("Beats per minute instead of the song's."),
                                   QStringLiteral("BPM"));
    const QCommandLineOption beats(QStringLiteral("beats"),
                                   QStringLiteral("Beats per tap order entry instead of the "
                                                  "song's."),
                                   QStringLiteral("N"));
    const QCommandLineOption button(QStringLiteral("button"),
                                    QStringLiteral("Render only the sound of button N."),
                                    QStringLiteral("N"));
    const QCommandLineOption info(QStringLiteral("info"),
                                  QStringLiteral("Print the song as JSON instead of rendering."));
    parser.addOptions({output, tempo, beats, button, info});
    parser.addPositionalArgument(QStringLiteral("SONG"), QStringLiteral("The song file (.kds)."));

    reason->clear();
    if (!parser.parse(arguments)) {
        *reason = parser.errorText();
        return false;
    }
    if (parser.isSet(help) || parser.isSet(version)) {
        m_out << (parser.isSet(help) ? parser.helpText()
                                     : ProgramName + QLatin1Char(' ') +
                                           QCoreApplication::applicationVersion() + '\n');
        m_out.flush();
        return false;
    }
    const QStringList songs = parser.positionalArguments();
    request->info = parser.isSet(info);
    request->output = parser.value(output);
    if (songs.size() != 1)
        *reason = songs.isEmpty() ? QStringLiteral("no song named")
                                  : QStringLiteral("one song at a time");
    else if (request->info && parser.isSet(output))
        *reason = QStringLiteral("--info prints the song and writes no sound: leave out -o");
    else if (!request->info && request->output.isEmpty())
        *reason = QStringLiteral("no output named: -o OUT.wav");
    const struct
    {
        const QCommandLineOption &option;
        std::optional<int> &value;
        int min;
        int max;
    } numbers[] = {
        {tempo, request->tempo, SongSchedule::MinTempo, SongSchedule::MaxTempo},
        {beats, request->beats, SongSchedule::MinBeats, SongSchedule::MaxBeats},
        {button, request->button, 1, std::numeric_limits<int>::max()},
    };
    for (const auto &n : numbers) {
        if (!reason->isEmpty() || !parser.isSet(n.option))
            continue;
        const QString text = parser.value(n.option);
        n.value = number(text, n.min, n.max);
        if (!n.value)
            *reason = outOfRange(n.option.names().constFirst(), text, n.min, n.max);
    }
    if (reason->isEmpty())
        request->song = songs.constFirst();
    return reason->isEmpty();
}

// A file that holds no sound button is no song, as when the program loads it. A pipe or a device
// is refused before it is opened, so the command never waits on one.
bool RenderCommand::readSong(const QString &path, SongModel *song)
{
    Song read;
    QString why;
    if (SongFile::read(path, SongModel::Capacity, &read, &why)) {
        song->loadSong(read);
        if (song->numbers().isEmpty())
            why = QStringLiteral("it holds no sound buttons");
    }
    if (why.isEmpty())
        return true;
    complain(QStringLiteral("Cannot read %1: %2").arg(path, why));
    return false;
}

int RenderCommand::renderSong(const SongModel &song, const Request &request)
{
    const SongSchedule schedule = song.schedule();
    if (schedule.entries().isEmpty())
        return fail(QStringLiteral("%1: its tap order plays no button").arg(request.song));
    SongRenderer renderer;
    const int code = writeWave(request.output, renderer.renderSong(song, schedule));
    // A failure stays one line.
    if (code == Success && !schedule.skipped().isEmpty())
        complain(QStringLiteral("left out of the tap order, as no button has their number: ") +
                 schedule.skipped().join(QStringLiteral(", ")));
    return code;
}

int RenderCommand::renderButton(const SongModel &song, const Request &request)
{
    if (!song.button(*request.button))
        return fail(QStringLiteral("%1 has no button %2").arg(request.song).arg(*request.button));
    SongRenderer renderer;
    return writeWave(request.output, renderer.renderButton(song, *request.button));
}

int RenderCommand::writeWave(const QString &path, const QByteArray &pcm)
{
    QString error;
    if (!WaveFile::write(path, SongRenderer::sampleRate(), pcm, &error))
        return fail(error);
    return Success;
}

void RenderCommand::complain(const QString &message)
{
    m_err << ProgramName << ": " << message << Qt::endl;
}

int RenderCommand::fail(const QString &message)
{
    complain(message);
    return Failure;
}
