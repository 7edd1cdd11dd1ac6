#include "PanelArt.h"

#include "ArtSet.h"
#include "Fretboard.h"
#include "Layout.h"
#include "Style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace PanelArt {

namespace {

using namespace Layout;

constexpr int HeaderBottom = 86;
constexpr QRect NeckBay(44, 92, 872, 198);
constexpr double BoardTop = 104;
constexpr double BoardBottom = 267;
constexpr double BoardRight = 874;
constexpr double HeadLeft = 50;
constexpr double StringLeft = 57;
constexpr double StringRight = 906;
constexpr int CaptionBaseline = 309;
constexpr int LowerCaptionBaseline = 401;
constexpr int ColumnNumberBaseline = 411;
constexpr int FretNumberBaseline = 283;

QRectF rectAt(const QPoint &topLeft, const QSize &size)
{
    return QRectF(topLeft, QSizeF(size));
}

QPointF centreOf(const QPoint &topLeft, int size)
{
    return QPointF(topLeft) + QPointF(size / 2.0, size / 2.0);
}

QPointF knobCentre(const QPoint &knob)
{
    return QPointF(knob) + KnobDotCentre;
}

void frame(QPainter &p)
{
    const QRect all(QPoint(0, 0), MainPanelSize);
    Style::brushedMetal(p, all, QColor(0x34, 0x38, 0x3f), QColor(0x1c, 0x1e, 0x22), 1);
    Style::brushedMetal(p, QRect(0, 0, all.width(), HeaderBottom), QColor(0x42, 0x47, 0x4f),
                        QColor(0x2a, 0x2d, 0x33), 2);
    p.fillRect(QRect(0, HeaderBottom, all.width(), 1), QColor(0, 0, 0, 200));
    p.fillRect(QRect(0, HeaderBottom + 1, all.width(), 1), QColor(255, 255, 255, 30));
    // The window is one pixel wider than the picture and repeats its first column there,
    // so both side edges share one colour.
    p.setPen(Style::Edge);
    p.setBrush(Qt::NoBrush);
    p.drawRect(all.adjusted(0, 0, -1, -1));
    p.setPen(QColor(255, 255, 255, 28));
    p.drawLine(1, 1, all.width() - 2, 1);
    for (const QPointF &c :
         {QPointF(10, 10), QPointF(913, 10), QPointF(10, 626), QPointF(913, 626)})
        Style::screw(p, c, 4);
}

void header(QPainter &p)
{
    const struct
    {
        QPoint at;
        const char *caption;
    } buttons[] = {
        {LoadButton, "LOAD"}, {SaveButton, "SAVE"}, {BookButton, "CHORDS"}, {UploadButton, "SONG"}};
    for (const auto &b : buttons) {
        const QPointF c = centreOf(b.at, RoundButton);
        Style::roundSocket(p, c, RoundButton / 2.0 + 2.5);
        Style::caption(p, c.x(), 74, b.caption);
    }
    const QPointF power = centreOf(PowerButton.topLeft(), PowerButton.width());
    Style::roundSocket(p, power, PowerButton.width() / 2.0 + 2.5);
    Style::caption(p, power.x(), 76, "POWER");

    // Name plate.
    const QFont brand = Style::font(27, true, 7);
    const double cx = 560;
    Style::engravedText(p, cx, 49, "KAVENDRA", brand, QColor(0xe4, 0xe8, 0xee));
    Style::engravedText(p, cx, 68, "GUITAR STRUM SIMULATOR  \u00b7  SONG EDITOR",
                        Style::font(8.5, true, 2.2), Style::Amber);
    p.fillRect(QRectF(cx - 150, 56, 300, 1), QColor(0, 0, 0, 150));
    p.fillRect(QRectF(cx - 150, 57, 300, 1), QColor(255, 255, 255, 35));
}

// The open end of the neck, left of the nut: muted and open positions lie here.
void headstock(QPainter &p)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF head(HeadLeft, BoardTop - 3, fretWireX(0) - HeadLeft, BoardBottom - BoardTop + 6);
    QLinearGradient ebony(head.topLeft(), head.bottomLeft());
    ebony.setColorAt(0, QColor(0x2a, 0x22, 0x1e));
    ebony.setColorAt(0.5, QColor(0x1a, 0x15, 0x12));
    ebony.setColorAt(1, QColor(0x10, 0x0c, 0x0a));
    p.setPen(QPen(QColor(0, 0, 0, 200), 1));
    p.setBrush(ebony);
    QPainterPath shape;
    shape.addRoundedRect(head.adjusted(0, 0, 12, 0), 9, 9);
    p.drawPath(shape);
    // String anchors.
    for (int s = 0; s < StringCount; ++s) {
        const QPointF c(StringLeft, stringY(s));
        QRadialGradient post(c - QPointF(0.8, 0.8), 3.5);
        post.setColorAt(0, QColor(0xf0, 0xf2, 0xf4));
        post.setColorAt(1, QColor(0x55, 0x5a, 0x60));
        p.setPen(QPen(QColor(0, 0, 0, 180), 0.8));
        p.setBrush(post);
        p.drawEllipse(c, 3.2, 3.2);
    }
    p.restore();
}

