// Paints every picture of the program into a folder, each at 1x and at 2x ("name@2x.png"), and
// the program's icon into an icon theme folder:
//   artwork <picture folder> <icon folder> [--preview <folder>]
// With --preview it also composes the windows from the new pictures, to look at.
#include "ArtSet.h"
#include "ControlArt.h"
#include "DialogArt.h"
#include "IconArt.h"
#include "PanelArt.h"
#include "Preview.h"
#include "TileArt.h"

#include <QGuiApplication>
#include <QTextStream>

namespace {

ArtSet paintAll(int pixelRatio)
{
    ArtSet set(pixelRatio);
    PanelArt::paintAll(set);
    ControlArt::paintAll(set);
    TileArt::paintAll(set);
    DialogArt::paintAll(set);
    return set;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 && !(args.size() == 5 && args[3] == "--preview")) {
        QTextStream(stderr)
            << "usage: artwork <picture folder> <icon folder> [--preview <folder>]\n";
        return 2;
    }
    const ArtSet doubled = paintAll(2);
    if (!doubled.save(args[1]))
        return 1;
    // Painted last, so the preview sees the 1x set.
    const ArtSet set = paintAll(1);
    if (!set.save(args[1]))
        return 1;
    QTextStream(stdout) << set.names().size() << " pictures written to " << args[1]
                        << " at 1x and 2x\n";
    if (!IconArt::writeAll(args[2], QStringLiteral("org.kavendra.Kavendra")))
        return 1;
    if (args.size() == 5 && !Preview::writeAll(set, args[4]))
        return 1;
    return 0;
}
