#include "app/MainWindow.h"

#include "app/Log.h"
#include "app/SongFileCommands.h"
#include "app/SoundForm.h"
#include "buttons/DialogSelectIcon.h"
#include "buttons/QButtonPanel.h"
#include "chordbook/DialogChordBook.h"
#include "model/CurrentSound.h"
#include "model/SongModel.h"
#include "upload/DialogSongInfo.h"
#include "widgets/QImageButton.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPixmap>

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

// The picture buttons of the window and the commands behind them, in stacking order.
struct PictureButton
{
    QRect geometry;
    const char *normal;
    const char *hover;
    const char *toolTip;
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
} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowFlags(Qt::FramelessWindowHint);
    setUpForm();
    m_song = new SongModel(this);
    m_sound = new CurrentSound(this);
    m_iconChooser = std::make_unique<DialogSelectIcon>(&m_iconTable);
    m_chordBook = new DialogChordBook(this);
    m_songInfo = new DialogSongInfo(m_song, this);
    setFixedSize(WindowWidth, WindowHeight);
    // Takes the folder current at start for its dialogs, before it changes below.
    m_files = new SongFileCommands(m_song, m_sound, this);
    QDir::setCurrent(workingDirectoryFor(QCoreApplication::applicationDirPath()));

    createPictureButtons();
    createIconPreview();
    m_form = new SoundForm(m_sound, this);
    createButtonPanel();
    connectDialogs();
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
         &MainWindow::onMousePressLoad},
        {QRect(97, 19, 39, 39), ":/img/bt_save.png", ":/img/bt_save_hover.png", "Save",
         &MainWindow::onMousePressSave},
        {QRect(152, 19, 39, 39), ":/img/bt_chord_book.png", ":/img/bt_chord_book_hover.png",
         "Chord", &MainWindow::onMousePressBook},
        {QRect(207, 19, 39, 39), ":/img/bt_upload.png", ":/img/bt_upload_hover.png", "Submit",
         &MainWindow::onMousePressWeb},
        {QRect(270, 350, 39, 39), ":/img/bt_add.png", ":/img/bt_add_hover.png", "Create New Button",
         &MainWindow::onMousePressAdd},
        {QRect(310, 350, 39, 39), ":/img/bt_delete.png", ":/img/bt_delete_hover.png",
         "Delete Button", &MainWindow::onMousePressDelete},
        {QRect(230, 350, 39, 39), ":/img/bt_play.png", ":/img/bt_play_hover.png",
         "Play Currnt Sound", &MainWindow::onMousePressPlay},
        {QRect(88, 352, 38, 30), ":/img/bt_lock.png", ":/img/bt_lock_hover.png", nullptr,
         &MainWindow::onMousePressLock},
    };
    for (const PictureButton &entry : buttons) {
        auto *button = new QImageButton(this, entry.geometry, QString::fromLatin1(entry.normal),
                                        QString::fromLatin1(entry.hover));
        if (entry.toolTip)
            button->setToolTip(QString::fromLatin1(entry.toolTip));
        connect(button, &QImageButton::mousePress, this, entry.command);
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
    connect(m_iconLabel, &QImageButton::mousePress, this, &MainWindow::onMousePressIcon);
}

void MainWindow::createButtonPanel()
{
    m_buttonPanel = new QButtonPanel(m_song, &m_iconTable, m_iconChooser.get(), this);
    m_buttonPanel->setGeometry(PanelGeometry);
    connect(m_buttonPanel, &QButtonPanel::buttonPressed, this, &MainWindow::pressSoundButton);
    connect(m_buttonPanel, &QButtonPanel::backgroundReleased, this, &MainWindow::deselect);
}

void MainWindow::connectDialogs()
{
    connect(m_chordBook, &DialogChordBook::chordSet, m_sound, &CurrentSound::setCurrentStrokeFrets);
    connect(m_chordBook, &DialogChordBook::chordPlayed, m_sound, &CurrentSound::playFrets);
    m_songInfo->setSongWriter([this](const QString &path) { return m_files->writeTo(path); });
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
    if (m_files->confirmUnsavedChanges())
        event->accept();
    else
        event->ignore();
}

// Commands

void MainWindow::onMousePressPower()
{
    qCDebug(lcApp) << "on press";
    // After the press has been handled.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::onMousePressPlay()
{
    m_sound->play();
}

void MainWindow::onMousePressAdd()
{
    qCDebug(lcApp) << "Add";
    m_song->addButton(m_iconIndex, m_sound->sound());
}

// The form keeps showing the deleted button's sound.
void MainWindow::onMousePressDelete()
{
    qCDebug(lcApp) << "Delete";
    m_song->removeButton(m_song->selected());
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

void MainWindow::pressSoundButton(int number)
{
    m_song->setSelectedSound(m_sound->sound());
    m_song->select(number);
    m_sound->setSound(m_song->button(number)->sound);
    m_sound->play();
    if (m_songInfo->isRecording())
        m_song->appendTap(number);
}

// A click on the panel's background: the selected button keeps what the form shows.
void MainWindow::deselect()
{
    m_song->setSelectedSound(m_sound->sound());
    m_song->select(0);
}
