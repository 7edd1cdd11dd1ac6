#include "model/SongModel.h"

#include "script/Song.h"

#include <algorithm>

SongModel::SongModel(QObject *parent) : QObject(parent) {}

QList<int> SongModel::numbers() const
{
    QList<int> list;
    for (const std::optional<Button> &cell : m_cells) {
        if (cell)
            list.append(cell->number);
    }
    return list;
}

const SongModel::Button *SongModel::button(int number) const
{
    const int index = indexOf(number);
    return index < 0 ? nullptr : &*m_cells[index];
}

SongModel::Button *SongModel::find(int number)
{
    const int index = indexOf(number);
    return index < 0 ? nullptr : &*m_cells[index];
}

int SongModel::numberAt(int column, int row) const
{
    if (column < 0 || column >= Columns || row < 0 || row >= Rows)
        return 0;
    const std::optional<Button> &cell = m_cells[cellIndex(column, row)];
    return cell ? cell->number : 0;
}

QPoint SongModel::cellOf(int number) const
{
    const int index = indexOf(number);
    return index < 0 ? QPoint(-1, -1) : QPoint(index % Columns, index / Columns);
}

int SongModel::indexOf(int number) const
{
    const auto it = std::find_if(m_cells.begin(), m_cells.end(), [number](const auto &cell) {
        return cell && cell->number == number;
    });
    return it == m_cells.end() ? -1 : int(it - m_cells.begin());
}

int SongModel::firstFreeCell() const
{
    const auto it = std::find(m_cells.begin(), m_cells.end(), std::nullopt);
    return it == m_cells.end() ? -1 : int(it - m_cells.begin());
}

// Numbers of deleted buttons come back before new ones; the other buttons keep theirs.
int SongModel::lowestFreeNumber() const
{
    int number = 1;
    while (indexOf(number) >= 0)
        ++number;
    return number;
}

int SongModel::addButton(int iconIndex, const SoundInfo &sound)
{
    const int cell = firstFreeCell();
    if (cell < 0)
        return 0;
    Button button;
    button.number = lowestFreeNumber();
    button.iconIndex = iconIndex;
    button.sound = sound;
    button.texts[Button::LabelText] = QString::number(button.number);
    m_cells[cell] = button;
    emit buttonAdded(button.number);
    setModified(true);
    return button.number;
}

bool SongModel::removeButton(int number)
{
    const int index = indexOf(number);
    if (index < 0)
        return false;
    if (m_selected == number)
        select(0);
    m_cells[index].reset();
    emit buttonRemoved(number);
    setModified(true);
    return true;
}

bool SongModel::moveButton(int number, int column, int row)
{
    const int from = indexOf(number);
    if (from < 0 || column < 0 || column >= Columns || row < 0 || row >= Rows)
        return false;
    const int to = cellIndex(column, row);
    if (from == to)
        return false;
    std::swap(m_cells[from], m_cells[to]);
    emit buttonMoved(number);
    if (m_cells[from])
        emit buttonMoved(m_cells[from]->number);
    setModified(true);
    return true;
}

bool SongModel::setIcon(int number, int iconIndex)
{
    Button *button = find(number);
    const QString label = QString::number(number);
    if (!button || (button->iconIndex == iconIndex && button->label() == label))
        return false;
    button->iconIndex = iconIndex;
    button->texts[Button::LabelText] = label;
    emit buttonChanged(number);
    setModified(true);
    return true;
}

bool SongModel::setSound(int number, const SoundInfo &sound)
{
    Button *button = find(number);
    if (!button || button->sound == sound)
        return false;
    button->sound = sound;
    emit buttonChanged(number);
    setModified(true);
    return true;
}

bool SongModel::insertButton(const Button &button, QPoint cell)
{
    const int number = button.number;
    if (number < 1 || indexOf(number) >= 0 || numberAt(cell.x(), cell.y()) != 0 || cell.x() < 0 ||
        cell.x() >= Columns || cell.y() < 0 || cell.y() >= Rows)
        return false;
    m_cells[cellIndex(cell.x(), cell.y())] = button;
    emit buttonAdded(number);
    setModified(true);
    return true;
}

