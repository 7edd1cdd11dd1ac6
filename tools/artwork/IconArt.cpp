#include "IconArt.h"

#include "Style.h"

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QSvgGenerator>
#include <QTextStream>

namespace IconArt {

namespace {

// Designed on a 256 x 256 grid; small sizes drop detail that would only blur.
constexpr double Grid = 256.0;
constexpr int Sizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr QRectF Plate(16, 16, 224, 224);
constexpr double PlateRadius = 44;
constexpr double BoardTop = 76;
constexpr double BoardBottom = 180;
constexpr double NutX = 64;
constexpr QPointF Fingertip(112, 128);

void plate(QPainter &p)
{
    QLinearGradient metal(Plate.topLeft(), Plate.bottomLeft());
    metal.setColorAt(0, QColor(0x52, 0x57, 0x60));
    metal.setColorAt(1, QColor(0x1c, 0x1e, 0x22));
    p.setPen(QPen(Style::Edge, 4));
    p.setBrush(metal);
    p.drawRoundedRect(Plate, PlateRadius, PlateRadius);
    p.setPen(QPen(QColor(255, 255, 255, 50), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(Plate.adjusted(4, 4, -4, -4), PlateRadius - 4, PlateRadius - 4);
}

// The board lies within the plate's straight sides, so it needs no clipping (SVG keeps none).
void neck(QPainter &p, bool small)
{
    const QRectF board(Plate.left() + 2, BoardTop, Plate.width() - 4, BoardBottom - BoardTop);
    QLinearGradient wood(board.topLeft(), board.bottomLeft());
    wood.setColorAt(0, QColor(0x7a, 0x42, 0x28));
    wood.setColorAt(1, QColor(0x3a, 0x1c, 0x10));
    p.setPen(Qt::NoPen);
    p.setBrush(wood);
    p.drawRect(board);
    p.setBrush(QColor(0xee, 0xe6, 0xcf));
    p.drawRect(QRectF(NutX - 7, BoardTop, 14, board.height()));
    for (double x : small ? QList<double>{176} : QList<double>{160, 216}) {
        QLinearGradient nickel(x - 4, 0, x + 4, 0);
        nickel.setColorAt(0, QColor(0x80, 0x86, 0x8c));
        nickel.setColorAt(0.5, QColor(0xf0, 0xf3, 0xf5));
        nickel.setColorAt(1, QColor(0x80, 0x86, 0x8c));
        p.setBrush(nickel);
        p.drawRect(QRectF(x - 4, BoardTop, 8, board.height()));
    }
    // Strings: six where there are pixels for them, three where there are not.
    const int count = small ? 3 : 6;
    const double gap = (BoardBottom - BoardTop) / count;
    for (int s = 0; s < count; ++s) {
        const double y = BoardTop + gap * (s + 0.5);
        const double gauge = small ? 8 : 3 + s * 0.9;
        p.setBrush(QColor(0x1a, 0x0c, 0x06, 120));
        p.drawRect(QRectF(board.left(), y + gauge / 2, board.width(), 3));
        p.setBrush(QColor(0xe4, 0xe8, 0xec));
        p.drawRect(QRectF(board.left(), y - gauge / 2, board.width(), gauge));
    }
}

void fingertip(QPainter &p, bool small)
{
    const double r = small ? 34 : 26;
    QColor halo = Style::Amber;
    halo.setAlpha(90);
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(Fingertip, r + 10, r + 10);
    QRadialGradient pearl(Fingertip - QPointF(r * 0.35, r * 0.4), r * 1.3);
    pearl.setColorAt(0, QColor(0xff, 0xf1, 0xc8));
    pearl.setColorAt(0.35, QColor(0xff, 0xb8, 0x3c));
    pearl.setColorAt(1, QColor(0xc0, 0x5a, 0x08));
    p.setPen(QPen(QColor(0x3a, 0x18, 0x00), small ? 8 : 4));
    p.setBrush(pearl);
    p.drawEllipse(Fingertip, r, r);
}

void paint(QPainter &p, bool small)
{
    p.setRenderHint(QPainter::Antialiasing);
    plate(p);
    neck(p, small);
    fingertip(p, small);
}

QImage png(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(size / Grid, size / Grid);
    paint(p, size <= 32);
    return image;
}

bool svg(const QString &path)
{
    QSvgGenerator generator;
    generator.setFileName(path);
    generator.setSize(QSize(Grid, Grid));
    generator.setViewBox(QRectF(0, 0, Grid, Grid));
    generator.setTitle(QStringLiteral("Kavendra"));
    QPainter p;
    if (!p.begin(&generator))
        return false;
    paint(p, false);
    return p.end();
}

} // namespace

bool writeAll(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    for (int size : Sizes) {
        const QString sub = QStringLiteral("%1x%1/apps").arg(size);
        dir.mkpath(sub);
        const QString path = dir.filePath(sub + "/" + name + ".png");
        if (!png(size).save(path)) {
            QTextStream(stderr) << "cannot write " << path << "\n";
            return false;
        }
    }
    dir.mkpath(QStringLiteral("scalable/apps"));
    return svg(dir.filePath("scalable/apps/" + name + ".svg"));
}

} // namespace IconArt
