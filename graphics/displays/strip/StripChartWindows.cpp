#include "graphics/displays/strip/StripChartWindows.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include "graphics/DisplayFamily.h"
#include "graphics/IGraphDC.h"
#include "graphics/displays/gridbase/GraphGridDraw.h"
#include "graphics/displays/strip/LegendGridView.h"
#include "graphics/displays/strip/OverlayPanelView.h"
#include "graphics/displays/strip/OverlayPlotView.h"
#include "graphics/displays/strip/TextDisplayView.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/chartview/ChartRenderer.h"
#include "platform/grid/GridCore.h"
#include "platform/widgets/QtBarTracker.h"

namespace {

// A child window: the widget, deleted with the holder unless its parent took
// it down first.
class ChildWindow : public IStripChildWindow, public IChartWindow {
public:
    explicit ChildWindow(QWidget* widget) : m_widget(widget) { widget->show(); }
    ~ChildWindow() override { delete m_widget.data(); }
    void MoveWindow(const GRect& rect, bool repaint) override {
        if (!m_widget)
            return;
        m_widget->setGeometry(ToQRect(rect));
        if (auto* chart = qobject_cast<tvane::chart::ChartWidget*>(m_widget.data()))
            chart->TakeWindowSize();
        if (repaint)
            m_widget->update();
    }
    void Redraw() override {
        if (m_widget)
            m_widget->update();
    }
    void SetFocus() override {
        if (auto* legend = qobject_cast<LegendGridView*>(m_widget.data()))
            legend->TakeFocusFromTab(false);
        else if (m_widget)
            m_widget->setFocus(Qt::TabFocusReason);
    }
    bool HasFocus() const override {
        return m_widget &&
               (m_widget->hasFocus() || m_widget->isAncestorOf(QApplication::focusWidget()));
    }
    GRect GetRectInFrame() const override {
        if (!m_widget)
            return {};
        return ToGRect(m_widget->geometry());
    }
    QWidget* Widget() const { return m_widget; }

private:
    QPointer<QWidget> m_widget;
};

std::unique_ptr<ChildWindow> Place(QWidget* widget, const GRect& rect) {
    widget->setGeometry(ToQRect(rect));
    return std::make_unique<ChildWindow>(widget);
}

QtStripChartWindows g_windows;
const displays::Windows<IStripChartWindows>::Registration kStripChartWindows{g_windows};

// The legend's top edge in the frame's window: the sizing cursor over the
// three pixel rows above it, whichever child lies there, and a divider tracked
// across the client width that sets the legend's rows where it is let go.
class LegendEdgeFilter : public QObject {
public:
    LegendEdgeFilter(QWidget* frameWidget, CXrtOverlayFrame& frame)
        : QObject(frameWidget), m_widget(frameWidget), m_frame(frame),
          m_tracker(new tvane::QtBarTracker(frameWidget, [this](bool) { OnTrackEnd(); })) {
        frameWidget->setMouseTracking(true);
        frameWidget->installEventFilter(this);
        for (QWidget* child : frameWidget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            Watch(child);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_tracker->IsTracking())
            return false;
        switch (event->type()) {
        case QEvent::ChildAdded:
            if (watched == m_widget)
                if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
                    Watch(child);
            return false;
        case QEvent::MouseMove: {
            const int y = InFrame(watched, static_cast<QMouseEvent*>(event)).y();
            const bool edge = m_frame.IsOnLegendEdge(y);
            if (edge != m_sizing) {
                m_sizing = edge;
                if (edge)
                    m_widget->setCursor(Qt::SizeVerCursor);
                else
                    m_widget->unsetCursor();
            }
            return false;
        }
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton && m_sizing) {
                m_sizing = false;
                m_widget->unsetCursor();
                return false;
            }
            if (mouse->button() != Qt::LeftButton || !m_sizing)
                return false;
            m_frame.OnLButtonDown(); // the frame is selected as by any press
            StartTrack(InFrame(watched, mouse));
            return true;
        }
        default:
            return false;
        }
    }

