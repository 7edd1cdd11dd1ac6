#pragma once

#include "buttons/ButtonIconTable.h"

#include <QDialog>

class QDialogButtonBox;
class QImageButton;
class QMouseEvent;
class QPaintEvent;

// The popup in which the user picks one of the 14 sound-button pictures. The program keeps one
// instance for its whole run (instance()); the main window and the button panel share it.
class DialogSelectIcon : public QDialog
{
    Q_OBJECT

public:
    explicit DialogSelectIcon(QWidget *parent = nullptr, ButtonIconTable *table = nullptr);

    // The program-wide chooser, made on first use without a parent.
    static DialogSelectIcon *instance();

    // Stores the table and creates the icons (replacing any earlier set).
    void setIconTable(ButtonIconTable *table);

    // Shows the chooser just below the anchor (above it when there is no room), on its screen.
    void showBelow(QWidget *anchor);

    // Removes every connection of the dialog's signals. During a pick this waits until every
    // receiver has had the choice, so one receiver cannot cut off the next.
    void dropConnections();

    int selectedIndex() const { return m_selectedIndex; }
    QImageButton *icon(int index) const { return m_icons[index]; }

signals:
    void onSelectIcon(int index);

public slots:
    void onMousePressIcon(QMouseEvent *event, QWidget *widget);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void setupForm();
    void createIcons();

    QDialogButtonBox *m_buttonBox = nullptr;
    ButtonIconTable *m_iconTable = nullptr;
    QImageButton *m_icons[ButtonIconTable::Count] = {};
    int m_selectedIndex = 0;
    bool m_picking = false;
    bool m_dropPending = false;
};
