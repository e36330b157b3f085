#include "graphics/displays/histogram/HistogramWindows.h"

#include <QPainter>

#include "graphics/DisplayFamily.h"
#include "graphics/IGraphDC.h"
#include "graphics/displays/histogram/HistogramPanelView.h"
#include "graphics/displays/histogram/HistogramPlotView.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/DisplayChildWidget.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/chartview/ChartRenderer.h"

namespace {

class PlotWindow final : public IHistogramChildWindow, public IChartWindow {
public:
    PlotWindow(QWidget* widget, const GRect& rect) : m_child(widget, rect) {}
    void MoveWindow(const GRect& rect, bool repaint) override { m_child.Move(rect, repaint); }
    void Redraw() override { m_child.Update(); }
    GRect GetRectInFrame() const override { return m_child.RectInFrame(); }
    QWidget* Widget() const { return m_child.Widget(); }

private:
    DisplayChildWidget m_child;
};

class PanelWindow final : public IHistogramPanelWindow {
public:
    PanelWindow(HistogramPanelView* view, const GRect& rect) : m_view(view), m_child(view, rect) {}
    void MoveWindow(const GRect& rect, bool repaint) override { m_child.Move(rect, repaint); }
    void Redraw() override { m_child.Update(); }
    GRect GetRectInFrame() const override { return m_child.RectInFrame(); }
    int Height() const override { return m_child.Widget() ? m_view->BarHeight() : 0; }
    QWidget* Widget() const { return m_child.Widget(); }

private:
    HistogramPanelView* m_view;
    DisplayChildWidget m_child;
};

QtHistogramWindows g_windows;
const displays::Windows<IHistogramWindows>::Registration kHistogramWindows{g_windows};

} // namespace

std::unique_ptr<IChartWindow> QtHistogramWindows::CreatePlotWindow(IGraphFrameWindow& frame,
                                                                   CHistogramPlot& plot,
                                                                   tvane::chart::Chart& chart,
                                                                   const GRect& rect) {
    return std::make_unique<PlotWindow>(
        new HistogramPlotView(plot, chart, FrameClientWidget(frame)), rect);
}

std::unique_ptr<IHistogramPanelWindow>
QtHistogramWindows::CreatePanelWindow(IGraphFrameWindow& frame, CHistogramCtrlPanel& panel,
                                      const GRect& rect) {
    QWidget* parent = FrameClientWidget(frame);
    if (!parent)
        return nullptr;
    auto* view = new HistogramPanelView(panel, parent);
    view->setObjectName("HistCtrlPanel");
    return std::make_unique<PanelWindow>(view, rect);
}

bool QtHistogramWindows::DrawChildren(IGraphDC& dc, CHistogramFrame& frame) {
    auto* qtDc = dynamic_cast<QtGraphDC*>(&dc);
    if (!qtDc)
        return false;
    DrawHistogram(qtDc->Painter(), frame);
    return true;
}

QWidget* HistogramChildWidget(const IHistogramChildWindow* window) {
    if (const auto* plot = dynamic_cast<const PlotWindow*>(window))
        return plot->Widget();
    if (const auto* panel = dynamic_cast<const PanelWindow*>(window))
        return panel->Widget();
    return nullptr;
}

void DrawHistogram(QPainter& painter, CHistogramFrame& frame, const QPoint& origin) {
    painter.save();
    if (CHistogramPlot* plot = frame.GetPlot(); plot && plot->GetChart() && frame.GetPlotRegion()) {
        const QRect r = ToQRect(frame.RegionToRect(*frame.GetPlotRegion())).translated(origin);
        tvane::chart::ChartRenderer renderer;
        renderer.Draw(painter, *plot->GetChart(), QRectF(r), true);
    }
    if (auto* panel =
            qobject_cast<HistogramPanelView*>(HistogramChildWidget(frame.GetPanelWindow())))
        panel->DrawTo(painter,
                      ToQRect(frame.GetPanelWindow()->GetRectInFrame()).translated(origin));
    painter.restore();
}
