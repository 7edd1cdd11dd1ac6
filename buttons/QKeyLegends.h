#pragma once

#include <QWidget>

// The small key names over the panel's cells, which key plays which cell. It lies over the
// buttons and lets the mouse through to them.
class QKeyLegends : public QWidget
{
    Q_OBJECT

public:
    explicit QKeyLegends(QWidget *panel);

protected:
    void paintEvent(QPaintEvent *event) override;
};
