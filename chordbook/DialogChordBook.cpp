#include "chordbook/DialogChordBook.h"

#include "chordbook/Log.h"
#include "widgets/QImageButton.h"

#include <QCoreApplication>
#include <QMouseEvent>

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

const char *const StyleSheet = "#DialogChordBook{\n\nborder: 0px solid transparent;\n   "
                               "background-image: url(:/img/book_panel.png);\n  padding: -4px "
                               "-4px -4px -4px;\n\n \n}";

constexpr int RootX = 70;
constexpr int TypeX = 180;
constexpr int ChordTop = 55;
constexpr int RootStep = 30;
constexpr int TypeStep = 26;
const QSize RootSize(27, 20);
const QSize TypeSize(45, 20);
const QSize FocusSize(45, 20);
constexpr int RootFocusShift = 10; // the focus is wider than a root button and starts left of it

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
    createFocus();
    m_currentRoot = m_rootButtons[0];
    m_currentType = m_typeButtons[0];
    m_rootFocus->move(m_currentRoot->x() - RootFocusShift, m_currentRoot->y());
    m_typeFocus->setGeometry(m_currentType->geometry());
}

void DialogChordBook::setupForm()
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("DialogChordBook"));
    resize(301, 496);
    setAutoFillBackground(false);
    setStyleSheet(QString::fromLatin1(StyleSheet));
    setSizeGripEnabled(true);
    setWindowTitle(QCoreApplication::translate("DialogChordBook", "Dialog"));
    QMetaObject::connectSlotsByName(this);
}

QImageButton *DialogChordBook::createButton(const QRect &geometry, const QString &picture,
                                            const QString &toolTip)
{
    auto *button = new QImageButton(this);
    button->setGeometry(geometry);
    button->setPixmap(QPixmap(picture));
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
                                        QString::fromLatin1(RootPictures[i]), QString());
        connect(m_rootButtons[i], &QImageButton::mousePress, this,
                &DialogChordBook::onMousePressChord1);
    }
    for (int j = 0; j < Types; ++j) {
        m_typeButtons[j] = createButton(QRect(QPoint(TypeX, ChordTop + TypeStep * j), TypeSize),
                                        QString::fromLatin1(TypePictures[j]), QString());
        connect(m_typeButtons[j], &QImageButton::mousePress, this,
                &DialogChordBook::onMousePressChord2);
    }
}

void DialogChordBook::createFocus()
{
    // Made after the chord buttons so that they lie on top of them.
    const QString focus = QStringLiteral(":/img/chord_focus.png");
    m_rootFocus = createButton(QRect(QPoint(0, 0), FocusSize), focus, QString());
    m_typeFocus = createButton(QRect(QPoint(0, 0), FocusSize), focus, QString());
}

const int *DialogChordBook::chordFrets(int root, int type)
{
    return Chords[root][type];
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
    m_rootFocus->move(m_currentRoot->x() - RootFocusShift, m_currentRoot->y());
}

void DialogChordBook::onMousePressChord2(QMouseEvent *, QWidget *widget)
{
    m_currentType = static_cast<QImageButton *>(widget);
    m_typeFocus->setGeometry(m_currentType->geometry());
}

void DialogChordBook::mousePressEvent(QMouseEvent *event)
{
    m_drag.press(this, event);
}

void DialogChordBook::mouseMoveEvent(QMouseEvent *event)
{
    m_drag.move(this, event);
}
