#include "buttons/QSoundButton.h"

#include "buttons/ButtonIconTable.h"
#include "buttons/Log.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {
// Baseline origins of the label: one character sits further right to look centred.
const QPoint SingleCharOrigin(13, 25);
const QPoint LabelOrigin(10, 25);
// The tile's bevel, which a label should not run into.
constexpr int LabelMargin = 3;

// A label too wide to start at the usual place (a chord name from a song) is centred instead,
// so that it is not cut off at the tile's right edge.
QPoint labelOrigin(const QFontMetrics &metrics, const QString &label)
{
    if (label.size() == 1)
        return SingleCharOrigin;
    const int width = metrics.horizontalAdvance(label);
    if (LabelOrigin.x() + width <= QSoundButton::Size - LabelMargin)
        return LabelOrigin;
    return QPoint(std::max(0, (QSoundButton::Size - width) / 2), LabelOrigin.y());
}
} // namespace

QSoundButton::QSoundButton(int number, const ButtonIconTable *iconTable, QWidget *parent)
    : QMouseLabel(parent), m_number(number), m_iconTable(iconTable)
{
}

void QSoundButton::redraw(int iconIndex, const QString &label)
{
    m_iconIndex = iconIndex;
    m_label = label;
    m_normalPixmap = renderLook(m_iconTable->picture(iconIndex));
    m_selectedPixmap = renderLook(m_iconTable->selectedPicture(iconIndex));
    showNormal();
}

// Paints on a copy of the table's decoded picture: a song load redraws every button.
QPixmap QSoundButton::renderLook(const QPixmap &picture) const
{
    QPixmap look = picture;
    if (!look.isNull()) {
        QPainter painter(&look);
        painter.setPen(m_iconTable->labelColor(m_iconIndex));
        painter.drawText(labelOrigin(painter.fontMetrics(), m_label), m_label);
    }
    return look;
}

void QSoundButton::showSelected()
{
    setPixmap(m_selectedPixmap);
}

void QSoundButton::showNormal()
{
    setPixmap(m_normalPixmap);
}

void QSoundButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        qCDebug(lcButtons) << "left";
    else if (event->button() == Qt::RightButton)
        qCDebug(lcButtons) << "right";
    QMouseLabel::mousePressEvent(event);
}
