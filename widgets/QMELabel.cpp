#include "widgets/QMELabel.h"

#include "widgets/Picture.h"

#include <QMouseEvent>
#include <algorithm>
#include <cstdlib>

namespace {
const char *const HoverImage = ":/img/sel_pos.png";
const char *const StringImage = ":/img/active_fret.png";
// A grid point's hit square is centred this far right of and below the grid point, and reaches
// this far from its centre in each direction.
constexpr int HitOffset = 10;
constexpr int HitReach = 15;
} // namespace

QMELabel::QMELabel(QWidget *parent) : QLabel(parent)
{
    setMouseTracking(true);
    m_positions.fill(-1);

    m_hoverMarker = makeMarker(HoverImage);
    m_hoverMarker->move(HitOffset, HitOffset);
    m_hoverMarker->hide();

    for (int s = 0; s < StringCount; ++s) {
        m_stringMarkers[s] = makeMarker(StringImage);
        m_stringMarkers[s]->move(gridPoint(s, 0));
    }
}

QPoint QMELabel::gridPoint(int s, int p)
{
    const int y = 10 + 27 * s;
    if (p == 0)
        return {13, y};
    if (p == 1)
        return {36, y};
    // Fret 1's cell runs from the nut to the first fret wire, shorter than the others: its
    // marker sits in the middle of it, not on the even spacing of the higher frets.
    if (p == 2)
        return {65, y};
    return {51 * p - 44, y};
}

void QMELabel::setMarkerPos(int s, int p)
{
    if (s < 0 || s >= StringCount)
        return;
    p = std::clamp(p, 0, PositionCount - 1);
    m_stringMarkers[s]->setGeometry(QRect(gridPoint(s, p), QSize(MarkerSize, MarkerSize)));
    m_positions[s] = p;
}

int QMELabel::markerPos(int s) const
{
    if (s < 0 || s >= StringCount)
        return -1;
    return m_positions[s];
}

void QMELabel::hoverPos(int &s, int &p) const
{
    s = m_hoverString;
    p = m_hoverPosition;
}

QLabel *QMELabel::stringMarker(int s) const
{
    if (s < 0 || s >= StringCount)
        return nullptr;
    return m_stringMarkers[s];
}

QLabel *QMELabel::makeMarker(const QString &image)
{
    auto *marker = new QLabel(this);
    marker->resize(MarkerSize, MarkerSize);
    // The 20 x 20 picture sits at the top-left so that its centre is the hit square's centre.
    marker->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    marker->setPixmap(Picture::load(image));
    marker->setAttribute(Qt::WA_TransparentForMouseEvents);
    return marker;
}

void QMELabel::hitTest(const QPoint &pos)
{
    // No early exit: where squares overlap, the later string and the later position win.
    bool found = false;
    for (int s = 0; s < StringCount; ++s) {
        for (int p = 0; p < PositionCount; ++p) {
            const QPoint grid = gridPoint(s, p);
            if (std::abs(pos.x() - (grid.x() + HitOffset)) > HitReach ||
                std::abs(pos.y() - (grid.y() + HitOffset)) > HitReach)
                continue;
            m_hoverMarker->setGeometry(QRect(grid, QSize(MarkerSize, MarkerSize)));
            m_hoverString = s;
            m_hoverPosition = p;
            found = true;
        }
    }
    m_hoverMarker->setVisible(found);
}

void QMELabel::mouseMoveEvent(QMouseEvent *event)
{
    hitTest(event->position().toPoint());
    emit mouseMove(event);
}

void QMELabel::mousePressEvent(QMouseEvent *event)
{
    // Acts on the last grid point hovered, even when the pointer has since left every square.
    if (m_hoverString >= 0) {
        setMarkerPos(m_hoverString, m_hoverPosition);
        m_stringMarkers[m_hoverString]->show();
    }
    emit mousePress(event);
}

void QMELabel::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseRelease(event);
}

void QMELabel::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    emit mouseLeave();
}
