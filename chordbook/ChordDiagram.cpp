#include "chordbook/ChordDiagram.h"

#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <climits>

namespace {

constexpr double StringStep = 15;
// The grid sits this far right of the middle, leaving room for the first fret's number.
constexpr double GridShift = 4;
constexpr double RowHeight = 30;
constexpr double GridTop = 58;
constexpr double MarkY = 47;
constexpr double FretValuesTop = GridTop + ChordDiagram::Rows * RowHeight + 12;
constexpr double DotRadius = 6;
constexpr double OpenRadius = 4;
constexpr double MutedHalf = 3.5;
constexpr double NameTop = 6;
constexpr double NameHeight = 28;

// The panel's light: amber for what is chosen, pale metal for the chart.
const QColor NameColour(0xff, 0xd8, 0x80);
const QColor DotLight(0xff, 0xe2, 0xa0);
const QColor DotColour(0xff, 0xb3, 0x3a);
const QColor DotEdge(0xb0, 0x62, 0x0c);
const QColor StringColour(0xc4, 0xca, 0xd3);
const QColor FretColour(0x80, 0x87, 0x92);
const QColor NutColour(0xe8, 0xe4, 0xd8);
const QColor MutedColour(0x9a, 0xa1, 0xab);
const QColor ValueColour(175, 198, 233);

QFont chartFont(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

} // namespace

ChordDiagram::ChordDiagram(QWidget *parent) : QWidget(parent)
{
    // Presses fall through to the dialog, which is dragged by its background.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ChordDiagram::setChord(const QString &name, const int *frets)
{
    m_name = name;
    std::copy(frets, frets + Strings, m_frets);
    update();
}

int ChordDiagram::baseFret() const
{
    int lowest = INT_MAX;
    int highest = 0;
    for (int fret : m_frets) {
        if (fret > 0) {
            lowest = std::min(lowest, fret);
            highest = std::max(highest, fret);
        }
    }
    return highest <= Rows ? 1 : lowest;
}

double ChordDiagram::stringX(int string) const
{
    const double left = (width() - (Strings - 1) * StringStep) / 2.0 + GridShift;
    return left + (Strings - 1 - string) * StringStep;
}

double ChordDiagram::rowTop(int row) const
{
    return GridTop + row * RowHeight;
}

QPointF ChordDiagram::markCentre(int string, int fret) const
{
    if (fret <= 0)
        return QPointF(stringX(string), MarkY);
    return QPointF(stringX(string), rowTop(fret - baseFret()) + RowHeight / 2);
}

void ChordDiagram::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintName(painter);
    paintGrid(painter);
    paintBaseFret(painter);
    paintMarks(painter);
    paintFretValues(painter);
}

void ChordDiagram::paintName(QPainter &painter) const
{
    painter.setFont(chartFont(18, true));
    painter.setPen(NameColour);
    painter.drawText(QRectF(0, NameTop, width(), NameHeight), Qt::AlignCenter, m_name);
}

void ChordDiagram::paintGrid(QPainter &painter) const
{
    const double left = stringX(Strings - 1);
    const double right = stringX(0);
    const double bottom = rowTop(Rows);
    for (int row = 1; row <= Rows; ++row) {
        painter.setPen(QPen(FretColour, 1.5));
        painter.drawLine(QPointF(left, rowTop(row)), QPointF(right, rowTop(row)));
    }
    // The lower strings are the thicker ones.
    for (int s = 0; s < Strings; ++s) {
        painter.setPen(QPen(StringColour, 0.8 + 0.2 * s));
        painter.drawLine(QPointF(stringX(s), GridTop), QPointF(stringX(s), bottom));
    }
    if (baseFret() == 1)
        painter.setPen(QPen(NutColour, 4, Qt::SolidLine, Qt::FlatCap));
    else
        painter.setPen(QPen(FretColour, 1.5));
    painter.drawLine(QPointF(left - 0.6, GridTop), QPointF(right + 0.6, GridTop));
}

void ChordDiagram::paintBaseFret(QPainter &painter) const
{
    const int base = baseFret();
    if (base == 1)
        return;
    painter.setFont(chartFont(11, true));
    painter.setPen(StringColour);
    const QRectF beside(0, rowTop(0), stringX(Strings - 1) - DotRadius - 3, RowHeight);
    painter.drawText(beside, Qt::AlignRight | Qt::AlignVCenter, QString::number(base));
}

void ChordDiagram::paintMarks(QPainter &painter) const
{
    for (int s = 0; s < Strings; ++s) {
        const int fret = m_frets[s];
        const QPointF c = markCentre(s, fret);
        if (fret < 0) {
            painter.setPen(QPen(MutedColour, 1.5, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(c + QPointF(-MutedHalf, -MutedHalf),
                             c + QPointF(MutedHalf, MutedHalf));
            painter.drawLine(c + QPointF(-MutedHalf, MutedHalf),
                             c + QPointF(MutedHalf, -MutedHalf));
        } else if (fret == 0) {
            painter.setPen(QPen(StringColour, 1.4));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(c, OpenRadius, OpenRadius);
        } else if (fret - baseFret() < Rows) {
            QRadialGradient light(c - QPointF(1.5, 2), DotRadius * 1.6);
            light.setColorAt(0, DotLight);
            light.setColorAt(0.5, DotColour);
            light.setColorAt(1, DotEdge);
            painter.setPen(QPen(QColor(0, 0, 0, 170), 1));
            painter.setBrush(light);
            painter.drawEllipse(c, DotRadius, DotRadius);
        }
    }
}

void ChordDiagram::paintFretValues(QPainter &painter) const
{
    painter.setFont(chartFont(11, false));
    painter.setPen(ValueColour);
    for (int s = 0; s < Strings; ++s) {
        const QString value = m_frets[s] < 0 ? QStringLiteral("x") : QString::number(m_frets[s]);
        const QRectF cell(stringX(s) - StringStep / 2, FretValuesTop, StringStep, 16);
        painter.drawText(cell, Qt::AlignCenter, value);
    }
}
