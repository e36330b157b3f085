#include "graphics/displays/bar/BarPlotView.h"

#include <QPainter>

#include "graphics/displays/bar/CBarPlot.h"
#include "platform/chart/Chart.h"
#include "platform/chartview/ChartQt.h"

BarPlotView::BarPlotView(CBarPlot& plot, tvane::chart::Chart& chart, QWidget* parent)
    : ChartWidget(chart, parent), m_plot(plot) {
    connect(this, &ChartWidget::PlotAreaChanged, this, [this] { m_plot.PlotAreaMayHaveChanged(); });
    connect(this, &ChartWidget::Painted, this, [this](QPainter* painter) {
        m_plot.ChartRepainted();
        if (m_plot.IsDrawingEnabled())
            DrawLimitLines(*painter, m_plot, QRectF(rect()));
    });
}

void BarPlotView::DrawLimitLines(QPainter& painter, const CBarPlot& plot, const QRectF& target) {
    const CGraphMarker* lines = plot.GetLimitLines();
    const tvane::chart::Chart* chart = plot.GetChart();
    if (!lines || !chart || chart->WindowWidth() <= 0 || chart->WindowHeight() <= 0)
        return;
    const double sx = target.width() / chart->WindowWidth();
    const double sy = target.height() / chart->WindowHeight();
    painter.save();
    for (int i = 0; i < lines->Count(); ++i) {
        const CXrtMarker& line = lines->LineAt(i);
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
