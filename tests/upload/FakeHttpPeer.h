#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QTcpServer>

// A loopback HTTP peer for tests: records each request exactly as it arrived on the wire and
// answers it with a fixed status and body.
class FakeHttpPeer : public QObject
{
    Q_OBJECT

public:
    struct Request
    {
        QByteArray head;
        QMap<QByteArray, QList<QByteArray>> headers; // lower-case names
        QByteArray body;
    };

    explicit FakeHttpPeer(QObject *parent = nullptr);

    quint16 port() const { return m_server.serverPort(); }
    QString url(const QString &path) const;
    void setAnswer(int status, const QByteArray &body);
    // Stops answering, as a server that accepts the connection and then hangs.
    void setSilent(bool silent) { m_silent = silent; }
    const QList<Request> &requests() const { return m_requests; }

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    static bool parse(const QByteArray &data, Request *request);

    QTcpServer m_server;
    QMap<QTcpSocket *, QByteArray> m_pending;
    QList<Request> m_requests;
    int m_status = 200;
    QByteArray m_answer = "ok";
    bool m_silent = false;
};
