#pragma once

#include <QLabel>

class QLineEdit;
class QMouseEvent;
class QPaintEvent;
class QWheelEvent;

// A picture knob turned by dragging; maps the dial angle to a value from 0 to its maximum.
class QRotarySwitch : public QLabel
{
    Q_OBJECT

public:
    static constexpr int Size = 63;

    explicit QRotarySwitch(QWidget *parent = nullptr);

    // Does not move the dial.
    void setMaximum(int maximum);
    // Not owned; null unlinks.
    void setLinkedEdit(QLineEdit *edit);
    // Values outside 0..maximum are ignored.
    void setValue(int v, bool updateEdit);

    double value() const { return m_value; }
    double angle() const { return m_angle; }
    double maximum() const { return m_highest; }
    QLineEdit *linkedEdit() const { return m_linkedEdit; }
    bool isDragging() const { return m_dragging; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    // One step per notch of the wheel; see wheelStep().
    void wheelEvent(QWheelEvent *event) override;

private:
    // A hundredth of the range, at least 1.
    int wheelStep() const;

    QString valueText() const;

    double m_startAngle = 230.0;
    double m_endAngle = -50.0;
    double m_lowest = 0.0;
    double m_highest = 100.0;
    double m_centreX = 29.0;
    double m_centreY = 29.0;
    bool m_dragging = false;
    double m_angle = 230.0;
    double m_value = 0.0;
    QLineEdit *m_linkedEdit = nullptr;
    // What a fine-grained wheel turned short of a whole notch.
    int m_wheelRest = 0;
};
