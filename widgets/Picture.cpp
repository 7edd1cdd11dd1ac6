#include "widgets/Picture.h"

#include <QGuiApplication>

QPixmap Picture::load(const QString &path)
{
    return load(path, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
}

QPixmap Picture::load(const QString &path, qreal screenScale)
{
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (screenScale > 1.0 && dot > 0) {
        // The image reader marks a picture named "@2x" as two pixels per layout pixel.
        QPixmap sharp;
        if (sharp.load(path.left(dot) + QStringLiteral("@2x") + path.mid(dot)))
            return sharp;
    }
    return QPixmap(path);
}
