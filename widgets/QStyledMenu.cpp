#include "widgets/QStyledMenu.h"

namespace {
const char *const MenuStyle = "color: #c8e1fb;background: #333333;selection-color: "
                              "white;selection-background-color: darkgray;";
} // namespace

QStyledMenu::QStyledMenu(QWidget *parent) : QMenu(parent)
{
    setStyleSheet(QString::fromLatin1(MenuStyle));
    // Entries may say more in their tool tips (a whole path, say).
    setToolTipsVisible(true);
}
