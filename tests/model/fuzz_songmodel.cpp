// libFuzzer target for a song loaded through the model and saved again. The model must hold the
// song as read. A save may change it only as the format demands: reals to 15 significant digits,
// a stroke as its signed speed, carriage returns in the lyrics as line feeds and in one-line texts
// as spaces. Reloaded, the saved song must be the model so saved, and saved again, the same text.
#include "model/SongModel.h"
#include "script/Song.h"
#include "script/SongScriptReader.h"
#include "script/SongScriptWriter.h"
#include "script/SongText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

QByteArray save(const SongModel &model)
{
    return SongScriptWriter::write(model.toSong());
}

Song read(const QByteArray &text)
{
    return SongScriptReader::read(text, true, SongModel::Capacity);
}

// Whether the model holds the song as loaded: its information where the song has it, its
// buttons in reading order on the grid, each labelled as its layout record says or by number.
bool holds(const SongModel &model, const Song &song)
{
    const std::optional<QString> info[SongModel::InfoFieldCount] = {
        song.title, song.artist, song.user, song.lyrics, song.tapOrder};
    for (int field = 0; field < SongModel::InfoFieldCount; ++field) {
        if (info[field] && *info[field] != model.info(SongModel::InfoField(field)))
            return false;
    }
    const qsizetype placed = std::min<qsizetype>(song.buttons.size(), SongModel::Capacity);
    if (model.numbers().size() != placed)
        return false;
    for (int index = 0; index < placed; ++index) {
        const SongButton &data = song.buttons[index];
        const SongModel::Button *button = model.button(index + 1);
        const QString label = data.hasLayout ? data.layoutLabel : QString::number(index + 1);
        if (!button ||
            model.cellOf(index + 1) !=
                QPoint(index % SongModel::Columns, index / SongModel::Columns) ||
            button->sound != data.info || button->scale != data.scale ||
            button->iconIndex != data.iconIndex || button->volPlay != data.volPlay ||
            button->texts[0] != data.texts[0] || button->texts[1] != data.texts[1] ||
            button->label() != label)
            return false;
    }
    return true;
}

// Reals are saved to 15 significant digits (and read back within the reader's limits).
bool savedReal(double value, double reloaded)
{
    constexpr double SavedPrecision = 1e-14;
    return std::fabs(value - reloaded) <=
           SavedPrecision * std::max(std::fabs(value), std::fabs(reloaded));
}

bool savedSound(const SoundInfo &a, const SoundInfo &b)
{
    if (!savedReal(a.vol, b.vol) || !savedReal(a.hold, b.hold))
        return false;
    SoundInfo rest = a;
    rest.vol = b.vol;
    rest.hold = b.hold;
    for (int g = 0; g < SoundInfo::Gaps; ++g) {
        if (!savedReal(a.time_offset[g], b.time_offset[g]))
            return false;
        rest.time_offset[g] = b.time_offset[g];
    }
    // A stroke is saved as its signed speed: speed times direction, 0 for either direction.
    for (int r = 0; r < SoundInfo::Strokes; ++r) {
        if (!savedReal(a.direction[r] * a.strum_speed[r], b.direction[r] * b.strum_speed[r]))
            return false;
        rest.strum_speed[r] = b.strum_speed[r];
        rest.direction[r] = b.direction[r];
    }
    return rest == b;
}

bool savedButton(const SongModel::Button &a, const SongModel::Button &b)
{
    for (int t = 0; t < SongModel::Button::TextCount; ++t) {
        if (SongText::oneLine(a.texts[t]) != b.texts[t])
            return false;
    }
    return a.iconIndex == b.iconIndex && savedSound(a.sound, b.sound) && a.scale == b.scale &&
           savedReal(a.volPlay, b.volPlay);
}

// Whether b, loaded from a save of a, holds what that save keeps of a.
bool savedModel(const SongModel &a, const SongModel &b)
{
    for (int field = 0; field < SongModel::InfoFieldCount; ++field) {
        const auto info = SongModel::InfoField(field);
        const QString text = a.info(info);
        if ((info == SongModel::Lyrics ? SongText::lineFeeds(text) : SongText::oneLine(text)) !=
            b.info(info))
            return false;
    }
    const QList<int> numbers = a.numbers();
    if (numbers != b.numbers())
        return false;
    return std::all_of(numbers.begin(), numbers.end(), [&](int number) {
        return a.cellOf(number) == b.cellOf(number) &&
               savedButton(*a.button(number), *b.button(number));
    });
}

[[noreturn]] void fail(const char *what, const QByteArray &first, const QByteArray &second)
{
    std::fprintf(stderr, "%s\n--- first save\n%s\n--- second save\n%s\n", what, first.constData(),
                 second.constData());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Song song =
        read(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    SongModel opened;
    opened.loadSong(song);
    if (!holds(opened, song))
        fail("the model does not hold the song loaded", save(opened), {});
    const QByteArray first = save(opened);
    SongModel reopened;
    reopened.loadSong(read(first));
    if (!savedModel(opened, reopened))
        fail("a saved song reloads to something else than the save keeps", first, {});
    // The same text loads to the same model again: reopened.
    if (save(reopened) != first)
        fail("a saved song saves differently once reloaded", first, save(reopened));
    return 0;
}
