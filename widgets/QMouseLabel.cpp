#include "widgets/QMouseLabel.h"

QMouseLabel::QMouseLabel(QWidget *parent) : QLabel(parent) {}

void QMouseLabel::mousePressEvent(QMouseEvent *event)
{
    emit mousePress(event, this);
}

void QMouseLabel::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(event);
}

void QMouseLabel::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseRelease(event);
}

void QMouseLabel::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    emit mouseLeave();
}
