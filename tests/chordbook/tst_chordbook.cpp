// The chord book: every chord sounds what its name says; selection and its chart, set, play,
// close, drag and where it opens.
#include "chordbook/ChordDiagram.h"
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
    void chartShowsTheSelectedChord();
    void setAndPlayHandTheChordOn();
    void closeHidesAndKeepsSelection();
    void dragWithLeftButtonOnly();
    void opensClearOfTheNeck();

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
    QVERIFY(!m_book->isSizeGripEnabled());
    QCOMPARE(m_book->m_rootButtons[3]->geometry(), QRect(41, 145, 27, 20));
    QCOMPARE(m_book->m_typeButtons[13]->geometry(), QRect(223, 393, 45, 20));
    QCOMPARE(m_book->m_setButton->geometry(), QRect(40, 456, 68, 25));
    QCOMPARE(m_book->m_playButton->toolTip(), QStringLiteral("play the chord"));
    QCOMPARE(m_book->m_rootButtons[4]->toolTip(), QStringLiteral("Root C#"));
    QCOMPARE(m_book->m_typeButtons[0]->toolTip(), QStringLiteral("Chord type major"));
    QCOMPARE(m_book->m_typeButtons[9]->toolTip(), QStringLiteral("Chord type m7-5"));
    QCOMPARE(m_book->selectedRoot(), 0);
    QCOMPARE(m_book->selectedType(), 0);
    QCOMPARE(m_book->m_rootFocus->geometry(), QRect(37, 52, 35, 26));
    QCOMPARE(m_book->m_typeFocus->geometry(), QRect(219, 52, 53, 26));
    // The focus pictures lie over the chord buttons.
    QCOMPARE(m_book->childAt(45, 60), m_book->m_rootFocus);
    QCOMPARE(m_book->m_diagram->name(), QStringLiteral("A"));
}

// The lit frames lie around the chosen buttons, clear of their names and of their neighbours.
void TestChordBook::selectionMovesFocus()
{
    m_book->show();
    QTest::mouseClick(m_book->m_rootButtons[5], Qt::LeftButton);
    QCOMPARE(m_book->selectedRoot(), 5);
    QCOMPARE(m_book->m_rootFocus->geometry(), QRect(37, 202, 35, 26));
    QTest::mouseClick(m_book->m_typeButtons[3], Qt::LeftButton);
    QCOMPARE(m_book->selectedType(), 3);
    QCOMPARE(m_book->m_typeFocus->geometry(), QRect(219, 130, 53, 26));
    QVERIFY(!m_book->m_typeFocus->geometry().intersects(m_book->m_typeButtons[2]->geometry()));
    QVERIFY(!m_book->m_typeFocus->geometry().intersects(m_book->m_typeButtons[4]->geometry()));
    // Clicking where the selected root lies hits the focus picture and changes nothing.
    QTest::mouseClick(m_book->childAt(45, 210), Qt::LeftButton);
    QCOMPARE(m_book->selectedRoot(), 5);
    QCOMPARE(m_book->selectedType(), 3);
}

namespace {

bool isDot(const QImage &chart, QPointF at)
{
    const QColor c = chart.pixelColor(at.toPoint());
    return c.red() > 200 && c.green() > 110 && c.blue() < 140;
}

// Whether anything is drawn in r.
bool inkIn(const QImage &chart, const QRect &r)
{
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (qGray(chart.pixel(x, y)) > 60)
                return true;
        }
    }
    return false;
}

// The same in the square of the given half size around a point.
bool inkAround(const QImage &chart, QPointF at, int half)
{
    const QPoint c = at.toPoint();
    return inkIn(chart, QRect(c - QPoint(half, half), c + QPoint(half, half)));
}

} // namespace

