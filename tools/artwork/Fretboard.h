#pragma once

#include <QPointF>
#include <QRectF>
#include <QVector>

class QPainter;

// A rosewood fretboard with a bone nut, nickel frets, pearl inlays and six strings.
struct Fretboard
{
    QRectF board;    // the wood, right of the nut
    double nutX = 0; // centre of the nut
    double nutWidth = 5;
    QVector<double> wires;   // centres of the fret wires
    QVector<double> strings; // string centres, first (thinnest) string first
    double stringLeft = 0;   // where the strings start and end
    double stringRight = 0;
    QVector<QPointF> inlays; // centres of the pearl dots
    double inlayRadius = 6;

    void paint(QPainter &p) const;

private:
    void paintWood(QPainter &p) const;
    void paintWires(QPainter &p) const;
    void paintInlays(QPainter &p) const;
    void paintStrings(QPainter &p) const;
};
