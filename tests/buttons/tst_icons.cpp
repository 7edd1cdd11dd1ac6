// The icon table, the icon chooser and the drawing of a sound button.
#include "buttons/ButtonIconTable.h"
#include "buttons/DialogSelectIcon.h"
#include "buttons/QSoundButton.h"
#include "tests/support/ModalDriver.h"
#include "widgets/QImageButton.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QImage>
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
    void labelStartsRightOfSingleDigit();
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
    QCOMPARE(dialog.size(), QSize(400, 135));
    QCOMPARE(dialog.icon(0)->geometry(), QRect(10, 20, 30, 30));
    QCOMPARE(dialog.icon(9)->geometry(), QRect(110, 60, 30, 30));
    QCOMPARE(dialog.icon(13)->geometry(), QRect(310, 60, 30, 30));
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
    QCOMPARE(dialog.choose(&anchor), std::optional<int>(9));
    QCOMPARE(shownAt, anchor.mapToGlobal(QPoint(0, 20)));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.selectedIndex(), 9);

    // Closed without a pick (Escape): no answer; the last pick stays selected.
    whenModal<DialogSelectIcon>(
        [](DialogSelectIcon *chooser) { QTest::keyClick(chooser, Qt::Key_Escape); });
    QCOMPARE(dialog.choose(&anchor), std::nullopt);
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

void TestIcons::labelStartsRightOfSingleDigit()
{
    ButtonIconTable table;
    const QImage plain = table.picture(0).toImage().convertToFormat(QImage::Format_ARGB32);
    const int seven = firstDifferentColumn(plain, drawnButton(table, 0, QStringLiteral("7")));
    const int twelve = firstDifferentColumn(plain, drawnButton(table, 0, QStringLiteral("12")));
    QVERIFY2(seven >= 13 && seven <= 16, qPrintable(QString::number(seven)));
    QVERIFY2(twelve >= 10 && twelve < 13, qPrintable(QString::number(twelve)));
    // Labels are drawn on copies: the table's own picture stays plain.
    QCOMPARE(table.picture(0).toImage().convertToFormat(QImage::Format_ARGB32),
             QImage(table.pictureName(0)).convertToFormat(QImage::Format_ARGB32));
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
