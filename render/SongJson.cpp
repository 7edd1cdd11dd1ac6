#include "render/SongJson.h"

#include "model/SongModel.h"
#include "model/SongSchedule.h"

#include <QJsonArray>

namespace {
template <typename T> QJsonArray array(const T *values, int count)
{
    QJsonArray list;
    for (int i = 0; i < count; ++i)
        list.append(values[i]);
    return list;
}

// The SoundInfo's own field names; frets stroke by stroke, string 0 first.
QJsonObject soundObject(const SoundInfo &sound)
{
    QJsonArray frets;
    for (const auto &stroke : sound.fret)
        frets.append(array(stroke, SoundInfo::Strings));
    return {{QStringLiteral("vol"), sound.vol},
            {QStringLiteral("hold"), sound.hold},
            {QStringLiteral("strum_speed"), array(sound.strum_speed, SoundInfo::Strokes)},
            {QStringLiteral("direction"), array(sound.direction, SoundInfo::Strokes)},
            {QStringLiteral("time_offset"), array(sound.time_offset, SoundInfo::Gaps)},
            {QStringLiteral("fret"), frets},
            {QStringLiteral("gt"), sound.gt}};
}
} // namespace

QJsonObject SongJson::describe(const SongModel &song)
{
    const SongSchedule schedule = song.schedule();
    QJsonArray plays;
    for (const SongSchedule::Entry &entry : schedule.entries())
        plays.append(entry.number);
    QJsonArray buttons;
    for (int number : song.numbers())
        buttons.append(button(song, number));
    return {{QStringLiteral("title"), song.info(SongModel::Title)},
            {QStringLiteral("artist"), song.info(SongModel::Artist)},
            {QStringLiteral("user"), song.info(SongModel::User)},
            {QStringLiteral("tapOrder"), song.info(SongModel::TapOrder)},
            {QStringLiteral("plays"), plays},
            {QStringLiteral("skipped"), QJsonArray::fromStringList(schedule.skipped())},
            {QStringLiteral("tempo"), song.tempo()},
            {QStringLiteral("beats"), song.beats()},
            {QStringLiteral("buttons"), buttons}};
}

QJsonObject SongJson::button(const SongModel &song, int number)
{
    const SongModel::Button &button = *song.button(number);
    const QPoint cell = song.cellOf(number);
    return {{QStringLiteral("number"), number},
            {QStringLiteral("cell"),
             QJsonObject{{QStringLiteral("column"), cell.x()}, {QStringLiteral("row"), cell.y()}}},
            {QStringLiteral("picture"), button.iconIndex},
            {QStringLiteral("label"), button.label()},
            {QStringLiteral("sound"), soundObject(button.sound)}};
}
