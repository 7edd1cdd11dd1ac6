#include "app/MainWindow.h"

#include "app/Log.h"
#include "buttons/ButtonIconTable.h"
#include "buttons/DialogSelectIcon.h"
#include "buttons/QButtonPanel.h"
#include "buttons/QSoundButton.h"
#include "chordbook/DialogChordBook.h"
#include "script/SongScript.h"
#include "sound/SoundMixer.h"
#include "sound/WavePlayer.h"
#include "upload/DialogSongInfo.h"
#include "widgets/QImageButton.h"
#include "widgets/QMELabel.h"
#include "widgets/QNoteLamp.h"
#include "widgets/QNumericLineEdit.h"
#include "widgets/QRotarySwitch.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QSettings>
#include <algorithm>
#include <limits>

namespace {
constexpr int WindowWidth = 924;
constexpr int WindowHeight = 636;
constexpr int FormWidth = 930;
constexpr int FormHeight = 650;
constexpr int EditWidth = 35;
constexpr int EditHeight = 31;
constexpr int EditFontPoints = 10;
constexpr int LampSize = 15;
constexpr int IconPreviewSize = 20;
constexpr int RowStep = 46;
constexpr int FirstRowY = 418;
constexpr int FretMaximum = 15;
constexpr int TimeMaximum = 400;
constexpr int PercentMaximum = 100;
constexpr int FretLength = 2;
constexpr int NumberLength = 3;
constexpr int MutedFret = -1;
constexpr int AcousticType = 0;
constexpr int DistortionType = 2;
const char *const SamplePrefix = ":/raw/";
const char *const MutedText = "-";
const char *const EditStyle =
    "QWidget { color: rgb(175,198,233); border: 0px; background: transparent }";
const char *const WindowStyle = "#MainWindow { background-image: url(:/img/main_panel.png); "
                                "background-repeat: repeat-x; border: 0px }";

struct ImagePair
{
    const char *normal;
    const char *hover;
};

const ImagePair LockImages = {":/img/bt_lock.png", ":/img/bt_lock_hover.png"};
const ImagePair UnlockImages = {":/img/bt_blank.png", ":/img/bt_blank_hover.png"};
const ImagePair DownArrow = {":/img/bt_down.png", ":/img/bt_down_hover.png"};
const ImagePair UpArrow = {":/img/bt_up.png", ":/img/bt_up_hover.png"};
const ImagePair SoundTypeImages[] = {
    {":/img/bt_acoustic.png", ":/img/bt_acoustic_hover.png"},
    {":/img/bt_clean.png", ":/img/bt_clean_hover.png"},
    {":/img/bt_distortion.png", ":/img/bt_distortion_hover.png"},
};

void showImages(QImageButton *button, const ImagePair &images)
{
    button->setPixmap(QPixmap(QString::fromLatin1(images.normal)));
    button->setImages(QString::fromLatin1(images.normal), QString::fromLatin1(images.hover));
}

// The preview of the picture for new sound buttons.
QPixmap iconPreview(const QPixmap &picture)
{
    return picture.scaled(IconPreviewSize, IconPreviewSize, Qt::IgnoreAspectRatio,
                          Qt::FastTransformation);
}

QString timeText(double value)
{
    return QString::number(value, 'g', 6);
}

// Fret text to neck position: "-" and every negative fret are the muted position 0; no text
// puts a marker beyond the last fret.
int neckPosition(const QString &text)
{
    if (text == QLatin1String(MutedText))
        return 0;
    const int fret = text.toInt();
    if (fret < 0)
        return 0;
    return std::min(fret + 1, QMELabel::PositionCount - 1);
}

// A knob value from a record value; values no knob can show (NaN, huge) become -1, which every
// knob ignores like any other value below its range.
int knobValue(double value)
{
    return value >= 0.0 && value <= std::numeric_limits<int>::max() ? static_cast<int>(value) : -1;
}

int readFret(const QLineEdit *edit)
{
    return edit->text() == QLatin1String(MutedText) ? MutedFret : edit->text().toInt();
}
} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    // Step 2: no title bar, no frame.
    setWindowFlags(Qt::FramelessWindowHint);

    // Step 3: the form.
    setUpForm();

    // Step 4: the current stroke.
    m_currentStroke = 0;

    // Step 5: icon table and shared icon chooser.
    m_iconTable = new ButtonIconTable;
    m_iconDialog = DialogSelectIcon::instance();
    m_iconDialog->setIconTable(m_iconTable);
    m_iconDialog->setModal(true);

    // Step 6: chord book and song info dialog.
    m_chordBook = new DialogChordBook(this);
    m_chordBook->setMainWindow(this);
    m_songInfo = new DialogSongInfo(this);

    // Step 7: load directory unread; the current sound reset.
    m_fileDirUnread = true;
    m_soundInfo.reset();

    // Step 8: fixed size; no menu bar is ever made.
    setFixedSize(WindowWidth, WindowHeight);

    // Step 9: save path and load directory from the current directory.
    m_savePath = QDir::currentPath();
    m_fileDir = m_savePath;

    // Step 10: sound engine and output file.
    m_engine = new SoundMixer;
    m_engine->setSoundType(m_soundInfo.gt);
    m_outFile = SoundMixer::strumFilePath();

    // Step 11: working directory.
    QDir::setCurrent(workingDirectoryFor(QCoreApplication::applicationDirPath()));

    // Step 12: controls, in stacking order (a later control lies on top).
    createNeck();
    m_powerButton = createImageButton(863, 16, 46, QStringLiteral(":/img/bt_power.png"),
                                      QStringLiteral(":/img/bt_power_hover.png"),
                                      &MainWindow::onMousePressPower);
    m_powerButton->setToolTip(QStringLiteral("Power"));
    m_loadButton =
        createImageButton(42, 19, 39, QStringLiteral(":/img/bt_load.png"),
                          QStringLiteral(":/img/bt_load_hover.png"), &MainWindow::onMousePressLoad);
    m_loadButton->setToolTip(QStringLiteral("Load"));
    m_saveButton =
        createImageButton(97, 19, 39, QStringLiteral(":/img/bt_save.png"),
                          QStringLiteral(":/img/bt_save_hover.png"), &MainWindow::onMousePressSave);
    m_saveButton->setToolTip(QStringLiteral("Save"));
    // Chord book button.
    m_bookButton = createImageButton(152, 19, 39, QStringLiteral(":/img/bt_chord_book.png"),
                                     QStringLiteral(":/img/bt_chord_book_hover.png"),
                                     &MainWindow::onMousePressBook);
    m_bookButton->setToolTip(QStringLiteral("Chord"));
    m_uploadButton = createImageButton(207, 19, 39, QStringLiteral(":/img/bt_upload.png"),
                                       QStringLiteral(":/img/bt_upload_hover.png"),
                                       &MainWindow::onMousePressWeb);
    m_uploadButton->setToolTip(QStringLiteral("Submit"));
    // Add and delete buttons.
    m_addButton =
        createImageButton(270, 350, 39, QStringLiteral(":/img/bt_add.png"),
                          QStringLiteral(":/img/bt_add_hover.png"), &MainWindow::onMousePressAdd);
    m_addButton->setToolTip(QStringLiteral("Create New Button"));
    m_deleteButton = createImageButton(310, 350, 39, QStringLiteral(":/img/bt_delete.png"),
                                       QStringLiteral(":/img/bt_delete_hover.png"),
                                       &MainWindow::onMousePressDelete);
    m_deleteButton->setToolTip(QStringLiteral("Delete Button"));
    m_playButton =
        createImageButton(230, 350, 39, QStringLiteral(":/img/bt_play.png"),
                          QStringLiteral(":/img/bt_play_hover.png"), &MainWindow::onMousePressPlay);
    m_playButton->setToolTip(QStringLiteral("Play Currnt Sound"));
    m_soundTypeButton = createImageButton(120, 307, 102, 30,
                                          QString::fromLatin1(SoundTypeImages[AcousticType].normal),
                                          QString::fromLatin1(SoundTypeImages[AcousticType].hover),
                                          &MainWindow::onMousePressSoundType);
    // Icon preview.
    m_iconLabel = createIconLabel(174, 358, iconPreview(m_iconTable->picture(0)),
                                  &MainWindow::onMousePressIcon);
    createArrowButtons();
    // Lock button.
    m_lockButton =
        createImageButton(88, 352, 38, 30, QStringLiteral(":/img/bt_lock.png"),
                          QStringLiteral(":/img/bt_lock_hover.png"), &MainWindow::onMousePressLock);
    createNumericEdits();
    createNoteLamps();
    m_strokeMarker = new QLabel(this);
    m_strokeMarker->setPixmap(QPixmap(QStringLiteral(":/img/lamp_valid.png")));
    m_strokeMarker->setGeometry(m_noteLamps[0]->geometry());
    createRotarySwitches();

    // Step 13: knob links and initial values.
    linkRotarySwitches();
    refreshNeckMarkers();

    // Step 14: button panel.
    createButtonPanel();
    // The song information is part of the song: editing it is an unsaved change.
    connect(m_songInfo, &DialogSongInfo::songInfoChanged, this,
            [this] { m_buttonPanel->m_modified = true; });
}

