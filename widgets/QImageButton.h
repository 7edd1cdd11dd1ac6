#pragma once

#include "widgets/QMouseLabel.h"

#include <QString>

class QRect;

// A picture that swaps to its hover picture while the pointer is over it and reports presses.
class QImageButton : public QMouseLabel
{
    Q_OBJECT

public:
    explicit QImageButton(QWidget *parent = nullptr);
    // Placed at geometry, showing normal; without a hover picture it never changes.
    QImageButton(QWidget *parent, const QRect &geometry, const QString &normal,
                 const QString &hover = QString());

    // Stores both paths; the shown picture changes on the next hover, release or leave.
    void setImages(QString normal, QString hover);
    // Shows normal now and keeps both paths.
    void showImages(const QString &normal, const QString &hover);

    // A picture and its hover picture, as resource paths named once in a table.
    struct ImagePair
    {
        const char *normal;
        const char *hover;
    };
    void showImages(const ImagePair &images)
    {
        showImages(QString::fromLatin1(images.normal), QString::fromLatin1(images.hover));
    }

    bool isHovered() const { return m_hovered; }

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void showNormalImage();

    QString m_normalImage;
    QString m_hoverImage;
    bool m_hovered = false;
};
