#include "tests/support/ModalDriver.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>

namespace {
// Marked rather than remembered: a new dialog may take the address of a deleted one.
const char *const HandledProperty = "drivenByTest";

void clickButton(QMessageBox *box, const QString &text)
{
    for (QAbstractButton *button : box->buttons()) {
        if (button->text() == text)
            QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
    }
}
} // namespace

ModalDriver::ModalDriver(std::deque<Handler> handlers) : m_handlers(std::move(handlers))
{
    connect(&m_timer, &QTimer::timeout, this, &ModalDriver::poll);
    m_timer.start(20);
}

void ModalDriver::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || modal->property(HandledProperty).toBool())
        return;
    modal->setProperty(HandledProperty, true);
    seen << (qobject_cast<QMessageBox *>(modal) ? modal->windowTitle()
                                                : QStringLiteral("file dialog"));
    if (m_handlers.empty()) {
        ++unexpected;
        QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
        return;
    }
    Handler handler = std::move(m_handlers.front());
    m_handlers.pop_front();
    handler(modal);
}

ModalDriver::Handler ModalDriver::click(const QString &text)
{
    return [text](QWidget *widget) {
        if (auto *box = qobject_cast<QMessageBox *>(widget))
            clickButton(box, text);
        else
            qWarning("expected a message box with a \"%s\" button", qPrintable(text));
    };
}

ModalDriver::Handler ModalDriver::chooseFile(const QString &path)
{
    return [path](QWidget *widget) {
        QPointer<QFileDialog> dialog = qobject_cast<QFileDialog *>(widget);
        if (!dialog) {
            qWarning("expected a file dialog for %s", qPrintable(path));
            return;
        }
        // The dialog reads its directory in a thread and may ignore an early accept: retry.
        auto *retry = new QTimer(dialog);
        QObject::connect(retry, &QTimer::timeout, dialog, [dialog, path] {
            // Typed as a user types it: the whole path in the name field.
            if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                name->setText(path);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        retry->start(50);
    };
}

ModalDriver::Handler ModalDriver::cancelFile()
{
    return
        [](QWidget *widget) { QMetaObject::invokeMethod(widget, "reject", Qt::QueuedConnection); };
}

void answerQuestion(const QString &button, QString *seen)
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
