// The chord book: every chord sounds what its name says; selection, set, play, close and drag.
#include "chordbook/DialogChordBook.h"
#include "tests/support/Mouse.h"
#include "widgets/QImageButton.h"

#include <QtTest>

class TestChordBook : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyChordHoldsOnlyItsTones();
    void everyChordHoldsRootAndMostTones();
    void layoutAndStartingSelection();
    void selectionMovesFocus();
    void setAndPlayHandTheChordOn();
    void closeHidesAndKeepsSelection();
    void dragWithLeftButtonOnly();

private:
    DialogChordBook *m_book = nullptr;
    // The six fret values of every chord set and played.
    QList<QList<int>> m_set;
    QList<QList<int>> m_played;
};

namespace {

const char *const RootNames[DialogChordBook::Roots] = {"A",  "A#", "B", "C",  "C#", "D",
                                                       "D#", "E",  "F", "F#", "G",  "G#"};
// Pitch classes with C = 0.
const int RootPitch[DialogChordBook::Roots] = {9, 10, 11, 0, 1, 2, 3, 4, 5, 6, 7, 8};

struct ChordType
{
    const char *name;
    QList<int> intervals; // semitones above the root; the first ones must sound
};

// The diminished cells are four-note diminished shapes.
const ChordType ChordTypes[DialogChordBook::Types] = {
    {"major", {0, 4, 7}},  {"7", {0, 4, 10, 7}},    {"m", {0, 3, 7}},    {"m7", {0, 3, 10, 7}},
    {"M7", {0, 4, 11, 7}}, {"mM7", {0, 3, 11, 7}},  {"sus4", {0, 5, 7}}, {"7sus4", {0, 5, 10, 7}},
    {"dim", {0, 3, 6, 9}}, {"m7-5", {0, 3, 6, 10}}, {"aug", {0, 4, 8}},  {"add9", {0, 2, 4, 7}},
    {"6", {0, 4, 9, 7}},   {"m6", {0, 3, 9, 7}},
};

// Semitones above E2 of each open string, first (highest) string first.
const int StringBase[DialogChordBook::Strings] = {24, 19, 15, 10, 5, 0};
constexpr int PitchOfE = 4;

QList<int> soundingIntervals(int root, int type)
{
    const int *frets = DialogChordBook::chordFrets(root, type);
    QList<int> result;
    for (int s = 0; s < DialogChordBook::Strings; ++s) {
        if (frets[s] < 0)
            continue;
        const int pitch = (StringBase[s] + frets[s] + PitchOfE) % 12;
        result << (pitch - RootPitch[root] + 12) % 12;
    }
    return result;
}

QString cellName(int root, int type)
{
    QStringList frets;
    for (int s = 0; s < DialogChordBook::Strings; ++s) {
        const int f = DialogChordBook::chordFrets(root, type)[s];
        frets << (f < 0 ? QStringLiteral("x") : QString::number(f));
    }
    return QStringLiteral("%1 %2: %3")
        .arg(QLatin1String(RootNames[root]), QLatin1String(ChordTypes[type].name), frets.join(' '));
}

} // namespace

void TestChordBook::init()
{
    m_book = new DialogChordBook;
    QVERIFY(m_book->isHidden());
    const auto record = [](QList<QList<int>> &chords) {
        chords.clear();
        return [&chords](const int *frets) {
            chords.append(QList<int>(frets, frets + DialogChordBook::Strings));
        };
    };
    connect(m_book, &DialogChordBook::chordSet, this, record(m_set));
    connect(m_book, &DialogChordBook::chordPlayed, this, record(m_played));
}

void TestChordBook::cleanup()
{
    delete m_book;
}

void TestChordBook::everyChordHoldsOnlyItsTones()
{
    for (int r = 0; r < DialogChordBook::Roots; ++r) {
        for (int t = 0; t < DialogChordBook::Types; ++t) {
            const QList<int> sounding = soundingIntervals(r, t);
            QVERIFY2(sounding.size() >= 3, qPrintable(cellName(r, t)));
            for (int interval : sounding) {
                QVERIFY2(ChordTypes[t].intervals.contains(interval),
                         qPrintable(cellName(r, t) + " holds " + QString::number(interval)));
            }
            for (int s = 0; s < DialogChordBook::Strings; ++s)
                QVERIFY(DialogChordBook::chordFrets(r, t)[s] >= -1);
        }
    }
}

