#include "graphics/view/MarkerDraw.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>

#include "graphics/CGraphMarker.h"
#include "platform/chart/Chart.h"
#include "platform/chartview/ChartQt.h"

void DrawMarkerLines(QPainter& painter, const CGraphMarker& marker,
                     const tvane::chart::Chart& chart, const QRectF& target) {
    if (chart.WindowWidth() <= 0 || chart.WindowHeight() <= 0)
        return;
    const double sx = target.width() / chart.WindowWidth();
    const double sy = target.height() / chart.WindowHeight();
    painter.save();
    for (int i = 0; i < marker.Count(); ++i) {
        const CXrtMarker& line = marker.LineAt(i);
        if (!line.IsVisible())
            continue;
        QPen pen(tvane::chart::ToQColor(line.GetColour()));
        pen.setWidthF(std::max(1, line.GetPenWidth()));
        pen.setCosmetic(true);
        painter.setPen(pen);
        const auto& r = line.Line();
        if (line.IsVertical()) {
            const double x = target.left() + (r.left + 0.5) * sx;
            painter.drawLine(QPointF(x, target.top() + r.top * sy),
                             QPointF(x, target.top() + r.bottom * sy));
        } else {
            const double y = target.top() + (r.top + 0.5) * sy;
            painter.drawLine(QPointF(target.left() + r.left * sx, y),
                             QPointF(target.left() + r.right * sx, y));
        }
    }
    painter.restore();
}

MarkerChartView::MarkerChartView(std::unique_ptr<IMarkerMouse> mouse, tvane::chart::Chart& chart,
                                 QWidget* parent)
    : ChartWidget(chart, parent), m_mouse(std::move(mouse)) {
    setMouseTracking(true);
}

MarkerChartView::~MarkerChartView() = default;

void MarkerChartView::UpdateCursor(int x, int y) {
    switch (m_mouse->CursorAt(x, y)) {
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

void MarkerChartView::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_mouse->PressMarker(p.x(), p.y())) {
        m_dragging = true;
        update();
        return;
    }
    ChartWidget::mousePressEvent(event);
}

void MarkerChartView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (m_dragging) {
        m_mouse->DragMarker(p.x(), p.y());
        update();
        return;
    }
    UpdateCursor(p.x(), p.y());
}

void MarkerChartView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        m_mouse->ReleaseMarker(p.x(), p.y());
        update();
        return;
    }
    ChartWidget::mouseReleaseEvent(event);
}