MainWindow::~MainWindow()
{
    delete m_engine;
    delete m_iconTable;
}

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

QImageButton *MainWindow::createImageButton(int x, int y, int w, int h, const QString &normal,
                                            const QString &hover, PressSlot slot)
{
    auto *button = new QImageButton;
    button->setImages(normal, hover);
    button->setParent(this);
    button->setPixmap(QPixmap(normal));
    button->setGeometry(x, y, w, h);
    connect(button, &QImageButton::mousePress, this, slot);
    return button;
}

QImageButton *MainWindow::createImageButton(int x, int y, int size, const QString &normal,
                                            const QString &hover, PressSlot slot)
{
    return createImageButton(x, y, size, size, normal, hover, slot);
}

QImageButton *MainWindow::createIconLabel(int x, int y, const QPixmap &pixmap, PressSlot slot)
{
    auto *label = new QImageButton(this);
    label->setPixmap(pixmap);
    label->setGeometry(x, y, pixmap.width(), pixmap.height());
    connect(label, &QImageButton::mousePress, this, slot);
    return label;
}

void MainWindow::createButtonPanel()
{
    m_buttonPanel = new QButtonPanel(this, m_iconTable);
    m_buttonPanel->setMainWindow(this);
    m_buttonPanel->setSoundEngine(m_engine);
    m_buttonPanel->setGeometry(51, 420, 311, 160);
    m_iconIndex = 0;
    connect(m_buttonPanel, &QButtonPanel::signalOnMousePressSB, this, &MainWindow::onMousePressSB);
}

