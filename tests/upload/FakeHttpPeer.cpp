#include "tests/upload/FakeHttpPeer.h"

#include <QTcpSocket>

FakeHttpPeer::FakeHttpPeer(QObject *parent) : QObject(parent)
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, &FakeHttpPeer::onNewConnection);
}

QString FakeHttpPeer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

void FakeHttpPeer::setAnswer(int status, const QByteArray &body)
{
    m_status = status;
    m_answer = body;
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
    else
        answer(socket, m_status, m_answer);
}

void FakeHttpPeer::releaseHeld(int status, const QByteArray &body)
{
    for (const QPointer<QTcpSocket> &socket : std::as_const(m_held)) {
        if (socket)
            answer(socket, status, body);
    }
    m_held.clear();
}

void FakeHttpPeer::answer(QTcpSocket *socket, int status, const QByteArray &body)
{
    socket->write("HTTP/1.1 " + QByteArray::number(status) + " Answer\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
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
