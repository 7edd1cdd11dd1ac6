#include "tests/support/Mouse.h"
#include "widgets/QNumericLineEdit.h"
#include "widgets/QRotarySwitch.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QtMath>
#include <QtTest>

namespace {
void focusOut(QWidget *w)
{
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w, &event);
}

// The point at the given dial angle (degrees, counter-clockwise from the x axis), 20 pixels
// from the knob's centre (29, 29).
QPointF atAngle(double degrees)
{
    const double r = qDegreesToRadians(degrees);
    return {29.0 + 20.0 * std::cos(r), 29.0 - 20.0 * std::sin(r)};
}

void dragTo(QRotarySwitch *knob, double degrees)
{
    Mouse::press(knob, QPointF(29, 5));
    Mouse::move(knob, atAngle(degrees), Qt::LeftButton);
    Mouse::release(knob, atAngle(degrees));
}

struct FretField
{
    FretField()
    {
        edit.setKind(QNumericLineEdit::FretKind);
        edit.setMaximum(15);
        edit.setText("-");
    }
    QNumericLineEdit edit;
};

struct LinkedNumber
{
    LinkedNumber()
    {
        edit.setKind(QNumericLineEdit::NumberKind);
        edit.setMaximum(400);
        knob.setMaximum(400);
        knob.setLinkedEdit(&edit);
        edit.setLinkedSwitch(&knob);
        knob.setValue(0, true);
    }
    QNumericLineEdit edit;
    QRotarySwitch knob;
};
} // namespace

class TestNumericInputs : public QObject
{
    Q_OBJECT

private slots:
    void fretFieldReplacesZeroTextWhenTyping_data();
    void fretFieldReplacesZeroTextWhenTyping();
    void fretFieldCapsAtItsMaximum();
    void fretFieldAcceptsOtherKeys();
    void fretFieldCapsOverlongNumbers();
    void numberFieldTypesOverSelectionAndCapsWithKnobLeftBehind();
    void numberFieldKeepsToDigits();
    void numberFieldMovesWithArrows();
    void symbolKeysAreNoDigits();
    void focusOutFillsEmptyFields();
    void unlinkedFieldTypesSafely();

    void knobSetValueMapsToAngleAndWritesEdit();
    void knobIgnoresValuesOutOfRange();
    void knobKeepsItsSize();
    void knobDragsFollowTheScale_data();
    void knobDragsFollowTheScale();
    void knobDeadZoneAndIdleMovesChangeNothing();
    void knobTurnsByWheelNotches();
};

void TestNumericInputs::fretFieldReplacesZeroTextWhenTyping_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::newRow("dash then 7") << "-"
                                 << "7"
                                 << "7";
    QTest::newRow("dash then 1 2") << "-"
                                   << "12"
                                   << "12";
    QTest::newRow("zero then 5") << "0"
                                 << "5"
                                 << "5";
    QTest::newRow("empty then 3") << ""
                                  << "3"
                                  << "3";
    QTest::newRow("zero then minus") << "0"
                                     << "-"
                                     << "-";
    QTest::newRow("dash then minus") << "-"
                                     << "-"
                                     << "-";
    QTest::newRow("text then 4") << "x"
                                 << "4"
                                 << "4";
    QTest::newRow("one then 2") << "1"
                                << "2"
                                << "12";
}

void TestNumericInputs::fretFieldReplacesZeroTextWhenTyping()
{
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    FretField field;
    field.edit.setText(before);
    QTest::keyClicks(&field.edit, typed);
    QCOMPARE(field.edit.text(), after);
}

void TestNumericInputs::fretFieldCapsAtItsMaximum()
{
    FretField field;
    QTest::keyClicks(&field.edit, "19");
    QCOMPARE(field.edit.text(), QString("15"));
    QTest::keyClick(&field.edit, Qt::Key_Backspace);
    QCOMPARE(field.edit.text(), QString("1"));
    QTest::keyClick(&field.edit, Qt::Key_6);
    QCOMPARE(field.edit.text(), QString("15"));
    QTest::keyClick(&field.edit, Qt::Key_Backspace);
    QTest::keyClick(&field.edit, Qt::Key_5);
    QCOMPARE(field.edit.text(), QString("15"));
}

void TestNumericInputs::fretFieldAcceptsOtherKeys()
{
    FretField field;
    field.edit.setText("3");
    QTest::keyClick(&field.edit, Qt::Key_Backspace);
    QCOMPARE(field.edit.text(), QString());
    QTest::keyClicks(&field.edit, "a");
    QCOMPARE(field.edit.text(), QString("a"));
}

void TestNumericInputs::fretFieldCapsOverlongNumbers()
{
    // An overlong number (pasted, say) must not slip under the cap by overflowing.
    FretField field;
    field.edit.setText("99999999999");
    QTest::keyClick(&field.edit, Qt::Key_End);
    QCOMPARE(field.edit.text(), QString("15"));
    field.edit.setText("123456789012345678901234567890");
    QTest::keyClick(&field.edit, Qt::Key_End);
    QCOMPARE(field.edit.text(), QString("15"));
}

