#pragma once

#include "widgets/QMouseLabel.h"

#include <QHash>
#include <QPoint>

class ButtonIconTable;
class DialogSelectIcon;
class QImageButton;
class QSoundButton;
class SongModel;

// The 9 x 5 grid of sound buttons: a view of the song model's buttons. It draws them in their
// cells and marks the selected one; a drag (while unlocked) moves or swaps buttons, and the
// right-click menu changes the selected button's picture, both through the model. What a press
// on a button means (select it, load and play its sound) is left to whoever listens.
class QButtonPanel : public QMouseLabel
{
    Q_OBJECT

public:
    QButtonPanel(SongModel *song, const ButtonIconTable *iconTable, DialogSelectIcon *iconChooser,
                 QWidget *parent = nullptr);

    bool isLocked() const { return m_locked; }
    // A locked panel starts no drag.
    void setLocked(bool locked) { m_locked = locked; }

    // nullptr when there is none.
    QSoundButton *buttonAt(int column, int row) const;
    QSoundButton *button(int number) const { return m_views.value(number); }

signals:
    // A left press on a sound button.
    void buttonPressed(int number);
    // A release on the panel's background, where a click ends the selection.
    void backgroundReleased();

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

    void onMousePressSB(QMouseEvent *event, QWidget *widget);
    void onMouseMoveSB(QMouseEvent *event);
    void onMouseReleaseSB(QMouseEvent *event);
    void showContextMenu(QPoint point);
    QPoint cellPosition(QPoint cell) const;

    SongModel *m_song;
    const ButtonIconTable *m_iconTable;
    DialogSelectIcon *m_iconChooser;
    QHash<int, QSoundButton *> m_views;
    // Marks the drop cell during a drag; the buttons lie above it.
    QImageButton *m_selectionFrame = nullptr;
    int m_shownSelected = 0;
    bool m_locked = true;
    bool m_dragging = false;
    int m_dragNumber = 0;
    QPoint m_target;
};