private:
    // A line of no height across the client width at the pointer, kept
    // between the highest and the lowest place the legend's edge may go.
    void StartTrack(const QPoint& at) {
        int upper = 0;
        int lower = 0;
        if (!m_frame.GetLegendDragLimits(upper, lower))
            return;
        tvane::CMfxTracker& tracker = m_tracker->Tracker();
        tracker.SetMinSize(4, 4);
        tracker.SetHitMargin(1);
        tracker.SetRect(tvane::CMfxTracker::kHorizontal, {0, at.y(), m_widget->width(), at.y()});
        m_tracker->Start(at, QRect(0, upper, m_widget->width(), std::max(1, lower - upper)));
    }
    void Watch(QWidget* child) {
        if (child == m_widget)
            return;
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
    QPoint InFrame(QObject* watched, QMouseEvent* mouse) const {
        const QPoint p = mouse->position().toPoint();
        auto* widget = qobject_cast<QWidget*>(watched);
        return widget && widget != m_widget ? widget->mapTo(m_widget, p) : p;
    }
    // The line lands where the track left it, moved or not.
    void OnTrackEnd() {
        m_sizing = false;
        m_widget->unsetCursor();
        m_frame.DropLegendEdge(m_tracker->Tracker().GetRect().top);
    }

    QWidget* m_widget;
    CXrtOverlayFrame& m_frame;
    tvane::QtBarTracker* m_tracker;
    bool m_sizing = false;
};

} // namespace

std::unique_ptr<IChartWindow> QtStripChartWindows::CreatePlotWindow(IGraphFrameWindow& frame,
                                                                    CXrtOverlayPlot& plot,
                                                                    tvane::chart::Chart& chart,
                                                                    const GRect& rect) {
    return Place(new OverlayPlotView(plot, chart, FrameClientWidget(frame)), rect);
}

std::unique_ptr<IStripChildWindow> QtStripChartWindows::CreatePanelWindow(IGraphFrameWindow& frame,
                                                                          COverlayCtrlPanel& panel,
                                                                          const GRect& rect) {
    return Place(new OverlayPanelView(panel, FrameClientWidget(frame)), rect);
}

std::unique_ptr<IStripChildWindow> QtStripChartWindows::CreateLegendWindow(IGraphFrameWindow& frame,
                                                                           CLegendGrid& legend,
                                                                           const GRect& rect) {
    QWidget* parent = FrameClientWidget(frame);
    if (auto* strip = dynamic_cast<CXrtOverlayFrame*>(legend.GetParent()); strip && parent)
        new LegendEdgeFilter(parent, *strip);
    return Place(new LegendGridView(legend, parent), rect);
}

std::unique_ptr<IStripChildWindow> QtStripChartWindows::CreateTextWindow(IGraphFrameWindow& frame,
                                                                         CTextDisplay& text,
                                                                         const GRect& rect) {
    return Place(new TextDisplayView(text, FrameClientWidget(frame)), rect);
}

bool QtStripChartWindows::DrawChildren(IGraphDC& dc, CXrtOverlayFrame& frame) {
    auto* qtDc = dynamic_cast<QtGraphDC*>(&dc);
    if (!qtDc)
        return false;
    DrawStripChart(qtDc->Painter(), frame);
    return true;
}

QWidget* StripChildWidget(IStripChildWindow* window) {
    auto* child = dynamic_cast<ChildWindow*>(window);
    return child ? child->Widget() : nullptr;
}

void DrawStripChart(QPainter& painter, CXrtOverlayFrame& frame, const QPoint& origin) {
    auto at = [&](IStripChildWindow* w) {
        return w ? ToQRect(w->GetRectInFrame()).translated(origin) : QRect();
    };
    painter.save();
    if (CXrtOverlayPlot* plot = frame.GetPlot(); plot && plot->GetChart()) {
        const QRect r = frame.GetPlotRegion()
                            ? ToQRect(frame.RegionToRect(*frame.GetPlotRegion())).translated(origin)
                            : at(frame.GetPlotWindow());
        tvane::chart::ChartRenderer renderer;
        renderer.Draw(painter, *plot->GetChart(), QRectF(r), true);
        if (plot->IsMarkerDrawingOn())
            OverlayPlotView::DrawMarkers(painter, *plot, QRectF(r));
    }
    if (CTextDisplay* text = frame.GetTextDisplay(); text && frame.GetTextRegion())
        TextDisplayView::Draw(
            painter, *text, ToQRect(frame.RegionToRect(*frame.GetTextRegion())).translated(origin));
    if (CLegendGrid* legend = frame.GetLegend(); legend && legend->Core())
        DrawGridRows(painter, *legend->Core(), at(frame.GetLegendWindow()),
                     legend->Core()->GetFirstDataRow(), QFont());
    if (auto* panel = qobject_cast<OverlayPanelView*>(StripChildWidget(frame.GetPanelWindow())))
        panel->DrawTo(painter, at(frame.GetPanelWindow()));
    painter.restore();
}
