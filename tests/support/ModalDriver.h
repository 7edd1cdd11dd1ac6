#pragma once

#include <QApplication>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

// Answers the modal windows a test opens, without a human or a clock.
//
// A ModalDriver takes one handler per modal window, in the order the windows open, and records
// each window it saw: a message box by its title, anything else as "file dialog". A window
// beyond the last handler is rejected and counted in `unexpected`.
class ModalDriver : public QObject
{
public:
    using Handler = std::function<void(QWidget *)>;

    explicit ModalDriver(std::deque<Handler> handlers);

    // Handlers: the message box's button with this text; a file dialog that takes this path as
    // typed into its name field; a file dialog cancelled.
    static Handler click(const QString &text);
    static Handler chooseFile(const QString &path);
    static Handler cancelFile();

    QStringList seen;
    int unexpected = 0;

private:
    void poll();

    QTimer m_timer;
    std::deque<Handler> m_handlers;
};

// Acts once on the next modal window of type T as soon as its run starts.
template <typename T> void whenModal(std::function<void(T *)> act)
{
    auto *poll = new QTimer();
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (T *window = qobject_cast<T *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(window);
        }
    });
    poll->start();
}

// Answers the next message box with the button of the given text; records "title|text".
void answerQuestion(const QString &button, QString *seen = nullptr);
