#include "widgets/QNoteLamp.h"

#include <QMouseEvent>

QNoteLamp::QNoteLamp(QWidget *parent) : QLabel(parent) {}

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
