#include "Glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace Glyphs {

namespace {

// Every symbol is designed on a 24 x 24 grid and scaled into its box.
constexpr double Grid = 24.0;

QPen line(const QColor &c, double w)
{
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void load(QPainter &p, const QColor &c)
{
    // An open folder.
    QPainterPath back;
    back.moveTo(3, 6);
    back.lineTo(9, 6);
    back.lineTo(11, 8);
    back.lineTo(19, 8);
    back.lineTo(19, 11);
    p.setPen(line(c, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(back);
    p.drawLine(QPointF(3, 6), QPointF(3, 19));
    QPainterPath front;
    front.moveTo(3, 19);
    front.lineTo(7, 11);
    front.lineTo(22, 11);
    front.lineTo(18, 19);
    front.closeSubpath();
    QColor fill = c;
    fill.setAlphaF(0.35);
    p.setBrush(fill);
    p.drawPath(front);
}

void save(QPainter &p, const QColor &c)
{
    // A floppy disk.
    QPainterPath body;
    body.moveTo(4, 4);
    body.lineTo(17, 4);
    body.lineTo(20, 7);
    body.lineTo(20, 20);
    body.lineTo(4, 20);
    body.closeSubpath();
    p.setPen(line(c, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
    QColor fill = c;
    fill.setAlphaF(0.35);
    p.setBrush(fill);
    p.drawRect(QRectF(8, 4, 8, 5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(7, 13, 10, 7), 1, 1);
}

void chordBook(QPainter &p, const QColor &c)
{
    // An open book with a small chord grid on the right page.
    p.setPen(line(c, 1.6));
    p.setBrush(Qt::NoBrush);
    QPainterPath left;
    left.moveTo(12, 7);
    left.cubicTo(9, 5, 5, 5, 2.5, 6);
    left.lineTo(2.5, 19);
    left.cubicTo(5, 18, 9, 18, 12, 20);
    QPainterPath right;
    right.moveTo(12, 7);
    right.cubicTo(15, 5, 19, 5, 21.5, 6);
    right.lineTo(21.5, 19);
    right.cubicTo(19, 18, 15, 18, 12, 20);
    p.drawPath(left);
    p.drawPath(right);
    p.drawLine(QPointF(12, 7), QPointF(12, 20));
    p.setPen(line(c, 0.9));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(14.5 + 2.5 * i, 9), QPointF(14.5 + 2.5 * i, 16));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(14.5, 9 + 3.5 * i), QPointF(19.5, 9 + 3.5 * i));
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(17, 10.75), 1.2, 1.2);
    p.setPen(line(c, 0.9));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(5, 10 + 2.5 * i), QPointF(9.5, 10 + 2.5 * i));
}

void upload(QPainter &p, const QColor &c)
{
    // A cloud with an arrow going up into it.
    QPainterPath cloud;
    cloud.moveTo(7, 18);
    cloud.cubicTo(3, 18, 2, 13, 6, 12);
    cloud.cubicTo(6, 7, 13, 5, 15, 10);
    cloud.cubicTo(19, 8, 23, 12, 20, 16);
    cloud.cubicTo(20, 17.5, 19, 18, 17, 18);
    p.setPen(line(c, 1.7));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cloud);
    p.drawLine(QPointF(12, 21), QPointF(12, 12.5));
    p.drawLine(QPointF(9, 15.5), QPointF(12, 12.5));
    p.drawLine(QPointF(15, 15.5), QPointF(12, 12.5));
}

void play(QPainter &p, const QColor &c)
{
    QPainterPath tri;
    tri.moveTo(8, 5);
    tri.lineTo(19.5, 12);
    tri.lineTo(8, 19);
    tri.closeSubpath();
    p.setPen(line(c, 1.5));
    p.setBrush(c);
    p.drawPath(tri);
}

void add(QPainter &p, const QColor &c)
{
    p.setPen(line(c, 3.0));
    p.drawLine(QPointF(12, 5), QPointF(12, 19));
    p.drawLine(QPointF(5, 12), QPointF(19, 12));
}

void remove(QPainter &p, const QColor &c)
{
    // A waste bin.
    p.setPen(line(c, 1.7));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(4.5, 7), QPointF(19.5, 7));
    p.drawLine(QPointF(9.5, 7), QPointF(10, 4.5));
    p.drawLine(QPointF(10, 4.5), QPointF(14, 4.5));
    p.drawLine(QPointF(14, 4.5), QPointF(14.5, 7));
    QPainterPath bin;
    bin.moveTo(6.5, 7);
    bin.lineTo(7.5, 20);
    bin.lineTo(16.5, 20);
    bin.lineTo(17.5, 7);
    p.drawPath(bin);
    p.setPen(line(c, 1.2));
    p.drawLine(QPointF(10, 10), QPointF(10.3, 17));
    p.drawLine(QPointF(14, 10), QPointF(13.7, 17));
}

void power(QPainter &p, const QColor &c)
{
    p.setPen(line(c, 2.4));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4.5, 5.5, 15, 15), 125 * 16, -250 * 16);
    p.drawLine(QPointF(12, 3), QPointF(12, 12));
}

