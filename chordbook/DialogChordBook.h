#pragma once

#include "widgets/WindowDrag.h"

#include <QDialog>

class QImageButton;
class QMouseEvent;

// The chord dictionary: 12 roots x 14 types of six fret values. "set" and "play" hand the chosen
// chord on (into the current stroke; sounded once); the dialog is dragged by its background.
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
};
