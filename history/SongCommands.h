#pragma once

#include "model/SongModel.h"

#include <QPoint>
#include <QUndoCommand>
#include <bitset>

// The song's edits as undo commands, one class per kind of edit. Each is made from the song
// as it is just before the edit; redo() makes the edit (the stack calls it when the command is
// pushed) and undo() returns the song to that state.

class AddButtonCommand : public QUndoCommand
{
public:
    AddButtonCommand(SongModel *song, int iconIndex, const SoundInfo &sound);
    void redo() override;
    void undo() override;
    int number() const { return m_button.number; }

private:
    SongModel *m_song;
    int m_iconIndex;
    // The button as it was made, once it has been: later redos put back exactly this one.
    SongModel::Button m_button;
    QPoint m_cell;
};

class RemoveButtonCommand : public QUndoCommand
{
public:
    RemoveButtonCommand(SongModel *song, int number);
    void redo() override;
    void undo() override;

private:
    SongModel *m_song;
    SongModel::Button m_button;
    QPoint m_cell;
};

// Onto an empty cell the button moves; onto another button the two swap, and moving back swaps
// them back.
class MoveButtonCommand : public QUndoCommand
{
public:
    MoveButtonCommand(SongModel *song, int number, QPoint to);
    void redo() override;
    void undo() override;

private:
    SongModel *m_song;
    int m_number;
    QPoint m_from;
    QPoint m_to;
};

class SetIconCommand : public QUndoCommand
{
public:
    SetIconCommand(SongModel *song, int number, int iconIndex);
    void redo() override;
    void undo() override;

private:
    SongModel *m_song;
    SongModel::Button m_before;
    int m_iconIndex;
};

// Edits of a button's sound merge while they change the same values of the sound in the same
// selection of the button: a knob turned or a number typed is one step, a fret pressed on
// another string the next.
class SetSoundCommand : public QUndoCommand
{
public:
    SetSoundCommand(SongModel *song, int number, const SoundInfo &sound, int selection);
    void redo() override;
    void undo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    SongModel *m_song;
    int m_number;
    SoundInfo m_before;
    SoundInfo m_after;
    int m_selection;
    std::bitset<64> m_changed;
};

// Typing into one field of the song information is one step until another edit comes between.
class SetInfoCommand : public QUndoCommand
{
public:
    SetInfoCommand(SongModel *song, SongModel::InfoField field, const QString &text);
    void redo() override;
    void undo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    SongModel *m_song;
    SongModel::InfoField m_field;
    QString m_before;
    QString m_after;
};

// Turning the tempo, or the beats per entry, is one step until another edit comes between.
class SetTimingCommand : public QUndoCommand
{
public:
    enum Value { Tempo, Beats };

    SetTimingCommand(SongModel *song, Value value, int number);
    void redo() override;
    void undo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    void apply(int number);

    SongModel *m_song;
    Value m_value;
    int m_before;
    int m_after;
};
