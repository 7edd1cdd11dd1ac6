#pragma once

#include <QLabel>

class QEvent;
class QMouseEvent;

// A stroke lamp: a picture with a number that reports itself when pressed.
class QNoteLamp : public QLabel
{
    Q_OBJECT

public:
    explicit QNoteLamp(QWidget *parent = nullptr);

    // The lamp's number, set by its creator right after construction; -1 until then.
    int lampIndex = -1;

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
};
