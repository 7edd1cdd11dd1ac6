#include "widgets/QNumericTextEdit.h"

#include "widgets/Log.h"

#include <QKeyEvent>

namespace {
bool isTapOrderKey(int key)
{
    return (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Comma ||
           key == Qt::Key_Backspace || key == Qt::Key_Delete;
}
} // namespace

QNumericTextEdit::QNumericTextEdit(QWidget *parent) : QTextEdit(parent) {}

void QNumericTextEdit::keyPressEvent(QKeyEvent *event)
{
    qCDebug(lcWidgets) << event->key();
    if (isTapOrderKey(event->key()))
        QTextEdit::keyPressEvent(event);
}
