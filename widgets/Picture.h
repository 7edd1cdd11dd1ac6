#pragma once

#include <QPixmap>
#include <QString>

// Loads one of the program's pictures by its resource path. Where the screen is scaled by more
// than one it takes the twin beside it with "@2x" before the suffix, so the text painted into
// the picture stays sharp; the pixmap keeps the picture's size in layout pixels either way.
// Style sheets and icons find the @2x picture by themselves; a plain QPixmap(path) does not.
class Picture
{
public:
    static QPixmap load(const QString &path);
    // The same for a given screen scale.
    static QPixmap load(const QString &path, qreal screenScale);
};
