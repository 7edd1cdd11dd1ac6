#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

// Moves a frameless window with a left-button drag that starts on its background.
class WindowDrag
{
public:
    // Both return false, leaving the event alone, when it is not a left-button one.
    bool press(QWidget *window, QMouseEvent *event);
    bool move(QWidget *window, QMouseEvent *event);

private:
    QPoint m_grabOffset;
};
