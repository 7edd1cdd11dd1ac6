#include "ControlArt.h"

#include "ArtSet.h"
#include "Glyphs.h"
#include "Layout.h"
#include "Style.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace ControlArt {

namespace {

using Glyphs::Kind;

const QColor PowerRed(0xff, 0x4d, 0x3a);
const QColor CleanCyan(0x4a, 0xd6, 0xff);
const QColor LampGreen(0x5c, 0xff, 0x7a);

// The key cap under every rectangular button: dark, with a bevel and a soft top sheen.
void keyCap(QPainter &p, const QRectF &r, double radius, bool lit, const QColor &light)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawRoundedRect(r, radius, radius);
    const QRectF face = r.adjusted(1, 1, -1, -1);
    QLinearGradient g(face.topLeft(), face.bottomLeft());
    g.setColorAt(0, QColor(0x4a, 0x4f, 0x57));
    g.setColorAt(0.5, QColor(0x2b, 0x2e, 0x34));
    g.setColorAt(1, QColor(0x1a, 0x1c, 0x20));
    p.setBrush(g);
    p.drawRoundedRect(face, radius - 1, radius - 1);
    if (lit) {
        QRadialGradient warm(face.center(), face.width() / 1.6);
        QColor inner = light;
        inner.setAlpha(70);
        QColor outer = light;
        outer.setAlpha(0);
        warm.setColorAt(0, inner);
        warm.setColorAt(1, outer);
        p.setBrush(warm);
        p.drawRoundedRect(face, radius - 1, radius - 1);
    }
    Style::bevel(p, face, radius - 1, 80, 90);
    if (lit) {
        QColor rim = light;
        rim.setAlpha(200);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(rim, 1.0));
        p.drawRoundedRect(face.adjusted(0.5, 0.5, -0.5, -0.5), radius - 1, radius - 1);
    }
}

void litGlyph(QPainter &p, Kind kind, const QRectF &box, bool lit, const QColor &light,
              const QColor &idle = Style::Glyph)
{
    if (lit) {
        // A blurred copy under the symbol makes it glow.
        for (int i = 0; i < 3; ++i) {
            QColor halo = light;
            halo.setAlpha(70);
            const double grow = 1.5 + i;
            Glyphs::draw(p, kind, box.adjusted(-grow, -grow, grow, grow), halo);
        }
    }
    Glyphs::draw(p, kind, box.translated(0, 1), QColor(0, 0, 0, 150));
    Glyphs::draw(p, kind, box, lit ? light.lighter(115) : idle);
}

QImage roundButton(int size, Kind kind, bool lit, const QColor &light, const QColor &idle)
{
    QImage image = ArtSet::canvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(size / 2.0, size / 2.0);
    const double outer = size / 2.0 - 0.5;
    p.setPen(QPen(QColor(0, 0, 0, 200), 1.0));
    QLinearGradient bezel(0, 0, size, size);
    bezel.setColorAt(0, QColor(0xb8, 0xbe, 0xc6));
    bezel.setColorAt(0.45, QColor(0x6a, 0x70, 0x78));
    bezel.setColorAt(1, QColor(0x25, 0x28, 0x2d));
    p.setBrush(bezel);
    p.drawEllipse(c, outer, outer);
    const double inner = outer - 3.0;
    QLinearGradient cap(0, c.y() - inner, 0, c.y() + inner);
    cap.setColorAt(0, QColor(0x3c, 0x40, 0x47));
    cap.setColorAt(1, QColor(0x15, 0x17, 0x1a));
    p.setPen(QPen(QColor(0, 0, 0, 220), 1.0));
    p.setBrush(cap);
    p.drawEllipse(c, inner, inner);
    if (lit) {
        QRadialGradient warm(c, inner);
        QColor in = light;
        in.setAlpha(90);
        QColor out = light;
        out.setAlpha(15);
        warm.setColorAt(0, in);
        warm.setColorAt(1, out);
        p.setPen(QPen(light, 1.2));
        p.setBrush(warm);
        p.drawEllipse(c, inner - 0.5, inner - 0.5);
    }
    // Sheen across the upper half of the cap.
    QLinearGradient sheen(0, c.y() - inner, 0, c.y());
    sheen.setColorAt(0, QColor(255, 255, 255, 45));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawEllipse(QRectF(c.x() - inner * 0.8, c.y() - inner + 1, inner * 1.6, inner * 1.1));
    const double g = size * 0.56;
    litGlyph(p, kind, QRectF(c.x() - g / 2, c.y() - g / 2, g, g), lit, light, idle);
    return image;
}

