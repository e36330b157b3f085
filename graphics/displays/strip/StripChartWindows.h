#pragma once
#include <QRect>

#include "graphics/displays/strip/CXrtOverlayFrame.h"

class QPainter;
class QWidget;

// The Qt windows of the strip chart's children, made inside the frame's
// window (a QWidget); the program's strip charts make theirs with it.
class QtStripChartWindows : public IStripChartWindows {
public:
    std::unique_ptr<IChartWindow> CreatePlotWindow(IGraphFrameWindow& frame, CXrtOverlayPlot& plot,
                                                   tvane::chart::Chart& chart,
                                                   const GRect& rect) override;
    std::unique_ptr<IStripChildWindow> CreatePanelWindow(IGraphFrameWindow& frame,
                                                         COverlayCtrlPanel& panel,
                                                         const GRect& rect) override;
    std::unique_ptr<IStripChildWindow>
    CreateLegendWindow(IGraphFrameWindow& frame, CLegendGrid& legend, const GRect& rect) override;
    std::unique_ptr<IStripChildWindow>
    CreateTextWindow(IGraphFrameWindow& frame, CTextDisplay& text, const GRect& rect) override;
    bool DrawChildren(IGraphDC& dc, CXrtOverlayFrame& frame) override;
};

// The plot, text display, legend and panel of a strip chart drawn into any
// painter at their places in the frame's client area, shifted by origin
// (printing, pictures and the clipboard's picture).
void DrawStripChart(QPainter& painter, CXrtOverlayFrame& frame, const QPoint& origin = {});

// The QWidget a child window shows (tests reach the windows through it).
QWidget* StripChildWidget(IStripChildWindow* window);
