#include "graphics/displays/xy/XYPlotView.h"

#include <QMouseEvent>
#include <QPainter>

#include "graphics/CGraphMarker.h"
#include "graphics/displays/xy/CXYPlot.h"
#include "graphics/view/MarkerDraw.h"

XYPlotView::XYPlotView(CXYPlot& plot, tvane::chart::Chart& chart, QWidget* parent)
    : ChartWidget(chart, parent), m_plot(plot) {
    setMouseTracking(true);
    connect(this, &ChartWidget::PlotAreaChanged, this, [this] { m_plot.PlotAreaMayHaveChanged(); });
    connect(this, &ChartWidget::Painted, this, [this](QPainter* painter) {
        m_plot.ChartRepainted();
        if (const CGraphMarker* marker = m_plot.GetMarker())
            DrawMarkerLines(*painter, *marker, GetChart(), QRectF(rect()));
    });
}

void XYPlotView::UpdateCursor(int x, int y) {
    switch (m_plot.CursorAt(x, y)) {
    case kCursorNone:
        unsetCursor();
        break;
    case kCursorSizeNS:
        setCursor(Qt::SizeVerCursor);
        break;
    case kCursorSizeAll:
        setCursor(Qt::SizeAllCursor);
        break;
    default:
        setCursor(Qt::SizeHorCursor);
        break;
    }
}

void XYPlotView::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_plot.PressMarker(p.x(), p.y())) {
        m_dragging = true;
        update();
        return;
    }
    ChartWidget::mousePressEvent(event);
}

void XYPlotView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (m_dragging) {
        m_plot.DragMarker(p.x(), p.y());
        update();
        return;
    }
    UpdateCursor(p.x(), p.y());
}

void XYPlotView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        m_plot.ReleaseMarker(p.x(), p.y());
        update();
        return;
    }
    ChartWidget::mouseReleaseEvent(event);
}