QNumericLineEdit *MainWindow::createNumericEdit(int x, int y, int value, int maxLength)
{
    auto *edit = new QNumericLineEdit(this);
    edit->setMaxLength(maxLength);
    edit->setGeometry(x, y, EditWidth, EditHeight);
    edit->setText(QString::number(value));
    edit->setFont(m_editFont);
    edit->setAttribute(Qt::WA_TranslucentBackground);
    edit->setStyleSheet(QString::fromLatin1(EditStyle));
    return edit;
}

QRotarySwitch *MainWindow::createRotarySwitch(int x, int y, int maximum)
{
    auto *knob = new QRotarySwitch(this);
    knob->move(x, y);
    knob->setMaximum(maximum);
    return knob;
}

void MainWindow::createNeck()
{
    m_neck = new QMELabel(this);
    m_neck->setGeometry(51, 98, 827, 191);
    connect(m_neck, &QMELabel::mousePress, this, &MainWindow::onMousePressNeck);
    connect(m_neck, &QMELabel::mouseMove, this, &MainWindow::onMouseMoveNeck);
}

void MainWindow::createArrowButtons()
{
    for (int r = 0; r < SoundInfo::Strokes; ++r)
        m_arrowButtons[r] = createImageButton(
            752, FirstRowY + RowStep * r, 27, 29, QString::fromLatin1(DownArrow.normal),
            QString::fromLatin1(DownArrow.hover), &MainWindow::onMousePressArrow);
}