void arrow(QPainter &p, const QColor &c, bool up)
{
    QPainterPath head;
    const double tip = up ? 4 : 20;
    const double base = up ? 12 : 12;
    head.moveTo(12, tip);
    head.lineTo(19, base);
    head.lineTo(14.5, base);
    head.lineTo(14.5, up ? 20 : 4);
    head.lineTo(9.5, up ? 20 : 4);
    head.lineTo(9.5, base);
    head.lineTo(5, base);
    head.closeSubpath();
    p.setPen(line(c, 1.0));
    p.setBrush(c);
    p.drawPath(head);
}

void lock(QPainter &p, const QColor &c, bool closed)
{
    p.setPen(line(c, 2.0));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    if (closed) {
        shackle.moveTo(8, 11);
        shackle.lineTo(8, 8);
        shackle.arcTo(QRectF(8, 3.5, 8, 9), 180, -180);
        shackle.lineTo(16, 11);
    } else {
        // Raised, its left leg out of the body.
        shackle.moveTo(16, 11);
        shackle.lineTo(16, 5);
        shackle.arcTo(QRectF(8, 0.5, 8, 9), 0, 180);
        shackle.lineTo(8, 7);
    }
    p.drawPath(shackle);
    p.setPen(line(c, 1.2));
    p.setBrush(c);
    p.drawRoundedRect(QRectF(5.5, 11, 13, 10), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 170));
    p.drawEllipse(QPointF(12, 15), 1.5, 1.5);
    p.drawRect(QRectF(11.4, 15, 1.2, 3.5));
}

// Two arrows chasing each other round a loop.
void loop(QPainter &p, const QColor &c)
{
    p.setPen(line(c, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 5, 16, 14), 20 * 16, 140 * 16);
    p.drawArc(QRectF(4, 5, 16, 14), 200 * 16, 140 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    QPainterPath heads;
    heads.moveTo(3, 9.5);
    heads.lineTo(9, 9.5);
    heads.lineTo(5.5, 14.5);
    heads.closeSubpath();
    heads.moveTo(21, 14.5);
    heads.lineTo(15, 14.5);
    heads.lineTo(18.5, 9.5);
    heads.closeSubpath();
    p.drawPath(heads);
}

} // namespace

void draw(QPainter &p, Kind kind, const QRectF &box, const QColor &c)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(box.topLeft());
    p.scale(box.width() / Grid, box.height() / Grid);
    switch (kind) {
    case Kind::Load:
        load(p, c);
        break;
    case Kind::Save:
        save(p, c);
        break;
    case Kind::ChordBook:
        chordBook(p, c);
        break;
    case Kind::Upload:
        upload(p, c);
        break;
    case Kind::Play:
        play(p, c);
        break;
    case Kind::Add:
        add(p, c);
        break;
    case Kind::Delete:
        remove(p, c);
        break;
    case Kind::Power:
        power(p, c);
        break;
    case Kind::ArrowUp:
        arrow(p, c, true);
        break;
    case Kind::ArrowDown:
        arrow(p, c, false);
        break;
    case Kind::LockClosed:
        lock(p, c, true);
        break;
    case Kind::LockOpen:
        lock(p, c, false);
        break;
    case Kind::RecordDot:
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QPointF(12, 12), 7, 7);
        break;
    case Kind::StopSquare:
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(QRectF(5.5, 5.5, 13, 13), 1.5, 1.5);
        break;
    case Kind::Loop:
        loop(p, c);
        break;
    }
    p.restore();
}

} // namespace Glyphs
