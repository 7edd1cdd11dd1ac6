#include "app/SignalNotifier.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

int SignalNotifier::s_writeEnd = -1;

SignalNotifier::SignalNotifier(const QList<int> &signalNumbers, QObject *parent)
    : QObject(parent), m_signals(signalNumbers)
{
    Q_ASSERT(s_writeEnd < 0);
    // Non-blocking, so that the handler never waits, even with many signals unread.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, m_sockets) != 0)
        return;
    s_writeEnd = m_sockets[0];
    m_notifier = new QSocketNotifier(m_sockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalNotifier::readSignal);
    struct sigaction action = {};
    action.sa_handler = &SignalNotifier::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int number : m_signals)
        sigaction(number, &action, nullptr);
}

SignalNotifier::~SignalNotifier()
{
    for (int number : m_signals)
        std::signal(number, SIG_DFL);
    s_writeEnd = -1;
    for (int socket : m_sockets) {
        if (socket >= 0)
            ::close(socket);
    }
}

void SignalNotifier::handle(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(s_writeEnd, &number, 1);
    errno = savedErrno;
}

void SignalNotifier::readSignal()
{
    unsigned char number = 0;
    while (::read(m_sockets[1], &number, 1) == 1)
        emit received(number);
}
