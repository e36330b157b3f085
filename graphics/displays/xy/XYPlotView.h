#pragma once
#include "graphics/view/MarkerDraw.h"

class CXYPlot;

// The XY plot's window: the chart, then the marker lines over it after every
// repaint. A press on a marker line drags it (press, moves and release go to
// the plot as they come); every other click goes on to the frame.
class XYPlotView : public MarkerChartView {
    Q_OBJECT
public:
    // The plot's chart may not be its own yet while its window is made.
    XYPlotView(CXYPlot& plot, tvane::chart::Chart& chart, QWidget* parent = nullptr);

private:
    CXYPlot& m_plot;
};
