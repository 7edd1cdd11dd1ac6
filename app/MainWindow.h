#pragma once

#include "buttons/ButtonIconTable.h"
#include "widgets/WindowDrag.h"

#include <QMainWindow>
#include <QString>
#include <memory>

class CurrentSound;
class DialogChordBook;
class DialogSelectIcon;
class DialogSongInfo;
class KeyHelp;
class QButtonPanel;
class QCloseEvent;
class QImageButton;
class QMouseEvent;
class RecoveryCommands;
class SelectedButton;
class SongFileCommands;
class SongHistory;
class SongModel;
class SongPlayerBar;
class SongRenderer;
class SoundExport;
class SoundForm;

// The one frameless window: it holds the song and the current sound, lays out the editing
// form, the sound button panel and the picture buttons, and wires them to the commands, the
// keys and the shortcuts.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The program's directory, or its parent when that is a "debug" or "release" build folder.
    static QString workingDirectoryFor(const QString &programDir);

    // Loads the song, after asking about unsaved changes (a song named on the command line).
    void openSong(const QString &fileName);
    // At start: offers a recovery copy that a program left behind.
    void offerRecovery();
    // Writes the recovery copy at once, without a dialog: the program is about to end.
    void keepRecoveryCopy();

protected:
    // The frameless window moves with its background.
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    // With unsaved changes, closing asks first, as a load does; changes left on purpose take
    // their recovery copy with them.
    void closeEvent(QCloseEvent *event) override;
    // The panel's keys, and Escape (or Return) out of a field.
    void keyPressEvent(QKeyEvent *event) override;
    // A song file dropped on the window is loaded.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    friend class TestMainWindow;
    friend class TestButtonCommands;

    void setUpForm();
    void createPictureButtons();
    void createIconPreview();
    void createButtonPanel();
    void createShortcuts();
    void connectDialogs();

    void onMousePressPower();
    void onMousePressPlay();
    void onMousePressAdd();
    void onMousePressDelete();
    void onMousePressLock();
    void onMousePressLoad();
    void onMousePressSave();
    void onMousePressBook();
    void onMousePressWeb();
    void onMousePressIcon();
    void saveAs();
    void undo();
    void redo();
    void toggleKeyHelp();
    void showRecentSongs(QPoint globalPos);
    void showSaveMenu(QPoint globalPos);
    void showPlayMenu(QPoint globalPos);
    void showSongMenu(QPoint globalPos);
    void togglePlaySong();
    void exportSong();
    // As a click on the button: selected, its sound loaded into the form and played, and
    // recorded as a tap while recording is on.
    void pressSoundButton(int number);
    void rememberKeyLegends(bool shown);

    WindowDrag m_drag;
    SongModel *m_song = nullptr;
    SongHistory *m_history = nullptr;
    CurrentSound *m_sound = nullptr;
    SelectedButton *m_selection = nullptr;
    ButtonIconTable m_iconTable;
    std::unique_ptr<DialogSelectIcon> m_iconChooser;
    // The picture that the next new sound button gets, and its preview.
    int m_iconIndex = 0;
    QImageButton *m_iconLabel = nullptr;
    QImageButton *m_lockButton = nullptr;
    SoundForm *m_form = nullptr;
    QButtonPanel *m_buttonPanel = nullptr;
    DialogChordBook *m_chordBook = nullptr;
    DialogSongInfo *m_songInfo = nullptr;
    SongFileCommands *m_files = nullptr;
    RecoveryCommands *m_recovery = nullptr;
    KeyHelp *m_keyHelp = nullptr;
    std::unique_ptr<SongRenderer> m_renderer;
    SongPlayerBar *m_playerBar = nullptr;
    SoundExport *m_export = nullptr;
};
