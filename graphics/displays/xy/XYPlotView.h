#pragma once
#include "platform/chartview/ChartWidget.h"

class CXYPlot;

// The XY plot's window: the chart, then the marker lines over it after every
// repaint. A press on a marker line drags it (press, moves and release go to
// the plot as they come); every other click goes on to the frame.
class XYPlotView : public tvane::chart::ChartWidget {
    Q_OBJECT
public:
    // The plot's chart may not be its own yet while its window is made.
    XYPlotView(CXYPlot& plot, tvane::chart::Chart& chart, QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void UpdateCursor(int x, int y);

    CXYPlot& m_plot;
    bool m_dragging = false;
};
