#pragma once

#include "widgets/QMouseLabel.h"

#include <QHash>
#include <QPoint>

class ButtonIconTable;
class DialogSelectIcon;
class QImageButton;
class QKeyLegends;
class QSoundButton;
class SongHistory;
class SongModel;

// The 9 x 5 grid of sound buttons: a view of the song model's buttons. It draws them in their
// cells with the keys that play them and marks the selected one; a drag (while unlocked) moves
// or swaps buttons, and the right-click menu changes the clicked button's picture, both as edits
// through the song's history. What a press on a button means (select it, load and play its
// sound) is left to whoever listens.
class QButtonPanel : public QMouseLabel
{
    Q_OBJECT

public:
    QButtonPanel(SongHistory *history, const ButtonIconTable *iconTable,
                 DialogSelectIcon *iconChooser, QWidget *parent = nullptr);

    bool isLocked() const { return m_locked; }
    // A locked panel starts no drag.
    void setLocked(bool locked) { m_locked = locked; }

    bool keyLegendsShown() const;
    void showKeyLegends(bool shown);

    // nullptr when there is none.
    QSoundButton *buttonAt(int column, int row) const;
    QSoundButton *button(int number) const { return m_views.value(number); }

    // As a left press on the cell's button, if it has one (a key that plays the cell).
    void pressCell(QPoint cell);

    // Lights the button whose sound the song plays; 0 lights none. It leaves the selection alone.
    void showPlaying(int number);
    int shownPlaying() const { return m_shownPlaying; }

signals:
    // A left press on a sound button, or its key.
    void buttonPressed(int number);
    // A right press on a sound button: its menu concerns it, so it is to be selected first.
    void selectRequested(int number);
    // A release on the panel's background, where a click ends the selection.
    void backgroundReleased();
    // The user showed or hid the key legends from a menu.
    void keyLegendsToggled(bool shown);
    // The user asked for the button's sound as a WAV file.
    void exportRequested(int number);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    friend class TestButtonPanel;

    void addView(int number);
    void removeView(int number);
    void placeView(int number);
    void redrawView(int number);
    void showSelection(int number);
    void rebuild();

    void press(int number);
    void onMousePressSB(QMouseEvent *event, QWidget *widget);
    void onMouseMoveSB(QMouseEvent *event);
    void onMouseReleaseSB(QMouseEvent *event);
    void showButtonMenu(int number, QPoint globalPos);
    void showPanelMenu(QPoint point);
    void addLegendsEntry(QMenu *menu);
    QPoint cellPosition(QPoint cell) const;

    SongHistory *m_history;
    SongModel *m_song;
    const ButtonIconTable *m_iconTable;
    DialogSelectIcon *m_iconChooser;
    QHash<int, QSoundButton *> m_views;
    // Marks the drop cell during a drag; the buttons lie above it.
    QImageButton *m_selectionFrame = nullptr;
    // Over the button the song plays; clicks go through it to the button.
    QLabel *m_playingGlow = nullptr;
    // Above everything else.
    QKeyLegends *m_legends = nullptr;
    int m_shownSelected = 0;
    int m_shownPlaying = 0;
    bool m_locked = true;
    bool m_dragging = false;
    int m_dragNumber = 0;
    QPoint m_target;
};