QImage arrowButton(Kind kind, bool lit)
{
    QImage image = ArtSet::canvas(Layout::ArrowSize.width(), Layout::ArrowSize.height());
    QPainter p(&image);
    keyCap(p, QRectF(QPointF(0, 0), Layout::ArrowSize), 5, lit, Style::Amber);
    litGlyph(p, kind, QRectF(4.5, 5.5, 18, 18), lit, Style::Amber);
    return image;
}

QImage timbreButton(const QString &text, const QColor &led, bool lit)
{
    const QRect r = Layout::TimbreButton;
    QImage image = ArtSet::canvas(r.width(), r.height());
    QPainter p(&image);
    keyCap(p, QRectF(0, 0, r.width(), r.height()), 6, lit, led);
    // Indicator LED at the left, lit on hover.
    const QPointF ledCentre(13, r.height() / 2.0);
    QRadialGradient glass(ledCentre - QPointF(1, 1), 5);
    glass.setColorAt(0, lit ? QColor(Qt::white) : led.lighter(120));
    glass.setColorAt(0.5, lit ? led.lighter(110) : led.darker(160));
    glass.setColorAt(1, led.darker(lit ? 130 : 300));
    if (lit) {
        QPainterPath dot;
        dot.addEllipse(ledCentre, 3.5, 3.5);
        Style::glow(p, dot, led, 9);
    }
    p.setPen(QPen(QColor(0, 0, 0, 200), 1));
    p.setBrush(glass);
    p.drawEllipse(ledCentre, 4, 4);
    // The longest name still fits: the type shrinks until it does.
    const QRectF textBox(21, 0, r.width() - 25, r.height());
    double size = 10.5;
    while (Style::textWidth(text, Style::font(size, true, 0.6)) > textBox.width() - 4)
        size -= 0.5;
    Style::shadowedText(p, textBox, text, Style::font(size, true, 0.6),
                        lit ? led.lighter(140) : Style::Glyph);
    return image;
}

// A key of the song player; on, it glows as a lit lamp would, hovered or not.
QImage songKey(Kind kind, bool on, bool hover)
{
    const QRect r = Layout::SongPlayButton;
    QImage image = ArtSet::canvas(r.width(), r.height());
    QPainter p(&image);
    // A lit key under the pointer glows brighter still, as the recording key does.
    const QColor light = on && hover ? Style::Amber.lighter(125) : Style::Amber;
    keyCap(p, QRectF(0, 0, r.width(), r.height()), 5, on || hover, light);
    const QColor idle = hover ? Style::AmberBright : Style::Glyph;
    litGlyph(p, kind, QRectF((r.width() - 19) / 2.0, 4.5, 19, 19), on, light, idle);
    return image;
}

QImage lockButton(Kind kind, bool lit)
{
    const QRect r = Layout::LockButton;
    QImage image = ArtSet::canvas(r.width(), r.height());
    QPainter p(&image);
    keyCap(p, QRectF(0, 0, r.width(), r.height()), 5, lit, Style::Amber);
    // The open lock sits a little dimmer, so the two states tell apart at a glance.
    const QColor idle = kind == Kind::LockOpen ? Style::CaptionDim : Style::Glyph;
    litGlyph(p, kind, QRectF(9, 3, 20, 22), lit, Style::Amber, idle);
    return image;
}

