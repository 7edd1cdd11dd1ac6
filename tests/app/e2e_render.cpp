// Reference renders for the end-to-end tests, made with the program's own sound engine:
//   e2e_render strum-path                       prints the per-user strum file path
//   e2e_render OUT GT HOLD FRETS SPEEDS DIRECTIONS OFFSETS
// FRETS are 24 comma-separated values (stroke-major), SPEEDS and DIRECTIONS 4, OFFSETS 3.
// A single note is a strum of one string with speed 0 and hold 100.
#include "sound/SoundInfo.h"
#include "sound/SoundMixer.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <memory>

namespace {
template <typename T> bool parseList(const QString &text, T *out, int count)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != count)
        return false;
    for (int i = 0; i < count; ++i)
        out[i] = static_cast<T>(parts[i].toDouble());
    return true;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Ommerlund"));
    QCoreApplication::setApplicationName(QStringLiteral("Kavendra"));
    const QStringList args = app.arguments();

    if (args.size() == 2 && args[1] == QLatin1String("strum-path")) {
        std::printf("%s\n", qPrintable(SoundMixer::strumFilePath()));
        return 0;
    }
    SoundInfo info;
    if (args.size() != 8 || !parseList(args[4], &info.fret[0][0], 24) ||
        !parseList(args[5], info.strum_speed, 4) || !parseList(args[6], info.direction, 4) ||
        !parseList(args[7], info.time_offset, 3)) {
        std::fprintf(stderr, "usage: e2e_render OUT GT HOLD FRETS SPEEDS DIRECTIONS OFFSETS\n");
        return 2;
    }
    info.gt = args[2].toInt();
    info.hold = args[3].toDouble();
    auto mixer = std::make_unique<SoundMixer>();
    const bool written =
        mixer->render(args[1], QStringLiteral(":/raw/"), &info.fret[0][0], info.time_offset,
                      info.strum_speed, info.direction, info.hold, info.gt);
    return written ? 0 : 1;
}
