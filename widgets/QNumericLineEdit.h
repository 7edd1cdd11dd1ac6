#pragma once

#include <QLineEdit>

class QFocusEvent;
class QFont;
class QKeyEvent;
class QMouseEvent;
class QRotarySwitch;

// A one-line numeric field: filters keys, caps its value and can turn a linked knob.
class QNumericLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    enum Kind { FretKind = 0, NumberKind = 1 };

    explicit QNumericLineEdit(QWidget *parent = nullptr);

    void setKind(int kind);
    void setMaximum(int maximum);
    // Not owned; null unlinks.
    void setLinkedSwitch(QRotarySwitch *linkedSwitch);

    int kind() const { return m_kind; }
    int maximum() const { return m_maximum; }
    QRotarySwitch *linkedSwitch() const { return m_linkedSwitch; }

    // The look of the window's fields: light figures, right-aligned, on the panel's painted well.
    void showOnPanel(const QFont &font);

    // Escape and Return: the field has no use for them, and they go on to the window.
    static bool leavesField(int key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool acceptsKey(int key) const;
    void clearZeroBeforeDigit(int key);
    void afterTextChange();

    int m_kind = FretKind;
    int m_maximum = 0;
    QRotarySwitch *m_linkedSwitch = nullptr;
};
