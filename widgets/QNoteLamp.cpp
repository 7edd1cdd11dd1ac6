#include "widgets/QNoteLamp.h"

#include "widgets/Picture.h"

// The window lays the lit stroke marker over the lamp of the current stroke.
QNoteLamp::QNoteLamp(QWidget *parent) : QMouseLabel(parent)
{
    setPixmap(Picture::load(QStringLiteral(":/img/lamp_off.png")));
}
