#pragma once
#include <QPolygonF>
#include <QRectF>

#include "platform/chart/SeriesDecimator.h"

class QPainter;

namespace tvane::chart {

class Chart;
struct ChartLayout;

// Draws a chart into any painter (window, picture, printer, PDF) at a rectangle:
// background, grid, bars, lines broken at holes, point markers, axes with their
// ticks and labels, and the axis titles. The chart is laid out at its window's
// size and scaled into the rectangle, so a printout shows what the screen shows.
// Lines draw at most one minimum and maximum per pixel column and read the
// points where they lie.
class ChartRenderer {
public:
    // printing: also outline the rectangle in the background colour, as a
    // printed chart has no window frame around it.
    void Draw(QPainter& painter, const Chart& chart, const QRectF& target, bool printing = false);

private:
    void DrawGrid(QPainter& painter, const Chart& chart, const ChartLayout& layout);
    void DrawSet(QPainter& painter, const Chart& chart, const ChartLayout& layout, int set);
    void DrawAxes(QPainter& painter, const Chart& chart, const ChartLayout& layout);

    SeriesDecimator m_decimator;
    QPolygonF m_polyline;
};

} // namespace tvane::chart
