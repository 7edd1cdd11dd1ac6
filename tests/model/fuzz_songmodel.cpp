// libFuzzer target for a song loaded through the model and saved again. A save may change a song
// only as its format demands: reals to 15 significant digits, a stroke as its signed speed,
// carriage returns in the lyrics as line feeds and in one-line texts as spaces. Reloaded, the saved
// song must be the model that was saved so; saved again, the same text; loaded again, the same
// model.
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

void load(SongModel &model, const QByteArray &text)
{
    model.loadSong(SongScriptReader::read(text, true, SongModel::Capacity));
}

// Reals are saved to 15 significant digits (and read back within the reader's limits).
bool sameReal(double a, double b, bool asSaved)
{
    constexpr double SavedPrecision = 1e-14;
    return asSaved ? std::fabs(a - b) <= SavedPrecision * std::max(std::fabs(a), std::fabs(b))
                   : a == b;
}

bool sameSound(const SoundInfo &a, const SoundInfo &b, bool asSaved)
{
    SoundInfo rounded = a;
    if (!sameReal(a.vol, b.vol, asSaved) || !sameReal(a.hold, b.hold, asSaved))
        return false;
    for (int g = 0; g < SoundInfo::Gaps; ++g) {
        if (!sameReal(a.time_offset[g], b.time_offset[g], asSaved))
            return false;
        rounded.time_offset[g] = b.time_offset[g];
    }
    // A stroke is saved as its signed speed: speed times direction, 0 for either direction.
    for (int r = 0; r < SoundInfo::Strokes; ++r) {
        const double signedA = a.direction[r] * a.strum_speed[r];
        const double signedB = b.direction[r] * b.strum_speed[r];
        if (!sameReal(signedA, signedB, asSaved))
            return false;
        if (asSaved) {
            rounded.strum_speed[r] = b.strum_speed[r];
            rounded.direction[r] = b.direction[r];
        }
    }
    rounded.vol = b.vol;
    rounded.hold = b.hold;
    return rounded == b;
}

QString savedInfo(SongModel::InfoField field, const QString &text)
{
    return field == SongModel::Lyrics ? SongText::lineFeeds(text) : SongText::oneLine(text);
}

// Whether b holds what a holds, or with asSaved what a save of a keeps.
bool sameButton(const SongModel::Button &a, const SongModel::Button &b, bool asSaved)
{
    for (int t = 0; t < SongModel::Button::TextCount; ++t) {
        if ((asSaved ? SongText::oneLine(a.texts[t]) : a.texts[t]) != b.texts[t])
            return false;
    }
    return a.iconIndex == b.iconIndex && sameSound(a.sound, b.sound, asSaved) &&
           a.scale == b.scale && sameReal(a.volPlay, b.volPlay, asSaved);
}

bool sameModel(const SongModel &a, const SongModel &b, bool asSaved)
{
    for (int field = 0; field < SongModel::InfoFieldCount; ++field) {
        const auto info = SongModel::InfoField(field);
        if ((asSaved ? savedInfo(info, a.info(info)) : a.info(info)) != b.info(info))
            return false;
    }
    const QList<int> numbers = a.numbers();
    if (numbers != b.numbers())
        return false;
    return std::all_of(numbers.begin(), numbers.end(), [&](int number) {
        return a.cellOf(number) == b.cellOf(number) &&
               sameButton(*a.button(number), *b.button(number), asSaved);
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
    SongModel opened;
    load(opened, QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QByteArray first = save(opened);
    SongModel reopened;
    load(reopened, first);
    if (!sameModel(opened, reopened, true))
        fail("a saved song reloads to something else than the save keeps", first, {});
    const QByteArray second = save(reopened);
    if (second != first)
        fail("a saved song saves differently once reloaded", first, second);
    SongModel third;
    load(third, second);
    if (!sameModel(reopened, third, false))
        fail("a saved song reloads to a different model", first, second);
    return 0;
}
