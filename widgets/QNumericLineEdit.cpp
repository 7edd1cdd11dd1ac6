#include "widgets/QNumericLineEdit.h"

#include "widgets/Log.h"
#include "widgets/QRotarySwitch.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <limits>

namespace {
const char *const EmptyFret = "-";
const char *const EmptyNumber = "0";
const char *const PanelStyle =
    "QWidget { color: rgb(175,198,233); border: 0px; background: transparent }";

bool isDigitKey(int key)
{
    return key >= Qt::Key_0 && key <= Qt::Key_9;
}

bool isDigitString(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (!c.isDigit())
            return false;
    }
    return true;
}

// The text read as an integer; text that is not a number reads as 0. A run of digits too long
// for a 64-bit integer saturates, so an overlong (say, pasted) number is still capped.
qint64 readInteger(const QString &text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (ok)
        return value;
    if (isDigitString(text))
        return std::numeric_limits<qint64>::max();
    if (text.startsWith(QLatin1Char('-')) && isDigitString(text.mid(1)))
        return std::numeric_limits<qint64>::min();
    return 0;
}
} // namespace

QNumericLineEdit::QNumericLineEdit(QWidget *parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignVCenter);
    // A file dropped on the form is a song for the window, not text for the field.
    setAcceptDrops(false);
}

void QNumericLineEdit::setKind(int kind)
{
    m_kind = kind;
}

void QNumericLineEdit::showOnPanel(const QFont &font)
{
    setFont(font);
    setAttribute(Qt::WA_TranslucentBackground);
    setStyleSheet(QString::fromLatin1(PanelStyle));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void QNumericLineEdit::setMaximum(int maximum)
{
    m_maximum = maximum;
}

void QNumericLineEdit::setLinkedSwitch(QRotarySwitch *linkedSwitch)
{
    m_linkedSwitch = linkedSwitch;
}

bool QNumericLineEdit::acceptsKey(int key) const
{
    if (m_kind != NumberKind)
        return true;
    return isDigitKey(key) || key == Qt::Key_Left || key == Qt::Key_Right ||
           key == Qt::Key_Backspace || key == Qt::Key_Delete;
}

// The keys that leave the field go on to the window.
bool QNumericLineEdit::leavesField(int key)
{
    return key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter;
}

void QNumericLineEdit::clearZeroBeforeDigit(int key)
{
    // Typing a digit over "-" or "0" replaces the text instead of appending to it.
    if (m_kind == FretKind && (isDigitKey(key) || key == Qt::Key_Minus) && readInteger(text()) == 0)
        clear();
}

void QNumericLineEdit::keyPressEvent(QKeyEvent *event)
{
    qCDebug(lcWidgets) << "LineEdit:keyPressEvent";
    const int key = event->key();
    if (leavesField(key)) {
        event->ignore();
        return;
    }
    if (!acceptsKey(key))
        return;
    clearZeroBeforeDigit(key);
    QLineEdit::keyPressEvent(event);
    afterTextChange();
}

void QNumericLineEdit::afterTextChange()
{
    const qint64 value = readInteger(text());
    if (m_linkedSwitch && value >= std::numeric_limits<int>::min() &&
        value <= std::numeric_limits<int>::max())
        m_linkedSwitch->setValue(static_cast<int>(value), false);
    if (value > m_maximum)
        setText(QString::number(m_maximum));
}

void QNumericLineEdit::focusOutEvent(QFocusEvent *event)
{
    if (text().isEmpty())
        setText(QLatin1String(m_kind == NumberKind ? EmptyNumber : EmptyFret));
    QLineEdit::focusOutEvent(event);
}

void QNumericLineEdit::mousePressEvent(QMouseEvent *event)
{
    // Selects everything so that typing replaces the value; the cursor is not placed.
    event->accept();
    selectAll();
}
