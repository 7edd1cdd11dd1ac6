#pragma once

#include <QLabel>
#include <QList>
#include <QPoint>
#include <vector>

class ButtonIconTable;
class DialogSelectIcon;
class MainWindow;
class QEvent;
class QImageButton;
class QMouseEvent;
class QSoundButton;
class SoundInfo;
class SoundMixer;

// The 9 x 5 grid of sound buttons: numbering, selection, drag and drop, the picture menu and the
// unsaved-changes flag. A button that stops being selected takes the form's current values.
class QButtonPanel : public QLabel
{
    Q_OBJECT

public:
    QButtonPanel(QWidget *parent, ButtonIconTable *iconTable);

    void setMainWindow(MainWindow *window) { m_mainWindow = window; }
    void setSoundEngine(SoundMixer *engine) { m_engine = engine; }
    SoundMixer *soundEngine() const { return m_engine; }

    // A new button with a copy of info in the first free cell; false when the panel is full.
    bool addButton(int iconIndex, const SoundInfo *info);
    // A blank, undrawn button in the first free cell for the script reader; nullptr when full.
    QSoundButton *addEmptyButton(bool modified);

    // The selected button takes the form's values, as on deselection; the selection stays.
    void commitSelection();
    void deleteSelected();
    void deleteAll();

    // Appends every button, row by row from the top, left to right within a row.
    void buttons(QList<QSoundButton *> &list) const;

    bool isModified() const { return m_modified; }
    bool isLocked() const { return m_locked; }
    void setLocked(bool locked) { m_locked = locked; }
    int arrangement() const { return m_arrangement; }

    QSoundButton *selected() const { return m_selected; }
    QSoundButton *buttonAt(int column, int row) const { return m_grid[column][row]; }
    int lowestFreeNumber() const;

    // Unsaved changes; the main window clears it after a save, the script reader sets it.
    bool m_modified = false;

signals:
    void mousePress(QMouseEvent *event, QWidget *sender);
    void mouseMove(QMouseEvent *event);
    void mouseRelease(QMouseEvent *event);
    void mouseLeave();
    void signalOnMousePressSB(QMouseEvent *event, QSoundButton *button);

public slots:
    void onMousePressSB(QMouseEvent *event, QWidget *widget);
    void onMouseMoveSB(QMouseEvent *event);
    void onMouseReleaseSB(QMouseEvent *event);
    void showContextMenu(QPoint point);
    void onSelectIcon(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    friend class TestButtonPanel;

    bool findFreeCell(int &column, int &row) const;
    QSoundButton *createButton(int column, int row);
    void placeButton(QSoundButton *button, int column, int row);
    void deselect();
    void dragMove(QMouseEvent *event);
    void drop();

    int m_columns = 9;
    int m_rows = 5;
    int m_cellWidth = 31;
    int m_cellHeight = 32;
    int m_arrangement = 0;
    std::vector<std::vector<QSoundButton *>> m_grid;
    ButtonIconTable *m_iconTable = nullptr;
    QImageButton *m_selectionFrame = nullptr;
    QSoundButton *m_selected = nullptr;
    MainWindow *m_mainWindow = nullptr;
    SoundMixer *m_engine = nullptr;
    bool m_dragging = false;
    int m_targetColumn = 0;
    int m_targetRow = 0;
    bool m_locked = true;
    DialogSelectIcon *m_iconDialog = nullptr;
};
