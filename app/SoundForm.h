#pragma once

#include "sound/SoundInfo.h"

#include <QFont>
#include <QObject>
#include <QRect>
#include <array>

class CurrentSound;
class QImageButton;
class QLabel;
class QMELabel;
class QMouseEvent;
class QNoteLamp;
class QNumericLineEdit;
class QRotarySwitch;
class QString;
class QWidget;

// The editing form of the current sound on the main window: the neck, the fret, speed, offset,
// volume and hold fields, the four knobs, the stroke lamps, the arrows and the timbre button.
// A view of CurrentSound: what the user does goes to it, and its signals redraw the form.
// A field writes its value when the user changes it (by typing or with its knob); redrawing
// a field never writes back, so a value the narrow field cannot show in full stays exact.
class SoundForm : public QObject
{
    Q_OBJECT

public:
    // The controls become children of the window, placed in its coordinates.
    SoundForm(CurrentSound *sound, QWidget *window);

    // Where the neck lies, in the window's coordinates.
    QRect neckGeometry() const;

private:
    friend class TestSoundForm;

    void createNeck(QWidget *window);
    void createTimbreButton(QWidget *window);
    void createArrowButtons(QWidget *window);
    void createNumericEdits(QWidget *window);
    QNumericLineEdit *createNumericEdit(QWidget *window, int x, int y, int maxLength);
    void createNoteLamps(QWidget *window);
    void createRotarySwitches(QWidget *window);
    void linkRotarySwitches();
    void connectEdits();
    void connectSound();

    void pressNeck();
    void pressLamp(QMouseEvent *event, QWidget *widget);
    void pressArrow(QMouseEvent *event, QWidget *widget);

    void showSound();
    void showStroke(int stroke);
    void showStrokeFrets(int stroke);
    void showCurrentStroke(int stroke);
    void showNeck();
    void showArrows();
    void showTimbre();
    void showKnobs();
    void showText(QNumericLineEdit *edit, const QString &text);

    CurrentSound *m_sound;
    // Set while an edit goes to the sound or the form redraws itself: the field changes made
    // then are no edits, and a field the user is typing into is not redrawn under the cursor.
    bool m_syncing = false;

    QMELabel *m_neck = nullptr;
    QImageButton *m_soundTypeButton = nullptr;
    std::array<QImageButton *, SoundInfo::Strokes> m_arrowButtons{};
    std::array<std::array<QNumericLineEdit *, SoundInfo::Strings>, SoundInfo::Strokes>
        m_fretEdits{};
    std::array<QNumericLineEdit *, SoundInfo::Strokes> m_speedEdits{};
    std::array<QNumericLineEdit *, SoundInfo::Gaps> m_offsetEdits{};
    QNumericLineEdit *m_volEdit = nullptr;
    QNumericLineEdit *m_holdEdit = nullptr;
    std::array<QNoteLamp *, SoundInfo::Strokes> m_noteLamps{};
    // The lit lamp over the current stroke's lamp; a plain picture, so a press on it reaches
    // the window (and drags it).
    QLabel *m_strokeMarker = nullptr;
    QRotarySwitch *m_speedSwitch = nullptr;
    QRotarySwitch *m_offsetSwitch = nullptr;
    QRotarySwitch *m_volSwitch = nullptr;
    QRotarySwitch *m_holdSwitch = nullptr;
    QFont m_editFont;
};
