#include "DialogArt.h"

#include "ArtSet.h"
#include "Layout.h"
#include "Style.h"
#include "TileArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace DialogArt {

namespace {

using namespace Layout;

const char *const Roots[RootCount][2] = {
    {"A", "chord_a"},    {"A#", "chord_a_s"}, {"B", "chord_b"},    {"C", "chord_c"},
    {"C#", "chord_c_s"}, {"D", "chord_d"},    {"D#", "chord_d_s"}, {"E", "chord_e"},
    {"F", "chord_f"},    {"F#", "chord_f_s"}, {"G", "chord_g"},    {"G#", "chord_g_s"},
};

const char *const Types[TypeCount][2] = {
    {"major", "chord_major"}, {"7", "chord_7"},         {"m", "chord_m"},
    {"m7", "chord_m7_s"},     {"M7", "chord_m7_l"},     {"mM7", "chord_mm7"},
    {"sus4", "chord_sus4"},   {"7sus4", "chord_7sus4"}, {"dim", "chord_dim"},
    {"m7-5", "chord_m75"},    {"aug", "chord_aug"},     {"add9", "chord_add9"},
    {"6", "chord_6"},         {"m6", "chord_m6"},
};

const QColor Title(0xe4, 0xe8, 0xee);

void dialogFrame(QPainter &p, const QSize &size, int seed)
{
    const QRect all(QPoint(0, 0), size);
    Style::brushedMetal(p, all, QColor(0x3a, 0x3e, 0x46), QColor(0x1c, 0x1e, 0x22), seed);
    p.setPen(Style::Edge);
    p.setBrush(Qt::NoBrush);
    p.drawRect(all.adjusted(0, 0, -1, -1));
    Style::bevel(p, QRectF(all).adjusted(1, 1, -1, -1), 0, 55, 120);
    const double r = size.width() - 9.0, b = size.height() - 9.0;
    for (const QPointF &c : {QPointF(9, 9), QPointF(r, 9), QPointF(9, b), QPointF(r, b)})
        Style::screw(p, c, 3.5);
}

void titleBar(QPainter &p, int width, const QString &title)
{
    Style::engravedText(p, width / 2.0, 25, title, Style::font(14, true, 2.5), Title);
    p.fillRect(QRectF(24, 32, width - 48, 1), QColor(0, 0, 0, 150));
    p.fillRect(QRectF(24, 33, width - 48, 1), QColor(255, 255, 255, 30));
}

void rule(QPainter &p, int width, int y)
{
    p.fillRect(QRectF(12, y, width - 24, 1), QColor(0, 0, 0, 150));
    p.fillRect(QRectF(12, y + 1, width - 24, 1), QColor(255, 255, 255, 30));
}

QImage chordButton(int width, const QString &text)
{
    QImage image = ArtSet::canvas(width, 20);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, width - 1, 19);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(0x4a, 0x4f, 0x57));
    g.setColorAt(1, QColor(0x22, 0x25, 0x2a));
    p.setPen(QPen(QColor(0, 0, 0, 200), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 4, 4);
    Style::bevel(p, r.adjusted(1, 1, -1, -1), 3, 70, 60);
    const double size = text.size() > 4 ? 10.5 : 11.5;
    Style::shadowedText(p, QRectF(0, 0, width, 19), text, Style::font(size, true),
                        QColor(0xee, 0xf1, 0xf5));
    return image;
}

// Lies around the chosen root or type, or the current picture: amber light with a soft glow,
// open inside so that what it frames stays readable.
QImage litFrame(const QSize &size, double radius)
{
    QImage image = ArtSet::canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath frame;
    frame.addRoundedRect(QRectF(QPointF(0, 0), size).adjusted(1.5, 1.5, -1.5, -1.5), radius,
                         radius);
    QColor light = Style::Amber;
    light.setAlpha(200);
    Style::glow(p, frame, light, 3.5);
    p.setPen(QPen(QColor(0, 0, 0, 150), 2.6));
    p.drawPath(frame);
    p.setPen(QPen(Style::AmberBright, 1.5));
    p.drawPath(frame);
    return image;
}

// Lies around the picture under the pointer: a thin pale line, quieter than the lit frame.
QImage pointerFrame(const QSize &size, double radius)
{
    QImage image = ArtSet::canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QColor line = Style::Glyph;
    line.setAlpha(210);
    p.setPen(QPen(line, 1.2));
    p.setBrush(QColor(255, 255, 255, 18));
    p.drawRoundedRect(QRectF(QPointF(0, 0), size).adjusted(1, 1, -1, -1), radius, radius);
    return image;
}

void editWell(QPainter &p, const QRect &r)
{
    Style::well(p, QRectF(r).adjusted(-2, -2, 2, 2), 4);
}

void leftCaption(QPainter &p, double x, double baseline, const QString &text)
{
    Style::caption(p, x + Style::textWidth(text, Style::captionFont()) / 2.0, baseline, text);
}

void rightCaption(QPainter &p, double right, double baseline, const QString &text)
{
    Style::caption(p, right - Style::textWidth(text, Style::captionFont()) / 2.0, baseline, text);
}

