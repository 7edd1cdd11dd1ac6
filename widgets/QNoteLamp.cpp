#include "widgets/QNoteLamp.h"

#include "widgets/Picture.h"

#include <QMouseEvent>

// The unlit lamp; the window lays the lit stroke marker over the lamp of the current stroke.
QNoteLamp::QNoteLamp(QWidget *parent) : QLabel(parent)
{
    setPixmap(Picture::load(QStringLiteral(":/img/lamp_off.png")));
}

void QNoteLamp::mousePressEvent(QMouseEvent *event)
{
    emit mousePress(event, this);
}

void QNoteLamp::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(event);
}

void QNoteLamp::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseRelease(event);
}

void QNoteLamp::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    emit mouseLeave();
}
