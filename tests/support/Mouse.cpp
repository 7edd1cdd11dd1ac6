#include "tests/support/Mouse.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace {
void send(QWidget *widget, QEvent::Type type, QPointF pos, Qt::MouseButton button,
          Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
} // namespace

namespace Mouse {

void press(QWidget *widget, QPointF pos, Qt::MouseButton button)
{
    send(widget, QEvent::MouseButtonPress, pos, button, button);
}

void release(QWidget *widget, QPointF pos, Qt::MouseButton button)
{
    send(widget, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

void click(QWidget *widget, QPointF pos, Qt::MouseButton button)
{
    press(widget, pos, button);
    release(widget, pos, button);
}

void move(QWidget *widget, QPointF pos, Qt::MouseButtons held)
{
    send(widget, QEvent::MouseMove, pos, Qt::NoButton, held);
}

void drag(QWidget *widget, QPointF from, QPointF by, Qt::MouseButton button)
{
    press(widget, from, button);
    move(widget, from + by, button);
}

void leave(QWidget *widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

} // namespace Mouse
