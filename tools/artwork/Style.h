#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;
class QPainterPath;

// The look shared by every picture: dark metal, recessed wells, warm amber light.
// All text is set in DejaVu Sans (fonts-dejavu-core), sized in pixels so it renders the same
// whatever the screen.
namespace Style {

inline const QString FontFamily = QStringLiteral("DejaVu Sans");
QFont font(double pixelSize, bool bold = true, double letterSpacing = 0.0);

// Panel metal.
inline const QColor MetalLight(0x3a, 0x3e, 0x45);
inline const QColor MetalDark(0x1d, 0x1f, 0x23);
inline const QColor Edge(0x09, 0x0a, 0x0c);
inline const QColor Highlight(255, 255, 255, 40);
// Captions engraved on the panel.
inline const QColor Caption(0xc4, 0xca, 0xd3);
inline const QColor CaptionDim(0x80, 0x87, 0x92);
// Recessed field wells; the program draws its field text in rgb(175,198,233) on them.
inline const QColor WellTop(0x06, 0x09, 0x0e);
inline const QColor WellBottom(0x14, 0x1b, 0x25);
inline const QColor FieldText(175, 198, 233);
// Light of lit controls.
inline const QColor Amber(0xff, 0xb3, 0x3a);
inline const QColor AmberBright(0xff, 0xd8, 0x80);
inline const QColor Glyph(0xd6, 0xdb, 0xe2);
inline const QColor RecordRed(0xff, 0x3b, 0x30);

// Brushed metal plate filling r: vertical gradient with fine horizontal grain.
void brushedMetal(QPainter &p, const QRectF &r, const QColor &top, const QColor &bottom, int seed);
// A raised edge: light above and left, dark below and right.
void bevel(QPainter &p, const QRectF &r, double radius, int alphaLight = 60, int alphaDark = 140);
// A recess cut into the panel with an inner shadow, for fields and button sockets.
void well(QPainter &p, const QRectF &r, double radius, const QColor &top = WellTop,
          const QColor &bottom = WellBottom);
// A round socket (shadowed ring) under a round control.
void roundSocket(QPainter &p, const QPointF &centre, double radius);
// A small recessed screw head.
void screw(QPainter &p, const QPointF &centre, double radius = 4.5);
// Soft glow around a path, in colour c.
void glow(QPainter &p, const QPainterPath &path, const QColor &c, double width);
double textWidth(const QString &text, const QFont &f);
// Every caption of a control or field: small bold capitals, spaced as on an instrument's front
// panel, in one colour.
QFont captionFont();
void caption(QPainter &p, double cx, double baseline, const QString &text);
// Text centred on (cx, baseline) with a dark engraving shadow.
void engravedText(QPainter &p, double cx, double baseline, const QString &text, const QFont &f,
                  const QColor &c = Caption);
// Text centred in r with a soft drop shadow.
void shadowedText(QPainter &p, const QRectF &r, const QString &text, const QFont &f,
                  const QColor &c);

} // namespace Style