void TestNumericInputs::numberFieldTypesOverSelectionAndCapsWithKnobLeftBehind()
{
    LinkedNumber n;
    QCOMPARE(n.edit.text(), QString("0"));
    QTest::mouseClick(&n.edit, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    QCOMPARE(n.edit.selectedText(), QString("0"));

    QTest::keyClick(&n.edit, Qt::Key_4);
    QCOMPARE(n.edit.text(), QString("4"));
    QCOMPARE(n.knob.value(), 4.0);
    QTest::keyClicks(&n.edit, "50");
    QCOMPARE(n.edit.text(), QString("400"));
    // 450 is beyond the knob's range, so it keeps the previous keystroke's value.
    QCOMPARE(n.knob.value(), 45.0);
}

// Digits, Backspace and Delete edit; other keys do nothing, and those that leave the field go
// on to the window.
void TestNumericInputs::numberFieldKeepsToDigits()
{
    LinkedNumber n;
    n.edit.setText("123");
    for (Qt::Key key :
         {Qt::Key_Minus, Qt::Key_Home, Qt::Key_End, Qt::Key_A, Qt::Key_Space, Qt::Key_Period}) {
        QTest::keyClick(&n.edit, key);
        QCOMPARE(n.edit.text(), QString("123"));
    }
    QTest::keyClick(&n.edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&n.edit, Qt::Key_7);
    QCOMPARE(n.edit.text(), QString("400")); // 1237 capped; Ctrl+A selected nothing

    n.edit.setText("123");
    n.edit.setCursorPosition(1);
    QTest::keyClick(&n.edit, Qt::Key_Backspace);
    QCOMPARE(n.edit.text(), QString("23"));
    QTest::keyClick(&n.edit, Qt::Key_Delete);
    QCOMPARE(n.edit.text(), QString("3"));
    QCOMPARE(n.knob.value(), 3.0);
    QTest::keyClick(&n.edit, Qt::Key_Delete);
    QCOMPARE(n.edit.text(), QString(""));
    QCOMPARE(n.knob.value(), 0.0);

    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&n.edit, &press);
        QVERIFY(!press.isAccepted());
    }
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
    QApplication::sendEvent(&n.edit, &letter);
    QVERIFY2(letter.isAccepted(), "a swallowed key must not reach the window");
}

void TestNumericInputs::numberFieldMovesWithArrows()
{
    LinkedNumber n;
    n.edit.setText("12");
    n.edit.setCursorPosition(2);
    QTest::keyClick(&n.edit, Qt::Key_Left);
    QTest::keyClick(&n.edit, Qt::Key_3);
    QCOMPARE(n.edit.text(), QString("132"));
    QTest::keyClick(&n.edit, Qt::Key_Right);
    QTest::keyClick(&n.edit, Qt::Key_0);
    QCOMPARE(n.edit.text(), QString("400")); // 1320 capped
}

void TestNumericInputs::symbolKeysAreNoDigits()
{
    LinkedNumber n;
    n.edit.setText("5");
    n.edit.setCursorPosition(1);
    for (char c : {'%', '&', '\'', '`'}) {
        QTest::keyClick(&n.edit, c);
        QCOMPARE(n.edit.text(), QString("5"));
    }

    FretField field;
    field.edit.setText("0");
    field.edit.setCursorPosition(1);
    QTest::keyClick(&field.edit, '%');
    QCOMPARE(field.edit.text(), QString("0%"));
    field.edit.setText("-");
    field.edit.setCursorPosition(1);
    QTest::keyClick(&field.edit, '&');
    QCOMPARE(field.edit.text(), QString("-&"));
}

void TestNumericInputs::focusOutFillsEmptyFields()
{
    LinkedNumber n;
    n.edit.setText("");
    focusOut(&n.edit);
    QCOMPARE(n.edit.text(), QString("0"));
    n.edit.setText("12");
    focusOut(&n.edit);
    QCOMPARE(n.edit.text(), QString("12"));

    FretField field;
    field.edit.setText("");
    focusOut(&field.edit);
    QCOMPARE(field.edit.text(), QString("-"));
}

void TestNumericInputs::unlinkedFieldTypesSafely()
{
    LinkedNumber n;
    n.edit.setLinkedSwitch(nullptr);
    n.knob.setLinkedEdit(nullptr);
    n.edit.setText("1");
    n.edit.setCursorPosition(1);
    QTest::keyClick(&n.edit, Qt::Key_2);
    QCOMPARE(n.edit.text(), QString("12"));
    QCOMPARE(n.knob.value(), 0.0);
    n.knob.setValue(30, true);
    QCOMPARE(n.edit.text(), QString("12"));
}

void TestNumericInputs::knobSetValueMapsToAngleAndWritesEdit()
{
    QRotarySwitch knob;
    QLineEdit edit;
    knob.setLinkedEdit(&edit);
    knob.setValue(50, true);
    QCOMPARE(knob.angle(), 90.0);
    QCOMPARE(edit.text(), QString("50"));
    knob.setValue(0, true);
    QCOMPARE(knob.angle(), 230.0);
    QCOMPARE(edit.text(), QString("0"));
    knob.setValue(100, false);
    QCOMPARE(knob.angle(), -50.0);
    QCOMPARE(edit.text(), QString("0")); // updateEdit false leaves the field alone

    knob.setMaximum(400);
    QCOMPARE(knob.angle(), -50.0); // a new maximum does not move the dial
    knob.setValue(100, true);
    QCOMPARE(knob.angle(), 160.0);
    QCOMPARE(edit.text(), QString("100"));
}