void MainWindow::createNumericEdits()
{
    // The fields take the font when they are made; the family is set so that the window's
    // monospaced family is not inherited.
    m_editFont.setFamily(QApplication::font().family());
    m_editFont.setPointSize(EditFontPoints);

    const auto numberEdit = [this](int x, int y, int maximum) {
        QNumericLineEdit *edit = createNumericEdit(x, y, 0, NumberLength);
        edit->setKind(QNumericLineEdit::NumberKind);
        edit->setMaximum(maximum);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return edit;
    };

    for (int r = 0; r < SoundInfo::Strokes; ++r) {
        for (int s = 0; s < SoundInfo::Strings; ++s) {
            QNumericLineEdit *edit =
                createNumericEdit(405 + 44 * s, FirstRowY + RowStep * r, 0, FretLength);
            edit->setText(QLatin1String(MutedText));
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            edit->setMaximum(FretMaximum);
            edit->setKind(QNumericLineEdit::FretKind);
            m_fretEdits[r][s] = edit;
        }
    }
    for (int r = 0; r < SoundInfo::Strokes; ++r)
        m_speedEdits[r] = numberEdit(715, FirstRowY + RowStep * r, TimeMaximum);
    for (int i = 0; i < SoundInfo::Gaps; ++i)
        m_offsetEdits[i] = numberEdit(825, FirstRowY + RowStep * (i + 1), TimeMaximum);
    m_volEdit = numberEdit(481, 332, PercentMaximum);
    m_holdEdit = numberEdit(611, 332, PercentMaximum);

    // Connected once every fret field exists, since the slot reads a whole stroke.
    for (const auto &row : m_fretEdits)
        for (QNumericLineEdit *edit : row)
            connect(edit, &QLineEdit::textChanged, this, &MainWindow::onFretLineEditChanged);
}

void MainWindow::createNoteLamps()
{
    for (int r = 0; r < SoundInfo::Strokes; ++r) {
        auto *lamp = new QNoteLamp(this);
        lamp->lampIndex = r;
        lamp->setGeometry(387, 426 + RowStep * r, LampSize, LampSize);
        connect(lamp, &QNoteLamp::mousePress, this, &MainWindow::onMousePressNoteLamp);
        m_noteLamps[r] = lamp;
    }
}

void MainWindow::createRotarySwitches()
{
    m_speedSwitch = createRotarySwitch(713, 316, TimeMaximum);
    m_offsetSwitch = createRotarySwitch(810, 316, TimeMaximum);
    m_volSwitch = createRotarySwitch(420, 316, PercentMaximum);
    m_holdSwitch = createRotarySwitch(550, 316, PercentMaximum);
}

void MainWindow::linkRotarySwitches()
{
    m_volSwitch->setLinkedEdit(m_volEdit);
    m_holdSwitch->setLinkedEdit(m_holdEdit);
    m_speedSwitch->setLinkedEdit(m_speedEdits[0]);

    m_volSwitch->setValue(PercentMaximum, true);
    m_holdSwitch->setValue(PercentMaximum, true);
    m_speedSwitch->setValue(0, true);
    m_offsetSwitch->setValue(0, true);

    m_speedEdits[0]->setLinkedSwitch(m_speedSwitch);
    m_volEdit->setLinkedSwitch(m_volSwitch);
    m_holdEdit->setLinkedSwitch(m_holdSwitch);
}

// Editing

void MainWindow::onMouseMoveNeck(QMouseEvent *)
{
    // The neck moves its own hover marker.
}

void MainWindow::onMouseLeaveNeck(QMouseEvent *) {}

void MainWindow::onMousePressNeck(QMouseEvent *)
{
    qCDebug(lcApp) << "press\n";
    for (int s = 0; s < SoundInfo::Strings; ++s)
        m_soundInfo.fret[m_currentStroke][s] = m_neck->markerPos(s) - 1;
    refreshFretEdits();

    int s = -1;
    int p = -1;
    m_neck->hoverPos(s, p);
    if (s >= 0 && p - 1 >= 0)
        m_engine->playNote(m_soundInfo.gt, s, p - 1);
}

void MainWindow::onMousePressNoteLamp(QMouseEvent *, QWidget *widget)
{
    const auto *lamp = qobject_cast<QNoteLamp *>(widget);
    if (!lamp || lamp->lampIndex < 0 || lamp->lampIndex >= SoundInfo::Strokes)
        return;
    const int r = lamp->lampIndex;
    m_strokeMarker->setGeometry(lamp->x(), lamp->y(), LampSize, LampSize);
    m_currentStroke = r;

    for (QNumericLineEdit *edit : m_speedEdits)
        edit->setLinkedSwitch(nullptr);
    for (QNumericLineEdit *edit : m_offsetEdits)
        edit->setLinkedSwitch(nullptr);
    if (r >= 1) {
        m_offsetSwitch->setLinkedEdit(m_offsetEdits[r - 1]);
        m_offsetEdits[r - 1]->setLinkedSwitch(m_offsetSwitch);
    }
    m_speedSwitch->setLinkedEdit(m_speedEdits[r]);
    m_speedEdits[r]->setLinkedSwitch(m_speedSwitch);
    refreshNeckMarkers();
}

