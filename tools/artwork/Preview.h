#pragma once

#include <QString>

class ArtSet;

// Pictures of the windows as the program will compose them, to look at: the controls drawn
// over their panels at the places the program gives them.
namespace Preview {

bool writeAll(const ArtSet &set, const QString &dir);

} // namespace Preview
