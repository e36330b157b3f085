#pragma once
#include "graphics/displays/xy/CXYFrame.h"

class QWidget;

// The XY display's windows in the program: the plot and the panel as widgets
// in the frame window's client area, and the plot drawn with its marker into
// a painter's surface. Installed, with the display's pages, when the program
// links this library.
class QtXYWindows final : public IXYWindows {
public:
    std::unique_ptr<IChartWindow> CreatePlotWindow(IGraphFrameWindow& frame, CXYPlot& plot,
                                                   tvane::chart::Chart& chart,
                                                   const GRect& rect) override;
    std::unique_ptr<IXYChildWindow> CreatePanelWindow(IGraphFrameWindow& frame, CXYCtrlPanel& panel,
                                                      const GRect& rect) override;
    bool DrawPlot(IGraphDC& dc, CXYPlot& plot, const GRect& rect) override;
};

// The widget of a child window of an XY display (tests look inside).
QWidget* XYChildWidget(IXYChildWindow* window);
