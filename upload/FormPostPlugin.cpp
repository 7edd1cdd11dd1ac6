#include "upload/FormPostPlugin.h"

#include <QDateTime>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>

namespace {
const QString Utf8 = QStringLiteral("utf-8");
const QString Ascii = QStringLiteral("ascii");
const QString SchemeSeparator = QStringLiteral("://");
const QString BoundaryPrefix = QString(27, QLatin1Char('-'));
const QByteArray Crlf = "\r\n";

// Like the classic rand(): a non-negative 31-bit value.
quint32 drawNonNegative(QRandomGenerator &generator)
{
    return generator.generate() & 0x7fffffffu;
}

QByteArray delimiter(const QByteArray &boundary, bool first)
{
    return (first ? QByteArray() : Crlf) + "--" + boundary + Crlf;
}
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
    const QString boundary = boundaryFor(QDateTime::currentSecsSinceEpoch());
    const QByteArray data = body(boundary);
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
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QString("multipart/form-data; boundary=" + boundary));
    request.setHeader(QNetworkRequest::ContentLengthHeader, QString::number(data.size()));
    request.setTransferTimeout(TransferTimeoutMs);
    return manager->post(request, data);
}

QByteArray FormPostPlugin::response()
{
    return m_response;
}

QString FormPostPlugin::boundaryFor(qint64 secondsSinceEpoch)
{
    QRandomGenerator generator(static_cast<quint32>(secondsSinceEpoch));
    const quint32 r1 = drawNonNegative(generator);
    const quint32 r2 = drawNonNegative(generator);
    const quint32 r3 = drawNonNegative(generator);
    return BoundaryPrefix + QString::number(r3) + QString::number(r2) + QString::number(r1);
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

QByteArray FormPostPlugin::body(const QString &boundary) const
{
    const QByteArray b = boundary.toLatin1();
    const bool utf8 = m_encoding == Utf8;
    QByteArray out;
    for (qsizetype i = 0; i < m_fieldNames.size(); ++i) {
        out += delimiter(b, out.isEmpty());
        out += "Content-Disposition: form-data; name=\"" + m_fieldNames[i].toLatin1() + "\"" + Crlf;
        if (utf8)
            out += "Content-Transfer-Encoding: 8bit" + Crlf;
        out += Crlf;
        out += utf8 ? m_fieldValues[i].toUtf8() : m_fieldValues[i].toLatin1();
    }
    for (qsizetype i = 0; i < m_fileFieldNames.size(); ++i) {
        out += delimiter(b, out.isEmpty());
        out += "Content-Disposition: form-data; name=\"" + m_fileFieldNames[i].toLatin1() +
               "\"; filename=\"" + m_fileNames[i].toLatin1() + "\"" + Crlf;
        out += "Content-Type: " + m_fileContentTypes[i].toLatin1() + Crlf;
        out += Crlf;
        out += m_fileContents[i];
    }
    out += Crlf + "--" + b + "--" + Crlf;
    return out;
}

void FormPostPlugin::readData(QNetworkReply *reply)
{
    m_response = reply->readAll();
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
