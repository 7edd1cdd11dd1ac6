#pragma once

#include <QString>

// The program's icon for menus and file managers: a metal plate with a stretch of rosewood neck
// and an amber fingertip on a string, at the hicolor theme's sizes and as SVG.
namespace IconArt {

// Writes <folder>/<size>/apps/<name>.png for each size and <folder>/scalable/apps/<name>.svg,
// laid out as in the icon theme.
bool writeAll(const QString &folder, const QString &name);

} // namespace IconArt
