// libFuzzer target for a song loaded through the model and saved again. A first save may change a
// song: it writes reals to 15 digits, a stroke of speed 0 as a down stroke, lone carriage returns
// in the lyrics as line feeds and in one-line texts as spaces. What it saved must then load and
// save again unchanged: the same text, the same model.
#include "model/SongModel.h"
#include "script/Song.h"
#include "script/SongScriptReader.h"
#include "script/SongScriptWriter.h"

#include <algorithm>
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

bool sameButton(const SongModel::Button &a, const SongModel::Button &b)
{
    return a.iconIndex == b.iconIndex && a.sound == b.sound && a.scale == b.scale &&
           a.volPlay == b.volPlay && std::equal(std::begin(a.texts), std::end(a.texts), b.texts);
}

bool sameModel(const SongModel &a, const SongModel &b)
{
    for (int field = 0; field < SongModel::InfoFieldCount; ++field) {
        const auto info = SongModel::InfoField(field);
        if (a.info(info) != b.info(info))
            return false;
    }
    const QList<int> numbers = a.numbers();
    if (numbers != b.numbers())
        return false;
    return std::all_of(numbers.begin(), numbers.end(), [&](int number) {
        return a.cellOf(number) == b.cellOf(number) &&
               sameButton(*a.button(number), *b.button(number));
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
    const QByteArray second = save(reopened);
    if (second != first)
        fail("a saved song saves differently once reloaded", first, second);
    SongModel third;
    load(third, second);
    if (!sameModel(reopened, third))
        fail("a saved song reloads to a different model", first, second);
    return 0;
}
