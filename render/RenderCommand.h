#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QTextStream;
class SongModel;

// kavendra-render's work, without a display: renders a song file, or one button of it, into a WAV
// file, or prints the song as JSON. Messages go to the given streams, the exit code comes back.
class RenderCommand
{
public:
    enum ExitCode { Success = 0, Failure = 1, UsageError = 2 };

    RenderCommand(QTextStream &out, QTextStream &err);

    // arguments as the program received them, its own name first.
    int run(const QStringList &arguments);

private:
    struct Request
    {
        QString song;
        QString output;
        std::optional<int> tempo;
        std::optional<int> beats;
        std::optional<int> button;
        bool info = false;
    };

    // False with the reason when the arguments are no valid request.
    bool parse(const QStringList &arguments, Request *request, QString *reason);
    bool readSong(const QString &path, SongModel *song);
    int renderSong(const SongModel &song, const Request &request);
    int renderButton(const SongModel &song, const Request &request);
    int writeWave(const QString &path, const QByteArray &pcm);
    void complain(const QString &message);
    int fail(const QString &message);

    QTextStream &m_out;
    QTextStream &m_err;
};
