#include "Style.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

namespace Style {

QFont font(double pixelSize, bool bold, double letterSpacing)
{
    QFont f(FontFamily);
    f.setPixelSize(qRound(pixelSize));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    if (letterSpacing != 0.0)
        f.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    return f;
}

void brushedMetal(QPainter &p, const QRectF &r, const QColor &top, const QColor &bottom, int seed)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
    // Grain runs along whole rows: it keeps the picture small and reads as brushed metal.
    QRandomGenerator rng(seed);
    for (int y = int(r.top()); y < int(r.bottom()); ++y) {
        const int shade = rng.bounded(-5, 6);
        if (shade == 0)
            continue;
        p.fillRect(QRectF(r.left(), y, r.width(), 1),
                   shade > 0 ? QColor(255, 255, 255, shade) : QColor(0, 0, 0, -shade * 2));
    }
}

void bevel(QPainter &p, const QRectF &r, double radius, int alphaLight, int alphaDark)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(255, 255, 255, alphaLight));
    g.setColorAt(0.5, QColor(255, 255, 255, 0));
    g.setColorAt(0.5001, QColor(0, 0, 0, 0));
    g.setColorAt(1, QColor(0, 0, 0, alphaDark));
    p.setPen(QPen(QBrush(g), 1.0));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.restore();
}

void well(QPainter &p, const QRectF &r, double radius, const QColor &top, const QColor &bottom)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // Lip: dark above, light below, as if cut into the metal.
    QLinearGradient lip(r.topLeft(), r.bottomLeft());
    lip.setColorAt(0, QColor(0, 0, 0, 150));
    lip.setColorAt(1, QColor(255, 255, 255, 55));
    p.setPen(Qt::NoPen);
    p.setBrush(lip);
    p.drawRoundedRect(r.adjusted(-1.5, -1.5, 1.5, 1.5), radius + 1.5, radius + 1.5);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
    // Inner shadow along the top edge.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 120), 1.0));
    p.drawLine(QPointF(r.left() + radius, r.top() + 1.5),
               QPointF(r.right() - radius, r.top() + 1.5));
    p.restore();
}

void roundSocket(QPainter &p, const QPointF &centre, double radius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    QLinearGradient lip(centre - QPointF(0, radius), centre + QPointF(0, radius));
    lip.setColorAt(0, QColor(0, 0, 0, 170));
    lip.setColorAt(1, QColor(255, 255, 255, 60));
    p.setBrush(lip);
    p.drawEllipse(centre, radius, radius);
    QRadialGradient hole(centre, radius - 1.5);
    hole.setColorAt(0, QColor(0x0c, 0x0d, 0x10));
    hole.setColorAt(0.85, QColor(0x12, 0x14, 0x18));
    hole.setColorAt(1, QColor(0x05, 0x06, 0x08));
    p.setBrush(hole);
    p.drawEllipse(centre, radius - 1.5, radius - 1.5);
    p.restore();
}

void screw(QPainter &p, const QPointF &centre, double radius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 0, 160), 1.0));
    QLinearGradient head(centre - QPointF(radius, radius), centre + QPointF(radius, radius));
    head.setColorAt(0, QColor(0x9a, 0xa0, 0xa8));
    head.setColorAt(1, QColor(0x3c, 0x40, 0x46));
    p.setBrush(head);
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(QColor(0x1a, 0x1c, 0x20), 1.2));
    p.drawLine(centre + QPointF(-radius * 0.6, radius * 0.35),
               centre + QPointF(radius * 0.6, -radius * 0.35));
    p.restore();
}

void glow(QPainter &p, const QPainterPath &path, const QColor &c, double width)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    const int steps = 4;
    for (int i = steps; i >= 1; --i) {
        QColor layer = c;
        layer.setAlphaF(c.alphaF() * 0.22);
        p.setPen(QPen(layer, width * i / steps, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
    }
    p.restore();
}

double textWidth(const QString &text, const QFont &f)
{
    return QFontMetricsF(f).horizontalAdvance(text);
}

void engravedText(QPainter &p, double cx, double baseline, const QString &text, const QFont &f,
                  const QColor &c)
{
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(f);
    const double w = textWidth(text, f);
    const QPointF at(cx - w / 2, baseline);
    p.setPen(QColor(0, 0, 0, 190));
    p.drawText(at + QPointF(0, 1), text);
    p.setPen(c);
    p.drawText(at, text);
    p.restore();
}

QFont captionFont()
{
    return font(8, true, 1.0);
}

void caption(QPainter &p, double cx, double baseline, const QString &text)
{
    engravedText(p, cx, baseline, text, captionFont(), Caption);
}

void shadowedText(QPainter &p, const QRectF &r, const QString &text, const QFont &f,
                  const QColor &c)
{
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0, 170));
    p.drawText(r.translated(0, 1), Qt::AlignCenter, text);
    p.setPen(c);
    p.drawText(r, Qt::AlignCenter, text);
    p.restore();
}

} // namespace Style