// The body end of the strings, right of the fretboard: a chrome bridge saddle.
void bridge(QPainter &p)
{
    const QRectF body(BoardRight, NeckBay.top() + 6, NeckBay.right() - BoardRight - 5,
                      NeckBay.height() - 12);
    QLinearGradient lacquer(body.topLeft(), body.bottomLeft());
    lacquer.setColorAt(0, QColor(0x25, 0x12, 0x0b));
    lacquer.setColorAt(1, QColor(0x12, 0x08, 0x05));
    p.fillRect(body, lacquer);
    const QRectF saddle(888, BoardTop + 2, 9, BoardBottom - BoardTop - 4);
    QLinearGradient chrome(saddle.topLeft(), saddle.topRight());
    chrome.setColorAt(0, QColor(0x60, 0x66, 0x6d));
    chrome.setColorAt(0.4, QColor(0xe6, 0xea, 0xee));
    chrome.setColorAt(1, QColor(0x4a, 0x4f, 0x55));
    p.fillRect(saddle, chrome);
    p.fillRect(QRectF(saddle.right(), saddle.top(), 2, saddle.height()), QColor(0, 0, 0, 110));
}

Fretboard mainFretboard()
{
    Fretboard f;
    f.board =
        QRectF(fretWireX(0) + 2, BoardTop, BoardRight - fretWireX(0) - 2, BoardBottom - BoardTop);
    f.nutX = fretWireX(0);
    f.nutWidth = 5;
    for (int k = 1; k <= FretWireCount; ++k)
        f.wires << fretWireX(k);
    for (int s = 0; s < StringCount; ++s)
        f.strings << stringY(s);
    f.stringLeft = StringLeft;
    f.stringRight = StringRight;
    // Dots in the middle of frets 3, 5, 7, 9 and 15; two at fret 12.
    const double middle = (stringY(2) + stringY(3)) / 2.0;
    for (int fret : {3, 5, 7, 9, 15})
        f.inlays << QPointF(positionX(fret + 1), middle);
    f.inlays << QPointF(positionX(13), (stringY(1) + stringY(2)) / 2.0)
             << QPointF(positionX(13), (stringY(3) + stringY(4)) / 2.0);
    return f;
}

void neck(QPainter &p)
{
    Style::well(p, NeckBay, 8, QColor(0x08, 0x09, 0x0b), QColor(0x15, 0x17, 0x1a));
    headstock(p);
    bridge(p);
    mainFretboard().paint(p);
    // Position numbers under the neck: muted, open, then the frets.
    const QFont f = Style::font(9, true);
    Style::engravedText(p, positionX(0), FretNumberBaseline, "\u00d7", f, Style::CaptionDim);
    Style::engravedText(p, positionX(1), FretNumberBaseline, "0", f, Style::CaptionDim);
    for (int fret = 1; fret <= FretWireCount; ++fret) {
        const bool marked =
            fret == 3 || fret == 5 || fret == 7 || fret == 9 || fret == 12 || fret == 15;
        Style::engravedText(p, positionX(fret + 1), FretNumberBaseline, QString::number(fret), f,
                            marked ? Style::Caption : Style::CaptionDim);
    }
}

void knobPlate(QPainter &p, const QPoint &knob, const QString &max)
{
    const QPointF c = knobCentre(knob);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient plate(c, 28.5);
    plate.setColorAt(0, QColor(0x0c, 0x0d, 0x10));
    plate.setColorAt(0.9, QColor(0x16, 0x18, 0x1c));
    plate.setColorAt(1, QColor(0x26, 0x29, 0x2e));
    p.setPen(QPen(QColor(0, 0, 0, 150), 1));
    p.setBrush(plate);
    p.drawEllipse(c, 28.5, 28.5);
    p.restore();
    const QFont f = Style::font(8, true);
    Style::engravedText(p, c.x() - 20, c.y() + 39, "0", f, Style::CaptionDim);
    Style::engravedText(p, c.x() + 20, c.y() + 39, max, f, Style::CaptionDim);
}

