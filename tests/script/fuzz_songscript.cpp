// libFuzzer target for the song script reader (the fret-list syntax has its own). Besides crashes
// and sanitizer reports it checks that whatever the bracket syntax reader makes of an input is
// written and read back to the same file: once normalised by one read, a song is stable.
#include "script/SongScriptReader.h"
#include "script/SongScriptWriter.h"

#include <cstdio>
#include <cstdlib>

namespace {
constexpr int Capacity = 45;

void checkStable(const Song &song)
{
    const QByteArray once = SongScriptWriter::write(song);
    const QByteArray twice = SongScriptWriter::write(SongScriptReader::read(once, true, Capacity));
    if (once != twice) {
        std::fprintf(stderr, "unstable round trip\n--- once\n%s\n--- twice\n%s\n", once.constData(),
                     twice.constData());
        std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    checkStable(SongScriptReader::read(bytes, true, Capacity));
    return 0;
}
