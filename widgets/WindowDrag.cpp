#include "widgets/WindowDrag.h"

#include <QMouseEvent>
#include <QWidget>

bool WindowDrag::press(QWidget *window, QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    m_grabOffset = event->globalPosition().toPoint() - window->frameGeometry().topLeft();
    event->accept();
    return true;
}

bool WindowDrag::move(QWidget *window, QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return false;
    window->move(event->globalPosition().toPoint() - m_grabOffset);
    event->accept();
    return true;
}
