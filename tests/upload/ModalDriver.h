#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>

// Acts on the next modal window of type T as soon as its run starts, so that a test drives
// question boxes and popups without a human or a clock.
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

// Answers the next question box with the button of the given text; records "title|text".
inline void answerQuestion(const QString &button, QString *seen = nullptr)
{
    whenModal<QMessageBox>([button, seen](QMessageBox *box) {
        if (seen)
            *seen = box->windowTitle() + "|" + box->text();
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == button)
                b->click();
        }
    });
}
