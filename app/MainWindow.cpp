#include "app/MainWindow.h"

#include "app/KeyHelp.h"
#include "app/Log.h"
#include "app/RecentSongs.h"
#include "app/RecoveryCommands.h"
#include "app/SelectedButton.h"
#include "app/Settings.h"
#include "app/SongFileCommands.h"
#include "app/SongPlayerBar.h"
#include "app/SoundExport.h"
#include "app/SoundForm.h"
#include "buttons/DialogSelectIcon.h"
#include "buttons/PanelKeyMap.h"
#include "buttons/QButtonPanel.h"
#include "chordbook/DialogChordBook.h"
#include "history/SongHistory.h"
#include "model/CurrentSound.h"
#include "model/SongModel.h"
#include "model/SongRenderer.h"
#include "upload/DialogSongInfo.h"
#include "widgets/QImageButton.h"
#include "widgets/QNumericLineEdit.h"
#include "widgets/QStyledMenu.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>

namespace {
constexpr int WindowWidth = 924;
constexpr int WindowHeight = 636;
constexpr int FormWidth = 930;
constexpr int FormHeight = 650;
constexpr int IconPreviewSize = 20;
const QRect PanelGeometry(51, 420, SongModel::PanelWidth, SongModel::PanelHeight);
const char *const WindowStyle = "#MainWindow { background-image: url(:/img/main_panel.png); "
                                "background-repeat: repeat-x; border: 0px }";
const QString LockImage = QStringLiteral(":/img/bt_lock.png");
const QString LockHoverImage = QStringLiteral(":/img/bt_lock_hover.png");
const QString UnlockImage = QStringLiteral(":/img/bt_blank.png");
const QString UnlockHoverImage = QStringLiteral(":/img/bt_blank_hover.png");
const QString KeyLegendsKey = QStringLiteral("KeyLegends");

// The picture buttons of the window and the commands behind them, in stacking order. A right
// click offers the menu, where a button has one.
struct PictureButton
{
    QRect geometry;
    const char *normal;
    const char *hover;
    const char *toolTip;
    void (MainWindow::*command)();
    void (MainWindow::*menu)(QPoint globalPos) = nullptr;
};

// The shortcuts of the window and their commands.
struct Shortcut
{
    QList<QKeySequence> keys;
    void (MainWindow::*command)();
};

// The preview of the picture for new sound buttons, at the picture's own pixel density.
QPixmap iconPreview(const QPixmap &picture)
{
    const qreal ratio = picture.devicePixelRatio();
    QPixmap preview = picture.scaled(QSize(IconPreviewSize, IconPreviewSize) * ratio,
                                     Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    preview.setDevicePixelRatio(ratio);
    return preview;
}

// The first local song file among the dropped ones; empty if there is none.
QString droppedSong(const QMimeData *data)
{
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile() && SongFileCommands::isSongFileName(url.toLocalFile()))
            return QFileInfo(url.toLocalFile()).absoluteFilePath();
    }
    return QString();
}

// The platform's keys for a command, and the usual one as well: some platforms have none for
// Save As or Quit, and the page of keys names the usual ones.
QList<QKeySequence> keysFor(QKeySequence::StandardKey command, QKeyCombination usual)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(command);
    if (!keys.contains(QKeySequence(usual)))
        keys.append(QKeySequence(usual));
    return keys;
}
} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowFlags(Qt::FramelessWindowHint);
    setUpForm();
    m_song = new SongModel(this);
    m_history = new SongHistory(m_song, this);
    m_sound = new CurrentSound(this);
    m_selection = new SelectedButton(m_history, m_sound, this);
    m_iconChooser = std::make_unique<DialogSelectIcon>(&m_iconTable);
    m_chordBook = new DialogChordBook(this);
    m_songInfo = new DialogSongInfo(m_history, this);
    setFixedSize(WindowWidth, WindowHeight);
    // Takes the folder current at start for its dialogs, before it changes below.
    m_files = new SongFileCommands(m_song, this);
    m_renderer = std::make_unique<SongRenderer>();
    m_export = new SoundExport(m_song, m_renderer.get(), this);
    m_recovery = new RecoveryCommands(m_history, m_files, this);
    QDir::setCurrent(workingDirectoryFor(QCoreApplication::applicationDirPath()));

    createPictureButtons();
    createIconPreview();
    m_form = new SoundForm(m_sound, this);
    createButtonPanel();
    m_playerBar = new SongPlayerBar(m_history, m_renderer.get(), m_buttonPanel, this);
    connect(m_playerBar, &SongPlayerBar::menuRequested, this, &MainWindow::showSongMenu);
    connectDialogs();
    m_keyHelp = new KeyHelp(this);
    createShortcuts();
    setAcceptDrops(true);
    // A click on anything that takes no keys of its own (the background, the panel, a picture
    // button) leaves a field; at start no field has the keys, so they play.
    setFocusPolicy(Qt::ClickFocus);
    setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::setUpForm()
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("MainWindow"));
    resize(FormWidth, FormHeight);
    setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 16));
    setStyleSheet(QString::fromLatin1(WindowStyle));
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central);
    setWindowTitle(QCoreApplication::translate("MainWindow", "Kavendra"));
}

