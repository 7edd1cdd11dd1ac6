#include "app/Log.h"
#include "app/MainWindow.h"
#include "app/PluginFolder.h"
#include "sound/WavePlayer.h"
#include "widgets/Picture.h"

#include <QApplication>
#include <QSplashScreen>
#include <QTimer>

namespace {

constexpr int SplashMilliseconds = 2000;

int runProgram(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Ommerlund"));
    QCoreApplication::setApplicationName(QStringLiteral("Kavendra"));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kavendra.Kavendra"));
    qCDebug(lcApp) << "plug-in folder" << PluginFolder::path() << "form poster"
                   << PluginFolder::formPoster();

    QSplashScreen splash(Picture::load(QStringLiteral(":/img/splash.png")),
                         Qt::WindowStaysOnTopHint);
    MainWindow window;
    window.show();
    splash.show();
    QTimer::singleShot(SplashMilliseconds, &splash, &QWidget::close);
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    WavePlayer::exitProcess(runProgram(argc, argv));
}
