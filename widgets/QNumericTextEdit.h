#pragma once

#include <QTextEdit>

class QKeyEvent;

// A multi-line box that takes only digits, commas, Backspace and Delete from the keyboard.
class QNumericTextEdit : public QTextEdit
{
    Q_OBJECT

public:
    explicit QNumericTextEdit(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
