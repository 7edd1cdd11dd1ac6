#include "history/SongCommands.h"

namespace {
enum CommandId { SoundId = 1, InfoId, TimingId };

// Which values of the sound differ, one bit each.
std::bitset<64> changedValues(const SoundInfo &a, const SoundInfo &b)
{
    std::bitset<64> changed;
    std::size_t bit = 0;
    const auto compare = [&changed, &bit](auto x, auto y) { changed[bit++] = x != y; };
    compare(a.vol, b.vol);
    compare(a.hold, b.hold);
    compare(a.gt, b.gt);
    for (int r = 0; r < SoundInfo::Strokes; ++r) {
        compare(a.strum_speed[r], b.strum_speed[r]);
        compare(a.direction[r], b.direction[r]);
        for (int s = 0; s < SoundInfo::Strings; ++s)
            compare(a.fret[r][s], b.fret[r][s]);
    }
    for (int i = 0; i < SoundInfo::Gaps; ++i)
        compare(a.time_offset[i], b.time_offset[i]);
    return changed;
}

QString infoName(SongModel::InfoField field)
{
    switch (field) {
    case SongModel::Title:
        return QStringLiteral("title");
    case SongModel::Artist:
        return QStringLiteral("artist");
    case SongModel::User:
        return QStringLiteral("user");
    case SongModel::Lyrics:
        return QStringLiteral("lyrics");
    case SongModel::TapOrder:
        return QStringLiteral("tap order");
    }
    return QString();
}
} // namespace

AddButtonCommand::AddButtonCommand(SongModel *song, int iconIndex, const SoundInfo &sound)
    : m_song(song), m_iconIndex(iconIndex)
{
    m_button.sound = sound;
}

void AddButtonCommand::redo()
{
    if (m_button.number == 0) {
        m_button.number = m_song->addButton(m_iconIndex, m_button.sound);
        m_button = *m_song->button(m_button.number);
        m_cell = m_song->cellOf(m_button.number);
        setText(QStringLiteral("Add button %1").arg(m_button.number));
    } else {
        m_song->insertButton(m_button, m_cell);
    }
}

void AddButtonCommand::undo()
{
    m_song->removeButton(m_button.number);
}

RemoveButtonCommand::RemoveButtonCommand(SongModel *song, int number)
    : QUndoCommand(QStringLiteral("Delete button %1").arg(number)), m_song(song),
      m_button(*song->button(number)), m_cell(song->cellOf(number))
{
}

void RemoveButtonCommand::redo()
{
    m_song->removeButton(m_button.number);
}

void RemoveButtonCommand::undo()
{
    m_song->insertButton(m_button, m_cell);
}

MoveButtonCommand::MoveButtonCommand(SongModel *song, int number, QPoint to)
    : QUndoCommand(QStringLiteral("Move button %1").arg(number)), m_song(song), m_number(number),
      m_from(song->cellOf(number)), m_to(to)
{
}

void MoveButtonCommand::redo()
{
    m_song->moveButton(m_number, m_to.x(), m_to.y());
}

void MoveButtonCommand::undo()
{
    m_song->moveButton(m_number, m_from.x(), m_from.y());
}

SetIconCommand::SetIconCommand(SongModel *song, int number, int iconIndex)
    : QUndoCommand(QStringLiteral("Change the picture of button %1").arg(number)), m_song(song),
      m_before(*song->button(number)), m_iconIndex(iconIndex)
{
}

void SetIconCommand::redo()
{
    m_song->setIcon(m_before.number, m_iconIndex);
}

// The button may have shown a label of its own before.
void SetIconCommand::undo()
{
    m_song->replaceButton(m_before);
}

SetSoundCommand::SetSoundCommand(SongModel *song, int number, const SoundInfo &sound, int selection)
    : QUndoCommand(QStringLiteral("Edit the sound of button %1").arg(number)), m_song(song),
      m_number(number), m_before(song->button(number)->sound), m_after(sound),
      m_selection(selection), m_changed(changedValues(m_before, sound))
{
}

void SetSoundCommand::redo()
{
    m_song->setSound(m_number, m_after);
}

void SetSoundCommand::undo()
{
    m_song->setSound(m_number, m_before);
}

int SetSoundCommand::id() const
{
    return SoundId;
}

bool SetSoundCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const SetSoundCommand *>(other);
    if (next->m_number != m_number || next->m_selection != m_selection ||
        next->m_changed != m_changed)
        return false;
    m_after = next->m_after;
    setObsolete(m_after == m_before);
    return true;
}

SetInfoCommand::SetInfoCommand(SongModel *song, SongModel::InfoField field, const QString &text)
    : QUndoCommand(QStringLiteral("Edit the %1").arg(infoName(field))), m_song(song),
      m_field(field), m_before(song->info(field)), m_after(text)
{
}

void SetInfoCommand::redo()
{
    m_song->setInfo(m_field, m_after);
}

void SetInfoCommand::undo()
{
    m_song->setInfo(m_field, m_before);
}

int SetInfoCommand::id() const
{
    return InfoId;
}

bool SetInfoCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const SetInfoCommand *>(other);
    if (next->m_field != m_field)
        return false;
    m_after = next->m_after;
    setObsolete(m_after == m_before);
    return true;
}

SetTimingCommand::SetTimingCommand(SongModel *song, Value value, int number)
    : QUndoCommand(value == Tempo ? QStringLiteral("Change the tempo")
                                  : QStringLiteral("Change the beats per entry")),
      m_song(song), m_value(value), m_before(value == Tempo ? song->tempo() : song->beats()),
      m_after(number)
{
}

void SetTimingCommand::redo()
{
    apply(m_after);
}

void SetTimingCommand::undo()
{
    apply(m_before);
}

void SetTimingCommand::apply(int number)
{
    if (m_value == Tempo)
        m_song->setTempo(number);
    else
        m_song->setBeats(number);
}

int SetTimingCommand::id() const
{
    return TimingId;
}

bool SetTimingCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const SetTimingCommand *>(other);
    if (next->m_value != m_value)
        return false;
    m_after = next->m_after;
    setObsolete(m_after == m_before);
    return true;
}
