#pragma once

#include "sound/SoundInfo.h"

#include <QColor>
#include <QLabel>
#include <QPixmap>
#include <QString>

class ButtonIconTable;
class QEvent;
class QMouseEvent;

// One stored sound on the button panel: a 30 x 30 picture with its number drawn on it. It only
// draws itself and reports mouse events; the panel and the main window decide what they mean.
class QSoundButton : public QLabel
{
    Q_OBJECT

public:
    static constexpr int Size = 30;
    static constexpr int TextCount = 3;
    static constexpr int LabelText = 2; // m_texts index of the label drawn on the picture

    explicit QSoundButton(QWidget *parent = nullptr);

    void setIconTable(ButtonIconTable *table) { m_iconTable = table; }
    void setNumber(int number) { m_number = number; }
    int number() const { return m_number; }

    // Stores the picture index and label colour; nothing is redrawn.
    void setIcon(int index, const QColor &color);

    // Rebuilds both looks with the number (or the given label) and shows the normal look.
    void redraw();
    void redraw(const QString &label);

    void showSelected();
    void showNormal();

    const QPixmap &normalPixmap() const { return m_normalPixmap; }
    const QPixmap &selectedPixmap() const { return m_selectedPixmap; }

    // Carried by song scripts; read and written directly by the panel, window and script code.
    SoundInfo m_soundInfo;
    int m_number = 0;
    int m_iconIndex = 0;
    QColor m_labelColor;
    int m_scale = 100;
    double m_volPlay = 1.0;
    QString m_texts[TextCount];

signals:
    void mousePress(QMouseEvent *event, QWidget *sender);
    void mouseMove(QMouseEvent *event);
    void mouseRelease(QMouseEvent *event);
    void mouseLeave();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QPixmap renderLook(const QPixmap &picture, const QString &label);

    ButtonIconTable *m_iconTable = nullptr;
    QPixmap m_normalPixmap;
    QPixmap m_selectedPixmap;
};