void MainWindow::onMousePressArrow(QMouseEvent *, QWidget *widget)
{
    const auto it = std::find(m_arrowButtons.begin(), m_arrowButtons.end(), widget);
    if (it == m_arrowButtons.end())
        return;
    const auto r = it - m_arrowButtons.begin();
    m_soundInfo.direction[r] = -m_soundInfo.direction[r];
    refreshArrows();
}

void MainWindow::onMousePressSoundType(QMouseEvent *, QWidget *)
{
    // A timbre from a song that names no samples rejoins the cycle at acoustic.
    const int gt = m_soundInfo.gt;
    m_soundInfo.gt = gt >= AcousticType && gt < DistortionType ? gt + 1 : AcousticType;
    refreshSoundTypeButton();
}

void MainWindow::onFretLineEditChanged()
{
    refreshNeckMarkers();
}

void MainWindow::setCurrentStrokeFrets(const int *frets)
{
    for (int s = 0; s < SoundInfo::Strings; ++s)
        m_soundInfo.fret[m_currentStroke][s] = frets[s];
    refreshFretEdits();
    refreshNeckMarkers();
}

// Views of m_soundInfo

void MainWindow::refreshFretEdits()
{
    for (int r = 0; r < SoundInfo::Strokes; ++r) {
        for (int s = 0; s < SoundInfo::Strings; ++s) {
            QNumericLineEdit *edit = m_fretEdits[r][s];
            edit->setText(QString::number(m_soundInfo.fret[r][s]));
            if (edit->text() == QLatin1String("-1") || edit->text() == QLatin1String("-2"))
                edit->setText(QLatin1String(MutedText));
        }
        m_speedEdits[r]->setText(timeText(m_soundInfo.strum_speed[r]));
        if (r >= 1)
            m_offsetEdits[r - 1]->setText(timeText(m_soundInfo.time_offset[r - 1]));
    }
}

void MainWindow::refreshNeckMarkers()
{
    for (int s = 0; s < SoundInfo::Strings; ++s)
        m_neck->setMarkerPos(s, neckPosition(m_fretEdits[m_currentStroke][s]->text()));
}

void MainWindow::refreshArrows()
{
    for (int r = 0; r < SoundInfo::Strokes; ++r)
        showImages(m_arrowButtons[r], m_soundInfo.direction[r] == 1 ? DownArrow : UpArrow);
}

void MainWindow::refreshSoundTypeButton()
{
    const int gt = m_soundInfo.gt;
    if (gt >= AcousticType && gt <= DistortionType)
        showImages(m_soundTypeButton, SoundTypeImages[gt]);
    m_engine->setSoundType(gt);
}

void MainWindow::refreshRotarySwitches()
{
    m_volSwitch->setValue(knobValue(m_soundInfo.vol), true);
    m_holdSwitch->setValue(knobValue(m_soundInfo.hold), true);
    m_speedSwitch->setValue(knobValue(m_soundInfo.strum_speed[m_currentStroke]), true);
    // The offset knob only shows the current stroke's offset: it may still write another
    // stroke's field (stroke 0 has none), so it must not touch any field here.
    if (m_currentStroke >= 1)
        m_offsetSwitch->setValue(knobValue(m_soundInfo.time_offset[m_currentStroke - 1]), false);
}

// Sound transfer, play and power

// The narrow fields cannot always show a stored value in full: "12.5" is cut to "12." and a knob
// writes "12". A field still showing such a shortened form of the current sound's value keeps
// that exact value, so reading the form back never loses a fraction loaded from a song.
double MainWindow::fieldValue(const QLineEdit *edit, double stored) const
{
    const QString text = edit->text();
    const bool shortened = text == timeText(stored).left(edit->maxLength()) ||
                           text == QString::number(knobValue(stored));
    return shortened ? stored : text.toDouble();
}