// A wide pill button with a symbol and a word.
QImage pillButton(const QString &text, Kind kind, bool lit, const QColor &light,
                  const QColor &symbol)
{
    QImage image = ArtSet::canvas(68, 25);
    QPainter p(&image);
    keyCap(p, QRectF(0, 0, 68, 25), 12.5, lit, light);
    Glyphs::draw(p, kind, QRectF(9, 5.5, 14, 14), lit ? light.lighter(120) : symbol);
    Style::shadowedText(p, QRectF(23, 0, 40, 25), text, Style::font(10, true, 0.5),
                        lit ? light.lighter(140) : Style::Glyph);
    return image;
}

QImage textPillButton(const QString &text, bool lit)
{
    QImage image = ArtSet::canvas(68, 25);
    QPainter p(&image);
    keyCap(p, QRectF(0, 0, 68, 25), 12.5, lit, Style::Amber);
    Style::shadowedText(p, QRectF(0, 0, 68, 25), text, Style::font(10, true, 0.8),
                        lit ? Style::AmberBright : Style::Glyph);
    return image;
}

QImage knob()
{
    QImage image = ArtSet::canvas(Layout::KnobPicture.width(), Layout::KnobPicture.height());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c = Layout::KnobDotCentre;
    // Scale: eleven ticks from the lowest value (230 degrees) to the highest (-50 degrees).
    for (int i = 0; i <= 10; ++i) {
        const double a = qDegreesToRadians(230.0 - 28.0 * i);
        const bool major = i % 5 == 0;
        const double r0 = major ? 23.5 : 24.5;
        const double r1 = 27.5;
        const QPointF dir(qCos(a), -qSin(a));
        p.setPen(QPen(major ? Style::Caption : Style::CaptionDim, major ? 1.6 : 1.1, Qt::SolidLine,
                      Qt::RoundCap));
        p.drawLine(c + dir * r0, c + dir * r1);
    }
    // Shadow, knurled skirt and spun-metal cap.
    QRadialGradient shadow(c + QPointF(0, 2), 23);
    shadow.setColorAt(0.8, QColor(0, 0, 0, 160));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(c + QPointF(0, 2), 23, 23);
    QLinearGradient skirt(c - QPointF(0, 21), c + QPointF(0, 21));
    skirt.setColorAt(0, QColor(0x4c, 0x51, 0x59));
    skirt.setColorAt(1, QColor(0x14, 0x16, 0x19));
    p.setPen(QPen(QColor(0, 0, 0, 220), 1));
    p.setBrush(skirt);
    p.drawEllipse(c, 21, 21);
    p.setPen(QPen(QColor(0, 0, 0, 110), 1));
    for (int i = 0; i < 40; ++i) {
        const double a = 2 * M_PI * i / 40;
        const QPointF dir(qCos(a), qSin(a));
        p.drawLine(c + dir * 19.2, c + dir * 20.6);
    }
    QConicalGradient spun(c, 45);
    const QColor light(0x9c, 0xa2, 0xaa), dark(0x4c, 0x51, 0x59);
    for (int i = 0; i <= 8; ++i)
        spun.setColorAt(i / 8.0, i % 2 ? dark : light);
    p.setPen(QPen(QColor(0x22, 0x24, 0x28), 1));
    p.setBrush(spun);
    p.drawEllipse(c, 18.5, 18.5);
    QRadialGradient sheen(c - QPointF(5, 7), 20);
    sheen.setColorAt(0, QColor(255, 255, 255, 70));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawEllipse(c, 18.5, 18.5);
    // Groove the pointer dot runs in.
    p.setPen(QPen(QColor(0, 0, 0, 130), 4.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, Layout::KnobDotRadius, Layout::KnobDotRadius);
    return image;
}

QImage knobDot()
{
    QImage image = ArtSet::canvas(4, 4);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(1.6, 1.6), 2.6);
    g.setColorAt(0, Style::AmberBright);
    g.setColorAt(0.6, Style::Amber);
    g.setColorAt(1, Style::Amber.darker(150));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QRectF(0, 0, 4, 4));
    return image;
}

