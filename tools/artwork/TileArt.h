#pragma once

#include <QColor>

class ArtSet;

// The 14 sound-button pictures and their selected variants, 30 x 30 each.
namespace TileArt {

constexpr int TileCount = 14;

// The colour the program writes each tile's number in (its label colour).
QColor labelColour(int index);

void paintAll(ArtSet &set);

} // namespace TileArt
