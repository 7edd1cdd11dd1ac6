#include "buttons/QKeyLegends.h"

#include "buttons/PanelKeyMap.h"
#include "model/SongModel.h"

#include <QPainter>

namespace {
constexpr int LegendPixels = 8;
// From a cell's top-left corner to the legend's baseline start.
const QPoint LegendOrigin(4, 10);
const QColor LegendColor(0xd6, 0xdb, 0xe2, 190);
const QColor ShadowColor(0, 0, 0, 200);
} // namespace

QKeyLegends::QKeyLegends(QWidget *panel) : QWidget(panel)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, SongModel::PanelWidth, SongModel::PanelHeight);
}

void QKeyLegends::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(LegendPixels);
    font.setBold(true);
    painter.setFont(font);
    for (int row = 0; row < SongModel::Rows; ++row) {
        for (int column = 0; column < SongModel::Columns; ++column) {
            const QPoint at =
                QPoint(column * SongModel::CellWidth, row * SongModel::CellHeight) + LegendOrigin;
            const QString legend = PanelKeyMap::legend(QPoint(column, row));
            painter.setPen(ShadowColor);
            painter.drawText(at + QPoint(1, 1), legend);
            painter.setPen(LegendColor);
            painter.drawText(at, legend);
        }
    }
}
