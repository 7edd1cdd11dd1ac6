#pragma once

#include "buttons/ButtonIconTable.h"

#include <QDialog>
#include <optional>

class QDialogButtonBox;
class QImageButton;
class QLabel;
class QMouseEvent;

// The popup in which the user picks one of the 14 sound-button pictures: a small panel with a
// title and the pictures in two rows, the current one lit and the one under the pointer
// outlined. The picture for new buttons and "Change Icon" both ask it.
class DialogSelectIcon : public QDialog
{
    Q_OBJECT

public:
    explicit DialogSelectIcon(const ButtonIconTable *table, QWidget *parent = nullptr);

    // Opens just below the anchor (above it when there is no room), on its screen, with the
    // current picture marked, and waits: the picture picked, or nothing when the chooser
    // closed without a pick.
    std::optional<int> choose(QWidget *anchor, int current);

    int selectedIndex() const { return m_selectedIndex; }
    QImageButton *icon(int index) const { return m_icons[index]; }

public slots:
    void onMousePressIcon(QMouseEvent *event, QWidget *widget);

private:
    friend class TestIcons;

    void setupForm();
    QLabel *createMark(const QString &picture);
    void createIcons(const ButtonIconTable &table);
    void placeBelow(QWidget *anchor);
    void markCurrent(int index);
    // Outlines the picture under the pointer; -1 for none.
    void markPointer(int index);

    // Its OK and Cancel stay hidden: a pick closes the chooser, Escape cancels it.
    QDialogButtonBox *m_buttonBox = nullptr;
    QLabel *m_currentMark = nullptr;
    QLabel *m_pointerMark = nullptr;
    QImageButton *m_icons[ButtonIconTable::Count] = {};
    int m_selectedIndex = 0;
};
