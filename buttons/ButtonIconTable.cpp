#include "buttons/ButtonIconTable.h"

#include "widgets/Picture.h"

#include <QGuiApplication>

namespace {

const QColor LabelColors[ButtonIconTable::Count] = {
    QColor(255, 255, 255), QColor(30, 30, 30),    QColor(255, 255, 255), QColor(255, 255, 255),
    QColor(255, 255, 255), QColor(35, 35, 35),    QColor(255, 255, 255), QColor(255, 255, 255),
    QColor(10, 10, 10),    QColor(255, 255, 255), QColor(255, 255, 255), QColor(255, 255, 255),
    QColor(0, 0, 0),       QColor(255, 255, 255),
};

QString baseName(int index)
{
    return QStringLiteral(":/img/bt") + QStringLiteral("%1").arg(index, 2, 10, QLatin1Char('0'));
}

} // namespace

ButtonIconTable::ButtonIconTable() : ButtonIconTable(qGuiApp->devicePixelRatio()) {}

ButtonIconTable::ButtonIconTable(qreal screenScale)
{
    for (int i = 0; i < Count; ++i) {
        m_pictureNames[i] = baseName(i) + QStringLiteral(".png");
        m_selectedPictureNames[i] = baseName(i) + QStringLiteral("sel.png");
        m_pictures[i] = Picture::load(m_pictureNames[i], screenScale);
        m_selectedPictures[i] = Picture::load(m_selectedPictureNames[i], screenScale);
        m_labelColors[i] = LabelColors[i];
    }
}

const QPixmap &ButtonIconTable::picture(int index) const
{
    return m_pictures[checked(index)];
}

const QPixmap &ButtonIconTable::selectedPicture(int index) const
{
    return m_selectedPictures[checked(index)];
}

QColor ButtonIconTable::labelColor(int index) const
{
    return m_labelColors[checked(index)];
}

QString ButtonIconTable::pictureName(int index) const
{
    return m_pictureNames[checked(index)];
}

QString ButtonIconTable::selectedPictureName(int index) const
{
    return m_selectedPictureNames[checked(index)];
}