void TestChordBook::everyChordHoldsRootAndMostTones()
{
    // Rootless shapes (D# M7, D# 7sus4) are the table's own choice; every other cell sounds its
    // root, and every cell sounds at least three distinct tones of its chord.
    for (int r = 0; r < DialogChordBook::Roots; ++r) {
        for (int t = 0; t < DialogChordBook::Types; ++t) {
            const QList<int> sounding = soundingIntervals(r, t);
            const bool rootless = r == 6 && (t == 4 || t == 7);
            if (!rootless)
                QVERIFY2(sounding.contains(0), qPrintable(cellName(r, t)));
            const QSet<int> distinct(sounding.begin(), sounding.end());
            QVERIFY2(distinct.size() >= 3, qPrintable(cellName(r, t)));
        }
    }
    // The three cells mended here and the two free ones.
    auto frets = [](int r, int t) {
        return QList<int>(DialogChordBook::chordFrets(r, t), DialogChordBook::chordFrets(r, t) + 6);
    };
    QCOMPARE(frets(2, 6), (QList<int>{2, 5, 4, 4, 2, 2}));
    QCOMPARE(frets(9, 3), (QList<int>{2, 2, 2, 2, 4, 2}));
    QVERIFY(soundingIntervals(1, 11).contains(4)); // A# add9 has its third
}

void TestChordBook::layoutAndStartingSelection()
{
    QCOMPARE(m_book->size(), QSize(300, 494));
    QCOMPARE(m_book->windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
    QCOMPARE(m_book->m_rootButtons[3]->geometry(), QRect(70, 145, 27, 20));
    QCOMPARE(m_book->m_typeButtons[13]->geometry(), QRect(180, 393, 45, 20));
    QCOMPARE(m_book->m_setButton->geometry(), QRect(40, 456, 68, 25));
    QCOMPARE(m_book->m_playButton->toolTip(), QStringLiteral("play the chord"));
    QCOMPARE(m_book->selectedRoot(), 0);
    QCOMPARE(m_book->selectedType(), 0);
    QCOMPARE(m_book->m_rootFocus->geometry(), QRect(60, 55, 45, 20));
    QCOMPARE(m_book->m_typeFocus->geometry(), QRect(180, 55, 45, 20));
    // The focus pictures lie over the chord buttons.
    QCOMPARE(m_book->childAt(75, 60), m_book->m_rootFocus);
}

void TestChordBook::selectionMovesFocus()
{
    m_book->show();
    QTest::mouseClick(m_book->m_rootButtons[5], Qt::LeftButton);
    QCOMPARE(m_book->selectedRoot(), 5);
    QCOMPARE(m_book->m_rootFocus->geometry(), QRect(60, 205, 45, 20));
    QTest::mouseClick(m_book->m_typeButtons[3], Qt::LeftButton);
    QCOMPARE(m_book->selectedType(), 3);
    QCOMPARE(m_book->m_typeFocus->geometry(), QRect(180, 133, 45, 20));
    // Clicking where the selected root lies hits the focus picture and changes nothing.
    QTest::mouseClick(m_book->childAt(75, 210), Qt::LeftButton);
    QCOMPARE(m_book->selectedRoot(), 5);
    QCOMPARE(m_book->selectedType(), 3);
}

void TestChordBook::setAndPlayHandTheChordOn()
{
    m_book->show();
    QTest::mouseClick(m_book->m_setButton, Qt::LeftButton);
    QCOMPARE(m_set, (QList<QList<int>>{{0, 2, 2, 2, 0, 0}}));
    QTest::mouseClick(m_book->m_rootButtons[5], Qt::LeftButton);
    QTest::mouseClick(m_book->m_typeButtons[3], Qt::LeftButton);
    QTest::mouseClick(m_book->m_setButton, Qt::LeftButton);
    QCOMPARE(m_set.last(), (QList<int>{1, 1, 2, 0, 0, -1}));
    QTest::mouseClick(m_book->m_rootButtons[10], Qt::LeftButton); // G
    QTest::mouseClick(m_book->m_typeButtons[1], Qt::LeftButton);  // 7
    QTest::mouseClick(m_book->m_playButton, Qt::LeftButton);
    QCOMPARE(m_played, (QList<QList<int>>{{1, 0, 0, 0, 2, 3}}));
    QCOMPARE(m_set.size(), 2);
    QVERIFY(m_book->isVisible());
}

void TestChordBook::closeHidesAndKeepsSelection()
{
    m_book->show();
    QTest::mouseClick(m_book->m_rootButtons[7], Qt::LeftButton);
    QTest::mouseClick(m_book->m_closeButton, Qt::LeftButton);
    QVERIFY(!m_book->isVisible());
    m_book->show();
    QCOMPARE(m_book->selectedRoot(), 7);
}

void TestChordBook::dragWithLeftButtonOnly()
{
    m_book->show();
    m_book->move(100, 100);
    const QPoint start = m_book->pos();
    Mouse::drag(m_book, QPoint(20, 20), QPoint(40, 30), Qt::RightButton);
    QCOMPARE(m_book->pos(), start);
    Mouse::release(m_book, QPoint(60, 50), Qt::RightButton);
    Mouse::drag(m_book, QPoint(20, 20), QPoint(40, 30));
    QCOMPARE(m_book->pos(), start + QPoint(40, 30));
}

QTEST_MAIN(TestChordBook)
#include "tst_chordbook.moc"
