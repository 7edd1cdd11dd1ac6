#pragma once

#include <QPoint>
#include <QString>

class QKeyEvent;

// Which cell of the sound button panel a key plays. Keys are taken by their place on the
// keyboard, so that every layout plays the same shape: the panel's first four rows are the
// keyboard's four rows (1-9, Q-O, A-L, Z-. on a US keyboard) and the fifth row is the digit row
// again with Shift held, or the keypad's 1-9. Where the platform reports no key places, the key
// itself decides, as on a US keyboard. Keys held with Ctrl, Alt or Meta play nothing.
class PanelKeyMap
{
public:
    // (-1, -1) when the key plays no cell.
    static QPoint cellFor(const QKeyEvent &event);
    // The cell's key as a US keyboard prints it ("Q", "⇧1"); empty outside the grid.
    static QString legend(QPoint cell);

    // By the key's place: X11's and Wayland's key code, the Linux input event code plus 8.
    static QPoint cellForScanCode(quint32 scanCode, bool shift);
    // By the key Qt names, as on a US layout.
    static QPoint cellForKey(int key, bool shift, bool keypad);
};
