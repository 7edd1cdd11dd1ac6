#include "widgets/QNumericTextEdit.h"
#include "widgets/QToast.h"

#include <QKeyEvent>
#include <QMetaMethod>
#include <QTextEdit>
#include <QtTest>

namespace {
void tick(QToast &toast, int times)
{
    for (int i = 0; i < times; ++i)
        toast.timerevent();
}

bool sameOpacity(double a, double b)
{
    // The window keeps its opacity in 1/255 steps.
    return qAbs(a - b) < 0.01;
}
} // namespace

class TestToast : public QObject
{
    Q_OBJECT

private slots:
    void toastIsDarkFramelessWithOneSlot();
    void toastHidesOnTheFirstTickAfterThreeSeconds();
    void toastFadesAfterTheShowTime();
    void toastCanBeResetAndStartedAgain();
    void toastTimerDrivesTheSlot();
    void toastEndsItsModalRunWhenItHides();

    void tapOrderBoxTakesDigitsAndCommasOnly();
    void tapOrderBoxEditsWithBackspaceAndDelete();
    void tapOrderBoxSwallowsEnter();
};

void TestToast::toastIsDarkFramelessWithOneSlot()
{
    QToast toast;
    QVERIFY(toast.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(toast.palette().color(QPalette::Window), QColor(Qt::black));
    QVERIFY(toast.autoFillBackground());
    QVERIFY(sameOpacity(toast.windowOpacity(), 0.8));
    QCOMPARE(toast.textBox()->placeholderText(), QString("test dayo"));
    toast.setText("Title is empty");
    QCOMPARE(toast.textBox()->toPlainText(), QString("Title is empty"));
    // A message to read: typing changes nothing, and no text cursor shows.
    QTest::keyClicks(toast.textBox(), "x");
    QCOMPARE(toast.textBox()->toPlainText(), QString("Title is empty"));
    QCOMPARE(toast.textBox()->textInteractionFlags(), Qt::NoTextInteraction);
    QCOMPARE(toast.textBox()->focusPolicy(), Qt::NoFocus);
    // A metal plate with a lit amber lamp, not a black box.
    const QImage look = toast.grab().toImage();
    QVERIFY(qGray(look.pixel(toast.width() / 2, 4)) > 40);
    const QColor lamp = look.pixelColor(16, 21);
    QVERIFY(lamp.red() > 200 && lamp.green() > 120 && lamp.blue() < 120);

    const QMetaObject *meta = toast.metaObject();
    QCOMPARE(meta->methodCount() - meta->methodOffset(), 1);
    QCOMPARE(meta->method(meta->methodOffset()).methodSignature(), QByteArray("timerevent()"));
}

void TestToast::toastHidesOnTheFirstTickAfterThreeSeconds()
{
    QToast toast;
    toast.reset();
    toast.start();
    toast.show();
    tick(toast, 100);
    QVERIFY(toast.isVisible());
    QVERIFY(toast.isCounting());
    tick(toast, 1);
    QVERIFY(!toast.isVisible());
    QVERIFY(!toast.isCounting());
    QCOMPARE(toast.elapsed(), 3030);
}

void TestToast::toastFadesAfterTheShowTime()
{
    QToast toast;
    toast.reset();
    tick(toast, 83); // 2490 ms
    QVERIFY(sameOpacity(toast.windowOpacity(), 0.8));
    tick(toast, 1);
    QVERIFY(sameOpacity(toast.windowOpacity(), 0.7));
    tick(toast, 10);
    QCOMPARE(toast.windowOpacity(), 0.0);
}

void TestToast::toastCanBeResetAndStartedAgain()
{
    QToast toast;
    toast.reset();
    toast.start();
    toast.show();
    tick(toast, 101);
    QVERIFY(!toast.isVisible());

    toast.reset();
    QCOMPARE(toast.elapsed(), 0);
    QVERIFY(sameOpacity(toast.windowOpacity(), 0.8));
    toast.start();
    toast.show();
    tick(toast, 100);
    QVERIFY(toast.isVisible());
    tick(toast, 1);
    QVERIFY(!toast.isVisible());
}

void TestToast::toastTimerDrivesTheSlot()
{
    QToast toast;
    toast.reset();
    toast.start();
    QTRY_VERIFY(toast.elapsed() >= 30);
}

void TestToast::toastEndsItsModalRunWhenItHides()
{
    // The song info dialog runs the toast modally and waits for it to hide itself.
    QToast toast;
    toast.reset();
    QTimer::singleShot(0, &toast, [&toast] { tick(toast, 101); });
    toast.exec();
    QVERIFY(!toast.isVisible());
}

void TestToast::tapOrderBoxTakesDigitsAndCommasOnly()
{
    QNumericTextEdit box;
    QTest::keyClicks(&box, "1,2,x3");
    QCOMPARE(box.toPlainText(), QString("1,2,3"));
    QTest::keyClicks(&box, " ;.a-");
    QTest::keyClick(&box, Qt::Key_Tab);
    QCOMPARE(box.toPlainText(), QString("1,2,3"));
}

void TestToast::tapOrderBoxEditsWithBackspaceAndDelete()
{
    QNumericTextEdit box;
    QTest::keyClicks(&box, "12,34");
    QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(box.toPlainText(), QString("12,3"));
    // Arrows are dropped, so move the cursor directly.
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(0);
    box.setTextCursor(cursor);
    QTest::keyClick(&box, Qt::Key_Left);
    QTest::keyClick(&box, Qt::Key_Delete);
    QCOMPARE(box.toPlainText(), QString("2,3"));
}

void TestToast::tapOrderBoxSwallowsEnter()
{
    QNumericTextEdit box;
    QTest::keyClicks(&box, "7");
    for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, "\r");
        QApplication::sendEvent(&box, &event);
        // Accepted, so a dialog around the box does not take it for its default button.
        QVERIFY(event.isAccepted());
    }
    QCOMPARE(box.toPlainText(), QString("7"));
}

QTEST_MAIN(TestToast)
#include "tst_toast.moc"
