#include "chordbook/DialogChordBook.h"

#include "chordbook/ChordDiagram.h"
#include "chordbook/Log.h"
#include "widgets/Picture.h"
#include "widgets/QImageButton.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScreen>
#include <algorithm>
#include <limits>

namespace {

constexpr int X = DialogChordBook::Muted;

// Fret values by root (A, A#, B, C, C#, D, D#, E, F, F#, G, G#), type (major, 7, m, m7, M7, mM7,
// sus4, 7sus4, dim, m7-5, aug, add9, 6, m6) and string, first (highest) string first.
constexpr int Chords[DialogChordBook::Roots][DialogChordBook::Types][DialogChordBook::Strings] = {
    // A
    {{0, 2, 2, 2, 0, 0},
     {0, 2, 0, 2, 0, 0},
     {0, 1, 2, 2, 0, 0},
     {0, 1, 0, 2, 0, 0},
     {0, 2, 1, 2, 0, 0},
     {0, 1, 1, 2, 0, 0},
     {0, 3, 2, 2, 0, 0},
     {0, 3, 0, 2, 0, 0},
     {2, 1, 2, 1, 0, X},
     {X, 1, 0, 1, 0, X},
     {1, 2, 2, 3, 0, X},
     {0, 0, 2, 2, 0, 0},
     {2, 2, 2, 2, 0, 0},
     {2, 1, 2, 2, 0, 0}},
    // A#
    {{1, 3, 3, 3, 1, 1},
     {1, 3, 1, 3, 1, 1},
     {1, 2, 3, 3, 1, 1},
     {1, 2, 1, 3, 1, 1},
     {1, 3, 2, 3, 1, 1},
     {1, 2, 2, 3, 1, 1},
     {1, 4, 3, 3, 1, 1},
     {1, 4, 1, 3, 1, 1},
     {3, 2, 3, 2, X, X},
     {0, 2, 1, 2, 1, 0},
     {2, 3, 3, 4, X, X},
     {1, 1, 3, 0, 1, X},
     {3, 3, 3, 3, 1, X},
     {3, 2, 3, 3, X, X}},
    // B
    {{2, 4, 4, 4, 2, 2},
     {2, 0, 2, 1, 2, X},
     {2, 3, 4, 4, 2, 2},
     {2, 3, 2, 4, 2, 2},
     {2, 4, 3, 4, 2, 2},
     {2, 3, 3, 4, 2, 2},
     {2, 5, 4, 4, 2, 2},
     {2, 5, 2, 4, 2, 2},
     {1, 0, 1, 0, X, X},
     {X, 3, 2, 3, 2, X},
     {3, 4, 4, 5, X, X},
     {2, 2, 4, 4, 2, 2},
     {4, 4, 4, 4, X, X},
     {4, 3, 4, 4, X, X}},
    // C
    {{0, 1, 0, 2, 3, 0},
     {0, 1, 3, 2, 3, 0},
     {3, 4, 5, 5, 3, 3},
     {3, 4, 3, 5, 3, 3},
     {0, 0, 0, 2, 3, 0},
     {3, 4, 4, 5, 3, 3},
     {3, 6, 5, 5, 3, 3},
     {3, 6, 3, 5, 3, 3},
     {2, 1, 2, 1, 0, X},
     {X, 4, 3, 4, 3, X},
     {0, 1, 1, 2, 3, 0},
     {X, 3, 0, 0, 3, X},
     {0, 1, 2, 2, 3, 0},
     {5, 4, 5, 5, X, X}},
    // C#
    {{4, 6, 6, 6, 4, 4},
     {4, 6, 4, 6, 4, 4},
     {4, 5, 6, 6, 4, 4},
     {4, 5, 4, 6, 4, 4},
     {4, 6, 5, 6, 4, 4},
     {4, 5, 5, 6, 4, 4},
     {4, 7, 6, 6, 4, 4},
     {4, 7, 4, 6, 4, 4},
     {3, 2, 3, 2, X, X},
     {X, 5, 4, 5, 4, X},
     {1, 2, 2, 3, 0, X},
     {X, 2, 1, 1, 4, X},
     {6, 6, 6, 6, X, X},
     {6, 5, 6, 6, X, X}},
    // D
    {{2, 3, 2, 0, 0, X},
     {2, 1, 2, 0, 0, X},
     {1, 3, 2, 0, 0, X},
     {1, 1, 2, 0, 0, X},
     {2, 2, 2, 0, 0, X},
     {1, 2, 2, 0, 0, X},
     {3, 3, 2, 0, 0, X},
     {3, 1, 2, 0, 0, X},
     {1, 0, 1, 0, X, X},
     {1, 1, 1, 0, X, X},
     {2, 3, 3, 4, X, X},
     {0, 3, 2, 0, 0, X},
     {2, 0, 2, 0, X, X},
     {1, 0, 2, 0, 0, X}},
    // D#
    {{3, 4, 3, 5, X, X},
     {3, 2, 3, 1, X, X},
     {2, 4, 3, 4, X, X},
     {2, 2, 3, 1, X, X},
     {3, 3, 3, 5, X, X},
     {2, 3, 3, 1, X, X},
     {4, 4, 3, X, X, X},
     {4, 2, 3, X, X, X},
     {2, 1, 2, 1, 0, X},
     {2, 2, 2, 1, X, X},
     {3, 4, 4, 5, X, X},
     {X, 4, 3, 3, 6, X},
     {6, 4, 5, 5, X, X},
     {2, 1, 3, 1, X, X}},
    // E
    {{0, 0, 1, 2, 2, 0},
     {0, 0, 1, 0, 2, 0},
     {0, 0, 0, 2, 2, 0},
     {0, 0, 0, 0, 2, 0},
     {0, 0, 1, 1, 2, 0},
     {0, 0, 0, 1, 2, 0},
     {0, 0, 2, 2, 2, 0},
     {0, 0, 2, 0, 2, 0},
     {3, 2, 3, 2, X, X},
     {3, 3, 3, 2, X, X},
     {0, 1, 1, 2, X, X},
     {X, 5, 4, 4, 7, X},
     {0, 2, 1, 2, 2, 0},
     {0, 2, 0, 2, 2, 0}},
    // F
    {{1, 1, 2, 3, 3, 1},
     {1, 1, 2, 1, 3, 1},
     {1, 1, 1, 3, 3, 1},
     {1, 1, 1, 1, 3, 1},
     {0, 1, 2, 3, 3, 1},
     {1, 1, 1, 2, 3, 1},
     {1, 1, 3, 3, 3, 1},
     {1, 1, 3, 1, 3, 1},
     {1, 0, 1, 0, X, X},
     {4, 4, 4, 3, X, X},
     {1, 2, 2, 3, 0, X},
     {1, 1, 0, 3, 3, X},
     {X, 3, 2, 3, 3, X},
     {1, 3, 1, 3, 3, 1}},
    // F#
    {{2, 2, 3, 4, 4, 2},
     {2, 2, 3, 2, 4, 2},
     {2, 2, 2, 4, 4, 2},
     {2, 2, 2, 2, 4, 2},
     {1, 2, 3, 4, X, X},
     {2, 2, 2, 3, 4, 2},
     {2, 2, 4, 4, 4, 2},
     {2, 2, 4, 2, 4, 2},
     {2, 1, 2, 1, X, X},
     {5, 5, 5, 4, X, X},
     {2, 3, 3, 4, X, X},
     {2, 2, 1, 4, X, X},
     {X, 4, 3, 4, 4, X},
     {2, 4, 2, 4, 4, 2}},
    // G
    {{3, 0, 0, 0, 2, 3},
     {1, 0, 0, 0, 2, 3},
     {3, 3, 3, 5, 5, 3},
     {3, 3, 3, 3, 5, 3},
     {2, 0, 0, 0, 2, 3},
     {3, 3, 3, 4, 5, 3},
     {3, 1, 0, 0, X, X},
     {1, 1, 0, 0, 3, 3},
     {3, 2, 3, 2, X, X},
     {3, 2, 3, 3, X, X},
     {3, 4, 4, 5, X, X},
     {3, 3, 2, 5, X, X},
     {0, 0, 0, 0, 2, 3},
     {3, 5, 3, 5, 5, 3}},
    // G#
    {{4, 4, 5, 6, 6, 4},
     {4, 4, 5, 4, 6, 4},
     {4, 4, 4, 6, 6, 4},
     {4, 4, 4, 4, 6, 4},
     {4, 4, 5, 5, 6, 4},
     {4, 4, 4, 5, 6, 4},
     {4, 4, 6, 6, 6, 4},
     {2, 2, 1, 1, 4, X},
     {1, 0, 1, 0, X, X},
     {4, 3, 4, 4, X, X},
     {0, 1, 1, 2, X, X},
     {4, 4, 3, 6, X, X},
     {X, 6, 5, 6, 6, X},
     {1, 0, 1, 1, X, X}},
};

const char *const RootPictures[DialogChordBook::Roots] = {
    ":/img/chord_a.png",   ":/img/chord_a_s.png", ":/img/chord_b.png",   ":/img/chord_c.png",
    ":/img/chord_c_s.png", ":/img/chord_d.png",   ":/img/chord_d_s.png", ":/img/chord_e.png",
    ":/img/chord_f.png",   ":/img/chord_f_s.png", ":/img/chord_g.png",   ":/img/chord_g_s.png",
};

const char *const TypePictures[DialogChordBook::Types] = {
    ":/img/chord_major.png", ":/img/chord_7.png",   ":/img/chord_m.png",    ":/img/chord_m7_s.png",
    ":/img/chord_m7_l.png",  ":/img/chord_mm7.png", ":/img/chord_sus4.png", ":/img/chord_7sus4.png",
    ":/img/chord_dim.png",   ":/img/chord_m75.png", ":/img/chord_aug.png",  ":/img/chord_add9.png",
    ":/img/chord_6.png",     ":/img/chord_m6.png",
};

const char *const RootNames[DialogChordBook::Roots] = {"A",  "A#", "B", "C",  "C#", "D",
                                                       "D#", "E",  "F", "F#", "G",  "G#"};
// What follows the root in a chord's name; a major chord is the root alone.
const char *const TypeSuffixes[DialogChordBook::Types] = {
    "", "7", "m", "m7", "M7", "mM7", "sus4", "7sus4", "dim", "m7-5", "aug", "add9", "6", "m6",
};

const char *const StyleSheet = "#DialogChordBook{\n\nborder: 0px solid transparent;\n   "
                               "background-image: url(:/img/book_panel.png);\n  padding: -4px "
                               "-4px -4px -4px;\n\n \n}";

constexpr int RootX = 41;
constexpr int TypeX = 223;
constexpr int ChordTop = 55;
constexpr int RootStep = 30;
constexpr int TypeStep = 26;
const QSize RootSize(27, 20);
const QSize TypeSize(45, 20);
const QRect DiagramGeometry(95, 50, 110, 250);
// Room between the book and the window it stands beside.
constexpr int WindowGap = 8;

// The lit frame lies around the chosen button, clear of its name.
QRect focusAround(const QWidget *button)
{
    return button->geometry().adjusted(-4, -3, 4, 3);
}

// The top-left corner that puts a window of the given size fully on the screen, as close to
// where it was asked for as possible.
QPoint keptOn(const QRect &screen, const QPoint &wanted, const QSize &size)
{
    const int x = std::clamp(wanted.x(), screen.left(),
                             std::max(screen.left(), screen.right() + 1 - size.width()));
    const int y = std::clamp(wanted.y(), screen.top(),
                             std::max(screen.top(), screen.bottom() + 1 - size.height()));
    return QPoint(x, y);
}

qint64 area(const QRect &r)
{
    return r.isEmpty() ? 0 : qint64(r.width()) * r.height();
}

template <typename T, std::size_t N> int indexOf(T *const (&items)[N], const T *item)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (items[i] == item)
            return int(i);
    }
    return 0;
}

} // namespace

