#include "widgets/QImageButton.h"

#include "widgets/Picture.h"

#include <QRect>

QImageButton::QImageButton(QWidget *parent) : QMouseLabel(parent)
{
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
}

QImageButton::QImageButton(QWidget *parent, const QRect &geometry, const QString &normal,
                           const QString &hover)
    : QImageButton(parent)
{
    showImages(normal, hover);
    setGeometry(geometry);
}

void QImageButton::setImages(QString normal, QString hover)
{
    m_normalImage = std::move(normal);
    m_hoverImage = std::move(hover);
}

void QImageButton::showImages(const QString &normal, const QString &hover)
{
    setPixmap(Picture::load(normal));
    setImages(normal, hover);
}

void QImageButton::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_hovered && !m_hoverImage.isEmpty()) {
        m_hovered = true;
        setPixmap(Picture::load(m_hoverImage));
        repaint();
    }
    QMouseLabel::mouseMoveEvent(event);
}

void QImageButton::mouseReleaseEvent(QMouseEvent *event)
{
    showNormalImage();
    QMouseLabel::mouseReleaseEvent(event);
}

void QImageButton::leaveEvent(QEvent *event)
{
    showNormalImage();
    QMouseLabel::leaveEvent(event);
}

void QImageButton::showNormalImage()
{
    m_hovered = false;
    if (m_normalImage.isEmpty())
        return;
    setPixmap(Picture::load(m_normalImage));
    repaint();
}