QString MainWindow::workingDirectoryFor(const QString &programDir)
{
    QDir dir(programDir);
    const QString last = dir.dirName().toLower();
    if (last == QLatin1String("debug") || last == QLatin1String("release"))
        dir.cdUp();
    return dir.absolutePath();
}

void MainWindow::createPictureButtons()
{
    const PictureButton buttons[] = {
        {QRect(863, 16, 46, 46), ":/img/bt_power.png", ":/img/bt_power_hover.png", "Power",
         &MainWindow::onMousePressPower},
        {QRect(42, 19, 39, 39), ":/img/bt_load.png", ":/img/bt_load_hover.png", "Load",
         &MainWindow::onMousePressLoad, &MainWindow::showRecentSongs},
        {QRect(97, 19, 39, 39), ":/img/bt_save.png", ":/img/bt_save_hover.png", "Save",
         &MainWindow::onMousePressSave, &MainWindow::showSaveMenu},
        {QRect(152, 19, 39, 39), ":/img/bt_chord_book.png", ":/img/bt_chord_book_hover.png",
         "Chord", &MainWindow::onMousePressBook},
        {QRect(207, 19, 39, 39), ":/img/bt_upload.png", ":/img/bt_upload_hover.png", "Submit",
         &MainWindow::onMousePressWeb},
        {QRect(270, 350, 39, 39), ":/img/bt_add.png", ":/img/bt_add_hover.png", "Create New Button",
         &MainWindow::onMousePressAdd},
        {QRect(310, 350, 39, 39), ":/img/bt_delete.png", ":/img/bt_delete_hover.png",
         "Delete Button", &MainWindow::onMousePressDelete},
        {QRect(230, 350, 39, 39), ":/img/bt_play.png", ":/img/bt_play_hover.png",
         "Play Current Sound", &MainWindow::onMousePressPlay, &MainWindow::showPlayMenu},
        {QRect(88, 352, 38, 30), ":/img/bt_lock.png", ":/img/bt_lock_hover.png",
         "Lock: open it to drag buttons to other cells", &MainWindow::onMousePressLock},
    };
    for (const PictureButton &entry : buttons) {
        auto *button = new QImageButton(this, entry.geometry, QString::fromLatin1(entry.normal),
                                        QString::fromLatin1(entry.hover));
        button->setToolTip(QString::fromLatin1(entry.toolTip));
        connect(button, &QImageButton::mousePress, this,
                [this, command = entry.command](QMouseEvent *event) {
                    if (event->button() == Qt::LeftButton)
                        (this->*command)();
                });
        if (entry.menu) {
            button->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(button, &QWidget::customContextMenuRequested, this,
                    [this, button, menu = entry.menu](QPoint point) {
                        (this->*menu)(button->mapToGlobal(point));
                    });
        }
        if (entry.command == &MainWindow::onMousePressLock)
            m_lockButton = button;
    }
}

void MainWindow::createIconPreview()
{
    const QPixmap preview = iconPreview(m_iconTable.picture(m_iconIndex));
    m_iconLabel = new QImageButton(this);
    m_iconLabel->setPixmap(preview);
    m_iconLabel->setGeometry(QRect(QPoint(174, 358), preview.deviceIndependentSize().toSize()));
    m_iconLabel->setToolTip(tr("Picture for new buttons"));
    connect(m_iconLabel, &QImageButton::mousePress, this, &MainWindow::onMousePressIcon);
}

