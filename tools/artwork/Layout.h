#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the program puts its controls, in the coordinates of the picture they lie on.
// The panel pictures are drawn around these places, and the preview puts the controls there.
namespace Layout {

constexpr QSize MainPanelSize(923, 636);
constexpr QSize BookPanelSize(300, 494);
constexpr QSize SongInfoPanelSize(297, 542);
constexpr QSize SplashSize(480, 300);
constexpr QSize KeyHelpSize(620, 426);

// Guitar neck: the neck widget's origin and its 6 x 17 grid of 30 x 30 marker areas.
constexpr QPoint NeckOrigin(51, 98);
constexpr int StringCount = 6;
constexpr int PositionCount = 17;
constexpr int MarkerArea = 30;
constexpr int MarkerPicture = 20;

// Frets 2 and up lie this far apart; fret 1 sits in the middle of its shorter cell.
constexpr int FretSpacing = 51;

// Top-left corner of the marker area of grid point (s, p), in neck coordinates (as the neck
// widget has it).
inline QPoint gridPoint(int s, int p)
{
    const int x = p == 0 ? 13 : (p == 1 ? 36 : (p == 2 ? 65 : FretSpacing * p - 44));
    return QPoint(x, 10 + 27 * s);
}

// Centre of the hit square of grid point (s, p), in window coordinates: where the marker sits.
inline QPoint markerCentre(int s, int p)
{
    return NeckOrigin + gridPoint(s, p) + QPoint(10, 10);
}

inline int stringY(int s)
{
    return markerCentre(s, 0).y();
}
inline int positionX(int p)
{
    return markerCentre(0, p).x();
}

// Metal: fret wire k (1..15) halfway between frets k and k + 1; the nut (k = 0) halfway
// between the open strings and where an evenly spaced fret 1 would lie.
inline double fretWireX(int k)
{
    if (k == 0)
        return (positionX(1) + positionX(3) - FretSpacing) / 2.0;
    return positionX(k + 2) - FretSpacing / 2.0;
}
constexpr int FretWireCount = 15;

// Numeric fields, all 35 x 31.
constexpr QSize FieldSize(35, 31);
inline QPoint fretField(int r, int s)
{
    return QPoint(405 + 44 * s, 418 + 46 * r);
}
inline QPoint speedField(int r)
{
    return QPoint(715, 418 + 46 * r);
}
inline QPoint offsetField(int i)
{
    return QPoint(825, 464 + 46 * i);
}
constexpr QPoint VolField(481, 332);
constexpr QPoint HoldField(611, 332);

// Knobs: 63 x 63 widgets that draw their dial picture at their own (0, 0).
constexpr QPoint SpeedKnob(713, 316);
constexpr QPoint OffsetKnob(810, 316);
constexpr QPoint VolKnob(420, 316);
constexpr QPoint HoldKnob(550, 316);
constexpr QSize KnobPicture(60, 59);
// The dial's pointer dot runs on a circle of radius 16 around this point of the knob.
constexpr QPointF KnobDotCentre(31.0, 29.0);
constexpr int KnobDotRadius = 16;

constexpr QSize LampSize(15, 15);
inline QPoint lamp(int r)
{
    return QPoint(387, 426 + 46 * r);
}
constexpr QSize ArrowSize(27, 29);
inline QPoint arrow(int r)
{
    return QPoint(752, 418 + 46 * r);
}

constexpr QRect TimbreButton(120, 307, 102, 30);
constexpr QRect PowerButton(863, 16, 46, 46);
constexpr int RoundButton = 39;
constexpr QPoint LoadButton(42, 19);
constexpr QPoint SaveButton(97, 19);
constexpr QPoint BookButton(152, 19);
constexpr QPoint UploadButton(207, 19);
constexpr QPoint PlayButton(230, 350);
constexpr QPoint AddButton(270, 350);
constexpr QPoint DeleteButton(310, 350);
constexpr QRect IconPreview(174, 358, 20, 20);
constexpr QRect LockButton(88, 352, 38, 30);

// The song player's strip under the stroke rows: play or stop, loop, what it plays, the tempo and
// the beats per entry.
constexpr QRect SongPlayButton(432, 598, 40, 29);
constexpr QRect LoopButton(478, 598, 40, 29);
constexpr QRect SongStatus(528, 597, 160, 31);
constexpr QPoint TempoField(742, 597);
constexpr QPoint BeatsField(837, 597);

// Sound-button panel: 9 x 5 cells, 31 x 32 apart, each button 30 x 30.
constexpr QRect ButtonPanel(51, 420, 311, 160);
constexpr int PanelColumns = 9;
constexpr int PanelRows = 5;
inline QPoint cell(int c, int r)
{
    return ButtonPanel.topLeft() + QPoint(31 * c, 32 * r);
}
constexpr int TileSize = 30;

// Chord book dialog: roots on the left, types on the right, the chosen chord between them.
inline QRect rootButton(int i)
{
    return QRect(41, 55 + 30 * i, 27, 20);
}
inline QRect typeButton(int j)
{
    return QRect(223, 55 + 26 * j, 45, 20);
}
// The lit frame around the chosen root or type, clear of the button's name.
inline QRect focusAround(const QRect &button)
{
    return button.adjusted(-4, -3, 4, 3);
}
constexpr int RootCount = 12;
constexpr int TypeCount = 14;
// Where the program draws the chord's name, diagram and fret values.
constexpr QRect ChordDisplay(95, 50, 110, 250);
constexpr QRect BookSet(40, 456, 68, 25);
constexpr QRect BookClose(190, 456, 68, 25);
constexpr QRect BookPlay(130, 456, 39, 39);

// Icon chooser: the 14 sound-button pictures in two rows under a title.
constexpr QSize IconChooserSize(308, 146);
constexpr int IconColumns = 7;
inline QRect chooserTile(int i)
{
    return QRect(19 + 40 * (i % IconColumns), 46 + 40 * (i / IconColumns), 30, 30);
}
// The marks around the current picture and the one under the pointer.
inline QRect currentMark(int i)
{
    return chooserTile(i).adjusted(-4, -4, 4, 4);
}
inline QRect pointerMark(int i)
{
    return chooserTile(i).adjusted(-3, -3, 3, 3);
}

// Song info dialog.
constexpr QRect TitleEdit(110, 44, 141, 20);
constexpr QRect ArtistEdit(110, 84, 141, 20);
constexpr QRect UserEdit(110, 122, 141, 20);
constexpr QRect TapOrderBox(47, 200, 211, 91);
constexpr QRect LyricsBox(47, 360, 211, 91);
constexpr QRect SubmitButton(50, 500, 68, 25);
constexpr QRect CloseButton(180, 500, 68, 25);
// Right-aligned with the tap order box it records into.
constexpr QRect RecordButton(190, 160, 68, 25);

} // namespace Layout
