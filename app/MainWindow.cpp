#include "app/MainWindow.h"

#include "app/Log.h"
#include "sound/SoundMixer.h"
#include "sound/WavePlayer.h"
#include "widgets/QImageButton.h"
#include "widgets/QMELabel.h"
#include "widgets/QNoteLamp.h"
#include "widgets/QNumericLineEdit.h"
#include "widgets/QRotarySwitch.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPixmap>
#include <algorithm>

namespace {
constexpr int WindowWidth = 924;
constexpr int WindowHeight = 636;
constexpr int FormWidth = 930;
constexpr int FormHeight = 650;
constexpr int EditWidth = 35;
constexpr int EditHeight = 31;
constexpr int EditFontPoints = 10;
constexpr int LampSize = 15;
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

    // Step 6: chord book and song info dialog.

    // Step 7: load directory unread; the current sound reset.
    m_soundInfo.reset();

    // Step 8: fixed size; no menu bar is ever made.
    setFixedSize(WindowWidth, WindowHeight);

    // Step 9: save path and load directory from the current directory.

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
    // Load and save buttons.
    // Chord book button.
    // Song info button.
    // Add and delete buttons.
    m_playButton =
        createImageButton(230, 350, 39, QStringLiteral(":/img/bt_play.png"),
                          QStringLiteral(":/img/bt_play_hover.png"), &MainWindow::onMousePressPlay);
    m_playButton->setToolTip(QStringLiteral("Play Currnt Sound"));
    m_soundTypeButton = createImageButton(120, 307, 102, 30,
                                          QString::fromLatin1(SoundTypeImages[AcousticType].normal),
                                          QString::fromLatin1(SoundTypeImages[AcousticType].hover),
                                          &MainWindow::onMousePressSoundType);
    // Icon preview.
    createArrowButtons();
    // Lock button.
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
}

MainWindow::~MainWindow()
{
    delete m_engine;
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
    m_soundInfo.gt = m_soundInfo.gt == DistortionType ? AcousticType : m_soundInfo.gt + 1;
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
    m_volSwitch->setValue(static_cast<int>(m_soundInfo.vol), true);
    m_holdSwitch->setValue(static_cast<int>(m_soundInfo.hold), true);
    m_speedSwitch->setValue(static_cast<int>(m_soundInfo.strum_speed[m_currentStroke]), true);
    // The offset knob only shows the current stroke's offset: it may still write another
    // stroke's field (stroke 0 has none), so it must not touch any field here.
    if (m_currentStroke >= 1)
        m_offsetSwitch->setValue(static_cast<int>(m_soundInfo.time_offset[m_currentStroke - 1]),
                                 false);
}

// Sound transfer, play and power

// The narrow fields cannot always show a stored value in full: "12.5" is cut to "12." and a knob
// writes "12". A field still showing such a shortened form of the current sound's value keeps
// that exact value, so reading the form back never loses a fraction loaded from a song.
double MainWindow::fieldValue(const QLineEdit *edit, double stored) const
{
    const QString text = edit->text();
    const bool shortened = text == timeText(stored).left(edit->maxLength()) ||
                           text == QString::number(static_cast<qint64>(stored));
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
    if (event->button() != Qt::LeftButton) {
        QMainWindow::mousePressEvent(event);
        return;
    }
    m_dragPosition = event->globalPosition().toPoint() - frameGeometry().topLeft();
    event->accept();
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        QMainWindow::mouseMoveEvent(event);
        return;
    }
    move(event->globalPosition().toPoint() - m_dragPosition);
    event->accept();
}

// Commands of the sound buttons, song files, chord book and upload.

void MainWindow::onMousePressAdd(QMouseEvent *, QWidget *) {}

void MainWindow::onMousePressDelete(QMouseEvent *, QWidget *) {}

void MainWindow::onMousePressLock(QMouseEvent *, QWidget *) {}

void MainWindow::onMousePressLoad(QMouseEvent *, QWidget *) {}

void MainWindow::onMousePressSave(QMouseEvent *, QWidget *) {}

void MainWindow::onMousePressBook(QMouseEvent *, QWidget *) {}

void MainWindow::onMousePressWeb(QMouseEvent *, QWidget *) {}

void MainWindow::onMousePressSB(QMouseEvent *, QSoundButton *) {}

void MainWindow::onMousePressIcon(QMouseEvent *, QWidget *) {}

void MainWindow::onSelectIcon(int) {}

void MainWindow::saveScriptToFile(const QString &) {}
