#pragma once

#include "sound/SoundInfo.h"
#include "widgets/WindowDrag.h"

#include <QFont>
#include <QMainWindow>
#include <QString>
#include <array>

class QCloseEvent;
class QLabel;
class QPixmap;
class QLineEdit;
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
    // With unsaved changes, closing asks first, as a load does.
    void closeEvent(QCloseEvent *event) override;

private:
    friend class TestMainWindow;

    using PressSlot = void (MainWindow::*)(QMouseEvent *, QWidget *);

    QImageButton *createImageButton(int x, int y, int w, int h, const QString &normal,
                                    const QString &hover, PressSlot slot);
    QImageButton *createImageButton(int x, int y, int size, const QString &normal,
                                    const QString &hover, PressSlot slot);
    QNumericLineEdit *createNumericEdit(int x, int y, int value, int maxLength);
    QRotarySwitch *createRotarySwitch(int x, int y, int maximum);
    QImageButton *createIconLabel(int x, int y, const QPixmap &pixmap, PressSlot slot);
    void createButtonPanel();

    void setUpForm();
    // The program's directory, or its parent when that is a "debug" or "release" build folder.
    static QString workingDirectoryFor(const QString &programDir);
    void createNeck();
    void createArrowButtons();
    void createNumericEdits();
    void createNoteLamps();
    void createRotarySwitches();
    void linkRotarySwitches();
    double fieldValue(const QLineEdit *edit, double stored) const;

    WindowDrag m_drag;
    SoundInfo m_soundInfo;

    // The editing form.
    QMELabel *m_neck = nullptr;
    int m_currentStroke = 0;
    QImageButton *m_soundTypeButton = nullptr;
    std::array<QImageButton *, SoundInfo::Strokes> m_arrowButtons{};
    std::array<std::array<QNumericLineEdit *, SoundInfo::Strings>, SoundInfo::Strokes>
        m_fretEdits{};
    std::array<QNumericLineEdit *, SoundInfo::Strokes> m_speedEdits{};
    std::array<QNumericLineEdit *, SoundInfo::Gaps> m_offsetEdits{};
    QNumericLineEdit *m_volEdit = nullptr;
    QNumericLineEdit *m_holdEdit = nullptr;
    std::array<QNoteLamp *, SoundInfo::Strokes> m_noteLamps{};
    QLabel *m_strokeMarker = nullptr;
    QRotarySwitch *m_speedSwitch = nullptr;
    QRotarySwitch *m_offsetSwitch = nullptr;
    QRotarySwitch *m_volSwitch = nullptr;
    QRotarySwitch *m_holdSwitch = nullptr;
    QFont m_editFont;
    SoundMixer *m_engine = nullptr;

    // Play and power.
    QImageButton *m_playButton = nullptr;
    QImageButton *m_powerButton = nullptr;
    QString m_outFile;

    // Sound buttons and the picture for new ones.
    ButtonIconTable *m_iconTable = nullptr;
    DialogSelectIcon *m_iconDialog = nullptr;
    int m_iconIndex = 0;
    QImageButton *m_iconLabel = nullptr;
    QButtonPanel *m_buttonPanel = nullptr;
    QImageButton *m_addButton = nullptr;
    QImageButton *m_deleteButton = nullptr;
    QImageButton *m_lockButton = nullptr;

    // Chord book.
    DialogChordBook *m_chordBook = nullptr;
    QImageButton *m_bookButton = nullptr;

    // Song files and the song info dialog.
    void loadScript();
    // True when the song was written; false when cancelled or failed (already reported).
    bool saveScript();
    // True when the caller may drop the panel's unsaved changes.
    bool confirmUnsavedChanges();
    void readFileDirSetting();
    QString chooseSaveName();

    QImageButton *m_loadButton = nullptr;
    QImageButton *m_saveButton = nullptr;
    QString m_savePath;
    QString m_fileDir;
    bool m_fileDirUnread = true;
    DialogSongInfo *m_songInfo = nullptr;
    QImageButton *m_uploadButton = nullptr;
};
