#pragma once

#include "buttons/ButtonIconTable.h"

#include <QDialog>
#include <optional>

class QDialogButtonBox;
class QImageButton;
class QMouseEvent;
class QPaintEvent;

// The popup in which the user picks one of the 14 sound-button pictures: a half-transparent
// dark panel with the pictures in two rows. The picture for new buttons and "Change Icon" both
// ask it.
class DialogSelectIcon : public QDialog
{
    Q_OBJECT

public:
    explicit DialogSelectIcon(const ButtonIconTable *table, QWidget *parent = nullptr);

    // Opens just below the anchor (above it when there is no room), on its screen, and waits:
    // the picture picked, or nothing when the chooser closed without a pick.
    std::optional<int> choose(QWidget *anchor);

    int selectedIndex() const { return m_selectedIndex; }
    QImageButton *icon(int index) const { return m_icons[index]; }

public slots:
    void onMousePressIcon(QMouseEvent *event, QWidget *widget);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void setupForm();
    void createIcons(const ButtonIconTable &table);
    void placeBelow(QWidget *anchor);

    // Its OK and Cancel stay hidden: a pick closes the chooser, Escape cancels it.
    QDialogButtonBox *m_buttonBox = nullptr;
    QImageButton *m_icons[ButtonIconTable::Count] = {};
    int m_selectedIndex = 0;
};
