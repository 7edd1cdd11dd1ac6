// The icon table, the icon chooser and the drawing of a sound button.
#include "buttons/ButtonIconTable.h"
#include "buttons/DialogSelectIcon.h"
#include "buttons/QSoundButton.h"
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
    void chooserDropsConnectionsAfterEveryReceiver();
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
    QSoundButton button;
    button.setIconTable(&table);
    button.setIcon(iconIndex, table.labelColor(iconIndex));
    button.redraw(label);
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
    DialogSelectIcon dialog(nullptr, &table);
    QCOMPARE(dialog.size(), QSize(400, 135));
    QCOMPARE(dialog.icon(0)->geometry(), QRect(10, 20, 30, 30));
    QCOMPARE(dialog.icon(9)->geometry(), QRect(110, 60, 30, 30));
    QCOMPARE(dialog.icon(13)->geometry(), QRect(310, 60, 30, 30));
    const auto boxButtons = dialog.findChild<QDialogButtonBox *>("buttonBox")->buttons();
    QCOMPARE(boxButtons.size(), 2);
    for (QAbstractButton *b : boxButtons)
        QVERIFY(b->isHidden());

    QSignalSpy picked(&dialog, &DialogSelectIcon::onSelectIcon);
    dialog.show();
    QTest::mouseClick(dialog.icon(9), Qt::LeftButton);
    QCOMPARE(picked.size(), 1);
    QCOMPARE(picked.at(0).at(0).toInt(), 9);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.selectedIndex(), 9);

    // A second table replaces the icons instead of stacking a second set.
    dialog.setIconTable(&table);
    QCOMPARE(dialog.findChildren<QImageButton *>().size(), ButtonIconTable::Count);
}

void TestIcons::chooserBackgroundPressPicksNothing()
{
    ButtonIconTable table;
    DialogSelectIcon dialog(nullptr, &table);
    QSignalSpy picked(&dialog, &DialogSelectIcon::onSelectIcon);
    dialog.show();
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(picked.size(), 0);
    QVERIFY(dialog.isVisible());
}

void TestIcons::chooserDropsConnectionsAfterEveryReceiver()
{
    ButtonIconTable table;
    DialogSelectIcon dialog(nullptr, &table);
    QList<int> first;
    QList<int> second;
    QObject a;
    QObject b;
    connect(&dialog, &DialogSelectIcon::onSelectIcon, &a, [&](int i) {
        first << i;
        dialog.dropConnections();
    });
    connect(&dialog, &DialogSelectIcon::onSelectIcon, &b, [&](int i) {
        second << i;
        dialog.dropConnections();
    });
    dialog.show();
    QTest::mouseClick(dialog.icon(4), Qt::LeftButton);
    QCOMPARE(first, QList<int>{4});
    QCOMPARE(second, QList<int>{4});
    dialog.show();
    QTest::mouseClick(dialog.icon(5), Qt::LeftButton);
    QCOMPARE(first.size(), 1);
    QCOMPARE(second.size(), 1);
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
    QSoundButton button;
    button.setIconTable(&table);
    button.setNumber(4);
    button.setIcon(2, table.labelColor(2));
    button.redraw();
    QCOMPARE(button.m_texts[QSoundButton::LabelText], QStringLiteral("4"));
    button.showSelected();
    QCOMPARE(button.pixmap().toImage(), button.selectedPixmap().toImage());
    button.setIcon(5, table.labelColor(5));
    button.redraw();
    QCOMPARE(button.pixmap().toImage(), button.normalPixmap().toImage());
    QVERIFY(button.normalPixmap().toImage() != button.selectedPixmap().toImage());
}

void TestIcons::emptyLabelDrawsNothing()
{
    ButtonIconTable table;
    QSoundButton button;
    button.setIconTable(&table);
    button.m_texts[QSoundButton::LabelText] = QStringLiteral("old");
    button.redraw(QString());
    QCOMPARE(button.m_texts[QSoundButton::LabelText], QString());
    QCOMPARE(button.normalPixmap().toImage().convertToFormat(QImage::Format_ARGB32),
             table.picture(0).toImage().convertToFormat(QImage::Format_ARGB32));
}

void TestIcons::buttonWithUnknownPictureKeepsItsIndex()
{
    ButtonIconTable table;
    QSoundButton button;
    button.setIconTable(&table);
    button.setNumber(3);
    button.setIcon(42, table.labelColor(42));
    button.redraw();
    QCOMPARE(button.m_iconIndex, 42);
    QCOMPARE(button.normalPixmap().toImage().convertToFormat(QImage::Format_ARGB32),
             drawnButton(table, 0, QStringLiteral("3")));
}

void TestIcons::rightPressIsReported()
{
    QSoundButton button;
    QList<QWidget *> senders;
    connect(&button, &QSoundButton::mousePress, this,
            [&](QMouseEvent *, QWidget *sender) { senders << sender; });
    QTest::mouseClick(&button, Qt::RightButton);
    QCOMPARE(senders, QList<QWidget *>{&button});
}

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
