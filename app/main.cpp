#include "app/Log.h"
#include "app/MainWindow.h"
#include "app/PluginFolder.h"
#include "app/SignalNotifier.h"
#include "widgets/Picture.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QSplashScreen>
#include <QTimer>

#include <csignal>

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
    // A logout, a closed terminal or Ctrl+C keeps the unsaved song and ends the program normally.
    SignalNotifier endSignals({SIGTERM, SIGHUP, SIGINT});
    MainWindow window;
    bool ended = false;
    QObject::connect(&endSignals, &SignalNotifier::received, &window, [&window, &ended] {
        window.keepRecoveryCopy();
        ended = true;
        QCoreApplication::exit(0);
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window] { window.keepRecoveryCopy(); });
    window.show();
    // Before the splash, so that a question is not hidden under it. The song left behind first:
    // a song named here then asks before it replaces a restored one.
    window.offerRecovery();
    if (!ended && !song.isEmpty())
        window.openSong(song);
    // A signal during a question ends its loop; the main loop would not see it.
    if (ended)
        return 0;
    splash.show();
    QTimer::singleShot(SplashMilliseconds, &splash, &QWidget::close);
    return app.exec();
}
