#include "TileArt.h"

#include "ArtSet.h"
#include "Layout.h"
#include "Style.h"

#include <QLinearGradient>
#include <QPainter>

namespace TileArt {

namespace {

struct Tile
{
    QColor face;
    QColor label;
    // The selection ring, chosen to stand apart from the face.
    QColor ring;
};

const QColor White(255, 255, 255);
const QColor Ring = Style::AmberBright;
const QColor WhiteRing(0xf4, 0xfa, 0xff);

// The label colours are the program's; the faces are picked so those labels read well.
const Tile Tiles[TileCount] = {
    {QColor(0xc4, 0x22, 0x2b), White, Ring},                   // red
    {QColor(0xf3, 0xd0, 0x3c), QColor(30, 30, 30), WhiteRing}, // yellow
    {QColor(0x1c, 0x60, 0xc6), White, Ring},                   // blue
    {QColor(0x1e, 0x76, 0x33), White, Ring},                   // green
    {QColor(0x76, 0x3a, 0xc2), White, Ring},                   // violet
    {QColor(0x84, 0xe0, 0xb2), QColor(35, 35, 35), Ring},      // mint
    {QColor(0xb4, 0x4e, 0x0c), White, WhiteRing},              // orange
    {QColor(0x0a, 0x72, 0x75), White, Ring},                   // teal
    {QColor(0xa4, 0xd6, 0xf6), QColor(10, 10, 10), Ring},      // sky
    {QColor(0xb3, 0x23, 0x76), White, Ring},                   // magenta
    {QColor(0x4a, 0x50, 0x5a), White, Ring},                   // graphite
    {QColor(0x76, 0x47, 0x24), White, Ring},                   // walnut
    {QColor(0xea, 0xe8, 0xe1), QColor(0, 0, 0), Ring},         // pearl
    {QColor(0x1c, 0x2a, 0x5c), White, Ring},                   // navy
};

void face(QPainter &p, const QRectF &r, const QColor &base, bool pressed)
{
    const double radius = r.width() / 6.0;
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, pressed ? base.darker(108) : base.lighter(118));
    g.setColorAt(1, pressed ? base.lighter(103) : base.darker(112));
    p.setPen(QPen(QColor(0, 0, 0, 210), 1.0));
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    // Gloss on the upper part only, away from where the number is drawn.
    QLinearGradient gloss(0, r.top(), 0, r.top() + 11);
    gloss.setColorAt(0, QColor(255, 255, 255, pressed ? 40 : 95));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(r.adjusted(2, 1.5, -2, -r.height() + 11.5), radius - 1, radius - 1);
    Style::bevel(p, r.adjusted(1, 1, -1, -1), radius - 1, pressed ? 30 : 90, pressed ? 40 : 70);
}

QImage normal(const Tile &t)
{
    QImage image = ArtSet::canvas(Layout::TileSize, Layout::TileSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    face(p, QRectF(0.5, 0.5, 29, 29), t.face, false);
    return image;
}

// Selected: pressed in, lit a little, inside a bright ring.
QImage selected(const Tile &t)
{
    QImage image = ArtSet::canvas(Layout::TileSize, Layout::TileSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 0, 230), 1.0));
    p.setBrush(t.ring);
    p.drawRoundedRect(QRectF(0.5, 0.5, 29, 29), 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0a, 0x0b, 0x0d));
    p.drawRoundedRect(QRectF(2.5, 2.5, 25, 25), 4.5, 4.5);
    face(p, QRectF(3.5, 3.5, 23, 23), t.face, true);
    return image;
}

QString number(int i)
{
    return QString::number(i).rightJustified(2, QLatin1Char('0'));
}

} // namespace

QColor labelColour(int index)
{
    return Tiles[index].label;
}

void paintAll(ArtSet &set)
{
    for (int i = 0; i < TileCount; ++i) {
        set.add("bt" + number(i) + ".png", normal(Tiles[i]));
        set.add("bt" + number(i) + "sel.png", selected(Tiles[i]));
    }
}

} // namespace TileArt
