#include "widgets/QNoteLamp.h"

#include <QPixmap>

// The window lays the lit stroke marker over the lamp of the current stroke.
QNoteLamp::QNoteLamp(QWidget *parent) : QMouseLabel(parent)
{
    setPixmap(QPixmap(QStringLiteral(":/img/lamp_off.png")));
}
