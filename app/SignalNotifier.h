#pragma once

#include <QList>
#include <QObject>

class QSocketNotifier;

// Turns the given Unix signals into a Qt signal in the event loop. The handler only writes the
// signal's number into a socket pair, the one thing that is safe there; the loop reads it.
// Each signal is caught once: a second one takes its default action, should the program hang.
// One object at a time.
class SignalNotifier : public QObject
{
    Q_OBJECT

public:
    explicit SignalNotifier(const QList<int> &signalNumbers, QObject *parent = nullptr);
    ~SignalNotifier() override;

signals:
    void received(int signalNumber);

private:
    static void handle(int signalNumber);
    void readSignal();

    static int s_writeEnd;
    int m_sockets[2] = {-1, -1};
    QList<int> m_signals;
    QSocketNotifier *m_notifier = nullptr;
};
