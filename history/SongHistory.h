#pragma once

#include "model/SongModel.h"

#include <QObject>
#include <QUndoStack>

// The song's edits as undoable commands: views and commands write the song through here, so that
// every edit can be undone and redone. The operations are those of the song model and change
// nothing (and push nothing) where the model would change nothing.
// Loading a song starts a fresh history; the song's unsaved flag follows the stack's clean
// state, so undoing back to the saved song clears it and redoing away sets it again.
class SongHistory : public QObject
{
    Q_OBJECT

public:
    explicit SongHistory(SongModel *song, QObject *parent = nullptr);

    SongModel *song() const { return m_song; }
    QUndoStack *stack() { return &m_stack; }

    // The new button's number, or 0 when the grid is full.
    int addButton(int iconIndex, const SoundInfo &sound);
    bool removeButton(int number);
    bool moveButton(int number, int column, int row);
    bool setIcon(int number, int iconIndex);
    bool setSound(int number, const SoundInfo &sound);
    bool setInfo(SongModel::InfoField field, const QString &text);
    void appendTap(int number);
    bool setTempo(int tempo);
    bool setBeats(int beats);

private:
    bool push(QUndoCommand *command);

    SongModel *m_song;
    QUndoStack m_stack;
    // Counts the selections, so that sound edits merge only within one.
    int m_selection = 0;
};
