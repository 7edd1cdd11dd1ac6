#pragma once

#include <QWidget>

// The keys at a glance: a picture over the dimmed window, shown and put away with F1. Any other
// key or a click puts it away as well.
class KeyHelp : public QWidget
{
    Q_OBJECT

public:
    explicit KeyHelp(QWidget *window);

    void toggle();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void putAway();
};
