#pragma once

#include "widgets/QMouseLabel.h"

#include <QPoint>
#include <array>

// The guitar neck: a 6 x 17 grid of strings and positions laid over the background picture.
// Position 0 is the muted string, 1 the open string, p >= 2 the fret p - 1.
class QMELabel : public QMouseLabel
{
    Q_OBJECT

public:
    static constexpr int StringCount = 6;
    static constexpr int PositionCount = 17;
    static constexpr int MarkerSize = 30;

    explicit QMELabel(QWidget *parent = nullptr);

    // Top-left corner of the marker area of grid point (s, p).
    static QPoint gridPoint(int s, int p);

    // Out-of-range strings are ignored; positions are clamped onto the neck.
    void setMarkerPos(int s, int p);
    // The stored position of string s; -1 if never set or s is no string.
    int markerPos(int s) const;
    // The grid point of the last move that hit one; (-1, -1) before the first hit.
    void hoverPos(int &s, int &p) const;

    QLabel *hoverMarker() const { return m_hoverMarker; }
    QLabel *stringMarker(int s) const;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QLabel *makeMarker(const QString &image);
    void hitTest(const QPoint &pos);

    QLabel *m_hoverMarker;
    std::array<QLabel *, StringCount> m_stringMarkers{};
    std::array<int, StringCount> m_positions{};
    int m_hoverString = -1;
    int m_hoverPosition = -1;
};
