// The icon table, the icon chooser and the drawing of a sound button.
#include "buttons/ButtonIconTable.h"
#include "buttons/DialogSelectIcon.h"
#include "buttons/QSoundButton.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/Mouse.h"
#include "widgets/QImageButton.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

class TestIcons : public QObject
{
    Q_OBJECT

private slots:
    void tableNamesAndColours();
    void tableLoadsEveryPicture();
    void indexOutsideTableFallsBackToPictureZero();
    void chooserLayoutAndPick();
    void chooserBackgroundPressPicksNothing();
    void chooserMarksCurrentAndPointedPicture();
    void labelStartsRightOfSingleDigit();
    void labelIsPaintedAtTheScreensScale();
    void redrawOfSelectedButtonShowsNormalLook();
    void emptyLabelDrawsNothing();
    void buttonWithUnknownPictureKeepsItsIndex();
    void rightPressIsReported();
};

namespace {

// The leftmost column in which two images of equal size differ, or -1.
int firstDifferentColumn(const QImage &a, const QImage &b)
{
    for (int x = 0; x < a.width(); ++x) {
        for (int y = 0; y < a.height(); ++y) {
            if (a.pixel(x, y) != b.pixel(x, y))
                return x;
        }
    }
    return -1;
}

int lastDifferentColumn(const QImage &a, const QImage &b)
{
    for (int x = a.width() - 1; x >= 0; --x) {
        for (int y = 0; y < a.height(); ++y) {
            if (a.pixel(x, y) != b.pixel(x, y))
                return x;
        }
    }
    return -1;
}

QImage drawnButton(ButtonIconTable &table, int iconIndex, const QString &label)
{
    QSoundButton button(1, &table);
    button.redraw(iconIndex, label);
    return button.normalPixmap().toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

void TestIcons::tableNamesAndColours()
{
    ButtonIconTable table;
    QCOMPARE(table.pictureName(0), QStringLiteral(":/img/bt00.png"));
    QCOMPARE(table.pictureName(7), QStringLiteral(":/img/bt07.png"));
    QCOMPARE(table.pictureName(12), QStringLiteral(":/img/bt12.png"));
    QCOMPARE(table.selectedPictureName(12), QStringLiteral(":/img/bt12sel.png"));
    QCOMPARE(table.selectedPictureName(3), QStringLiteral(":/img/bt03sel.png"));
    QCOMPARE(table.labelColor(0), QColor(255, 255, 255));
    QCOMPARE(table.labelColor(1), QColor(30, 30, 30));
    QCOMPARE(table.labelColor(5), QColor(35, 35, 35));
    QCOMPARE(table.labelColor(8), QColor(10, 10, 10));
    QCOMPARE(table.labelColor(12), QColor(0, 0, 0));
    QCOMPARE(table.labelColor(13), QColor(255, 255, 255));
}

void TestIcons::tableLoadsEveryPicture()
{
    ButtonIconTable table;
    for (int i = 0; i < ButtonIconTable::Count; ++i) {
        QCOMPARE(table.picture(i).size(), QSize(30, 30));
        QCOMPARE(table.selectedPicture(i).size(), QSize(30, 30));
        QVERIFY(table.picture(i).toImage() != table.selectedPicture(i).toImage());
    }
    QVERIFY(table.picture(3).toImage() != table.picture(4).toImage());
}

void TestIcons::indexOutsideTableFallsBackToPictureZero()
{
    ButtonIconTable table;
    for (int index : {-1, 14, 99, std::numeric_limits<int>::min()}) {
        QCOMPARE(table.pictureName(index), table.pictureName(0));
        QCOMPARE(table.selectedPictureName(index), table.selectedPictureName(0));
        QCOMPARE(table.labelColor(index), table.labelColor(0));
        QCOMPARE(table.picture(index).toImage(), table.picture(0).toImage());
    }
}

void TestIcons::chooserLayoutAndPick()
{
    ButtonIconTable table;
    DialogSelectIcon dialog(&table);
    QCOMPARE(dialog.size(), QSize(308, 146));
    QCOMPARE(dialog.icon(0)->geometry(), QRect(19, 46, 30, 30));
    QCOMPARE(dialog.icon(9)->geometry(), QRect(99, 86, 30, 30));
    QCOMPARE(dialog.icon(13)->geometry(), QRect(259, 86, 30, 30));
    QCOMPARE(dialog.icon(9)->toolTip(), QStringLiteral("Picture 10"));
    QCOMPARE(dialog.findChildren<QImageButton *>().size(), ButtonIconTable::Count);
    const auto boxButtons = dialog.findChild<QDialogButtonBox *>("buttonBox")->buttons();
    QCOMPARE(boxButtons.size(), 2);
    for (QAbstractButton *b : boxButtons)
        QVERIFY(b->isHidden());

    QWidget anchor;
    anchor.setGeometry(100, 100, 20, 20);
    anchor.show();
    QPoint shownAt;
    whenModal<DialogSelectIcon>([&shownAt](DialogSelectIcon *chooser) {
        shownAt = chooser->pos();
        QTest::mouseClick(chooser->icon(9), Qt::LeftButton);
    });
    QCOMPARE(dialog.choose(&anchor, 0), std::optional<int>(9));
    QCOMPARE(shownAt, anchor.mapToGlobal(QPoint(0, 20)));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.selectedIndex(), 9);

    // Closed without a pick (Escape): no answer; the last pick stays selected.
    whenModal<DialogSelectIcon>(
        [](DialogSelectIcon *chooser) { QTest::keyClick(chooser, Qt::Key_Escape); });
    QCOMPARE(dialog.choose(&anchor, 9), std::nullopt);
    QCOMPARE(dialog.selectedIndex(), 9);
}

void TestIcons::chooserBackgroundPressPicksNothing()
{
    ButtonIconTable table;
    DialogSelectIcon dialog(&table);
    dialog.show();
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(dialog.isVisible());
}

// The current picture is lit while the chooser is open; the one under the pointer is outlined
// until the pointer leaves it.
void TestIcons::chooserMarksCurrentAndPointedPicture()
{
    ButtonIconTable table;
    DialogSelectIcon dialog(&table);
    QWidget anchor;
    anchor.show();
    const auto markedAround = [](const QLabel *mark, const QWidget *icon, int margin) {
        return mark->isVisible() &&
               mark->geometry() == icon->geometry().adjusted(-margin, -margin, margin, margin);
    };
    for (const auto &[current, marked] : {std::pair{6, 6}, {13, 13}, {14, 0}, {-1, 0}}) {
        bool lit = false;
        whenModal<DialogSelectIcon>([&, marked = marked](DialogSelectIcon *chooser) {
            lit = markedAround(chooser->m_currentMark, chooser->icon(marked), 4) &&
                  !chooser->m_pointerMark->isVisible();
            chooser->reject();
        });
        dialog.choose(&anchor, current);
        QVERIFY2(lit, qPrintable(QString::number(current)));
    }

    dialog.show();
    Mouse::move(dialog.icon(3), QPointF(10, 10));
    QVERIFY(markedAround(dialog.m_pointerMark, dialog.icon(3), 3));
    Mouse::move(dialog.icon(10), QPointF(10, 10));
    QVERIFY(markedAround(dialog.m_pointerMark, dialog.icon(10), 3));
    Mouse::leave(dialog.icon(10));
    QVERIFY(!dialog.m_pointerMark->isVisible());
    // The marks never take a click from the picture they lie around.
    QVERIFY(dialog.m_currentMark->testAttribute(Qt::WA_TransparentForMouseEvents));
    QVERIFY(dialog.m_pointerMark->testAttribute(Qt::WA_TransparentForMouseEvents));
}

void TestIcons::labelStartsRightOfSingleDigit()
{
    ButtonIconTable table;
    const QImage plain = table.picture(0).toImage().convertToFormat(QImage::Format_ARGB32);
    const int seven = firstDifferentColumn(plain, drawnButton(table, 0, QStringLiteral("7")));
    const int twelve = firstDifferentColumn(plain, drawnButton(table, 0, QStringLiteral("12")));
    QVERIFY2(seven >= 13 && seven <= 16, qPrintable(QString::number(seven)));
    QVERIFY2(twelve >= 10 && twelve < 13, qPrintable(QString::number(twelve)));
    // A chord name from a song is too wide to start there: it is centred, not cut off.
    const QImage chord = drawnButton(table, 0, QStringLiteral("Em7"));
    const int left = firstDifferentColumn(plain, chord);
    const int right = lastDifferentColumn(plain, chord);
    QVERIFY2(left < 10 && right < QSoundButton::Size - 2 && left + right >= 26 &&
                 left + right <= 32,
             qPrintable(QStringLiteral("%1..%2").arg(left).arg(right)));
    // Labels are drawn on copies: the table's own picture stays plain.
    QCOMPARE(table.picture(0).toImage().convertToFormat(QImage::Format_ARGB32),
             QImage(table.pictureName(0)).convertToFormat(QImage::Format_ARGB32));
}

// On a screen scaled by two the label is drawn into the fine picture, at the same place.
void TestIcons::labelIsPaintedAtTheScreensScale()
{
    ButtonIconTable fine(2.0);
    QCOMPARE(fine.picture(4).devicePixelRatio(), 2.0);
    QCOMPARE(fine.picture(4).deviceIndependentSize(), QSizeF(30, 30));
    QSoundButton button(1, &fine);
    button.redraw(4, QStringLiteral("7"));
    for (const QPixmap &look : {button.normalPixmap(), button.selectedPixmap()}) {
        QCOMPARE(look.devicePixelRatio(), 2.0);
        QCOMPARE(look.size(), QSize(60, 60));
    }
    const QImage plain = fine.picture(4).toImage().convertToFormat(QImage::Format_ARGB32);
    const int seven = firstDifferentColumn(
        plain, button.normalPixmap().toImage().convertToFormat(QImage::Format_ARGB32));
    QVERIFY2(seven >= 2 * 13 && seven <= 2 * 16, qPrintable(QString::number(seven)));
}

void TestIcons::redrawOfSelectedButtonShowsNormalLook()
{
    ButtonIconTable table;
    QSoundButton button(4, &table);
    button.redraw(2, QStringLiteral("4"));
    button.showSelected();
    QCOMPARE(button.pixmap().toImage(), button.selectedPixmap().toImage());
    button.redraw(5, QStringLiteral("4"));
    QCOMPARE(button.iconIndex(), 5);
    QCOMPARE(button.pixmap().toImage(), button.normalPixmap().toImage());
    QVERIFY(button.normalPixmap().toImage() != button.selectedPixmap().toImage());
}

void TestIcons::emptyLabelDrawsNothing()
{
    ButtonIconTable table;
    QCOMPARE(drawnButton(table, 0, QString()),
             table.picture(0).toImage().convertToFormat(QImage::Format_ARGB32));
}

void TestIcons::buttonWithUnknownPictureKeepsItsIndex()
{
    ButtonIconTable table;
    QSoundButton button(3, &table);
    button.redraw(42, QStringLiteral("3"));
    QCOMPARE(button.iconIndex(), 42);
    QCOMPARE(button.normalPixmap().toImage().convertToFormat(QImage::Format_ARGB32),
             drawnButton(table, 0, QStringLiteral("3")));
}

void TestIcons::rightPressIsReported()
{
    ButtonIconTable table;
    QSoundButton button(1, &table);
    QList<QWidget *> senders;
    connect(&button, &QSoundButton::mousePress, this,
            [&](QMouseEvent *, QWidget *sender) { senders << sender; });
    QTest::mouseClick(&button, Qt::RightButton);
    QCOMPARE(senders, QList<QWidget *>{&button});
}

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
