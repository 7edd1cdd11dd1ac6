// libFuzzer target for the older fret-list syntax. Besides crashes and sanitizer reports it checks
// that an old song saved as a song script keeps what the fret list gave: the same buttons, each
// with the same sound.
#include "script/SongScriptReader.h"
#include "script/SongScriptWriter.h"

#include <cstdio>
#include <cstdlib>

namespace {
// Smaller than a real panel: a few brackets already fill it and reach the buttons left out, and
// each run's save and reload stays short.
constexpr int Capacity = 4;

[[noreturn]] void fail(const char *what, const QByteArray &saved)
{
    std::fprintf(stderr, "%s\n--- saved\n%s\n", what, saved.constData());
    std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const Song old = SongScriptReader::read(bytes, false, Capacity);
    if (old.buttons.size() > Capacity)
        fail("more buttons than room", {});
    const QByteArray saved = SongScriptWriter::write(old);
    const Song again = SongScriptReader::read(saved, true, Capacity);
    if (again.buttons.size() != old.buttons.size() || again.leftOutButtons != 0)
        fail("buttons lost", saved);
    for (qsizetype i = 0; i < old.buttons.size(); ++i) {
        if (again.buttons[i].info != old.buttons[i].info)
            fail("a sound changed", saved);
    }
    return 0;
}