void MainWindow::createButtonPanel()
{
    m_buttonPanel = new QButtonPanel(m_history, &m_iconTable, m_iconChooser.get(), this);
    m_buttonPanel->setGeometry(PanelGeometry);
    m_buttonPanel->showKeyLegends(Settings::store().value(KeyLegendsKey, true).toBool());
    connect(m_buttonPanel, &QButtonPanel::buttonPressed, this, &MainWindow::pressSoundButton);
    connect(m_buttonPanel, &QButtonPanel::selectRequested, m_selection, &SelectedButton::select);
    connect(m_buttonPanel, &QButtonPanel::backgroundReleased, m_selection,
            &SelectedButton::deselect);
    connect(m_buttonPanel, &QButtonPanel::keyLegendsToggled, this, &MainWindow::rememberKeyLegends);
    connect(m_buttonPanel, &QButtonPanel::exportRequested, m_export, &SoundExport::exportButton);
}

// Standard keys where the platform has them; the keys work while the window is active and no
// field takes them for its own editing.
void MainWindow::createShortcuts()
{
    const Shortcut shortcuts[] = {
        {keysFor(QKeySequence::Open, Qt::CTRL | Qt::Key_O), &MainWindow::onMousePressLoad},
        {keysFor(QKeySequence::Save, Qt::CTRL | Qt::Key_S), &MainWindow::onMousePressSave},
        {keysFor(QKeySequence::SaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S), &MainWindow::saveAs},
        {keysFor(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q), &MainWindow::onMousePressPower},
        {keysFor(QKeySequence::Undo, Qt::CTRL | Qt::Key_Z), &MainWindow::undo},
        {keysFor(QKeySequence::Redo, Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &MainWindow::redo},
        {keysFor(QKeySequence::Delete, QKeyCombination(Qt::Key_Delete)),
         &MainWindow::onMousePressDelete},
        {keysFor(QKeySequence::HelpContents, QKeyCombination(Qt::Key_F1)),
         &MainWindow::toggleKeyHelp},
        {{QKeySequence(Qt::Key_Space)}, &MainWindow::onMousePressPlay},
        {{QKeySequence(Qt::SHIFT | Qt::Key_Space)}, &MainWindow::togglePlaySong},
        {{QKeySequence(Qt::CTRL | Qt::Key_E)}, &MainWindow::exportSong},
    };
    for (const Shortcut &shortcut : shortcuts) {
        auto *action = new QAction(this);
        action->setShortcuts(shortcut.keys);
        // A held key does its command once.
        action->setAutoRepeat(false);
        connect(action, &QAction::triggered, this, shortcut.command);
        addAction(action);
    }
}

void MainWindow::connectDialogs()
{
    connect(m_chordBook, &DialogChordBook::chordSet, m_sound, &CurrentSound::setCurrentStrokeFrets);
    connect(m_chordBook, &DialogChordBook::chordPlayed, m_sound, &CurrentSound::playFrets);
    m_songInfo->setSongWriter([this](const QString &path) { return m_files->writeTo(path); });
}

void MainWindow::openSong(const QString &fileName)
{
    m_files->open(fileName);
}

void MainWindow::offerRecovery()
{
    m_recovery->offer();
}

void MainWindow::keepRecoveryCopy()
{
    m_recovery->keep();
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    if (!m_drag.press(this, event))
        QMainWindow::mousePressEvent(event);
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_drag.move(this, event))
        QMainWindow::mouseMoveEvent(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_files->confirmUnsavedChanges()) {
        event->ignore();
        return;
    }
    m_recovery->discard();
    event->accept();
}