// A key of a keyboard with its name, in the style of the chord buttons.
void keyCap(QPainter &p, const QRectF &r, const QString &name)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(0x4e, 0x53, 0x5b));
    g.setColorAt(1, QColor(0x26, 0x29, 0x2e));
    p.setPen(QPen(QColor(0, 0, 0, 210), 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3.5, 3.5);
    Style::bevel(p, r.adjusted(1.5, 1.5, -1.5, -1.5), 2.5, 70, 50);
    p.restore();
    Style::shadowedText(p, r.adjusted(0, -1, 0, -1), name,
                        Style::font(name.size() > 3 ? 9 : 10.5, true), Style::Glyph);
}

// Keys joined by "+" side by side from x; returns where the last one ends.
double keyCombo(QPainter &p, double x, double top, const QStringList &keys)
{
    const QFont f = Style::font(10.5, true);
    for (int i = 0; i < keys.size(); ++i) {
        if (i > 0) {
            Style::engravedText(p, x + 5, top + 14, "+", f, Style::CaptionDim);
            x += 10;
        }
        const double width = std::max(22.0, Style::textWidth(keys[i], f) + 12);
        keyCap(p, QRectF(x, top, width, 20), keys[i]);
        x += width;
    }
    return x;
}

void keyGrid(QPainter &p, const QPointF &origin)
{
    const char *const rows[] = {"123456789", "QWERTYUIO", "ASDFGHJKL", "ZXCVBNM,."};
    const QSizeF cap(27, 23);
    const double stepX = 30, stepY = 28;
    for (int r = 0; r < PanelRows; ++r) {
        for (int c = 0; c < PanelColumns; ++c) {
            const QString key = QString(QChar(rows[r % 4][c]));
            const QString name = r == 4 ? QStringLiteral("\u21e7") + key : key;
            keyCap(p, QRectF(origin + QPointF(c * stepX, r * stepY), cap), name);
        }
    }
}

} // namespace

QString rootName(int i)
{
    return Roots[i][0];
}

QString rootPicture(int i)
{
    return QString(Roots[i][1]) + ".png";
}

QString typeName(int j)
{
    return Types[j][0];
}

QString typePicture(int j)
{
    return QString(Types[j][1]) + ".png";
}

QImage bookPanel()
{
    QImage image = ArtSet::canvas(BookPanelSize);
    QPainter p(&image);
    const int w = BookPanelSize.width();
    dialogFrame(p, BookPanelSize, 4);
    titleBar(p, w, "CHORD BOOK");
    // Tracks for the two button columns, with room for the lit frame around the chosen one.
    const QRectF roots(QPointF(rootButton(0).left() - 19, rootButton(0).top() - 5),
                       QPointF(rootButton(0).right() + 20, rootButton(RootCount - 1).bottom() + 6));
    const QRectF types(QPointF(typeButton(0).left() - 10, typeButton(0).top() - 5),
                       QPointF(typeButton(0).right() + 11, typeButton(TypeCount - 1).bottom() + 6));
    const QColor trackTop(0x0e, 0x10, 0x13), trackBottom(0x18, 0x1b, 0x1f);
    Style::well(p, roots, 6, trackTop, trackBottom);
    Style::well(p, types, 6, trackTop, trackBottom);
    Style::well(p, ChordDisplay, 6, QColor(0x08, 0x0a, 0x0d), QColor(0x12, 0x15, 0x1a));
    Style::caption(p, roots.center().x(), 47, "ROOT");
    Style::caption(p, ChordDisplay.center().x(), 47, "CHORD");
    Style::caption(p, types.center().x(), 47, "TYPE");
    Style::engravedText(p, w / 2.0, 436, "pick a root and a type", Style::font(9, false, 0.5),
                        Style::CaptionDim);
    rule(p, w, 446);
    Style::well(p, QRectF(BookSet).adjusted(-2, -2, 2, 2), 14);
    Style::well(p, QRectF(BookClose).adjusted(-2, -2, 2, 2), 14);
    Style::roundSocket(p, QRectF(BookPlay).center(), BookPlay.width() / 2.0 + 2.5);
    return image;
}

QImage iconChooserPanel()
{
    QImage image = ArtSet::canvas(IconChooserSize);
    QPainter p(&image);
    const int w = IconChooserSize.width();
    dialogFrame(p, IconChooserSize, 6);
    titleBar(p, w, "BUTTON ICON");
    for (int i = 0; i < TileArt::TileCount; ++i)
        Style::well(p, QRectF(chooserTile(i)).adjusted(-2, -2, 2, 2), 6);
    Style::engravedText(p, w / 2.0, IconChooserSize.height() - 11,
                        "click a picture  \u00b7  Esc cancels", Style::font(9, false, 0.5),
                        Style::CaptionDim);
    return image;
}