DialogChordBook::DialogChordBook(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setupForm();
    createCommandButtons();
    createChordButtons();
    setFixedSize(300, 494);
    m_diagram = new ChordDiagram(this);
    m_diagram->setGeometry(DiagramGeometry);
    createFocus();
    m_currentRoot = m_rootButtons[0];
    m_currentType = m_typeButtons[0];
    showSelection();
}

void DialogChordBook::setupForm()
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("DialogChordBook"));
    resize(301, 496);
    setAutoFillBackground(false);
    setStyleSheet(QString::fromLatin1(StyleSheet));
    setWindowTitle(QCoreApplication::translate("DialogChordBook", "Dialog"));
    QMetaObject::connectSlotsByName(this);
}

QImageButton *DialogChordBook::createButton(const QRect &geometry, const QString &picture,
                                            const QString &toolTip)
{
    auto *button = new QImageButton(this);
    button->setGeometry(geometry);
    button->setPixmap(Picture::load(picture));
    if (!toolTip.isEmpty())
        button->setToolTip(toolTip);
    return button;
}

void DialogChordBook::createCommandButtons()
{
    m_setButton = createButton(QRect(40, 456, 68, 25), QStringLiteral(":/img/bt_set.png"),
                               tr("set chord to fret"));
    connect(m_setButton, &QImageButton::mousePress, this, &DialogChordBook::onMousePressSet);
    m_closeButton = createButton(QRect(190, 456, 68, 25), QStringLiteral(":/img/bt_cancel.png"),
                                 tr("close chord dialog"));
    connect(m_closeButton, &QImageButton::mousePress, this, &DialogChordBook::onMousePressClose);
    m_playButton = createButton(QRect(130, 456, 39, 39), QStringLiteral(":/img/bt_play.png"),
                                tr("play the chord"));
    connect(m_playButton, &QImageButton::mousePress, this, &DialogChordBook::onMousePressPlay);
}