void MainWindow::getSoundInfo(SoundInfo *info)
{
    qCDebug(lcApp) << "getSoundInfo:start";
    writeSoundButtonInfo(info);

    info->hold = fieldValue(m_holdEdit, m_soundInfo.hold);
    for (int r = 0; r < SoundInfo::Strokes; ++r) {
        for (int s = 0; s < SoundInfo::Strings; ++s)
            info->fret[r][s] = readFret(m_fretEdits[r][s]);
        info->strum_speed[r] = fieldValue(m_speedEdits[r], m_soundInfo.strum_speed[r]);
        info->direction[r] = m_soundInfo.direction[r];
        if (r < SoundInfo::Gaps)
            info->time_offset[r] = fieldValue(m_offsetEdits[r], m_soundInfo.time_offset[r]);
    }
    info->gt = m_soundInfo.gt;
    info->vol = fieldValue(m_volEdit, m_soundInfo.vol);

    qCDebug(lcApp) << "getSoundInfo:end";
    writeSoundButtonInfo(info);
}

void MainWindow::writeSoundButtonInfo(SoundInfo *info)
{
    qCDebug(lcApp).noquote() << QStringLiteral("time 0:") + timeText(info->time_offset[0]) +
                                    QStringLiteral("\n     1:") + timeText(info->time_offset[1]) +
                                    QStringLiteral("\n     2:") + timeText(info->time_offset[2]) +
                                    QLatin1Char('\n');
}

void MainWindow::setSoundInfo(const SoundInfo *info)
{
    m_soundInfo.copyFrom(*info);
    refreshFretEdits();
    refreshArrows();
    refreshSoundTypeButton();
    refreshRotarySwitches();
    refreshNeckMarkers();
}

void MainWindow::playCurrentSound()
{
    getSoundInfo(&m_soundInfo);
    if (m_engine->render(m_outFile, QLatin1String(SamplePrefix), &m_soundInfo.fret[0][0],
                         m_soundInfo.time_offset, m_soundInfo.strum_speed, m_soundInfo.direction,
                         m_soundInfo.hold, m_soundInfo.gt))
        WavePlayer::play(m_outFile);
}

void MainWindow::playFrets(const int *frets)
{
    int chord[SoundInfo::Strokes * SoundInfo::Strings];
    std::fill(std::begin(chord), std::end(chord), MutedFret);
    std::copy(frets, frets + SoundInfo::Strings, chord);
    if (m_engine->render(m_outFile, QLatin1String(SamplePrefix), chord, m_soundInfo.time_offset,
                         m_soundInfo.strum_speed, m_soundInfo.direction, m_soundInfo.hold,
                         m_soundInfo.gt))
        WavePlayer::play(m_outFile);
}

void MainWindow::onMousePressPlay(QMouseEvent *, QWidget *)
{
    playCurrentSound();
}

