#include "widgets/QImageButton.h"

#include "widgets/Picture.h"

#include <QMouseEvent>

QImageButton::QImageButton(QWidget *parent) : QLabel(parent)
{
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
}

void QImageButton::setImages(QString normal, QString hover)
{
    m_normalImage = std::move(normal);
    m_hoverImage = std::move(hover);
}

void QImageButton::mousePressEvent(QMouseEvent *event)
{
    emit mousePress(event, this);
}

void QImageButton::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_hovered && !m_hoverImage.isEmpty()) {
        m_hovered = true;
        setPixmap(Picture::load(m_hoverImage));
        repaint();
    }
    emit mouseMove(event);
}

void QImageButton::mouseReleaseEvent(QMouseEvent *event)
{
    showNormalImage();
    emit mouseRelease(event);
}

void QImageButton::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    showNormalImage();
    emit mouseLeave();
}

void QImageButton::showNormalImage()
{
    m_hovered = false;
    if (m_normalImage.isEmpty())
        return;
    setPixmap(Picture::load(m_normalImage));
    repaint();
}