// The chosen position of a string: an amber fingertip pearl.
QImage activeFret()
{
    QImage image = ArtSet::canvas(Layout::MarkerPicture, Layout::MarkerPicture);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(10, 10);
    QRadialGradient halo(c, 10);
    halo.setColorAt(0.7, QColor(255, 170, 40, 90));
    halo.setColorAt(1, QColor(255, 170, 40, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(c, 10, 10);
    QRadialGradient body(c - QPointF(2.5, 3), 9);
    body.setColorAt(0, QColor(0xff, 0xf1, 0xc8));
    body.setColorAt(0.35, QColor(0xff, 0xb8, 0x3c));
    body.setColorAt(1, QColor(0xc0, 0x5a, 0x08));
    p.setPen(QPen(QColor(0x3a, 0x18, 0x00, 220), 1.2));
    p.setBrush(body);
    p.drawEllipse(c, 7.2, 7.2);
    return image;
}

// The grid point under the pointer: a light ring that leaves the string visible.
QImage hoverMarker()
{
    QImage image = ArtSet::canvas(Layout::MarkerPicture, Layout::MarkerPicture);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(10, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 235, 255, 45));
    p.drawEllipse(c, 8, 8);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 140), 3.2));
    p.drawEllipse(c, 7.5, 7.5);
    p.setPen(QPen(QColor(205, 240, 255, 235), 1.8));
    p.drawEllipse(c, 7.5, 7.5);
    return image;
}

QImage lamp(bool lit)
{
    QImage image = ArtSet::canvas(Layout::LampSize.width(), Layout::LampSize.height());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(7.5, 7.5);
    QLinearGradient bezel(0, 0, 0, 15);
    bezel.setColorAt(0, QColor(0x10, 0x11, 0x13));
    bezel.setColorAt(1, QColor(0x7a, 0x80, 0x88));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawEllipse(c, 7.3, 7.3);
    QRadialGradient glass(c - QPointF(1.5, 1.8), 6.5);
    if (lit) {
        glass.setColorAt(0, QColor(0xf0, 0xff, 0xf0));
        glass.setColorAt(0.35, LampGreen);
        glass.setColorAt(1, QColor(0x10, 0x8a, 0x2a));
    } else {
        glass.setColorAt(0, QColor(0x5a, 0x66, 0x5c));
        glass.setColorAt(0.4, QColor(0x1f, 0x2e, 0x23));
        glass.setColorAt(1, QColor(0x0b, 0x12, 0x0d));
    }
    p.setBrush(glass);
    p.drawEllipse(c, 5.6, 5.6);
    return image;
}

// The sound button that the song plays: a warm glow over the picture, a bright rim round it.
QImage tilePlaying()
{
    const int s = Layout::TileSize;
    QImage image = ArtSet::canvas(s, s);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient warm(QPointF(s / 2.0, s / 2.0), s * 0.7);
    warm.setColorAt(0, QColor(255, 200, 90, 20));
    warm.setColorAt(1, QColor(255, 170, 40, 110));
    p.setPen(Qt::NoPen);
    p.setBrush(warm);
    p.drawRoundedRect(QRectF(1, 1, s - 2, s - 2), 5, 5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 150), 3.0));
    p.drawRoundedRect(QRectF(1.5, 1.5, s - 3, s - 3), 5, 5);
    p.setPen(QPen(Style::AmberBright, 2.2));
    p.drawRoundedRect(QRectF(1.5, 1.5, s - 3, s - 3), 5, 5);
    return image;
}

// Marks the cell a dragged sound button will drop into.
QImage tileSelect()
{
    const int s = Layout::TileSize;
    QImage image = ArtSet::canvas(s, s);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 170), 3.5));
    p.drawRoundedRect(QRectF(1.5, 1.5, s - 3, s - 3), 5, 5);
    p.setPen(QPen(Style::AmberBright, 2.0));
    p.drawRoundedRect(QRectF(1.5, 1.5, s - 3, s - 3), 5, 5);
    p.setPen(QPen(QColor(255, 200, 90, 90), 2.0));
    p.drawRoundedRect(QRectF(3.5, 3.5, s - 7, s - 7), 3.5, 3.5);
    return image;
}

void addPair(ArtSet &set, const QString &base, const QImage &normal, const QImage &hover)
{
    set.add(base + ".png", normal);
    set.add(base + "_hover.png", hover);
}

