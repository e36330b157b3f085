#pragma once

class CGraphMarker;
class QPainter;
class QRectF;
namespace tvane::chart {
class Chart;
}

// The visible lines of a chart window's marker over its chart drawn at target
// (the window, a printed page, a picture): each line in its colour and pen
// width, scaled from the chart's window size to target.
void DrawMarkerLines(QPainter& painter, const CGraphMarker& marker,
                     const tvane::chart::Chart& chart, const QRectF& target);
