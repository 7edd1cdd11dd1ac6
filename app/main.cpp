#include "app/Log.h"
#include "app/MainWindow.h"
#include "app/PluginFolder.h"
#include "widgets/Picture.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QSplashScreen>
#include <QTimer>

namespace {

constexpr int SplashMilliseconds = 2000;

// The song named on the command line, as an absolute path (the program changes its current
// folder); empty when none is named.
QString songArgument(const QApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Guitar strum simulator and song editor"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A song to load (.kds)"),
                                 QStringLiteral("[FILE]"));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    return files.isEmpty() ? QString() : QFileInfo(files.constFirst()).absoluteFilePath();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Ommerlund"));
    QCoreApplication::setApplicationName(QStringLiteral("Kavendra"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KAVENDRA_VERSION));
    const QString song = songArgument(app);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kavendra.Kavendra"));
    qCDebug(lcApp) << "plug-in folder" << PluginFolder::path() << "form poster"
                   << PluginFolder::formPoster();

    QSplashScreen splash(Picture::load(QStringLiteral(":/img/splash.png")),
                         Qt::WindowStaysOnTopHint);
    MainWindow window;
    window.show();
    // Before the splash, so that a message about the file is not hidden under it.
    if (!song.isEmpty())
        window.openSong(song);
    splash.show();
    QTimer::singleShot(SplashMilliseconds, &splash, &QWidget::close);
    return app.exec();
}
