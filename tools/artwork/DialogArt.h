#pragma once

#include <QImage>
#include <QString>

class ArtSet;

// The dialogs: the chord book and song info panels, the chord buttons, the icon chooser.
namespace DialogArt {

// Chord names as shown on the buttons, and the picture each is stored in.
QString rootName(int i);
QString rootPicture(int i);
QString typeName(int j);
QString typePicture(int j);

QImage bookPanel();
QImage songInfoPanel();

void paintAll(ArtSet &set);

} // namespace DialogArt