QImage songInfoPanel()
{
    QImage image = ArtSet::canvas(SongInfoPanelSize);
    QPainter p(&image);
    const int w = SongInfoPanelSize.width();
    dialogFrame(p, SongInfoPanelSize, 5);
    titleBar(p, w, "SONG INFO");
    const struct
    {
        QRect edit;
        const char *caption;
    } edits[] = {{TitleEdit, "TITLE"}, {ArtistEdit, "ARTIST"}, {UserEdit, "USER"}};
    for (const auto &e : edits) {
        editWell(p, e.edit);
        rightCaption(p, e.edit.left() - 10, e.edit.top() + 15, e.caption);
    }
    rule(p, w, 154);
    leftCaption(p, TapOrderBox.left(), 178, "TAP ORDER");
    editWell(p, TapOrderBox);
    Style::engravedText(p, TapOrderBox.center().x(), TapOrderBox.bottom() + 18,
                        "press REC, then play the sound buttons", Style::font(9, false, 0.3),
                        Style::CaptionDim);
    leftCaption(p, LyricsBox.left(), LyricsBox.top() - 10, "LYRICS");
    editWell(p, LyricsBox);
    rule(p, w, 484);
    for (const QRect &b : {SubmitButton, CloseButton})
        Style::well(p, QRectF(b).adjusted(-2, -2, 2, 2), 14);
    Style::well(p, QRectF(RecordButton).adjusted(-2, -2, 2, 2), 14);
    return image;
}

QImage keyHelp()
{
    QImage image = ArtSet::canvas(KeyHelpSize);
    QPainter p(&image);
    const int w = KeyHelpSize.width();
    dialogFrame(p, KeyHelpSize, 6);
    titleBar(p, w, "KEYS");

    // The panel's cells and their keys, row for row as on the keyboard.
    const QRectF grid(26, 62, 9 * 30 + 10, 5 * 28 + 10);
    Style::well(p, grid, 6, QColor(0x0e, 0x10, 0x13), QColor(0x18, 0x1b, 0x1f));
    keyGrid(p, grid.topLeft() + QPointF(6.5, 6.5));
    Style::caption(p, grid.center().x(), 54, "SOUND BUTTONS");
    const QFont note = Style::font(9.5, false, 0.2);
    const char *const notes[] = {
        "A key plays its button, as a click does.",
        "\u21e7 is Shift: Shift+1 to Shift+9, or the",
        "keypad's 1 to 9, play the fifth row.",
        "Esc or a click on the panel leaves a field;",
        "then the keys play again.",
        "Right-click the panel to hide the key names.",
    };
    double y = grid.bottom() + 22;
    for (const char *line : notes) {
        p.setFont(note);
        p.setPen(Style::CaptionDim);
        p.drawText(QPointF(grid.left() + 2, y), line);
        y += 15;
    }

    // The commands.
    const struct
    {
        QStringList keys;
        const char *what;
    } commands[] = {
        {{"Space"}, "play the sound on the form"},
        {{"\u21e7", "Space"}, "play or stop the song"},
        {{"Ctrl", "O"}, "load a song"},
        {{"Ctrl", "S"}, "save"},
        {{"Ctrl", "\u21e7", "S"}, "save as"},
        {{"Ctrl", "E"}, "export the song as WAV"},
        {{"Ctrl", "Z"}, "undo"},
        {{"Ctrl", "\u21e7", "Z"}, "redo"},
        {{"Del"}, "delete the selected button"},
        {{"Ctrl", "Q"}, "power off"},
        {{"F1"}, "show or hide the keys"},
    };
    const double left = 338;
    Style::caption(p, left + 122, 54, "COMMANDS");
    y = 64;
    for (const auto &command : commands) {
        keyCombo(p, left, y, command.keys);
        p.setFont(Style::font(10.5, false, 0.2));
        p.setPen(Style::Caption);
        p.drawText(QPointF(left + 104, y + 14), command.what);
        y += 27;
    }
    rule(p, w, KeyHelpSize.height() - 44);
    Style::engravedText(
        p, w / 2.0, KeyHelpSize.height() - 22,
        "right-click Load for the recent songs  \u00b7  drop a .kds file to load it  "
        "\u00b7  the wheel turns a knob",
        Style::font(9.5, false, 0.3), Style::CaptionDim);
    return image;
}

void paintAll(ArtSet &set)
{
    set.add("book_panel.png", bookPanel());
    set.add("sinfo_panel.png", songInfoPanel());
    for (int i = 0; i < RootCount; ++i)
        set.add(rootPicture(i), chordButton(rootButton(i).width(), rootName(i)));
    for (int j = 0; j < TypeCount; ++j)
        set.add(typePicture(j), chordButton(typeButton(j).width(), typeName(j)));
    set.add("chord_focus_root.png", litFrame(focusAround(rootButton(0)).size(), 6));
    set.add("chord_focus_type.png", litFrame(focusAround(typeButton(0)).size(), 6));
    set.add("icon_panel.png", iconChooserPanel());
    set.add("icon_mark_current.png", litFrame(currentMark(0).size(), 8));
    set.add("icon_mark_pointer.png", pointerFrame(pointerMark(0).size(), 7));
    set.add("key_help.png", keyHelp());
}

} // namespace DialogArt
