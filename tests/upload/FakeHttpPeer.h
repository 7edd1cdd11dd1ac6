#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QTcpServer>

class QTcpSocket;

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
    // Extra header lines end with CRLF, e.g. "Location: http://...\r\n".
    void setAnswer(int status, const QByteArray &body, const QByteArray &extraHeaders = {});
    // An answer for the next request only, before the lasting one; queued in order.
    void queueAnswer(int status, const QByteArray &body, const QByteArray &extraHeaders = {});
    // Answers with an endless chunked body: this many bytes every interval.
    void setStreaming(int chunkBytes, int intervalMs);
    // While holding, requests get no answer, as from a server that hangs.
    void setHolding(bool holding) { m_holding = holding; }
    // Answers the held requests, oldest first.
    void releaseHeld(int status, const QByteArray &body);
    const QList<Request> &requests() const { return m_requests; }

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    static bool parse(const QByteArray &data, Request *request);
    struct Answer
    {
        int status;
        QByteArray body;
        QByteArray extraHeaders;
    };
    static void answer(QTcpSocket *socket, const Answer &answer);
    void stream(QTcpSocket *socket);

    QMap<QTcpSocket *, QByteArray> m_pending;
    QList<Request> m_requests;
    Answer m_answer{200, "ok 1", {}};
    QList<Answer> m_queued;
    int m_chunkBytes = 0;
    int m_intervalMs = 0;
    bool m_holding = false;
    QList<QPointer<QTcpSocket>> m_held;
    // Last, so that its sockets go while the members their handlers use still exist.
    QTcpServer m_server;
};