void DialogChordBook::createChordButtons()
{
    for (int i = 0; i < Roots; ++i) {
        m_rootButtons[i] = createButton(QRect(QPoint(RootX, ChordTop + RootStep * i), RootSize),
                                        QString::fromLatin1(RootPictures[i]),
                                        tr("Root %1").arg(QLatin1String(RootNames[i])));
        connect(m_rootButtons[i], &QImageButton::mousePress, this,
                &DialogChordBook::onMousePressChord1);
    }
    for (int j = 0; j < Types; ++j) {
        const QString type = j == 0 ? tr("major") : QLatin1String(TypeSuffixes[j]);
        m_typeButtons[j] =
            createButton(QRect(QPoint(TypeX, ChordTop + TypeStep * j), TypeSize),
                         QString::fromLatin1(TypePictures[j]), tr("Chord type %1").arg(type));
        connect(m_typeButtons[j], &QImageButton::mousePress, this,
                &DialogChordBook::onMousePressChord2);
    }
}

void DialogChordBook::createFocus()
{
    // Made after the chord buttons so that they lie on top of them.
    m_rootFocus = createButton(focusAround(m_rootButtons[0]),
                               QStringLiteral(":/img/chord_focus_root.png"), QString());
    m_typeFocus = createButton(focusAround(m_typeButtons[0]),
                               QStringLiteral(":/img/chord_focus_type.png"), QString());
}