void MainWindow::onMousePressPower(QMouseEvent *, QWidget *)
{
    qCDebug(lcApp) << "on press";
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

// Window dragging: the frameless window moves with its background.

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

// Commands of the sound buttons, song files, chord book and upload.

void MainWindow::onMousePressAdd(QMouseEvent *, QWidget *)
{
    qCDebug(lcApp) << "Add";
    SoundInfo info;
    getSoundInfo(&info);
    m_buttonPanel->addButton(m_iconIndex, &info);
}

void MainWindow::onMousePressDelete(QMouseEvent *, QWidget *)
{
    qCDebug(lcApp) << "Delete";
    m_buttonPanel->deleteSelected();
}

void MainWindow::onMousePressLock(QMouseEvent *, QWidget *)
{
    const bool lock = !m_buttonPanel->isLocked();
    const ImagePair &images = lock ? LockImages : UnlockImages;
    showImages(m_lockButton, images);
    m_buttonPanel->setLocked(lock);
}

void MainWindow::onMousePressLoad(QMouseEvent *, QWidget *)
{
    loadScript();
}

void MainWindow::onMousePressSave(QMouseEvent *, QWidget *)
{
    saveScript();
}

void MainWindow::onMousePressBook(QMouseEvent *, QWidget *)
{
    m_chordBook->show();
    qCDebug(lcApp) << "Book";
}

void MainWindow::onMousePressWeb(QMouseEvent *, QWidget *)
{
    qCDebug(lcApp) << "Web";
    m_songInfo->show();
}

void MainWindow::onMousePressSB(QMouseEvent *, QSoundButton *button)
{
    setSoundInfo(&button->m_soundInfo);
    playCurrentSound();
    if (m_songInfo->isRecording())
        m_songInfo->recordTap(button->m_number);
}

void MainWindow::onMousePressIcon(QMouseEvent *, QWidget *)
{
    connect(m_iconDialog, &DialogSelectIcon::onSelectIcon, this, &MainWindow::onSelectIcon,
            Qt::UniqueConnection);
    m_iconDialog->showBelow(m_iconLabel);
}

void MainWindow::onSelectIcon(int index)
{
    m_iconIndex = index;
    m_iconLabel->setPixmap(iconPreview(m_iconTable->picture(index)));
    m_iconDialog->dropConnections();
}

void MainWindow::saveScriptToFile(const QString &fileName)
{
    if (fileName.isNull())
        return;
    qCDebug(lcApp) << fileName;
    m_buttonPanel->commitSelection();
    SongScript(m_buttonPanel, m_iconTable, m_songInfo).save(fileName, m_buttonPanel);
}

// Song files.

namespace {
const char *const ScriptFilter = "kdz script(*.kds)";
const QString ScriptSuffix = QStringLiteral("kds");
const QString FileDirKey = QStringLiteral("FileDir");

QSettings settings()
{
    return QSettings(QStringLiteral("Ommerlund"), QStringLiteral("Kavendra"));
}
} // namespace

void MainWindow::readFileDirSetting()
{
    if (m_fileDirUnread)
        m_fileDir = settings().value(FileDirKey).toString();
}

// Edits to the selected button count as changes: what the form shows is what gets saved.
bool MainWindow::confirmUnsavedChanges()
{
    m_buttonPanel->commitSelection();
    if (!m_buttonPanel->isModified())
        return true;
    QMessageBox box(QMessageBox::Information, QStringLiteral("Confirm"),
                    QStringLiteral("The document has been changed since the last save."),
                    QMessageBox::NoButton, this);
    QPushButton *save = box.addButton(QStringLiteral("Save"), QMessageBox::ActionRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::ActionRole);
    QPushButton *leave = box.addButton(QStringLiteral("Leave Anyway"), QMessageBox::ActionRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return saveScript();
    return box.clickedButton() == leave;
}

void MainWindow::loadScript()
{
    if (!confirmUnsavedChanges())
        return;
    readFileDirSetting();
    QFileDialog dialog(this);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setNameFilter(tr(ScriptFilter));
    dialog.setDirectory(m_fileDir);
    if (!dialog.exec() || dialog.selectedFiles().isEmpty())
        return;
    const QString fileName = dialog.selectedFiles().constFirst();
    m_buttonPanel->deleteAll();
    qCDebug(lcApp) << fileName;
    SongScript(m_buttonPanel, m_iconTable, m_songInfo).load(fileName);
    m_fileDir = QFileInfo(fileName).absolutePath();
    settings().setValue(FileDirKey, m_fileDir);
    m_fileDirUnread = false;
}

// A name without the script suffix gets it: only ".kds" files read back as song scripts.
// The dialog asked about replacing the name as typed, so a suffixed name is asked about here.
QString MainWindow::chooseSaveName()
{
    const QString chosen =
        QFileDialog::getSaveFileName(this, tr("Save Script"), m_savePath, tr(ScriptFilter));
    if (chosen.isNull() || QFileInfo(chosen).suffix() == ScriptSuffix)
        return chosen;
    const QString fileName = chosen + QLatin1Char('.') + ScriptSuffix;
    if (!QFileInfo::exists(fileName))
        return fileName;
    const auto answer =
        QMessageBox::question(this, tr("Save Script"),
                              QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                  .arg(QDir::toNativeSeparators(fileName)));
    return answer == QMessageBox::Yes ? fileName : QString();
}

bool MainWindow::saveScript()
{
    readFileDirSetting();
    const QString fileName = chooseSaveName();
    if (fileName.isNull())
        return false;
    m_savePath = fileName;
    qCDebug(lcApp) << fileName;
    m_buttonPanel->commitSelection();
    if (!SongScript(m_buttonPanel, m_iconTable, m_songInfo).save(fileName, m_buttonPanel))
        return false;
    settings().setValue(FileDirKey, m_fileDir);
    m_fileDirUnread = false;
    m_buttonPanel->m_modified = false;
    return true;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (confirmUnsavedChanges())
        event->accept();
    else
        event->ignore();
}
