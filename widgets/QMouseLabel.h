#pragma once

#include <QLabel>

class QEvent;
class QMouseEvent;

// A picture label that reports the mouse as signals: the base of every picture widget that
// the windows and dialogs react to. Subclasses that do more call these handlers to report.
class QMouseLabel : public QLabel
{
    Q_OBJECT

public:
    explicit QMouseLabel(QWidget *parent = nullptr);

signals:
    // The second argument is the label itself, so that one slot can serve several labels.
    void mousePress(QMouseEvent *event, QWidget *sender);
    void mouseMove(QMouseEvent *event);
    void mouseRelease(QMouseEvent *event);
    void mouseLeave();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
};
