#pragma once
#include <QPoint>

#include "graphics/displays/histogram/CHistogramFrame.h"

class QPainter;
class QWidget;

// The Qt windows of the histogram's plot and control panel, made inside the
// frame's window; the program's histograms make theirs with it.
class QtHistogramWindows : public IHistogramWindows {
public:
    std::unique_ptr<IChartWindow> CreatePlotWindow(IGraphFrameWindow& frame, CHistogramPlot& plot,
                                                   tvane::chart::Chart& chart,
                                                   const GRect& rect) override;
    std::unique_ptr<IHistogramPanelWindow> CreatePanelWindow(IGraphFrameWindow& frame,
                                                             CHistogramCtrlPanel& panel,
                                                             const GRect& rect) override;
    bool DrawChildren(IGraphDC& dc, CHistogramFrame& frame) override;
};

// The plot and the panel of a histogram drawn into any painter at their places
// in the frame's client area, shifted by origin.
void DrawHistogram(QPainter& painter, CHistogramFrame& frame, const QPoint& origin = {});

// The widget a child window of a histogram shows (tests reach it through it).
QWidget* HistogramChildWidget(const IHistogramChildWindow* window);
