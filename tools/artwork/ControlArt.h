#pragma once

class ArtSet;

// Buttons, knob, neck markers and lamps of the main window and the dialogs.
namespace ControlArt {

void paintAll(ArtSet &set);

} // namespace ControlArt