// Picked by clicks, the chart shows the chord: a dot on every pressed string at its fret and no
// other, "o" (a ring) over open and "x" over muted strings, nothing over pressed ones, and the
// first fret's number where the shape sits higher up the neck.
void TestChordBook::chartShowsTheSelectedChord()
{
    m_book->show();
    ChordDiagram *chart = m_book->m_diagram;
    const struct
    {
        int root, type;
        const char *name;
        int baseFret;
    } chords[] = {{3, 0, "C", 1}, {5, 3, "Dm7", 1}, {4, 12, "C#6", 6}, {7, 11, "Eadd9", 4}};
    for (const auto &chord : chords) {
        QTest::mouseClick(m_book->m_rootButtons[chord.root], Qt::LeftButton);
        QTest::mouseClick(m_book->m_typeButtons[chord.type], Qt::LeftButton);
        QCOMPARE(chart->name(), QString::fromLatin1(chord.name));
        QCOMPARE(chart->baseFret(), chord.baseFret);
        QVERIFY(chart->markCentre(5, 1).x() < chart->markCentre(0, 1).x()); // lowest on the left
        QImage image(chart->size(), QImage::Format_ARGB32);
        image.fill(Qt::black);
        chart->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        const int *frets = DialogChordBook::chordFrets(chord.root, chord.type);
        for (int s = 0; s < DialogChordBook::Strings; ++s) {
            const QString where = QStringLiteral("%1 string %2").arg(chord.name).arg(s + 1);
            const QPointF mark = chart->markCentre(s, 0);
            QCOMPARE(inkAround(image, mark, 0), frets[s] < 0);
            QVERIFY2(inkAround(image, mark, 5) == (frets[s] <= 0), qPrintable(where));
            for (int row = 0; row < ChordDiagram::Rows; ++row) {
                const int fret = chord.baseFret + row;
                QVERIFY2(isDot(image, chart->markCentre(s, fret)) == (frets[s] == fret),
                         qPrintable(where + " fret " + QString::number(fret)));
            }
        }
        const QPointF firstRow = chart->markCentre(5, chord.baseFret);
        QCOMPARE(inkIn(image, QRect(0, int(firstRow.y()) - 6, int(firstRow.x()) - 7, 12)),
                 chord.baseFret > 1);
    }
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

void TestChordBook::opensClearOfTheNeck()
{
    const QSize book(300, 494);
    const struct
    {
        QRect screen, window;
        QPoint expected;
    } cases[] = {
        // Room on the right; then only on the left; then only below the window, moved up to
        // stay on the screen; then nowhere: it covers the least of the neck.
        {QRect(0, 0, 1920, 1080), QRect(100, 100, 924, 636), QPoint(1032, 100)},
        {QRect(0, 0, 1920, 1080), QRect(996, 100, 924, 636), QPoint(688, 100)},
        {QRect(0, 0, 1280, 1024), QRect(178, 0, 924, 636), QPoint(802, 530)},
        {QRect(0, 0, 1024, 768), QRect(50, 0, 924, 636), QPoint(674, 274)},
    };
    for (const auto &c : cases) {
        const QRect neck(c.window.topLeft() + QPoint(51, 98), QSize(827, 191));
        const QPoint at = DialogChordBook::placeClearOf(book, neck, c.window, c.screen);
        QCOMPARE(at, c.expected);
        QVERIFY(c.screen.contains(QRect(at, book)));
    }

    // Placed when it opens; an open book stays where the user put it.
    QWidget window;
    window.setGeometry(0, 0, 200, 100);
    const QRect neck(10, 10, 180, 40);
    m_book->showClearOf(neck, window.frameGeometry());
    QVERIFY(m_book->isVisible());
    const QRect area = m_book->screen()->availableGeometry();
    QCOMPARE(m_book->pos(),
             DialogChordBook::placeClearOf(m_book->size(), neck, window.frameGeometry(), area));
    m_book->move(m_book->pos() + QPoint(5, 5));
    const QPoint moved = m_book->pos();
    m_book->showClearOf(neck, window.frameGeometry());
    QCOMPARE(m_book->pos(), moved);
}

QTEST_MAIN(TestChordBook)
#include "tst_chordbook.moc"
