#include "buttons/QSoundButton.h"

#include "buttons/ButtonIconTable.h"
#include "buttons/Log.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// Baseline origins of the label: one character sits further right to look centred.
const QPoint kSingleCharOrigin(13, 25);
const QPoint kLabelOrigin(10, 25);

} // namespace

QSoundButton::QSoundButton(QWidget *parent) : QLabel(parent) {}

void QSoundButton::setIcon(int index, const QColor &color)
{
    m_iconIndex = index;
    m_labelColor = color;
}

void QSoundButton::redraw()
{
    redraw(QString::number(m_number));
}

void QSoundButton::redraw(const QString &label)
{
    m_normalPixmap = renderLook(m_iconTable->picture(m_iconIndex), label);
    m_selectedPixmap = renderLook(m_iconTable->selectedPicture(m_iconIndex), label);
    showNormal();
}

// Paints on a copy of the table's decoded picture: a song load redraws every button.
QPixmap QSoundButton::renderLook(const QPixmap &picture, const QString &label)
{
    QPixmap look = picture;
    if (!look.isNull()) {
        QPainter painter(&look);
        painter.setPen(m_labelColor);
        painter.drawText(label.size() == 1 ? kSingleCharOrigin : kLabelOrigin, label);
    }
    m_texts[LabelText] = label;
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
    emit mousePress(event, this);
}

void QSoundButton::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(event);
}

void QSoundButton::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseRelease(event);
}

void QSoundButton::leaveEvent(QEvent *)
{
    emit mouseLeave();
}
