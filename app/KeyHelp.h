#pragma once

#include <QWidget>

// The keys at a glance: a picture over the dimmed window, shown and put away with F1. Any other
// key or a click puts it away as well, and does nothing else.
class KeyHelp : public QWidget
{
    Q_OBJECT

public:
    explicit KeyHelp(QWidget *window);

    void toggle();

protected:
    // Every key but F1 (which toggles the page) comes here, shortcuts too, and puts it away.
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void putAway();
};
