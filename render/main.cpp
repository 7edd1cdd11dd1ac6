#include "render/RenderCommand.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kavendra-render"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KAVENDRA_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RenderCommand(out, err).run(QCoreApplication::arguments());
}