void DialogChordBook::showSelection()
{
    m_rootFocus->setGeometry(focusAround(m_currentRoot));
    m_typeFocus->setGeometry(focusAround(m_currentType));
    m_diagram->setChord(chordName(selectedRoot(), selectedType()), selectedFrets());
}

const int *DialogChordBook::chordFrets(int root, int type)
{
    return Chords[root][type];
}

QString DialogChordBook::chordName(int root, int type)
{
    return QLatin1String(RootNames[root]) + QLatin1String(TypeSuffixes[type]);
}

int DialogChordBook::selectedRoot() const
{
    return indexOf(m_rootButtons, m_currentRoot);
}

int DialogChordBook::selectedType() const
{
    return indexOf(m_typeButtons, m_currentType);
}

const int *DialogChordBook::selectedFrets() const
{
    return chordFrets(selectedRoot(), selectedType());
}

void DialogChordBook::onMousePressSet(QMouseEvent *, QWidget *)
{
    qCDebug(lcChordBook) << "set" << selectedRoot() << selectedType();
    emit chordSet(selectedFrets());
}

void DialogChordBook::onMousePressClose(QMouseEvent *, QWidget *)
{
    hide();
}

void DialogChordBook::onMousePressPlay(QMouseEvent *, QWidget *)
{
    qCDebug(lcChordBook) << "play" << selectedRoot() << selectedType();
    emit chordPlayed(selectedFrets());
}

void DialogChordBook::onMousePressChord1(QMouseEvent *, QWidget *widget)
{
    m_currentRoot = static_cast<QImageButton *>(widget);
    showSelection();
}

void DialogChordBook::onMousePressChord2(QMouseEvent *, QWidget *widget)
{
    m_currentType = static_cast<QImageButton *>(widget);
    showSelection();
}

void DialogChordBook::showClearOf(const QRect &neck, const QRect &window)
{
    if (isHidden()) {
        const QScreen *screen = parentWidget() ? parentWidget()->screen() : this->screen();
        move(placeClearOf(size(), neck, window, screen->availableGeometry()));
    }
    show();
    raise();
    activateWindow();
}

QPoint DialogChordBook::placeClearOf(const QSize &size, const QRect &neck, const QRect &window,
                                     const QRect &screen)
{
    // Beside the window, then below it (at its right end), then above it: the first place that
    // leaves the neck free once kept on the screen, else the one that covers the least of it.
    const QPoint wanted[] = {
        QPoint(window.right() + 1 + WindowGap, window.top()),
        QPoint(window.left() - WindowGap - size.width(), window.top()),
        QPoint(window.right() + 1 - size.width(), window.bottom() + 1 + WindowGap),
        QPoint(window.right() + 1 - size.width(), window.top() - WindowGap - size.height()),
    };
    QPoint best;
    qint64 bestCover = std::numeric_limits<qint64>::max();
    for (const QPoint &place : wanted) {
        const QPoint kept = keptOn(screen, place, size);
        const qint64 cover = area(QRect(kept, size).intersected(neck));
        if (cover < bestCover) {
            best = kept;
            bestCover = cover;
        }
        if (cover == 0)
            break;
    }
    return best;
}

void DialogChordBook::mousePressEvent(QMouseEvent *event)
{
    m_drag.press(this, event);
}

void DialogChordBook::mouseMoveEvent(QMouseEvent *event)
{
    m_drag.move(this, event);
}