void TestNumericInputs::knobIgnoresValuesOutOfRange()
{
    QRotarySwitch knob;
    QLineEdit edit;
    knob.setLinkedEdit(&edit);
    knob.setValue(50, true);
    knob.setValue(101, true);
    knob.setValue(-1, true);
    QCOMPARE(knob.value(), 50.0);
    QCOMPARE(knob.angle(), 90.0);
    QCOMPARE(edit.text(), QString("50"));
}

void TestNumericInputs::knobKeepsItsSize()
{
    QRotarySwitch knob;
    knob.setGeometry(10, 10, 120, 40);
    QCOMPARE(knob.size(), QSize(63, 63));
    QCOMPARE(knob.pos(), QPoint(10, 10));
}

void TestNumericInputs::knobDragsFollowTheScale_data()
{
    QTest::addColumn<double>("degrees");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("180") << 180.0 << (180.0 - 230.0) * 100.0 / -280.0 << "17";
    QTest::newRow("-140 continues past 180") << -140.0 << (220.0 - 230.0) * 100.0 / -280.0 << "3";
    QTest::newRow("-135 continues past 180") << -135.0 << (225.0 - 230.0) * 100.0 / -280.0 << "1";
    QTest::newRow("0") << 0.0 << 230.0 * 100.0 / 280.0 << "82";
    QTest::newRow("-49.5 snaps") << -49.5 << 100.0 << "100";
    QTest::newRow("-49 does not snap") << -49.0 << (-49.0 - 230.0) * 100.0 / -280.0 << "99";
}

void TestNumericInputs::knobDragsFollowTheScale()
{
    QFETCH(double, degrees);
    QFETCH(double, value);
    QFETCH(QString, text);
    QRotarySwitch knob;
    QLineEdit edit;
    knob.setLinkedEdit(&edit);
    knob.setValue(60, true);
    dragTo(&knob, degrees);
    QVERIFY(!knob.isDragging());
    QVERIFY2(qAbs(knob.value() - value) < 1e-6, qPrintable(QString::number(knob.value())));
    // The dial shows the raw pointer angle.
    QVERIFY(qAbs(std::remainder(knob.angle() - degrees, 360.0)) < 1e-6);
    QCOMPARE(edit.text(), text);
}

void TestNumericInputs::knobDeadZoneAndIdleMovesChangeNothing()
{
    QRotarySwitch knob;
    QLineEdit edit;
    knob.setLinkedEdit(&edit);
    knob.setValue(60, true);

    for (double degrees : {-100.0, -50.5, -129.5}) {
        dragTo(&knob, degrees);
        QCOMPARE(knob.value(), 60.0);
        QCOMPARE(knob.angle(), 62.0); // 230 - 2.8 * 60
        QCOMPARE(edit.text(), QString("60"));
    }

    // A press alone changes nothing; moves after the release are ignored.
    Mouse::press(&knob, atAngle(180.0));
    QCOMPARE(knob.value(), 60.0);
    Mouse::release(&knob, atAngle(180.0));
    Mouse::move(&knob, atAngle(180.0));
    QCOMPARE(knob.value(), 60.0);
    QCOMPARE(edit.text(), QString("60"));
}

// One step per notch, a hundredth of the range; partial notches add up; the ends hold.
void TestNumericInputs::knobTurnsByWheelNotches()
{
    LinkedNumber n;
    const auto wheel = [&n](int delta, bool inverted = false) {
        QWheelEvent event(QPointF(29, 29), n.knob.mapToGlobal(QPointF(29, 29)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          inverted);
        QApplication::sendEvent(&n.knob, &event);
    };
    wheel(120);
    QCOMPARE(n.knob.value(), 4.0);
    QCOMPARE(n.edit.text(), QString("4"));
    wheel(360);
    QCOMPARE(n.edit.text(), QString("16"));
    wheel(60);
    QCOMPARE(n.edit.text(), QString("16"));
    wheel(60);
    QCOMPARE(n.edit.text(), QString("20"));
    wheel(-120, true); // inverted: the finger went up
    QCOMPARE(n.edit.text(), QString("24"));
    wheel(-240);
    QCOMPARE(n.edit.text(), QString("16"));
    wheel(-120 * 10);
    QCOMPARE(n.edit.text(), QString("0"));
    wheel(120 * 200);
    QCOMPARE(n.knob.value(), 400.0);
    QCOMPARE(n.edit.text(), QString("400"));

    QRotarySwitch percent; // a range of 100 turns by 1
    percent.setValue(50, false);
    QWheelEvent up(QPointF(29, 29), QPointF(29, 29), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&percent, &up);
    QCOMPARE(percent.value(), 51.0);
}

QTEST_MAIN(TestNumericInputs)
#include "tst_numericinputs.moc"
