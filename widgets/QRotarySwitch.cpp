#include "widgets/QRotarySwitch.h"

#include "widgets/Log.h"
#include "widgets/Picture.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QtMath>
#include <algorithm>

namespace {
const char *const DialImage = ":/img/bt_rot.png";
const char *const DotImage = ":/img/bt_rot_dot.png";
constexpr double DotRadius = 16.0;
constexpr double DotLift = 2.0;
// Within this distance of the highest value a dragged knob snaps to it.
constexpr double SnapDistance = 0.2;
constexpr int NotchDelta = 120;
constexpr int StepsPerRange = 100;
} // namespace

QRotarySwitch::QRotarySwitch(QWidget *parent) : QLabel(parent)
{
    setFixedSize(Size, Size);
}

void QRotarySwitch::setMaximum(int maximum)
{
    m_highest = maximum;
}

void QRotarySwitch::setLinkedEdit(QLineEdit *edit)
{
    m_linkedEdit = edit;
}

void QRotarySwitch::setValue(int v, bool updateEdit)
{
    if (v < m_lowest || v > m_highest)
        return;
    m_value = v;
    m_angle = (m_endAngle - m_startAngle) / (m_highest - m_lowest) * (v - m_lowest) + m_startAngle;
    repaint();
    if (m_linkedEdit && updateEdit) {
        qCDebug(lcWidgets) << "Rotary:setValue";
        m_linkedEdit->setText(valueText());
    }
}

QString QRotarySwitch::valueText() const
{
    const double shown = m_highest - m_value < SnapDistance ? m_highest : m_value;
    return QString::number(static_cast<int>(shown));
}

void QRotarySwitch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, Picture::load(DialImage));
    const double r = qDegreesToRadians(m_angle);
    const int x = static_cast<int>(m_centreX + DotRadius * std::cos(r));
    const int y = static_cast<int>(m_centreY - DotLift - DotRadius * std::sin(r));
    painter.drawPixmap(x, y, Picture::load(DotImage));
}

void QRotarySwitch::mousePressEvent(QMouseEvent *)
{
    m_dragging = true;
}

void QRotarySwitch::mouseReleaseEvent(QMouseEvent *)
{
    m_dragging = false;
}

void QRotarySwitch::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const QPointF pos = event->position();
    const double dx = pos.x() - m_centreX;
    const double dy = -(pos.y() - m_centreY);
    double a = qRadiansToDegrees(std::atan2(dy, dx));
    // The gap at the bottom of the dial, between the end and the start.
    if (m_startAngle - 360.0 < a && a < m_endAngle)
        return;
    m_angle = a;
    repaint();
    // Below the dead zone the scale continues past 180 degrees up to the start angle.
    if (a <= -90.0)
        a += 360.0;
    m_value = (m_highest - m_lowest) / (m_endAngle - m_startAngle) * (a - m_startAngle);
    if (m_highest - m_value < SnapDistance)
        m_value = m_highest;
    if (m_linkedEdit)
        m_linkedEdit->setText(QString::number(static_cast<int>(m_value)));
}

int QRotarySwitch::wheelStep() const
{
    return std::max(1, qRound((m_highest - m_lowest) / StepsPerRange));
}

void QRotarySwitch::wheelEvent(QWheelEvent *event)
{
    event->accept();
    // Up turns the knob up, also where the desktop inverts the wheel for scrolling.
    m_wheelRest += event->inverted() ? -event->angleDelta().y() : event->angleDelta().y();
    const int notches = m_wheelRest / NotchDelta;
    m_wheelRest -= notches * NotchDelta;
    if (notches == 0)
        return;
    const double value = qRound(m_value) + notches * wheelStep();
    setValue(static_cast<int>(std::clamp(value, m_lowest, m_highest)), true);
}
