#include "Preview.h"

#include "ArtSet.h"
#include "DialogArt.h"
#include "Layout.h"
#include "Style.h"
#include "TileArt.h"

#include <QDir>
#include <QPainter>
#include <QtMath>

namespace Preview {

namespace {

using namespace Layout;

void draw(QPainter &p, const ArtSet &set, const QString &name, const QPointF &at)
{
    p.drawImage(at, set.image(name));
}

// Text as the program's numeric fields show it: right-aligned, default family at 10 points.
void fieldText(QPainter &p, const QPoint &at, const QString &text)
{
    QFont f;
    f.setPointSize(10);
    p.setFont(f);
    p.setPen(Style::FieldText);
    p.drawText(QRect(at, FieldSize).adjusted(2, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, text);
}

// The knob as the program paints it: dial at (0, 0), dot on its circle for the value.
void knob(QPainter &p, const ArtSet &set, const QPoint &at, double value, double maximum)
{
    const double angle = (-50.0 - 230.0) / maximum * value + 230.0;
    const double r = qDegreesToRadians(angle);
    draw(p, set, "bt_rot.png", at);
    const QPoint dot(int(29.0 + 16.0 * qCos(r)), int(29.0 - 2.0 - 16.0 * qSin(r)));
    draw(p, set, "bt_rot_dot.png", at + dot);
}

// A sound button as the program draws it: its picture with the number in its label colour.
QImage soundButton(const ArtSet &set, int icon, int number, bool selected)
{
    const QString name =
        QString("bt%1%2.png").arg(icon, 2, 10, QLatin1Char('0')).arg(selected ? "sel" : "");
    QImage image = set.image(name).copy();
    QPainter p(&image);
    p.setPen(TileArt::labelColour(icon));
    const QString label = QString::number(number);
    p.drawText(label.size() == 1 ? QPoint(13, 25) : QPoint(10, 25), label);
    return image;
}

void outline(QPainter &p, const QRect &r, const QColor &c)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(c);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.restore();
}

// The marker of grid point (s, p), centred on its hit square.
void marker(QPainter &p, const ArtSet &set, const QString &name, int s, int pos)
{
    draw(p, set, name, markerCentre(s, pos) - QPoint(MarkerPicture / 2, MarkerPicture / 2));
}

void controls(QPainter &p, const ArtSet &set)
{
    draw(p, set, "bt_power.png", PowerButton.topLeft());
    draw(p, set, "bt_load.png", LoadButton);
    draw(p, set, "bt_save_hover.png", SaveButton);
    draw(p, set, "bt_chord_book.png", BookButton);
    draw(p, set, "bt_upload.png", UploadButton);
    draw(p, set, "bt_play.png", PlayButton);
    draw(p, set, "bt_add_hover.png", AddButton);
    draw(p, set, "bt_delete.png", DeleteButton);
    draw(p, set, "bt_acoustic.png", TimbreButton.topLeft());
    draw(p, set, "bt_lock.png", LockButton.topLeft());
    p.drawImage(IconPreview, set.image("bt03.png"));
    for (int r = 0; r < 4; ++r) {
        draw(p, set, r == 2 ? "bt_up.png" : "bt_down.png", arrow(r));
        draw(p, set, "lamp_off.png", lamp(r));
    }
    draw(p, set, "lamp_valid.png", lamp(1));
    knob(p, set, VolKnob, 100, 100);
    knob(p, set, HoldKnob, 50, 100);
    knob(p, set, SpeedKnob, 0, 400);
    knob(p, set, OffsetKnob, 120, 400);
    fieldText(p, VolField, "100");
    fieldText(p, HoldField, "50");
    draw(p, set, "bt_song_stop.png", SongPlayButton.topLeft());
    draw(p, set, "bt_loop.png", LoopButton.topLeft());
    fieldText(p, TempoField, "120");
    fieldText(p, BeatsField, "2");
}

void fields(QPainter &p, const int frets[4][StringCount])
{
    for (int r = 0; r < 4; ++r) {
        for (int s = 0; s < StringCount; ++s) {
            const int f = frets[r][s];
            fieldText(p, fretField(r, s), f < 0 ? "-" : QString::number(f));
        }
        fieldText(p, speedField(r), r == 1 ? "400" : QString::number(20 * r));
        if (r > 0)
            fieldText(p, offsetField(r - 1), QString::number(150 * r));
    }
}

void soundButtons(QPainter &p, const ArtSet &set)
{
    for (int n = 1; n <= 16; ++n) {
        const int c = (n - 1) % PanelColumns, r = (n - 1) / PanelColumns;
        p.drawImage(cell(c, r), soundButton(set, (n - 1) % TileArt::TileCount, n, n == 5));
    }
    draw(p, set, "tile_select.png", cell(7, 2));
    draw(p, set, "tile_playing.png", cell(2, 0));
}

// The window in use: a chord in stroke 2, the hover marker on string 3, some buttons.
QImage mainWindow(const ArtSet &set)
{
    QImage image(MainPanelSize + QSize(1, 0), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    draw(p, set, "main_panel.png", QPointF(0, 0));
    draw(p, set, "main_panel.png", QPointF(MainPanelSize.width(), 0));
    const int frets[4][StringCount] = {
        {0, 1, 0, 2, 3, -1}, {3, 3, 0, 0, 2, 3}, {15, 12, 9, 7, 5, 3}, {-1, -1, -1, -1, -1, -1}};
    for (int s = 0; s < StringCount; ++s)
        marker(p, set, "active_fret.png", s, frets[1][s] + 1);
    marker(p, set, "sel_pos.png", 3, 5);
    controls(p, set);
    fields(p, frets);
    soundButtons(p, set);
    return image;
}

// Every grid point with its marker, hit squares and control rectangles outlined.
QImage markers(const ArtSet &set)
{
    QImage image = set.image("main_panel.png").convertToFormat(QImage::Format_ARGB32);
    QPainter p(&image);
    for (int s = 0; s < StringCount; ++s) {
        for (int pos = 0; pos < PositionCount; ++pos) {
            marker(p, set, (s + pos) % 5 == 0 ? "sel_pos.png" : "active_fret.png", s, pos);
            outline(p, QRect(markerCentre(s, pos) - QPoint(15, 15), QSize(31, 31)),
                    QColor(0, 255, 255, 60));
        }
    }
    const QColor box(255, 0, 255);
    for (int r = 0; r < 4; ++r) {
        for (int s = 0; s < StringCount; ++s)
            outline(p, QRect(fretField(r, s), FieldSize), box);
        outline(p, QRect(speedField(r), FieldSize), box);
        if (r > 0)
            outline(p, QRect(offsetField(r - 1), FieldSize), box);
        outline(p, QRect(arrow(r), ArrowSize), box);
        outline(p, QRect(lamp(r), LampSize), box);
    }
    for (const QRect &r : {QRect(VolField, FieldSize), QRect(HoldField, FieldSize), TimbreButton,
                           PowerButton, LockButton, IconPreview, ButtonPanel})
        outline(p, r, box);
    for (const QPoint &k : {VolKnob, HoldKnob, SpeedKnob, OffsetKnob})
        outline(p, QRect(k, QSize(63, 63)), QColor(255, 255, 0));
    for (const QPoint &b :
         {LoadButton, SaveButton, BookButton, UploadButton, PlayButton, AddButton, DeleteButton})
        outline(p, QRect(b, QSize(RoundButton, RoundButton)), box);
    for (int r = 0; r < PanelRows; ++r) {
        for (int c = 0; c < PanelColumns; ++c)
            outline(p, QRect(cell(c, r), QSize(TileSize, TileSize)), QColor(0, 255, 0, 120));
    }
    return image;
}

QImage chordBook(const ArtSet &set)
{
    QImage image = set.image("book_panel.png").copy();
    QPainter p(&image);
    for (int i = 0; i < RootCount; ++i)
        draw(p, set, DialogArt::rootPicture(i), rootButton(i).topLeft());
    for (int j = 0; j < TypeCount; ++j)
        draw(p, set, DialogArt::typePicture(j), typeButton(j).topLeft());
    draw(p, set, "chord_focus_root.png", focusAround(rootButton(5)).topLeft());
    draw(p, set, "chord_focus_type.png", focusAround(typeButton(0)).topLeft());
    draw(p, set, "bt_set.png", BookSet.topLeft());
    draw(p, set, "bt_cancel.png", BookClose.topLeft());
    draw(p, set, "bt_play.png", BookPlay.topLeft());
    return image;
}

// The chooser with picture 3 current and the pointer over picture 9.
QImage iconChooser(const ArtSet &set)
{
    QImage image = set.image("icon_panel.png").copy();
    QPainter p(&image);
    draw(p, set, "icon_mark_current.png", currentMark(3).topLeft());
    draw(p, set, "icon_mark_pointer.png", pointerMark(9).topLeft());
    for (int i = 0; i < TileArt::TileCount; ++i)
        draw(p, set, QString("bt%1.png").arg(i, 2, 10, QLatin1Char('0')), chooserTile(i).topLeft());
    return image;
}

QImage songInfo(const ArtSet &set)
{
    QImage image = set.image("sinfo_panel.png").copy();
    QPainter p(&image);
    p.setPen(Style::FieldText);
    const struct
    {
        QRect r;
        const char *text;
    } texts[] = {{TitleEdit, "Autumn Road"},
                 {ArtistEdit, "The Lanterns"},
                 {UserEdit, "mira"},
                 {TapOrderBox, "0,1,0,2,3,3,1,0"},
                 {LyricsBox, "Walking down the autumn road\nleaves of amber, skies of gold"}};
    for (const auto &t : texts)
        p.drawText(t.r.adjusted(3, 2, -3, -2), Qt::AlignLeft | Qt::AlignTop, t.text);
    draw(p, set, "bt_submit.png", SubmitButton.topLeft());
    draw(p, set, "bt_close_hover.png", CloseButton.topLeft());
    draw(p, set, "bt_rectangle.png", RecordButton.topLeft());
    return image;
}

// Every sound-button picture with a one- and a two-digit number, normal and selected.
QImage tiles(const ArtSet &set)
{
    const int step = 36;
    QImage image(TileArt::TileCount * step + 6, 4 * step + 6, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0x14, 0x16, 0x19));
    QPainter p(&image);
    for (int i = 0; i < TileArt::TileCount; ++i) {
        const int x = 6 + i * step;
        p.drawImage(x, 6, soundButton(set, i, i % 9 + 1, false));
        p.drawImage(x, 6 + step, soundButton(set, i, i % 9 + 1, true));
        p.drawImage(x, 6 + 2 * step, soundButton(set, i, 38 + i, false));
        p.drawImage(x, 6 + 3 * step, soundButton(set, i, 38 + i, true));
    }
    p.end();
    return image.scaled(image.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// Every button next to its hover picture.
QImage buttons(const ArtSet &set)
{
    QStringList names;
    for (const QString &n : set.names()) {
        if (n.endsWith("_hover.png"))
            names << n.left(n.size() - 10);
    }
    const int rowHeight = 50, columnWidth = 240;
    const int rows = (names.size() + 1) / 2;
    QImage image(2 * columnWidth, rows * rowHeight + 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0x26, 0x29, 0x2e));
    QPainter p(&image);
    p.setFont(Style::font(10, false));
    for (int i = 0; i < names.size(); ++i) {
        const QPoint at((i % 2) * columnWidth + 8, (i / 2) * rowHeight + 8);
        p.drawImage(at, set.image(names[i] + ".png"));
        p.drawImage(at + QPoint(110, 0), set.image(names[i] + "_hover.png"));
        p.setPen(Style::CaptionDim);
        p.drawText(at + QPoint(0, rowHeight - 8), names[i]);
    }
    p.end();
    return image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace

bool writeAll(const ArtSet &set, const QString &dir)
{
    QDir().mkpath(dir);
    const QDir d(dir);
    return mainWindow(set).save(d.filePath("preview_main.png")) &&
           markers(set).save(d.filePath("preview_markers.png")) &&
           chordBook(set).save(d.filePath("preview_chord_book.png")) &&
           iconChooser(set).save(d.filePath("preview_icon_chooser.png")) &&
           songInfo(set).save(d.filePath("preview_song_info.png")) &&
           tiles(set).save(d.filePath("preview_tiles.png")) &&
           buttons(set).save(d.filePath("preview_buttons.png"));
}

} // namespace Preview
