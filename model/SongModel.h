#pragma once

#include "model/SongSchedule.h"
#include "sound/SoundInfo.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <array>
#include <optional>

struct Song;

// The song being edited, free of widgets: the sound buttons on their 9 x 5 grid, the song
// information, the selected button and whether anything changed since the last save.
// Every change is one of the small operations below and is announced by a signal; an operation
// that changes nothing announces nothing and leaves the unsaved flag alone.
class SongModel : public QObject
{
    Q_OBJECT

public:
    static constexpr int Columns = 9;
    static constexpr int Rows = 5;
    static constexpr int Capacity = Columns * Rows;
    // A song file records button places and the panel's size in the panel's pixels.
    static constexpr int CellWidth = 31;
    static constexpr int CellHeight = 32;
    static constexpr int PanelWidth = 311;
    static constexpr int PanelHeight = 160;

    enum InfoField { Title, Artist, User, Lyrics, TapOrder };
    Q_ENUM(InfoField)
    static constexpr int InfoFieldCount = TapOrder + 1;

    struct Button
    {
        static constexpr int TextCount = 3;
        static constexpr int LabelText = 2; // the label drawn on the picture

        int number = 0;
        int iconIndex = 0;
        SoundInfo sound;
        QString texts[TextCount];
        int scale = 100;
        double volPlay = 1.0;

        QString label() const { return texts[LabelText]; }
    };

    explicit SongModel(QObject *parent = nullptr);

    // Numbers of the buttons, row by row from the top, left to right within a row.
    QList<int> numbers() const;
    // nullptr when no button has that number.
    const Button *button(int number) const;
    // 0 when the cell is empty or outside the grid.
    int numberAt(int column, int row) const;
    // (-1, -1) when no button has that number.
    QPoint cellOf(int number) const;

    // A new button in the first free cell, row by row, with the lowest free number, which it
    // also shows as its label. Returns its number, or 0 when the grid is full.
    int addButton(int iconIndex, const SoundInfo &sound);
    bool removeButton(int number);
    // Onto an empty cell it moves; onto another button the two swap cells.
    bool moveButton(int number, int column, int row);
    // A new picture; the button shows its number again.
    bool setIcon(int number, int iconIndex);
    bool setSound(int number, const SoundInfo &sound);
    // A removed button back as it was, in the given cell, which must be empty, under a number no
    // other button has.
    bool insertButton(const Button &button, QPoint cell);
    // The button with the given one's number takes its picture, sound and texts.
    bool replaceButton(const Button &button);

    // 0 when no button is selected.
    int selected() const { return m_selected; }
    void select(int number);

    QString info(InfoField field) const { return m_info[field]; }
    void setInfo(InfoField field, const QString &text);
    // The tap order with the button appended, counted from 0.
    static QString tapOrderWith(const QString &order, int number);

    // Beats per minute, and beats per tap order entry, as SongSchedule takes them. A value
    // outside SongSchedule's limits is refused (false).
    int tempo() const { return m_tempo; }
    int beats() const { return m_beats; }
    bool setTempo(int tempo);
    bool setBeats(int beats);
    // The tap order at the song's tempo, with the entries that name no button left out.
    SongSchedule schedule() const;

    bool isModified() const { return m_modified; }
    void markSaved();
    // Unsaved although no edit made it so (a song restored from its recovery copy).
    void markUnsaved();

    Song toSong() const;
    // Replaces the whole song by one read from a file: buttons in reading order on the grid,
    // the song information the file has (the rest is kept), its tempo and beats (the defaults
    // when it has none, or none within the limits), nothing selected, nothing unsaved.
    // Returns how many buttons found no place.
    int loadSong(const Song &song);

signals:
    void buttonAdded(int number);
    void buttonRemoved(int number);
    void buttonMoved(int number);
    // Its picture, label or sound.
    void buttonChanged(int number);
    void infoChanged(SongModel::InfoField field);
    void tempoChanged(int tempo);
    void beatsChanged(int beats);
    void selectionChanged(int number);
    void modifiedChanged(bool modified);
    // Everything changed at once (a load).
    void songReplaced();

private:
    static int cellIndex(int column, int row) { return row * Columns + column; }
    int indexOf(int number) const;
    int firstFreeCell() const;
    int lowestFreeNumber() const;
    Button *find(int number);
    void setModified(bool modified);

    std::array<std::optional<Button>, Capacity> m_cells;
    QString m_info[InfoFieldCount];
    int m_tempo = SongSchedule::DefaultTempo;
    int m_beats = SongSchedule::DefaultBeats;
    int m_selected = 0;
    bool m_modified = false;
};