void field(QPainter &p, const QPoint &at)
{
    Style::well(p, rectAt(at, FieldSize), 3);
}

void knobsAndValues(QPainter &p)
{
    const struct
    {
        QPoint knob;
        const char *caption;
        const char *max;
    } knobs[] = {{VolKnob, "VOLUME", "100"},
                 {HoldKnob, "HOLD TIME", "100"},
                 {SpeedKnob, "STRUM SPEED", "400"},
                 {OffsetKnob, "OFFSET TIME", "400"}};
    for (const auto &k : knobs)
        knobPlate(p, k.knob, k.max);
    field(p, VolField);
    field(p, HoldField);
    // Volume and hold: caption over the knob and its field together.
    Style::caption(p, (knobCentre(VolKnob).x() + VolField.x() + FieldSize.width()) / 2.0 - 8,
                   CaptionBaseline, knobs[0].caption);
    Style::caption(p, (knobCentre(HoldKnob).x() + HoldField.x() + FieldSize.width()) / 2.0 - 8,
                   CaptionBaseline, knobs[1].caption);
    // Speed and offset: the knob heads its column of fields.
    Style::caption(p, knobCentre(SpeedKnob).x(), CaptionBaseline, knobs[2].caption);
    Style::caption(p, knobCentre(OffsetKnob).x(), CaptionBaseline, knobs[3].caption);
}

void strokeGrid(QPainter &p)
{
    // Faint rules between the stroke rows.
    for (int r = 1; r < 4; ++r) {
        const int y = fretField(r, 0).y() - 8;
        p.fillRect(QRect(378, y, 494, 1), QColor(0, 0, 0, 110));
        p.fillRect(QRect(378, y + 1, 494, 1), QColor(255, 255, 255, 22));
    }
    const QFont number = Style::font(10.5, true);
    for (int s = 0; s < StringCount; ++s) {
        const QPoint at = fretField(0, s);
        Style::engravedText(p, at.x() + FieldSize.width() / 2.0, ColumnNumberBaseline,
                            QString::number(s + 1), number);
    }
    for (int r = 0; r < 4; ++r) {
        for (int s = 0; s < StringCount; ++s)
            field(p, fretField(r, s));
        field(p, speedField(r));
        if (r > 0)
            field(p, offsetField(r - 1));
        Style::well(p, rectAt(arrow(r), ArrowSize).adjusted(-2, -2, 2, 2), 6);
        Style::roundSocket(p, QPointF(lamp(r)) + QPointF(7.5, 7.5), 9.5);
    }
}

void soundButtonTray(QPainter &p)
{
    // The tray wraps the cells; the panel widget reaches a little further right and down.
    const QRectF cells(cell(0, 0), QPointF(cell(PanelColumns - 1, PanelRows - 1)) +
                                       QPointF(TileSize, TileSize));
    Style::well(p, cells.adjusted(-5, -5, 5, 5), 7, QColor(0x0c, 0x0d, 0x10),
                QColor(0x15, 0x17, 0x1b));
    for (int r = 0; r < PanelRows; ++r) {
        for (int c = 0; c < PanelColumns; ++c) {
            Style::well(p, rectAt(cell(c, r), QSize(TileSize, TileSize)), 5,
                        QColor(0x15, 0x17, 0x1b), QColor(0x1f, 0x22, 0x27));
        }
    }
    Style::caption(p, cells.center().x(), 603, "SOUND BUTTONS");
}

void leftControls(QPainter &p)
{
    Style::well(p, QRectF(TimbreButton).adjusted(-3, -3, 3, 3), 8);
    Style::caption(p, TimbreButton.left() - 32, TimbreButton.center().y() + 4, "VOICE");
    Style::well(p, QRectF(LockButton).adjusted(-3, -3, 3, 3), 7);
    Style::well(p, QRectF(IconPreview).adjusted(-4, -4, 4, 4), 5);
    // One tray for play, add and delete.
    const QRectF tray =
        QRectF(PlayButton, QSizeF(DeleteButton.x() - PlayButton.x() + RoundButton, RoundButton))
            .adjusted(-3, -3, 3, 3);
    Style::well(p, tray, tray.height() / 2);
    Style::caption(p, QRectF(LockButton).center().x(), LowerCaptionBaseline, "LOCK");
    Style::caption(p, QRectF(IconPreview).center().x(), LowerCaptionBaseline, "ICON");
    const struct
    {
        QPoint at;
        const char *caption;
    } buttons[] = {{PlayButton, "PLAY"}, {AddButton, "ADD"}, {DeleteButton, "DELETE"}};
    for (const auto &b : buttons)
        Style::caption(p, centreOf(b.at, RoundButton).x(), LowerCaptionBaseline, b.caption);
}

