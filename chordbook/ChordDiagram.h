#pragma once

#include <QString>
#include <QWidget>

class QPainter;

// The chosen chord as a chord chart: its name, the six strings upright with the lowest on the
// left, a dot where a finger presses, "o" over an open and "x" over a muted string, the nut or
// the number of the first fret shown, and the six fret values underneath. It paints at the
// screen's resolution, so it stays sharp at any scale.
class ChordDiagram : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Strings = 6;
    // Fret rows shown; every chord of the book spans fewer.
    static constexpr int Rows = 5;

    explicit ChordDiagram(QWidget *parent = nullptr);

    // Six fret values, first (highest) string first; -1 is muted, 0 open.
    void setChord(const QString &name, const int *frets);
    QString name() const { return m_name; }

    // The fret of the first row: 1 (under the nut) when the chord fits there, else its lowest
    // pressed fret.
    int baseFret() const;
    // Where the dot of string s (0 = first) at a pressed fret lies, or for fret 0 and -1 its
    // open or muted mark above the first row.
    QPointF markCentre(int string, int fret) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double stringX(int string) const;
    double rowTop(int row) const;
    void paintName(QPainter &painter) const;
    void paintGrid(QPainter &painter) const;
    void paintBaseFret(QPainter &painter) const;
    void paintMarks(QPainter &painter) const;
    void paintFretValues(QPainter &painter) const;

    QString m_name;
    int m_frets[Strings] = {};
};
