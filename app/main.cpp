#include "app/MainWindow.h"

#include <QApplication>
#include <QPixmap>
#include <QSplashScreen>
#include <QTimer>

namespace {

constexpr int SplashMilliseconds = 2000;

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Ommerlund"));
    QCoreApplication::setApplicationName(QStringLiteral("Kavendra"));

    QSplashScreen splash(QPixmap(QStringLiteral(":/img/splash.png")), Qt::WindowStaysOnTopHint);
    MainWindow window;
    window.show();
    splash.show();
    QTimer::singleShot(SplashMilliseconds, &splash, &QWidget::close);
    return app.exec();
}
