#include "graphics/displays/strip/OverlayPlotView.h"

#include <QMouseEvent>
#include <QPainter>

#include "graphics/CGraphMarker.h"
#include "graphics/displays/strip/CXrtOverlayPlot.h"
#include "graphics/view/MarkerDraw.h"
#include "platform/chart/Chart.h"

OverlayPlotView::OverlayPlotView(CXrtOverlayPlot& plot, tvane::chart::Chart& chart, QWidget* parent)
    : MarkerChartView(plot, chart, parent), m_plot(plot) {
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
    if (marker && chart)
        DrawMarkerLines(painter, *marker, *chart, target);
}

void OverlayPlotView::mouseDoubleClickEvent(QMouseEvent* event) {
    ChartWidget::mouseDoubleClickEvent(event);
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        m_plot.PickMark(p.x(), p.y());
}
