#include "graphics/displays/xy/XYWindows.h"

#include <QPainter>
#include <QPointer>
#include <QWidget>

#include "graphics/DisplayFamily.h"
#include "graphics/displays/xy/XYPanelView.h"
#include "graphics/displays/xy/XYPlotView.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/MarkerDraw.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/chart/Chart.h"
#include "platform/chartview/ChartRenderer.h"
#include "platform/chartview/ChartWidget.h"

namespace {

QRect ToQ(const GRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

// A child window: the widget, deleted with the holder unless its parent took
// it down first.
class XYChildWindow : public IXYChildWindow, public IChartWindow {
public:
    XYChildWindow(QWidget* widget, const GRect& rect) : m_widget(widget) {
        Place(rect);
        widget->show();
    }
    ~XYChildWindow() override { delete m_widget.data(); }
    void MoveWindow(const GRect& rect, bool repaint) override {
        if (!m_widget)
            return;
        Place(rect);
        if (repaint)
            m_widget->update();
    }
    void Redraw() override {
        if (m_widget)
            m_widget->update();
    }
    GRect GetRectInFrame() const override {
        if (!m_widget)
            return {};
        const QRect g = m_widget->geometry();
        return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    }
    int PreferredHeight() const override { return m_widget ? m_widget->minimumHeight() : 0; }
    QWidget* Widget() const { return m_widget; }

private:
    // A hidden widget hears of its new size only when it is shown; the chart
    // takes it at once, so that its layout (and what it stores) is the
    // window's also on a page not shown yet.
    void Place(const GRect& rect) {
        m_widget->setGeometry(ToQ(rect));
        if (auto* chart = qobject_cast<tvane::chart::ChartWidget*>(m_widget.data()))
            chart->TakeWindowSize();
    }

    QPointer<QWidget> m_widget;
};

QtXYWindows g_windows;
const displays::Windows<IXYWindows>::Registration kXYWindows{g_windows};

} // namespace

std::unique_ptr<IChartWindow> QtXYWindows::CreatePlotWindow(IGraphFrameWindow& frame, CXYPlot& plot,
                                                            tvane::chart::Chart& chart,
                                                            const GRect& rect) {
    return std::make_unique<XYChildWindow>(new XYPlotView(plot, chart, FrameClientWidget(frame)),
                                           rect);
}

std::unique_ptr<IXYChildWindow>
QtXYWindows::CreatePanelWindow(IGraphFrameWindow& frame, CXYCtrlPanel& panel, const GRect& rect) {
    return std::make_unique<XYChildWindow>(new XYPanelView(panel, FrameClientWidget(frame)), rect);
}

bool QtXYWindows::DrawPlot(IGraphDC& dc, CXYPlot& plot, const GRect& rect) {
    auto* qtDc = dynamic_cast<QtGraphDC*>(&dc);
    const tvane::chart::Chart* chart = plot.GetChart();
    if (!qtDc || !chart)
        return false;
    QPainter& painter = qtDc->Painter();
    const QRectF target(ToQ(rect));
    tvane::chart::ChartRenderer renderer;
    renderer.Draw(painter, *chart, target, true);
    if (const CGraphMarker* marker = plot.GetMarker())
        DrawMarkerLines(painter, *marker, *chart, target);
    return true;
}

QWidget* XYChildWidget(IXYChildWindow* window) {
    auto* child = dynamic_cast<XYChildWindow*>(window);
    return child ? child->Widget() : nullptr;
}
