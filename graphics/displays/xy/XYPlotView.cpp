#include "graphics/displays/xy/XYPlotView.h"

#include <QPainter>

#include "graphics/CGraphMarker.h"
#include "graphics/displays/xy/CXYPlot.h"
#include "graphics/view/MarkerDraw.h"

XYPlotView::XYPlotView(CXYPlot& plot, tvane::chart::Chart& chart, QWidget* parent)
    : MarkerChartView(plot, chart, parent), m_plot(plot) {
    connect(this, &ChartWidget::PlotAreaChanged, this, [this] { m_plot.PlotAreaMayHaveChanged(); });
    connect(this, &ChartWidget::Painted, this, [this](QPainter* painter) {
        m_plot.ChartRepainted();
        if (const CGraphMarker* marker = m_plot.GetMarker())
            DrawMarkerLines(*painter, *marker, GetChart(), QRectF(rect()));
    });
}
