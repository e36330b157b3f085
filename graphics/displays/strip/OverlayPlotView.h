#pragma once
#include "graphics/view/MarkerDraw.h"

class CXrtOverlayPlot;
namespace tvane::chart {
class Chart;
}
class QPainter;

// The strip chart plot's window: the chart, then the marker lines drawn over
// it after every repaint. A press on a marker line drags it (press, moves and
// release go to the plot as they come); other clicks go on to the frame, and
// a double click also picks the alarm point or event mark under the mouse.
class OverlayPlotView : public MarkerChartView {
    Q_OBJECT
public:
    // The plot's chart may not be its own yet while its window is made.
    OverlayPlotView(CXrtOverlayPlot& plot, tvane::chart::Chart& chart, QWidget* parent = nullptr);

    // The marker lines over a chart drawn at target (printing, pictures).
    static void DrawMarkers(QPainter& painter, const CXrtOverlayPlot& plot, const QRectF& target);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    CXrtOverlayPlot& m_plot;
};