// Keys a field does not use come here from it: only those that leave it do something then.
void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (QNumericLineEdit::leavesField(event->key())) {
        setFocus();
        return;
    }
    const QPoint cell = PanelKeyMap::cellFor(*event);
    const bool fieldHasKeys = focusWidget() && focusWidget() != this;
    if (cell.x() < 0 || fieldHasKeys) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat())
        m_buttonPanel->pressCell(cell);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedSong(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

// The drop is answered at once; the load, which may ask first, follows.
void MainWindow::dropEvent(QDropEvent *event)
{
    const QString fileName = droppedSong(event->mimeData());
    if (fileName.isEmpty())
        return;
    event->acceptProposedAction();
    QTimer::singleShot(0, this, [this, fileName] { m_files->open(fileName); });
}

// Commands

void MainWindow::onMousePressPower()
{
    qCDebug(lcApp) << "on press";
    // After the press has been handled.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

// A sound of its own ends the song playing, as it would cut into it.
void MainWindow::onMousePressPlay()
{
    m_playerBar->stop();
    m_sound->play();
}

void MainWindow::onMousePressAdd()
{
    qCDebug(lcApp) << "Add";
    m_history->addButton(m_iconIndex, m_sound->sound());
}

// The form keeps showing the deleted button's sound.
void MainWindow::onMousePressDelete()
{
    qCDebug(lcApp) << "Delete";
    m_history->removeButton(m_song->selected());
}

void MainWindow::onMousePressLock()
{
    const bool lock = !m_buttonPanel->isLocked();
    if (lock)
        m_lockButton->showImages(LockImage, LockHoverImage);
    else
        m_lockButton->showImages(UnlockImage, UnlockHoverImage);
    m_buttonPanel->setLocked(lock);
}

void MainWindow::onMousePressLoad()
{
    m_files->load();
}

void MainWindow::onMousePressSave()
{
    m_files->save();
}

void MainWindow::saveAs()
{
    m_files->saveAs();
}

void MainWindow::undo()
{
    m_history->stack()->undo();
}

void MainWindow::redo()
{
    m_history->stack()->redo();
}

void MainWindow::toggleKeyHelp()
{
    m_keyHelp->toggle();
}

void MainWindow::onMousePressBook()
{
    const QRect neck = m_form->neckGeometry();
    m_chordBook->showClearOf(QRect(mapToGlobal(neck.topLeft()), neck.size()), frameGeometry());
    qCDebug(lcApp) << "Book";
}

void MainWindow::onMousePressWeb()
{
    qCDebug(lcApp) << "Web";
    m_songInfo->show();
}

void MainWindow::onMousePressIcon()
{
    const std::optional<int> index = m_iconChooser->choose(m_iconLabel, m_iconIndex);
    if (!index)
        return;
    m_iconIndex = *index;
    m_iconLabel->setPixmap(iconPreview(m_iconTable.picture(m_iconIndex)));
}

void MainWindow::showRecentSongs(QPoint globalPos)
{
    QStyledMenu menu;
    const QStringList songs = RecentSongs::existing();
    for (const QString &song : songs) {
        QAction *entry = menu.addAction(QFileInfo(song).fileName());
        entry->setToolTip(QDir::toNativeSeparators(song));
        connect(entry, &QAction::triggered, this, [this, song] { m_files->open(song); });
    }
    if (songs.isEmpty())
        menu.addAction(tr("No recent songs"))->setEnabled(false);
    menu.exec(globalPos);
}

void MainWindow::showSaveMenu(QPoint globalPos)
{
    QStyledMenu menu;
    connect(menu.addAction(tr("Save As...")), &QAction::triggered, this, &MainWindow::saveAs);
    menu.exec(globalPos);
}

void MainWindow::showPlayMenu(QPoint globalPos)
{
    QStyledMenu menu;
    connect(menu.addAction(tr("Export Sound...")), &QAction::triggered, this,
            [this] { m_export->exportSound(m_sound->sound()); });
    menu.exec(globalPos);
}

void MainWindow::showSongMenu(QPoint globalPos)
{
    QStyledMenu menu;
    connect(menu.addAction(tr("Export Song...")), &QAction::triggered, this,
            &MainWindow::exportSong);
    menu.exec(globalPos);
}

void MainWindow::togglePlaySong()
{
    m_playerBar->togglePlay();
}

void MainWindow::exportSong()
{
    m_export->exportSong();
}

void MainWindow::pressSoundButton(int number)
{
    m_playerBar->stop();
    m_selection->press(number);
    if (m_songInfo->isRecording())
        m_history->appendTap(number);
}

void MainWindow::rememberKeyLegends(bool shown)
{
    Settings::store().setValue(KeyLegendsKey, shown);
}
