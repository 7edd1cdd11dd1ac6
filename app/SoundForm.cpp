#include "app/SoundForm.h"

#include "app/Log.h"
#include "model/CurrentSound.h"
#include "widgets/Picture.h"
#include "widgets/QImageButton.h"
#include "widgets/QMELabel.h"
#include "widgets/QNoteLamp.h"
#include "widgets/QNumericLineEdit.h"
#include "widgets/QRotarySwitch.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <algorithm>
#include <limits>

namespace {
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
const QString MutedText = QStringLiteral("-");
using ImagePair = QImageButton::ImagePair;

const ImagePair DownArrow = {":/img/bt_down.png", ":/img/bt_down_hover.png"};
const ImagePair UpArrow = {":/img/bt_up.png", ":/img/bt_up_hover.png"};
const ImagePair SoundTypeImages[] = {
    {":/img/bt_acoustic.png", ":/img/bt_acoustic_hover.png"},
    {":/img/bt_clean.png", ":/img/bt_clean_hover.png"},
    {":/img/bt_distortion.png", ":/img/bt_distortion_hover.png"},
};

// As the narrow field shows it: "-" for a muted string (and for -2, which older songs use).
QString fretText(int fret, int maxLength)
{
    const QString text = QString::number(fret).left(maxLength);
    return text == QLatin1String("-1") || text == QLatin1String("-2") ? MutedText : text;
}

// An emptied field (still being typed into) is the open string.
int fretValue(const QString &text)
{
    return text == MutedText ? MutedFret : text.toInt();
}

QString timeText(double value)
{
    return QString::number(value, 'g', 6);
}

// Every negative fret is the muted position 0; no fret puts a marker beyond the last one.
int neckPosition(int fret)
{
    return fret < 0 ? 0 : std::min(fret + 1, QMELabel::PositionCount - 1);
}

// A knob value from a record value; values no knob can show (NaN, huge) become -1, which every
// knob ignores like any other value below its range.
int knobValue(double value)
{
    return value >= 0.0 && value <= std::numeric_limits<int>::max() ? static_cast<int>(value) : -1;
}
} // namespace

SoundForm::SoundForm(CurrentSound *sound, QWidget *window) : QObject(window), m_sound(sound)
{
    createNeck(window);
    createTimbreButton(window);
    createArrowButtons(window);
    createNumericEdits(window);
    createNoteLamps(window);
    m_strokeMarker = new QLabel(window);
    m_strokeMarker->setPixmap(Picture::load(QStringLiteral(":/img/lamp_valid.png")));
    m_strokeMarker->setGeometry(m_noteLamps[0]->geometry());
    m_strokeMarker->setToolTip(tr("The stroke being edited"));
    createRotarySwitches(window);
    linkRotarySwitches();
    showNeck();
    connectEdits();
    connectSound();
}

QRect SoundForm::neckGeometry() const
{
    return m_neck->geometry();
}

void SoundForm::createNeck(QWidget *window)
{
    m_neck = new QMELabel(window);
    m_neck->setGeometry(51, 98, 827, 191);
    connect(m_neck, &QMELabel::mousePress, this, &SoundForm::pressNeck);
}

void SoundForm::createTimbreButton(QWidget *window)
{
    const ImagePair &images = SoundTypeImages[AcousticType];
    m_soundTypeButton =
        new QImageButton(window, QRect(120, 307, 102, 30), QString::fromLatin1(images.normal),
                         QString::fromLatin1(images.hover));
    m_soundTypeButton->setToolTip(tr("Voice: acoustic, clean or distorted"));
    connect(m_soundTypeButton, &QImageButton::mousePress, m_sound, &CurrentSound::cycleTimbre);
}

void SoundForm::createArrowButtons(QWidget *window)
{
    for (int r = 0; r < SoundInfo::Strokes; ++r) {
        m_arrowButtons[r] = new QImageButton(window, QRect(752, FirstRowY + RowStep * r, 27, 29),
                                             QString::fromLatin1(DownArrow.normal),
                                             QString::fromLatin1(DownArrow.hover));
        m_arrowButtons[r]->setToolTip(tr("Strum direction of stroke %1: down or up").arg(r + 1));
        connect(m_arrowButtons[r], &QImageButton::mousePress, this, &SoundForm::pressArrow);
    }
}

QNumericLineEdit *SoundForm::createNumericEdit(QWidget *window, int x, int y, int maxLength)
{
    auto *edit = new QNumericLineEdit(window);
    edit->setMaxLength(maxLength);
    edit->setGeometry(x, y, EditWidth, EditHeight);
    edit->setText(QStringLiteral("0"));
    edit->showOnPanel(m_editFont);
    return edit;
}

