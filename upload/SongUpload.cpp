#include "upload/SongUpload.h"

#include "model/SongModel.h"
#include "upload/FormPostPlugin.h"
#include "upload/Log.h"

#include <QDir>
#include <QFile>
#include <QNetworkReply>
#include <QTemporaryDir>

namespace {
const QString DefaultUploadUrl = QStringLiteral("http://127.0.0.1:8080/songs/upload.php");
const char *const UploadUrlVariable = "KAVENDRA_UPLOAD_URL";
const QString UploadUserAgent = QStringLiteral("Apache-HttpClient/UNAVAILABLE (java 1.4)");
const QString UploadContentType = QStringLiteral("multipart/form-data");
const QString ScriptSuffix = QStringLiteral(".kds");
const QString TempDirTemplate = QStringLiteral("kavendra-upload-XXXXXX");
const QString NotSent = QStringLiteral("The song was not uploaded. ");
const QString UploadFailed = QStringLiteral("The upload failed: ");
const QByteArray OkAnswer = "ok ";
constexpr int HttpOk = 200;
// As much of an answer as a toast shows.
constexpr int MaxLineChars = 160;

qsizetype characters(const QString &text)
{
    return text.toUcs4().size();
}

// The first line of the server's answer, without control characters, shortened for a toast.
QString oneLine(const QByteArray &answer)
{
    QString line = QString::fromUtf8(answer).section(QLatin1Char('\n'), 0, 0).trimmed();
    line.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    if (line.size() > MaxLineChars)
        line = line.left(MaxLineChars) + QStringLiteral("…");
    return line;
}

// A double quote would end the file name early in the upload's part header, unescaped there.
bool isUnsafeInFileName(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('/') || c == QLatin1Char('\\') ||
           c == QLatin1Char('"') || c.category() == QChar::Other_Control;
}
} // namespace

SongUpload::SongUpload(QObject *parent)
    : QObject(parent), m_url(qEnvironmentVariable(UploadUrlVariable))
{
    if (m_url.isEmpty())
        m_url = DefaultUploadUrl;
}

QString SongUpload::baseName(const QString &title)
{
    QString name = title;
    for (QChar &c : name) {
        if (isUnsafeInFileName(c))
            c = QLatin1Char('_');
    }
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("_");
    return name;
}

// What the song server would refuse, said before anything is sent; empty when it takes it.
QString SongUpload::refusal(const SongModel &song)
{
    const QList<QPair<SongModel::InfoField, QString>> names = {
        {SongModel::Title, QStringLiteral("title")},
        {SongModel::Artist, QStringLiteral("artist")},
        {SongModel::User, QStringLiteral("user")},
    };
    for (const auto &[field, name] : names) {
        if (characters(song.info(field)) > MaxNameChars)
            return QStringLiteral("The %1 is longer than the song server takes (%2 characters).")
                .arg(name)
                .arg(MaxNameChars);
    }
    if (characters(song.info(SongModel::Lyrics)) > MaxLyricsChars)
        return QStringLiteral("The lyrics are longer than the song server takes (%L1 characters).")
            .arg(MaxLyricsChars);
    return QString();
}

// The song written to a folder that only this user can enter, made for this upload and gone
// once the song is read back: nobody can plant a file or a link in its place. Empty bytes and
// the reason when it could not be written.
QString SongUpload::songFile(const QString &base, const SongWriter &writeSong, QByteArray *bytes)
{
    QTemporaryDir dir(QDir(QDir::tempPath()).filePath(TempDirTemplate));
    if (!dir.isValid())
        return QStringLiteral("No folder for the upload: ") + dir.errorString();
    const QString path = dir.filePath(base + ScriptSuffix);
    if (!writeSong || !writeSong(path))
        return QStringLiteral("The song could not be written.");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("The song could not be read back: ") + file.errorString();
    *bytes = file.read(MaxSongFileBytes + 1);
    if (bytes->size() > MaxSongFileBytes)
        return QStringLiteral("The song file is larger than the song server takes (1 MB).");
    return QString();
}

void SongUpload::submit(const SongModel &song, const SongWriter &writeSong)
{
    const QString title = song.info(SongModel::Title);
    const QString base = baseName(title);
    QByteArray bytes;
    QString refused = refusal(song);
    if (refused.isEmpty())
        refused = songFile(base, writeSong, &bytes);
    if (!refused.isEmpty()) {
        emit finished(false, NotSent + refused);
        return;
    }

    auto *poster = new FormPostPlugin();
    poster->setUserAgent(UploadUserAgent);
    qCDebug(lcUpload) << "exist:onMousePressSubmit-----------";
    poster->addFileData(QStringLiteral("upfile"), bytes, base + ScriptSuffix, UploadContentType);
    poster->addFileData(QStringLiteral("sifile"), bytes, base + ScriptSuffix, UploadContentType);
    poster->addField(QStringLiteral("artist"), song.info(SongModel::Artist));
    poster->addField(QStringLiteral("user"), song.info(SongModel::User));
    poster->addField(QStringLiteral("title"), title);
    poster->addField(QStringLiteral("file"), base);
    poster->addField(QStringLiteral("text"), song.info(SongModel::Lyrics));

    QNetworkReply *reply = poster->post(m_url);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { replyFinished(reply); });
    // An upload still under way when this object goes is dropped with it, unreported.
    connect(this, &QObject::destroyed, poster, [poster, reply] {
        reply->disconnect();
        delete poster;
    });
}

void SongUpload::replyFinished(QNetworkReply *reply)
{
    // Every post has its own network access manager, a child of its poster.
    auto *poster = qobject_cast<FormPostPlugin *>(reply->manager()->parent());
    const QByteArray answer = poster ? poster->response() : QByteArray();
    const QString failure = poster ? poster->failure() : QString();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError)
        qCWarning(lcUpload).noquote() << "upload to" << m_url << "failed:" << reply->errorString();
    qCDebug(lcUpload).noquote() << "upload status" << status
                                << "answer:" << QString::fromUtf8(answer);
    const bool uploaded = failure.isEmpty() && status == HttpOk && answer.startsWith(OkAnswer);
    emit finished(uploaded, resultOf(reply, failure, answer));
    if (poster)
        poster->deleteLater();
}

// Success only for the server's "ok <id>"; otherwise the most telling of the poster's reason,
// the server's answer and the network error.
QString SongUpload::resultOf(QNetworkReply *reply, const QString &failure, const QByteArray &answer)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString line = oneLine(answer);
    if (!failure.isEmpty())
        return UploadFailed + failure + QLatin1Char('.');
    if (status == HttpOk && answer.startsWith(OkAnswer))
        return QStringLiteral("The song was uploaded as song %1.").arg(line.mid(OkAnswer.size()));
    if (status == HttpOk)
        return QStringLiteral("The server gave an answer the program does not understand: ") +
               (line.isEmpty() ? QStringLiteral("(nothing)") : line);
    if (status != 0)
        return QStringLiteral("The server refused the song (%1): %2")
            .arg(status)
            .arg(line.isEmpty() ? reply->errorString() : line);
    return UploadFailed + reply->errorString();
}
