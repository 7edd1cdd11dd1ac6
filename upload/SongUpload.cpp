#include "upload/SongUpload.h"

#include "model/SongModel.h"
#include "upload/FormPostPlugin.h"
#include "upload/Log.h"

#include <QDir>
#include <QFile>
#include <QNetworkReply>

namespace {
const QString DefaultUploadUrl = QStringLiteral("http://127.0.0.1:8080/songs/upload.php");
const char *const UploadUrlVariable = "KAVENDRA_UPLOAD_URL";
const QString UploadUserAgent = QStringLiteral("Apache-HttpClient/UNAVAILABLE (java 1.4)");
const QString UploadContentType = QStringLiteral("multipart/form-data");
const QString ScriptSuffix = QStringLiteral(".kds");

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

void SongUpload::submit(const SongModel &song, const SongWriter &writeSong)
{
    auto *poster = new FormPostPlugin();
    poster->setUserAgent(UploadUserAgent);

    const QString title = song.info(SongModel::Title);
    const QString base = baseName(title);
    const QString path = QDir(QDir::tempPath()).filePath(base + ScriptSuffix);
    // A save that fails must not leave an older song of the same name to be sent.
    QFile::remove(path);
    if (writeSong && writeSong(path)) {
        qCDebug(lcUpload) << "exist:onMousePressSubmit-----------";
        poster->addFile(QStringLiteral("upfile"), path, UploadContentType);
        poster->addFile(QStringLiteral("sifile"), path, UploadContentType);
    }
    poster->addField(QStringLiteral("artist"), song.info(SongModel::Artist));
    poster->addField(QStringLiteral("user"), song.info(SongModel::User));
    poster->addField(QStringLiteral("title"), title);
    poster->addField(QStringLiteral("file"), base);
    poster->addField(QStringLiteral("text"), song.info(SongModel::Lyrics));

    QNetworkReply *reply = poster->post(m_url);
    connect(reply, &QNetworkReply::finished, this, &SongUpload::replyFinished);
    // An upload still under way when this object goes is dropped with it, unreported.
    connect(this, &QObject::destroyed, poster, [poster, reply] {
        reply->disconnect();
        delete poster;
    });
}

void SongUpload::replyFinished()
{
    auto *reply = qobject_cast<QNetworkReply *>(sender());
    if (!reply)
        return;
    // Every post has its own network access manager, a child of its poster.
    auto *poster = qobject_cast<FormPostPlugin *>(reply->manager()->parent());
    const QByteArray answer = poster ? poster->response() : QByteArray();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError)
        qCWarning(lcUpload).noquote() << "upload to" << m_url << "failed:" << reply->errorString();
    qCDebug(lcUpload).noquote() << "upload status" << status
                                << "answer:" << QString::fromUtf8(answer);
    emit finished(answer);
    if (poster)
        poster->deleteLater();
}