void SoundForm::createNumericEdits(QWidget *window)
{
    // The fields take the font when they are made; the family is set so that the window's
    // monospaced family is not inherited.
    m_editFont.setFamily(QApplication::font().family());
    m_editFont.setPointSize(EditFontPoints);

    const auto numberEdit = [this, window](int x, int y, int maximum) {
        QNumericLineEdit *edit = createNumericEdit(window, x, y, NumberLength);
        edit->setKind(QNumericLineEdit::NumberKind);
        edit->setMaximum(maximum);
        return edit;
    };

    for (int r = 0; r < SoundInfo::Strokes; ++r) {
        for (int s = 0; s < SoundInfo::Strings; ++s) {
            QNumericLineEdit *edit =
                createNumericEdit(window, 405 + 44 * s, FirstRowY + RowStep * r, FretLength);
            edit->setText(MutedText);
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
}

void SoundForm::createNoteLamps(QWidget *window)
{
    for (int r = 0; r < SoundInfo::Strokes; ++r) {
        auto *lamp = new QNoteLamp(window);
        lamp->setGeometry(387, 426 + RowStep * r, LampSize, LampSize);
        lamp->setToolTip(tr("Edit stroke %1 on the neck").arg(r + 1));
        connect(lamp, &QNoteLamp::mousePress, this, &SoundForm::pressLamp);
        m_noteLamps[r] = lamp;
    }
}

void SoundForm::createRotarySwitches(QWidget *window)
{
    const auto knob = [window](int x, int y, int maximum, const QString &toolTip) {
        auto *knob = new QRotarySwitch(window);
        knob->move(x, y);
        knob->setMaximum(maximum);
        knob->setToolTip(toolTip);
        return knob;
    };
    m_speedSwitch = knob(713, 316, TimeMaximum, tr("Strum speed of the stroke, in milliseconds"));
    m_offsetSwitch = knob(810, 316, TimeMaximum, tr("Time to this stroke, in milliseconds"));
    m_volSwitch = knob(420, 316, PercentMaximum, tr("Volume, in percent"));
    m_holdSwitch = knob(550, 316, PercentMaximum, tr("Hold time: how long the strings ring"));
}

// The knobs push their first values into the fields: vol and hold read "100".
void SoundForm::linkRotarySwitches()
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

// Typing and knobs change the fields' texts; the form's own redraws do too, and are skipped.
void SoundForm::connectEdits()
{
    const auto onEdit = [this](QNumericLineEdit *edit, auto write) {
        connect(edit, &QLineEdit::textChanged, this, [this, write](const QString &text) {
            if (m_syncing)
                return;
            const QScopedValueRollback<bool> syncing(m_syncing, true);
            write(text);
        });
    };
    for (int r = 0; r < SoundInfo::Strokes; ++r) {
        for (int s = 0; s < SoundInfo::Strings; ++s)
            onEdit(m_fretEdits[r][s],
                   [this, r, s](const QString &text) { m_sound->setFret(r, s, fretValue(text)); });
        onEdit(m_speedEdits[r],
               [this, r](const QString &text) { m_sound->setStrumSpeed(r, text.toDouble()); });
    }
    for (int i = 0; i < SoundInfo::Gaps; ++i)
        onEdit(m_offsetEdits[i],
               [this, i](const QString &text) { m_sound->setTimeOffset(i, text.toDouble()); });
    onEdit(m_volEdit, [this](const QString &text) { m_sound->setVolume(text.toDouble()); });
    onEdit(m_holdEdit, [this](const QString &text) { m_sound->setHold(text.toDouble()); });
}

void SoundForm::connectSound()
{
    connect(m_sound, &CurrentSound::soundReplaced, this, &SoundForm::showSound);
    connect(m_sound, &CurrentSound::fretsChanged, this, &SoundForm::showStrokeFrets);
    connect(m_sound, &CurrentSound::currentStrokeChanged, this, &SoundForm::showCurrentStroke);
    connect(m_sound, &CurrentSound::directionChanged, this, &SoundForm::showArrows);
    connect(m_sound, &CurrentSound::timbreChanged, this, &SoundForm::showTimbre);
}

// What the user does

void SoundForm::pressNeck()
{
    qCDebug(lcApp) << "press\n";
    int s = -1;
    int p = -1;
    m_neck->hoverPos(s, p);
    if (s >= 0)
        m_sound->pressFret(s, p - 1);
}

void SoundForm::pressLamp(QMouseEvent *, QWidget *widget)
{
    const auto it = std::find(m_noteLamps.begin(), m_noteLamps.end(), widget);
    if (it != m_noteLamps.end())
        m_sound->setCurrentStroke(int(it - m_noteLamps.begin()));
}

void SoundForm::pressArrow(QMouseEvent *, QWidget *widget)
{
    const auto it = std::find(m_arrowButtons.begin(), m_arrowButtons.end(), widget);
    if (it != m_arrowButtons.end())
        m_sound->flipDirection(int(it - m_arrowButtons.begin()));
}

// Views of the current sound

void SoundForm::showText(QNumericLineEdit *edit, const QString &text)
{
    const QScopedValueRollback<bool> syncing(m_syncing, true);
    edit->setText(text);
}

void SoundForm::showSound()
{
    for (int r = 0; r < SoundInfo::Strokes; ++r)
        showStroke(r);
    showArrows();
    showTimbre();
    showKnobs();
    showNeck();
}

void SoundForm::showStroke(int stroke)
{
    for (int s = 0; s < SoundInfo::Strings; ++s) {
        QNumericLineEdit *edit = m_fretEdits[stroke][s];
        showText(edit, fretText(m_sound->sound().fret[stroke][s], edit->maxLength()));
    }
    showText(m_speedEdits[stroke], timeText(m_sound->sound().strum_speed[stroke]));
    if (stroke >= 1)
        showText(m_offsetEdits[stroke - 1], timeText(m_sound->sound().time_offset[stroke - 1]));
}

// The fields of a stroke the user typed into already show what was typed.
void SoundForm::showStrokeFrets(int stroke)
{
    if (!m_syncing) {
        for (int s = 0; s < SoundInfo::Strings; ++s) {
            QNumericLineEdit *edit = m_fretEdits[stroke][s];
            showText(edit, fretText(m_sound->sound().fret[stroke][s], edit->maxLength()));
        }
    }
    if (stroke == m_sound->currentStroke())
        showNeck();
}

// The knobs follow the stroke's fields; no knob moves on a stroke change.
void SoundForm::showCurrentStroke(int stroke)
{
    m_strokeMarker->setGeometry(QRect(m_noteLamps[stroke]->pos(), QSize(LampSize, LampSize)));
    for (QNumericLineEdit *edit : m_speedEdits)
        edit->setLinkedSwitch(nullptr);
    for (QNumericLineEdit *edit : m_offsetEdits)
        edit->setLinkedSwitch(nullptr);
    // Stroke 0 has no offset: the offset knob keeps writing the field it had.
    if (stroke >= 1) {
        m_offsetSwitch->setLinkedEdit(m_offsetEdits[stroke - 1]);
        m_offsetEdits[stroke - 1]->setLinkedSwitch(m_offsetSwitch);
    }
    m_speedSwitch->setLinkedEdit(m_speedEdits[stroke]);
    m_speedEdits[stroke]->setLinkedSwitch(m_speedSwitch);
    showNeck();
}

void SoundForm::showNeck()
{
    const int stroke = m_sound->currentStroke();
    for (int s = 0; s < SoundInfo::Strings; ++s)
        m_neck->setMarkerPos(s, neckPosition(m_sound->sound().fret[stroke][s]));
}

void SoundForm::showArrows()
{
    for (int r = 0; r < SoundInfo::Strokes; ++r)
        m_arrowButtons[r]->showImages(m_sound->sound().direction[r] == 1 ? DownArrow : UpArrow);
}

// A timbre outside the cycle keeps the picture it had.
void SoundForm::showTimbre()
{
    const int gt = m_sound->sound().gt;
    if (gt >= AcousticType && gt <= DistortionType)
        m_soundTypeButton->showImages(SoundTypeImages[gt]);
}

void SoundForm::showKnobs()
{
    const QScopedValueRollback<bool> syncing(m_syncing, true);
    const SoundInfo &sound = m_sound->sound();
    const int stroke = m_sound->currentStroke();
    m_volSwitch->setValue(knobValue(sound.vol), true);
    m_holdSwitch->setValue(knobValue(sound.hold), true);
    m_speedSwitch->setValue(knobValue(sound.strum_speed[stroke]), true);
    // The offset knob only shows the current stroke's offset: it may still write another
    // stroke's field (stroke 0 has none), so it must not touch any field here.
    if (stroke >= 1)
        m_offsetSwitch->setValue(knobValue(sound.time_offset[stroke - 1]), false);
}
