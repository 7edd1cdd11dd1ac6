#pragma once

#include <QImage>
#include <QString>

class ArtSet;

// The dialogs: the chord book and song info panels, the chord buttons, the icon chooser; the
// page of keys.
namespace DialogArt {

// Chord names as shown on the buttons, and the picture each is stored in.
QString rootName(int i);
QString rootPicture(int i);
QString typeName(int j);
QString typePicture(int j);

QImage bookPanel();
QImage songInfoPanel();
// The keys at a glance, shown over the main window.
QImage keyHelp();

void paintAll(ArtSet &set);

} // namespace DialogArt
