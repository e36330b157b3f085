#pragma once
#include <QPoint>

#include "graphics/displays/bar/CBarFrame.h"

class QPainter;
class QWidget;

// The Qt window of the bar meter's plot, made inside the frame's window; the
// program's bar meters make theirs with it.
class QtBarWindows : public IBarWindows {
public:
    std::unique_ptr<IChartWindow> CreatePlotWindow(IGraphFrameWindow& frame, CBarPlot& plot,
                                                   tvane::chart::Chart& chart,
                                                   const GRect& rect) override;
    bool DrawPlot(IGraphDC& dc, CBarFrame& frame) override;
};

// The plot and its limit lines drawn into any painter at the plot region's
// place in the frame's client area, shifted by origin.
void DrawBarMeter(QPainter& painter, CBarFrame& frame, const QPoint& origin = {});

// The plot's widget (tests reach it through it).
QWidget* BarPlotWidget(const IBarPlotWindow* window);
