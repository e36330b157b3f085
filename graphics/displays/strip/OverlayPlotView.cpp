#include "graphics/displays/strip/OverlayPlotView.h"

#include <QMouseEvent>
#include <QPainter>

#include "graphics/CGraphMarker.h"
#include "graphics/displays/strip/CXrtOverlayPlot.h"
#include "platform/chart/Chart.h"
#include "platform/chartview/ChartQt.h"

OverlayPlotView::OverlayPlotView(CXrtOverlayPlot& plot, tvane::chart::Chart& chart, QWidget* parent)
    : ChartWidget(chart, parent), m_plot(plot) {
    setMouseTracking(true);
    connect(this, &ChartWidget::PlotAreaChanged, this, [this] { m_plot.PlotAreaMayHaveChanged(); });
    connect(this, &ChartWidget::Painted, this, [this](QPainter* painter) {
        m_plot.ChartRepainted();
        if (m_plot.IsMarkerDrawingOn())
            DrawMarkers(*painter, m_plot, QRectF(rect()));
    });
}

void OverlayPlotView::DrawMarkers(QPainter& painter, const CXrtOverlayPlot& plot,
                                  const QRectF& target) {
    const CGraphMarker* marker = plot.GetMarker();
    const tvane::chart::Chart* chart = plot.GetChart();
    if (!marker || !chart || chart->WindowWidth() <= 0 || chart->WindowHeight() <= 0)
        return;
    const double sx = target.width() / chart->WindowWidth();
    const double sy = target.height() / chart->WindowHeight();
    painter.save();
    for (int i = 0; i < marker->Count(); ++i) {
        const CXrtMarker& line = marker->LineAt(i);
        if (!line.IsVisible())
            continue;
        QPen pen(tvane::chart::ToQColor(line.GetColour()));
        pen.setWidthF(std::max(1, line.GetPenWidth()));
        pen.setCosmetic(true);
        painter.setPen(pen);
        const auto& r = line.Line();
        const QPointF a(target.left() + (r.left + 0.5) * sx, target.top() + r.top * sy);
        if (line.IsVertical())
            painter.drawLine(a, QPointF(a.x(), target.top() + r.bottom * sy));
        else
            painter.drawLine(
                QPointF(target.left() + r.left * sx, target.top() + (r.top + 0.5) * sy),
                QPointF(target.left() + r.right * sx, target.top() + (r.top + 0.5) * sy));
    }
    painter.restore();
}

void OverlayPlotView::UpdateCursor(int x, int y) {
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
        // The sizing cursor and the lines' own cursors both size sideways.
        setCursor(Qt::SizeHorCursor);
        break;
    }
}

void OverlayPlotView::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_plot.PressMarker(p.x(), p.y())) {
        m_dragging = true;
        update();
        return;
    }
    ChartWidget::mousePressEvent(event);
}

void OverlayPlotView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (m_dragging) {
        m_plot.DragMarker(p.x(), p.y());
        update();
        return;
    }
    UpdateCursor(p.x(), p.y());
}

void OverlayPlotView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        m_plot.ReleaseMarker(p.x(), p.y());
        update();
        return;
    }
    ChartWidget::mouseReleaseEvent(event);
}

void OverlayPlotView::mouseDoubleClickEvent(QMouseEvent* event) {
    ChartWidget::mouseDoubleClickEvent(event);
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        m_plot.PickMark(p.x(), p.y());
}
