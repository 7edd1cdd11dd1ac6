#pragma once

#include <QImage>
#include <QString>

class ArtSet;

// The chord book and song info dialogs: their panels and the chord buttons.
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
