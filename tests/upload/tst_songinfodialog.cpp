// The song info dialog on its own: tap recording, the record button, dragging, and which
// changes count as changes of the song.
#include "upload/DialogSongInfo.h"
#include "widgets/QImageButton.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

class TestSongInfoDialog : public QObject
{
    Q_OBJECT

private slots:
    void recordsTapsCountedFromZero();
    void recordButtonToggles();
    void closeHidesAndKeepsEverything();
    void userEditsAndTapsAreChanges();
    void settersAreNoChange();
    void dragsByItsBackground();

private:
    static QImageButton *buttonWithTip(DialogSongInfo &dialog, const QString &tip);
    static void press(QWidget *widget);
};

QImageButton *TestSongInfoDialog::buttonWithTip(DialogSongInfo &dialog, const QString &tip)
{
    for (QImageButton *button : dialog.findChildren<QImageButton *>()) {
        if (button->toolTip() == tip)
            return button;
    }
    return nullptr;
}

void TestSongInfoDialog::press(QWidget *widget)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(5, 5));
}

void TestSongInfoDialog::recordsTapsCountedFromZero()
{
    DialogSongInfo dialog(nullptr);
    dialog.recordTap(2);
    dialog.recordTap(5);
    dialog.recordTap(2);
    QCOMPARE(dialog.tapOrder(), QStringLiteral("1,4,1"));
    dialog.setTapOrder(QStringLiteral("7,"));
    dialog.recordTap(1);
    QCOMPARE(dialog.tapOrder(), QStringLiteral("7,,0"));
}

void TestSongInfoDialog::recordButtonToggles()
{
    DialogSongInfo dialog(nullptr);
    QImageButton *record =
        buttonWithTip(dialog, QStringLiteral("record tap order when play button"));
    QVERIFY(record);
    // Inside the dialog, right-aligned with the tap order box.
    QCOMPARE(record->geometry(), QRect(190, 160, 68, 25));
    QVERIFY(dialog.rect().contains(record->geometry()));
    QVERIFY(!dialog.isRecording());
    press(record);
    QVERIFY(dialog.isRecording());
    QCOMPARE(record->pixmap().toImage(),
             QPixmap(QStringLiteral(":/img/bt_rectangle.png")).toImage());
    press(record);
    QVERIFY(!dialog.isRecording());
    QCOMPARE(record->pixmap().toImage(), QPixmap(QStringLiteral(":/img/bt_record.png")).toImage());
}

void TestSongInfoDialog::closeHidesAndKeepsEverything()
{
    DialogSongInfo dialog(nullptr);
    dialog.show();
    dialog.setTitle(QStringLiteral("T"));
    dialog.recordTap(3);
    press(buttonWithTip(dialog, QStringLiteral("record tap order when play button")));
    press(buttonWithTip(dialog, QStringLiteral("close web dialog")));
    QVERIFY(!dialog.isVisible());
    QVERIFY(dialog.isRecording());
    QCOMPARE(dialog.title(), QStringLiteral("T"));
    QCOMPARE(dialog.tapOrder(), QStringLiteral("2"));
}

void TestSongInfoDialog::userEditsAndTapsAreChanges()
{
    DialogSongInfo dialog(nullptr);
    dialog.show();
    QSignalSpy changes(&dialog, &DialogSongInfo::songInfoChanged);
    for (const char *name : {"LEtitle", "LEartist", "LEuser"}) {
        auto *edit = dialog.findChild<QLineEdit *>(QLatin1String(name));
        QVERIFY2(edit, name);
        const int before = int(changes.count());
        QTest::keyClicks(edit, QStringLiteral("x"));
        QVERIFY2(changes.count() > before, name);
    }
    auto *lyrics = dialog.findChild<QTextEdit *>(QStringLiteral("POLyrics"));
    QVERIFY(lyrics);
    int before = int(changes.count());
    QTest::keyClicks(lyrics, QStringLiteral("la"));
    QVERIFY(changes.count() > before);
    before = int(changes.count());
    dialog.recordTap(1);
    QVERIFY(changes.count() > before);
}

// A loaded song fills the dialog through the setters: that is no unsaved change.
void TestSongInfoDialog::settersAreNoChange()
{
    DialogSongInfo dialog(nullptr);
    QSignalSpy changes(&dialog, &DialogSongInfo::songInfoChanged);
    dialog.setTitle(QStringLiteral("a"));
    dialog.setArtist(QStringLiteral("b"));
    dialog.setUser(QStringLiteral("c"));
    dialog.setLyrics(QStringLiteral("d\ne"));
    dialog.setTapOrder(QStringLiteral("0,1"));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(dialog.title(), QStringLiteral("a"));
    QCOMPARE(dialog.artist(), QStringLiteral("b"));
    QCOMPARE(dialog.user(), QStringLiteral("c"));
    QCOMPARE(dialog.lyrics(), QStringLiteral("d\ne"));
    QCOMPARE(dialog.tapOrder(), QStringLiteral("0,1"));
}

void TestSongInfoDialog::dragsByItsBackground()
{
    DialogSongInfo dialog(nullptr);
    dialog.move(100, 100);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.size(), QSize(297, 542));
    const QPoint start = dialog.frameGeometry().topLeft();
    const QPoint local(10, 10);
    QMouseEvent pressEvent(QEvent::MouseButtonPress, local, dialog.mapToGlobal(local),
                           Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(&dialog, &pressEvent);
    const QPoint moved = local + QPoint(30, 20);
    QMouseEvent moveEvent(QEvent::MouseMove, moved, dialog.mapToGlobal(moved), Qt::NoButton,
                          Qt::LeftButton, {});
    QApplication::sendEvent(&dialog, &moveEvent);
    QCOMPARE(dialog.frameGeometry().topLeft(), start + QPoint(30, 20));
}

QTEST_MAIN(TestSongInfoDialog)
#include "tst_songinfodialog.moc"
