#include "history/SongHistory.h"

#include "history/SongCommands.h"

SongHistory::SongHistory(SongModel *song, QObject *parent) : QObject(parent), m_song(song)
{
    connect(song, &SongModel::songReplaced, &m_stack, &QUndoStack::clear);
    connect(song, &SongModel::selectionChanged, this, [this] { ++m_selection; });
    // A save marks the song saved: that state is the clean one. Undo and redo come back to it.
    connect(song, &SongModel::modifiedChanged, &m_stack, [this](bool modified) {
        if (!modified)
            m_stack.setClean();
    });
    connect(&m_stack, &QUndoStack::cleanChanged, song, [this](bool clean) {
        if (clean)
            m_song->markSaved();
    });
}

bool SongHistory::push(QUndoCommand *command)
{
    m_stack.push(command);
    return true;
}

int SongHistory::addButton(int iconIndex, const SoundInfo &sound)
{
    if (m_song->numbers().size() == SongModel::Capacity)
        return 0;
    auto *command = new AddButtonCommand(m_song, iconIndex, sound);
    m_stack.push(command);
    return command->number();
}

bool SongHistory::removeButton(int number)
{
    return m_song->button(number) && push(new RemoveButtonCommand(m_song, number));
}

bool SongHistory::moveButton(int number, int column, int row)
{
    const QPoint from = m_song->cellOf(number);
    if (from.x() < 0 || from == QPoint(column, row) || column < 0 || column >= SongModel::Columns ||
        row < 0 || row >= SongModel::Rows)
        return false;
    return push(new MoveButtonCommand(m_song, number, QPoint(column, row)));
}

bool SongHistory::setIcon(int number, int iconIndex)
{
    const SongModel::Button *button = m_song->button(number);
    if (!button || (button->iconIndex == iconIndex && button->label() == QString::number(number)))
        return false;
    return push(new SetIconCommand(m_song, number, iconIndex));
}

bool SongHistory::setSound(int number, const SoundInfo &sound)
{
    const SongModel::Button *button = m_song->button(number);
    return button && button->sound != sound &&
           push(new SetSoundCommand(m_song, number, sound, m_selection));
}

bool SongHistory::setInfo(SongModel::InfoField field, const QString &text)
{
    return m_song->info(field) != text && push(new SetInfoCommand(m_song, field, text));
}

void SongHistory::appendTap(int number)
{
    setInfo(SongModel::TapOrder,
            SongModel::tapOrderWith(m_song->info(SongModel::TapOrder), number));
}

bool SongHistory::setTempo(int tempo)
{
    return tempo != m_song->tempo() && SongSchedule::isValidTempo(tempo) &&
           push(new SetTimingCommand(m_song, SetTimingCommand::Tempo, tempo));
}

bool SongHistory::setBeats(int beats)
{
    return beats != m_song->beats() && SongSchedule::isValidBeats(beats) &&
           push(new SetTimingCommand(m_song, SetTimingCommand::Beats, beats));
}
