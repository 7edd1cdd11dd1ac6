#pragma once

#include <QObject>

class CurrentSound;
class SongHistory;
class SongModel;

// The selected sound button and the editing form are one sound. Pressing a button selects it,
// loads its sound into the form and plays it; while it stays selected every edit on the form is
// an edit of the button, made through the song's history, and an undo or redo of the button's
// sound shows on the form.
class SelectedButton : public QObject
{
    Q_OBJECT

public:
    SelectedButton(SongHistory *history, CurrentSound *sound, QObject *parent = nullptr);

    // Selects the button and loads its sound into the form.
    void select(int number);
    // Selects, loads and plays.
    void press(int number);
    void deselect();

private:
    void storeFormSound();
    void showButtonSound(int number);

    SongHistory *m_history;
    SongModel *m_song;
    CurrentSound *m_sound;
};
