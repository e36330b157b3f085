#include "graphics/displays/bar/BarWindows.h"

#include <QPainter>

#include "graphics/DisplayFamily.h"
#include "graphics/IGraphDC.h"
#include "graphics/displays/bar/BarPlotView.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/DisplayChildWidget.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/chartview/ChartRenderer.h"

namespace {

class PlotWindow final : public IBarPlotWindow, public IChartWindow {
public:
    PlotWindow(QWidget* widget, const GRect& rect) : m_child(widget, rect) {}
    void MoveWindow(const GRect& rect, bool repaint) override { m_child.Move(rect, repaint); }
    void Redraw() override { m_child.Update(); }
    QWidget* Widget() const { return m_child.Widget(); }

private:
    DisplayChildWidget m_child;
};

QtBarWindows g_windows;
const displays::Windows<IBarWindows>::Registration kBarWindows{g_windows};

} // namespace

std::unique_ptr<IChartWindow> QtBarWindows::CreatePlotWindow(IGraphFrameWindow& frame,
                                                             CBarPlot& plot,
                                                             tvane::chart::Chart& chart,
                                                             const GRect& rect) {
    return std::make_unique<PlotWindow>(new BarPlotView(plot, chart, FrameClientWidget(frame)),
                                        rect);
}

bool QtBarWindows::DrawPlot(IGraphDC& dc, CBarFrame& frame) {
    auto* qtDc = dynamic_cast<QtGraphDC*>(&dc);
    if (!qtDc)
        return false;
    DrawBarMeter(qtDc->Painter(), frame);
    return true;
}

QWidget* BarPlotWidget(const IBarPlotWindow* window) {
    const auto* plot = dynamic_cast<const PlotWindow*>(window);
    return plot ? plot->Widget() : nullptr;
}

void DrawBarMeter(QPainter& painter, CBarFrame& frame, const QPoint& origin) {
    CBarPlot* plot = frame.GetPlot();
    if (!plot || !plot->GetChart() || !frame.GetPlotRegion())
        return;
    const QRectF r(ToQRect(frame.RegionToRect(*frame.GetPlotRegion())).translated(origin));
    painter.save();
    tvane::chart::ChartRenderer renderer;
    renderer.Draw(painter, *plot->GetChart(), r, true);
    BarPlotView::DrawLimitLines(painter, *plot, r);
    painter.restore();
}
