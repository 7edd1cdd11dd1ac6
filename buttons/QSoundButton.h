#pragma once

#include "widgets/QMouseLabel.h"

#include <QPixmap>
#include <QString>

class ButtonIconTable;

// One sound button on the panel: a 30 x 30 picture with its label drawn on it, in a normal
// and a selected look. It only draws itself and reports the mouse; the song model holds what
// it stands for, and the panel decides what a press means.
class QSoundButton : public QMouseLabel
{
    Q_OBJECT

public:
    static constexpr int Size = 30;

    QSoundButton(int number, const ButtonIconTable *iconTable, QWidget *parent = nullptr);

    int number() const { return m_number; }
    int iconIndex() const { return m_iconIndex; }
    QString label() const { return m_label; }

    // Rebuilds both looks and shows the normal one, also on a selected button.
    void redraw(int iconIndex, const QString &label);
    void showSelected();
    void showNormal();

    const QPixmap &normalPixmap() const { return m_normalPixmap; }
    const QPixmap &selectedPixmap() const { return m_selectedPixmap; }

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    QPixmap renderLook(const QPixmap &picture) const;

    int m_number;
    const ButtonIconTable *m_iconTable;
    int m_iconIndex = 0;
    QString m_label;
    QPixmap m_normalPixmap;
    QPixmap m_selectedPixmap;
};
