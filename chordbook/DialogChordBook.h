#pragma once

#include "widgets/WindowDrag.h"

#include <QDialog>

class ChordDiagram;
class QImageButton;
class QMouseEvent;

// The chord dictionary: 12 roots x 14 types of six fret values, the chosen one drawn as a chord
// chart. "set" and "play" hand it on (into the current stroke; sounded once); the dialog is
// dragged by its background.
class DialogChordBook : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Roots = 12;
    static constexpr int Types = 14;
    static constexpr int Strings = 6;
    static constexpr int Muted = -1;

    explicit DialogChordBook(QWidget *parent = nullptr);

    // Six fret values, string 1 first (-1 = muted).
    static const int *chordFrets(int root, int type);
    // "A", "C#m7", "Gsus4".
    static QString chordName(int root, int type);

    // Shows the book, raised; when it was hidden it first moves where it leaves the neck free
    // (global rectangles of the neck and of the window holding it).
    void showClearOf(const QRect &neck, const QRect &window);
    // Where a book of the given size leaves the neck free on that screen area: beside the
    // window, else below or above it, kept on the screen; else where it covers least of it.
    static QPoint placeClearOf(const QSize &size, const QRect &neck, const QRect &window,
                               const QRect &screen);

    int selectedRoot() const;
    int selectedType() const;

signals:
    // Six fret values, string 1 first (-1 = muted); valid while the signal is delivered.
    void chordSet(const int *frets);
    void chordPlayed(const int *frets);

public slots:
    void onMousePressSet(QMouseEvent *event, QWidget *widget);
    void onMousePressClose(QMouseEvent *event, QWidget *widget);
    void onMousePressPlay(QMouseEvent *event, QWidget *widget);
    void onMousePressChord1(QMouseEvent *event, QWidget *widget);
    void onMousePressChord2(QMouseEvent *event, QWidget *widget);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    friend class TestChordBook;

    void setupForm();
    QImageButton *createButton(const QRect &geometry, const QString &picture,
                               const QString &toolTip);
    void createCommandButtons();
    void createChordButtons();
    void createFocus();
    void showSelection();
    const int *selectedFrets() const;

    WindowDrag m_drag;
    QImageButton *m_setButton = nullptr;
    QImageButton *m_closeButton = nullptr;
    QImageButton *m_playButton = nullptr;
    QImageButton *m_currentRoot = nullptr;
    QImageButton *m_currentType = nullptr;
    QImageButton *m_rootFocus = nullptr;
    QImageButton *m_typeFocus = nullptr;
    QImageButton *m_rootButtons[Roots] = {};
    QImageButton *m_typeButtons[Types] = {};
    ChordDiagram *m_diagram = nullptr;
};
