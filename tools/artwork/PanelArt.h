#pragma once

#include <QImage>

class ArtSet;

// The main window's panel picture and the splash screen.
namespace PanelArt {

QImage mainPanel();
QImage splash();

void paintAll(ArtSet &set);

} // namespace PanelArt
