#pragma once

#include "sound/SoundInfo.h"

#include <QFont>
#include <QMainWindow>
#include <QPoint>
#include <QString>

class QLabel;
class QMouseEvent;
class QImageButton;
class QNoteLamp;
class QMELabel;
class QNumericLineEdit;
class QRotarySwitch;
class SoundMixer;
class ButtonIconTable;
class DialogSelectIcon;
class QButtonPanel;
class QSoundButton;
class DialogChordBook;
class DialogSongInfo;

// The one frameless window: the guitar neck, the editing form of the current sound, the sound
// button panel and the commands behind its picture buttons.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Form <-> record transfer.
    void getSoundInfo(SoundInfo *info);
    void setSoundInfo(const SoundInfo *info);
    void playCurrentSound();
    void playFrets(const int *frets);
    void setCurrentStrokeFrets(const int *frets);

    // Views of m_soundInfo.
    void refreshFretEdits();
    void refreshNeckMarkers();
    void refreshArrows();
    void refreshSoundTypeButton();
    void refreshRotarySwitches();

    // Writes the current song as a song script, without dialogs (used by the upload).
    void saveScriptToFile(const QString &fileName);

public slots:
    void onMouseMoveNeck(QMouseEvent *event);
    void onMouseLeaveNeck(QMouseEvent *event);
    void onMousePressNeck(QMouseEvent *event);
    void onMousePressPower(QMouseEvent *event, QWidget *widget);
    void onMousePressNoteLamp(QMouseEvent *event, QWidget *widget);
    void onMousePressPlay(QMouseEvent *event, QWidget *widget);
    void onMousePressArrow(QMouseEvent *event, QWidget *widget);
    void onMousePressSoundType(QMouseEvent *event, QWidget *widget);
    void onMousePressAdd(QMouseEvent *event, QWidget *widget);
    void onMousePressDelete(QMouseEvent *event, QWidget *widget);
    void onMousePressLock(QMouseEvent *event, QWidget *widget);
    void onMousePressLoad(QMouseEvent *event, QWidget *widget);
    void onMousePressSave(QMouseEvent *event, QWidget *widget);
    void onMousePressBook(QMouseEvent *event, QWidget *widget);
    void onMousePressWeb(QMouseEvent *event, QWidget *widget);
    void onMousePressSB(QMouseEvent *event, QSoundButton *button);
    void onMousePressIcon(QMouseEvent *event, QWidget *widget);
    void onSelectIcon(int index);
    void onFretLineEditChanged();
    void writeSoundButtonInfo(SoundInfo *info);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    friend class TestMainWindow;

    QPoint m_dragPosition;
    SoundInfo m_soundInfo;
};