// The song player's strip; captions stand left of their controls, as VOICE does.
void songPlayer(QPainter &p)
{
    const double baseline = QRectF(SongStatus).center().y() + 4;
    const QRectF keys = QRectF(SongPlayButton).united(QRectF(LoopButton)).adjusted(-3, -3, 3, 3);
    Style::well(p, keys, 8);
    Style::caption(p, keys.left() - 24, baseline, "SONG");
    Style::well(p, SongStatus, 4, QColor(0x05, 0x07, 0x0a), QColor(0x10, 0x16, 0x1e));
    field(p, TempoField);
    Style::caption(p, TempoField.x() - 24, baseline, "TEMPO");
    field(p, BeatsField);
    Style::caption(p, BeatsField.x() - 24, baseline, "BEATS");
}

} // namespace

QImage mainPanel()
{
    QImage image = ArtSet::canvas(MainPanelSize);
    QPainter p(&image);
    frame(p);
    header(p);
    neck(p);
    knobsAndValues(p);
    strokeGrid(p);
    soundButtonTray(p);
    leftControls(p);
    songPlayer(p);
    return image;
}

QImage splash()
{
    QImage image = ArtSet::canvas(SplashSize);
    QPainter p(&image);
    const QRect all(QPoint(0, 0), SplashSize);
    Style::brushedMetal(p, all, QColor(0x3c, 0x41, 0x49), QColor(0x18, 0x1a, 0x1e), 3);
    p.setPen(Style::Edge);
    p.drawRect(all.adjusted(0, 0, -1, -1));
    Style::bevel(p, QRectF(all).adjusted(1, 1, -1, -1), 0, 50, 120);
    for (const QPointF &c :
         {QPointF(10, 10), QPointF(470, 10), QPointF(10, 290), QPointF(470, 290)})
        Style::screw(p, c, 4);
    Style::engravedText(p, 240, 92, "KAVENDRA", Style::font(46, true, 9), QColor(0xec, 0xef, 0xf3));
    Style::engravedText(p, 240, 122, "Guitar strum simulator & song editor",
                        Style::font(14, false, 0.5), Style::Amber);

    // A short stretch of neck with a chord on it.
    const QRect bay(24, 152, 432, 96);
    Style::well(p, bay, 8, QColor(0x08, 0x09, 0x0b), QColor(0x15, 0x17, 0x1a));
    Fretboard f;
    f.board = QRectF(60, 160, 390, 80);
    f.nutX = 57;
    f.nutWidth = 5;
    for (int k = 1; k <= 7; ++k)
        f.wires << 57 + 56.0 * k;
    for (int s = 0; s < 6; ++s)
        f.strings << 167 + 13.2 * s;
    f.stringLeft = 30;
    f.stringRight = 452;
    f.inlays << QPointF(57 + 56 * 2.5, 200) << QPointF(57 + 56 * 4.5, 200)
             << QPointF(57 + 56 * 6.5, 200);
    f.inlayRadius = 5;
    f.paint(p);
    // C major: strings 2, 4 and 5 fretted.
    p.setRenderHint(QPainter::Antialiasing);
    const struct
    {
        int string;
        int fret;
    } chord[] = {{1, 1}, {3, 2}, {4, 3}};
    for (const auto &n : chord) {
        const QPointF c(57 + 56 * (n.fret - 0.5), f.strings[n.string]);
        QRadialGradient pearl(c - QPointF(2, 2), 7);
        pearl.setColorAt(0, QColor(0xff, 0xf1, 0xc8));
        pearl.setColorAt(0.4, QColor(0xff, 0xb8, 0x3c));
        pearl.setColorAt(1, QColor(0xc0, 0x5a, 0x08));
        p.setPen(QPen(QColor(0x3a, 0x18, 0x00, 220), 1.2));
        p.setBrush(pearl);
        p.drawEllipse(c, 6, 6);
    }
    Style::engravedText(p, 240, 278, "loading\u2026", Style::font(10, true, 2), Style::CaptionDim);
    return image;
}

void paintAll(ArtSet &set)
{
    set.add("main_panel.png", mainPanel());
    set.add("splash.png", splash());
}

} // namespace PanelArt