bool SongModel::replaceButton(const Button &button)
{
    Button *old = find(button.number);
    if (!old)
        return false;
    *old = button;
    emit buttonChanged(button.number);
    setModified(true);
    return true;
}

void SongModel::select(int number)
{
    if (number == m_selected || (number != 0 && indexOf(number) < 0))
        return;
    m_selected = number;
    emit selectionChanged(number);
}

void SongModel::setInfo(InfoField field, const QString &text)
{
    if (m_info[field] == text)
        return;
    m_info[field] = text;
    emit infoChanged(field);
    setModified(true);
}

QString SongModel::tapOrderWith(const QString &order, int number)
{
    const QString entry = QString::number(number - 1);
    return order.isEmpty() ? entry : order + QLatin1Char(',') + entry;
}

bool SongModel::setTempo(int tempo)
{
    if (tempo == m_tempo || !SongSchedule::isValidTempo(tempo))
        return false;
    m_tempo = tempo;
    emit tempoChanged(tempo);
    setModified(true);
    return true;
}

bool SongModel::setBeats(int beats)
{
    if (beats == m_beats || !SongSchedule::isValidBeats(beats))
        return false;
    m_beats = beats;
    emit beatsChanged(beats);
    setModified(true);
    return true;
}

SongSchedule SongModel::schedule() const
{
    return SongSchedule(
        m_info[TapOrder], [this](int number) { return indexOf(number) >= 0; }, m_tempo, m_beats);
}

void SongModel::markSaved()
{
    setModified(false);
}

void SongModel::markUnsaved()
{
    setModified(true);
}

void SongModel::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

Song SongModel::toSong() const
{
    Song song;
    song.title = m_info[Title];
    song.artist = m_info[Artist];
    song.user = m_info[User];
    song.lyrics = m_info[Lyrics];
    song.tapOrder = m_info[TapOrder];
    // A song at the defaults saves as it did before songs had a tempo.
    if (m_tempo != SongSchedule::DefaultTempo)
        song.tempo = m_tempo;
    if (m_beats != SongSchedule::DefaultBeats)
        song.beats = m_beats;
    song.alignType = Song::GridArrangement;
    song.panelWidth = PanelWidth;
    song.panelHeight = PanelHeight;
    for (int index = 0; index < Capacity; ++index) {
        if (!m_cells[index])
            continue;
        const Button &button = *m_cells[index];
        SongButton data;
        data.info = button.sound;
        data.scale = button.scale;
        data.iconIndex = button.iconIndex;
        data.volPlay = button.volPlay;
        std::copy(std::begin(button.texts), std::end(button.texts), data.texts);
        data.pos = QPoint(index % Columns * CellWidth, index / Columns * CellHeight);
        song.buttons.append(data);
    }
    return song;
}

// A button without a "layout" record shows its number, as a button made on the panel does.
int SongModel::loadSong(const Song &song)
{
    select(0);
    const std::optional<QString> info[InfoFieldCount] = {song.title, song.artist, song.user,
                                                         song.lyrics, song.tapOrder};
    for (int field = 0; field < InfoFieldCount; ++field) {
        if (info[field])
            m_info[field] = *info[field];
    }
    const int tempo = song.tempo.value_or(SongSchedule::DefaultTempo);
    const int beats = song.beats.value_or(SongSchedule::DefaultBeats);
    m_tempo = SongSchedule::isValidTempo(tempo) ? tempo : SongSchedule::DefaultTempo;
    m_beats = SongSchedule::isValidBeats(beats) ? beats : SongSchedule::DefaultBeats;
    m_cells.fill(std::nullopt);
    const qsizetype placed = std::min<qsizetype>(song.buttons.size(), Capacity);
    for (int index = 0; index < placed; ++index) {
        const SongButton &data = song.buttons[index];
        Button button;
        button.number = index + 1;
        button.iconIndex = data.iconIndex;
        button.sound = data.info;
        std::copy(std::begin(data.texts), std::end(data.texts), button.texts);
        button.texts[Button::LabelText] =
            data.hasLayout ? data.layoutLabel : QString::number(button.number);
        button.scale = data.scale;
        button.volPlay = data.volPlay;
        m_cells[index] = button;
    }
    emit songReplaced();
    setModified(false);
    return int(song.buttons.size() - placed) + song.leftOutButtons;
}
