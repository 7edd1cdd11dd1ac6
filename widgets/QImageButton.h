#pragma once

#include <QLabel>
#include <QString>

class QEvent;
class QMouseEvent;

// A picture that swaps to its hover picture while the pointer is over it and reports presses.
class QImageButton : public QLabel
{
    Q_OBJECT

public:
    explicit QImageButton(QWidget *parent = nullptr);

    // Stores both paths; the shown picture changes on the next hover, release or leave.
    void setImages(QString normal, QString hover);

    bool isHovered() const { return m_hovered; }

signals:
    void mousePress(QMouseEvent *event, QWidget *sender);
    void mouseMove(QMouseEvent *event);
    void mouseRelease(QMouseEvent *event);
    void mouseLeave();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void showNormalImage();

    QString m_normalImage;
    QString m_hoverImage;
    bool m_hovered = false;
};
