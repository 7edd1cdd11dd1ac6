#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

// The 14 sound-button pictures, their selected variants, resource names and label colours.
// An index outside 0..13 (song files can carry any number) falls back to picture 0.
// The pictures are loaded for the screen's scale, twice as fine on a screen scaled by two.
class ButtonIconTable
{
public:
    static constexpr int Count = 14;

    ButtonIconTable();
    explicit ButtonIconTable(qreal screenScale);
    ButtonIconTable(const ButtonIconTable &) = delete;
    ButtonIconTable &operator=(const ButtonIconTable &) = delete;

    static bool isValidIndex(int index) { return index >= 0 && index < Count; }

    const QPixmap &picture(int index) const;
    const QPixmap &selectedPicture(int index) const;
    QColor labelColor(int index) const;
    QString pictureName(int index) const;
    QString selectedPictureName(int index) const;

private:
    static int checked(int index) { return isValidIndex(index) ? index : 0; }

    QString m_pictureNames[Count];
    QString m_selectedPictureNames[Count];
    QPixmap m_pictures[Count];
    QPixmap m_selectedPictures[Count];
    QColor m_labelColors[Count];
};
