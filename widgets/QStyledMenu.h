#pragma once

#include <QMenu>

// A popup menu in the program's dark look, for every right-click menu.
class QStyledMenu : public QMenu
{
    Q_OBJECT

public:
    explicit QStyledMenu(QWidget *parent = nullptr);
};
