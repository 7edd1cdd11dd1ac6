#include "upload/FormPostPlugin.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {
const QString Utf8 = QStringLiteral("utf-8");
const QString Ascii = QStringLiteral("ascii");
const QString SchemeSeparator = QStringLiteral("://");
// Stands for the scheme's own port when a URL names none.
constexpr int DefaultPort = -1;
} // namespace

FormPostPlugin::FormPostPlugin() : m_encoding(Utf8) {}

QString FormPostPlugin::userAgent()
{
    return m_userAgent;
}

void FormPostPlugin::setUserAgent(QString agent)
{
    m_userAgent = agent;
}

QString FormPostPlugin::referer()
{
    return m_referer;
}

void FormPostPlugin::setReferer(QString referer)
{
    m_referer = referer;
}

QString FormPostPlugin::encoding()
{
    return m_encoding;
}

void FormPostPlugin::setEncoding(QString encoding)
{
    if (encoding == Utf8 || encoding == Ascii)
        m_encoding = encoding;
}

void FormPostPlugin::addField(QString name, QString value)
{
    m_fieldNames.append(name);
    m_fieldValues.append(value);
}

void FormPostPlugin::addFile(QString fieldName, QString fileName, QString mime)
{
    QByteArray data;
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly))
        data = file.readAll();
    addFileData(fieldName, data, fileNameOf(fileName), mime);
}

void FormPostPlugin::addFileData(QString fieldName, QByteArray data, QString fileName, QString mime)
{
    m_fileFieldNames.append(fieldName);
    m_fileContents.append(data);
    m_fileNames.append(fileName);
    m_fileContentTypes.append(mime);
}

QNetworkReply *FormPostPlugin::post(QString url)
{
    const MultipartBody form = multipart();
    const QByteArray data = form.body();
    clearParts();

    auto *manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &FormPostPlugin::readData);

    QNetworkRequest request{QUrl(url)};
    // Without "://" there is no host to name; the transfer then fails on its own.
    const QString host = hostOf(url);
    if (!host.isEmpty())
        request.setRawHeader("Host", host.toLatin1());
    if (!m_userAgent.isEmpty())
        request.setRawHeader("User-Agent", m_userAgent.toLatin1());
    if (!m_referer.isEmpty())
        request.setRawHeader("Referer", m_referer.toLatin1());
    request.setHeader(QNetworkRequest::ContentTypeHeader, form.contentType());
    request.setHeader(QNetworkRequest::ContentLengthHeader, QString::number(data.size()));
    request.setTransferTimeout(TransferTimeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    m_response.clear();
    m_failure.clear();
    QNetworkReply *reply = manager->post(request, data);
    watch(reply);
    return reply;
}

void FormPostPlugin::setTimeLimitMs(int ms)
{
    m_timeLimitMs = ms;
}

QString FormPostPlugin::failure() const
{
    return m_failure;
}

// The transfer is cut short when the answer grows past the cap, when it lasts too long even
// though data keeps coming, and when the server sends the song on to another place.
void FormPostPlugin::watch(QNetworkReply *reply)
{
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { readData(reply); });
    connect(reply, &QNetworkReply::redirected, this,
            [this, reply](const QUrl &target) { checkRedirect(reply, target); });
    auto *limit = new QTimer(reply);
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, this, [this, reply] {
        stop(reply, QStringLiteral("the server took longer than %1 s").arg(m_timeLimitMs / 1000.0));
    });
    limit->start(m_timeLimitMs);
}

void FormPostPlugin::checkRedirect(QNetworkReply *reply, const QUrl &target)
{
    const QUrl origin = reply->request().url();
    if (target.scheme() == origin.scheme() && target.host() == origin.host() &&
        target.port(DefaultPort) == origin.port(DefaultPort))
        emit reply->redirectAllowed();
    else
        stop(reply, QStringLiteral("the server sent the song on to %1; it was not sent there")
                        .arg(target.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemovePath |
                                                    QUrl::RemoveQuery)));
}

void FormPostPlugin::stop(QNetworkReply *reply, const QString &why)
{
    if (reply->isFinished())
        return;
    m_failure = why;
    reply->abort();
}

QByteArray FormPostPlugin::response()
{
    return m_response;
}

QString FormPostPlugin::hostOf(const QString &url)
{
    const qsizetype start = url.indexOf(SchemeSeparator);
    if (start < 0)
        return QString();
    const QString rest = url.mid(start + SchemeSeparator.size());
    return rest.left(rest.indexOf(QLatin1Char('/')));
}

QString FormPostPlugin::fileNameOf(const QString &path)
{
    qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
    if (cut < 0)
        cut = path.lastIndexOf(QLatin1Char('\\'));
    return path.mid(cut + 1);
}

void FormPostPlugin::setBoundarySource(MultipartBody::BoundarySource source)
{
    m_boundarySource = std::move(source);
}

MultipartBody FormPostPlugin::multipart() const
{
    const bool utf8 = m_encoding == Utf8;
    MultipartBody form(m_boundarySource);
    form.setEightBitFields(utf8);
    for (qsizetype i = 0; i < m_fieldNames.size(); ++i)
        form.addField(m_fieldNames[i].toLatin1(),
                      utf8 ? m_fieldValues[i].toUtf8() : m_fieldValues[i].toLatin1());
    for (qsizetype i = 0; i < m_fileFieldNames.size(); ++i)
        form.addFile(m_fileFieldNames[i].toLatin1(), m_fileNames[i].toLatin1(),
                     m_fileContentTypes[i].toLatin1(), m_fileContents[i]);
    return form;
}

void FormPostPlugin::readData(QNetworkReply *reply)
{
    if (!m_failure.isEmpty())
        return;
    const qint64 room = MaxResponseBytes - m_response.size();
    m_response += reply->read(room);
    if (reply->bytesAvailable() > 0)
        stop(reply, QStringLiteral("the server's answer was longer than %1 kB")
                        .arg(MaxResponseBytes / 1024));
}

void FormPostPlugin::clearParts()
{
    m_fieldNames.clear();
    m_fieldValues.clear();
    m_fileFieldNames.clear();
    m_fileNames.clear();
    m_fileContentTypes.clear();
    m_fileContents.clear();
}
