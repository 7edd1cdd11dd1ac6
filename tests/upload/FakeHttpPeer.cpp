#include "tests/upload/FakeHttpPeer.h"

#include <QTcpSocket>
#include <QTimer>

FakeHttpPeer::FakeHttpPeer(QObject *parent) : QObject(parent)
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, &FakeHttpPeer::onNewConnection);
}

QString FakeHttpPeer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

void FakeHttpPeer::setAnswer(int status, const QByteArray &body, const QByteArray &extraHeaders)
{
    m_answer = {status, body, extraHeaders};
}

void FakeHttpPeer::queueAnswer(int status, const QByteArray &body, const QByteArray &extraHeaders)
{
    m_queued.append({status, body, extraHeaders});
}

void FakeHttpPeer::setStreaming(int chunkBytes, int intervalMs)
{
    m_chunkBytes = chunkBytes;
    m_intervalMs = intervalMs;
}

void FakeHttpPeer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this, socket] { m_pending.remove(socket); });
    }
}

void FakeHttpPeer::onReadyRead(QTcpSocket *socket)
{
    QByteArray &data = m_pending[socket];
    data += socket->readAll();
    Request request;
    if (!parse(data, &request))
        return;
    m_requests.append(request);
    data.clear();
    if (m_holding)
        m_held.append(socket);
    else if (m_chunkBytes > 0)
        stream(socket);
    else
        answer(socket, m_queued.isEmpty() ? m_answer : m_queued.takeFirst());
}

void FakeHttpPeer::releaseHeld(int status, const QByteArray &body)
{
    for (const QPointer<QTcpSocket> &socket : std::as_const(m_held)) {
        if (socket)
            answer(socket, {status, body, {}});
    }
    m_held.clear();
}

void FakeHttpPeer::answer(QTcpSocket *socket, const Answer &answer)
{
    socket->write("HTTP/1.1 " + QByteArray::number(answer.status) + " Answer\r\n" +
                  answer.extraHeaders +
                  "Content-Length: " + QByteArray::number(answer.body.size()) +
                  "\r\nConnection: close\r\n\r\n" + answer.body);
    socket->disconnectFromHost();
}

void FakeHttpPeer::stream(QTcpSocket *socket)
{
    socket->write("HTTP/1.1 200 Answer\r\nTransfer-Encoding: chunked\r\n\r\n");
    const QByteArray chunk =
        QByteArray::number(m_chunkBytes, 16) + "\r\n" + QByteArray(m_chunkBytes, 'x') + "\r\n";
    auto *timer = new QTimer(socket);
    connect(timer, &QTimer::timeout, socket, [socket, chunk] { socket->write(chunk); });
    timer->start(m_intervalMs);
}

bool FakeHttpPeer::parse(const QByteArray &data, Request *request)
{
    const qsizetype end = data.indexOf("\r\n\r\n");
    if (end < 0)
        return false;
    request->head = data.left(end);
    const QList<QByteArray> lines = request->head.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        request->headers[line.left(colon).toLower()].append(line.mid(colon + 1).trimmed());
    }
    const qsizetype length = request->headers.value("content-length").value(0).toLongLong();
    if (data.size() < end + 4 + length)
        return false;
    request->body = data.mid(end + 4, length);
    return true;
}
