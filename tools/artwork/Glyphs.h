#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// Symbols on the buttons, each drawn to fit the box it is given, in one colour.
namespace Glyphs {

enum class Kind {
    Load,
    Save,
    ChordBook,
    Upload,
    Play,
    Add,
    Delete,
    Power,
    ArrowUp,
    ArrowDown,
    LockClosed,
    LockOpen,
    RecordDot,
    StopSquare,
    Loop
};

void draw(QPainter &p, Kind kind, const QRectF &box, const QColor &c);

} // namespace Glyphs
