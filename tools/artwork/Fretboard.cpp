#include "Fretboard.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

namespace {

// Thickness of each string in pixels, first string first.
constexpr double Gauge[] = {1.0, 1.3, 1.6, 2.0, 2.4, 2.8};
constexpr int WoundFrom = 3;

// Rosewood: dark reddish brown with long grain lines that wander slowly along the board.
// Painted in device pixels at the given ratio; the grain follows logical pixels, so every
// ratio shows the same wood.
QImage rosewood(int width, int height, double ratio)
{
    QImage wood(qRound(width * ratio), qRound(height * ratio), QImage::Format_RGB32);
    wood.setDevicePixelRatio(ratio);
    for (int py = 0; py < wood.height(); ++py) {
        QRgb *row = reinterpret_cast<QRgb *>(wood.scanLine(py));
        const double y = py / ratio;
        const double edge = 1.0 - 0.35 * qPow(qAbs(2.0 * y / (height - 1) - 1.0), 3);
        for (int px = 0; px < wood.width(); ++px) {
            const double x = px / ratio;
            const double t = y + 2.4 * qSin(x * 0.013 + y * 0.11) + 1.2 * qSin(x * 0.031 + 1.7);
            const double grain = 0.5 + 0.5 * qSin(t * 1.35);
            const double streak = qSin(t * 0.29 + 0.8) > 0.93 ? 0.72 : 1.0;
            // Few distinct shades keep the picture small.
            const double shade = qRound((0.74 + 0.22 * grain) * streak * edge * 24) / 24.0;
            row[px] = qRgb(int(0x5e * shade), int(0x33 * shade), int(0x20 * shade));
        }
    }
    return wood;
}

} // namespace

void Fretboard::paint(QPainter &p) const
{
    p.save();
    paintWood(p);
    paintInlays(p);
    paintWires(p);
    paintStrings(p);
    p.restore();
}

void Fretboard::paintWood(QPainter &p) const
{
    const QRect r = board.toRect();
    p.drawImage(r.topLeft(), rosewood(r.width(), r.height(), p.device()->devicePixelRatio()));
    // Ivory binding along both edges.
    p.fillRect(QRectF(board.left(), board.top(), board.width(), 1.5), QColor(0xd9, 0xcf, 0xb4));
    p.fillRect(QRectF(board.left(), board.bottom() - 1.5, board.width(), 1.5),
               QColor(0xb0, 0xa5, 0x8a));
    p.fillRect(QRectF(board.left(), board.top() + 1.5, board.width(), 2), QColor(0, 0, 0, 70));
    // Bone nut.
    const QRectF nut(nutX - nutWidth / 2, board.top() - 2, nutWidth, board.height() + 4);
    QLinearGradient bone(nut.topLeft(), nut.topRight());
    bone.setColorAt(0, QColor(0xf6, 0xf1, 0xe2));
    bone.setColorAt(0.6, QColor(0xe0, 0xd8, 0xc0));
    bone.setColorAt(1, QColor(0x9a, 0x90, 0x78));
    p.fillRect(nut, bone);
    p.fillRect(QRectF(nut.right(), board.top(), 2, board.height()), QColor(0, 0, 0, 90));
}

void Fretboard::paintWires(QPainter &p) const
{
    for (double x : wires) {
        const QRectF wire(x - 1.5, board.top() + 1.5, 3, board.height() - 3);
        p.fillRect(QRectF(wire.right(), wire.top(), 2, wire.height()), QColor(0, 0, 0, 80));
        QLinearGradient metal(wire.topLeft(), wire.topRight());
        metal.setColorAt(0, QColor(0x70, 0x76, 0x7c));
        metal.setColorAt(0.45, QColor(0xf0, 0xf3, 0xf5));
        metal.setColorAt(1, QColor(0x5a, 0x5f, 0x65));
        p.fillRect(wire, metal);
    }
}

void Fretboard::paintInlays(QPainter &p) const
{
    p.setRenderHint(QPainter::Antialiasing);
    for (const QPointF &c : inlays) {
        QRadialGradient pearl(c - QPointF(1.5, 2), inlayRadius * 1.2);
        pearl.setColorAt(0, QColor(0xff, 0xfd, 0xf6));
        pearl.setColorAt(0.45, QColor(0xe6, 0xe4, 0xdc));
        pearl.setColorAt(0.8, QColor(0xc9, 0xd4, 0xd8));
        pearl.setColorAt(1, QColor(0xd8, 0xc8, 0xd0));
        p.setPen(QPen(QColor(0x2a, 0x14, 0x0a, 160), 1.0));
        p.setBrush(pearl);
        p.drawEllipse(c, inlayRadius, inlayRadius);
    }
}

void Fretboard::paintStrings(QPainter &p) const
{
    p.setRenderHint(QPainter::Antialiasing);
    for (int s = 0; s < strings.size(); ++s) {
        const double y = strings[s];
        const double g = Gauge[qMin(s, 5)];
        p.fillRect(QRectF(stringLeft, y + 1.5, stringRight - stringLeft, g * 0.8),
                   QColor(0, 0, 0, 90));
        const QRectF string(stringLeft, y - g / 2, stringRight - stringLeft, g);
        QLinearGradient nickel(string.topLeft(), string.bottomLeft());
        nickel.setColorAt(0, QColor(0x8c, 0x92, 0x98));
        nickel.setColorAt(0.4, QColor(0xf4, 0xf6, 0xf8));
        nickel.setColorAt(1, QColor(0x5e, 0x63, 0x69));
        p.fillRect(string, nickel);
        if (s < WoundFrom)
            continue;
        // Winding of the bass strings.
        for (double x = stringLeft; x < stringRight; x += 2)
            p.fillRect(QRectF(x, string.top(), 0.8, string.height()), QColor(0, 0, 0, 45));
    }
}
