#pragma once

#include <QPointF>
#include <Qt>

class QWidget;

// Mouse events sent straight to a widget, as the window system would deliver them: positions
// are in the widget's own coordinates.
namespace Mouse {

void press(QWidget *widget, QPointF pos = QPointF(5, 5), Qt::MouseButton button = Qt::LeftButton);
void release(QWidget *widget, QPointF pos = QPointF(5, 5), Qt::MouseButton button = Qt::LeftButton);
void click(QWidget *widget, QPointF pos = QPointF(5, 5), Qt::MouseButton button = Qt::LeftButton);
// A move with the given buttons held: a pressed widget keeps the mouse, so pos may lie far
// outside it.
void move(QWidget *widget, QPointF pos, Qt::MouseButtons held = Qt::NoButton);
// A press at from and a move by the given distance with that button still held.
void drag(QWidget *widget, QPointF from, QPointF by, Qt::MouseButton button = Qt::LeftButton);
void leave(QWidget *widget);

} // namespace Mouse