void paintRoundButtons(ArtSet &set)
{
    const struct
    {
        const char *name;
        Kind kind;
    } buttons[] = {
        {"bt_load", Kind::Load},     {"bt_save", Kind::Save}, {"bt_chord_book", Kind::ChordBook},
        {"bt_upload", Kind::Upload}, {"bt_add", Kind::Add},   {"bt_delete", Kind::Delete},
        {"bt_play", Kind::Play},
    };
    for (const auto &b : buttons) {
        addPair(set, b.name,
                roundButton(Layout::RoundButton, b.kind, false, Style::Amber, Style::Glyph),
                roundButton(Layout::RoundButton, b.kind, true, Style::Amber, Style::Glyph));
    }
    const int power = Layout::PowerButton.width();
    addPair(set, "bt_power",
            roundButton(power, Kind::Power, false, PowerRed, QColor(0xe8, 0x8a, 0x80)),
            roundButton(power, Kind::Power, true, PowerRed, Style::Glyph));
}

void paintKeys(ArtSet &set)
{
    addPair(set, "bt_up", arrowButton(Kind::ArrowUp, false), arrowButton(Kind::ArrowUp, true));
    addPair(set, "bt_down", arrowButton(Kind::ArrowDown, false),
            arrowButton(Kind::ArrowDown, true));
    addPair(set, "bt_acoustic", timbreButton("ACOUSTIC", Style::Amber, false),
            timbreButton("ACOUSTIC", Style::Amber, true));
    addPair(set, "bt_clean", timbreButton("CLEAN", CleanCyan, false),
            timbreButton("CLEAN", CleanCyan, true));
    addPair(set, "bt_distortion", timbreButton("DISTORTION", PowerRed, false),
            timbreButton("DISTORTION", PowerRed, true));
    addPair(set, "bt_lock", lockButton(Kind::LockClosed, false),
            lockButton(Kind::LockClosed, true));
    addPair(set, "bt_blank", lockButton(Kind::LockOpen, false), lockButton(Kind::LockOpen, true));
    addPair(set, "bt_song_play", songKey(Kind::Play, false, false),
            songKey(Kind::Play, false, true));
    addPair(set, "bt_song_stop", songKey(Kind::StopSquare, true, false),
            songKey(Kind::StopSquare, true, true));
    addPair(set, "bt_loop", songKey(Kind::Loop, false, false), songKey(Kind::Loop, false, true));
    addPair(set, "bt_loop_on", songKey(Kind::Loop, true, false), songKey(Kind::Loop, true, true));
}

void paintPills(ArtSet &set)
{
    addPair(set, "bt_set", textPillButton("SET", false), textPillButton("SET", true));
    addPair(set, "bt_cancel", textPillButton("CLOSE", false), textPillButton("CLOSE", true));
    addPair(set, "bt_close", textPillButton("CLOSE", false), textPillButton("CLOSE", true));
    addPair(set, "bt_submit", textPillButton("SUBMIT", false), textPillButton("SUBMIT", true));
    addPair(set, "bt_record",
            pillButton("REC", Kind::RecordDot, false, Style::RecordRed, Style::RecordRed),
            pillButton("REC", Kind::RecordDot, true, Style::RecordRed, Style::RecordRed));
    // Shown while recording: lit red, offering to stop.
    addPair(set, "bt_rectangle",
            pillButton("STOP", Kind::StopSquare, true, Style::RecordRed, Style::RecordRed),
            pillButton("STOP", Kind::StopSquare, true, Style::RecordRed.lighter(125),
                       Style::RecordRed));
}

} // namespace

void paintAll(ArtSet &set)
{
    paintRoundButtons(set);
    paintKeys(set);
    paintPills(set);
    set.add("bt_rot.png", knob());
    set.add("bt_rot_dot.png", knobDot());
    set.add("active_fret.png", activeFret());
    set.add("sel_pos.png", hoverMarker());
    set.add("lamp_valid.png", lamp(true));
    set.add("lamp_off.png", lamp(false));
    set.add("tile_select.png", tileSelect());
    set.add("tile_playing.png", tilePlaying());
}

} // namespace ControlArt
