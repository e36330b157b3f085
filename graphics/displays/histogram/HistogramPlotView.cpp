#include "graphics/displays/histogram/HistogramPlotView.h"

#include <QMouseEvent>
#include <QPainter>

#include "graphics/displays/histogram/CHistogramPlot.h"
#include "platform/chartview/ChartQt.h"

HistogramPlotView::HistogramPlotView(CHistogramPlot& plot, tvane::chart::Chart& chart,
                                     QWidget* parent)
    : ChartWidget(chart, parent), m_plot(plot) {
    setMouseTracking(true);
    // The labels of the bins thin out or fill in with the plot's size.
    connect(this, &ChartWidget::PlotAreaChanged, this, [this] { m_plot.LabelAxes(); });
    connect(this, &ChartWidget::Painted, this,
            [this](QPainter* painter) { DrawReadout(*painter, m_plot); });
}

void HistogramPlotView::DrawReadout(QPainter& painter, const CHistogramPlot& plot) {
    const std::string text = plot.ReadoutText();
    if (text.empty())
        return;
    painter.save();
    // Written in the axis colour, inverting what lies under it, as the
    // readout moves over bars and grid alike.
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(tvane::chart::ToQColor(plot.GetAxisColor()));
    painter.setFont(tvane::chart::ToQFont(plot.GetAxisFont()));
    const tvane::chart::ChartPoint at = plot.ReadoutPoint();
    const QString label = QString::fromStdString(text);
    const QFontMetrics metrics(painter.font());
    const int width = metrics.horizontalAdvance(label);
    painter.drawText(QPoint(at.x - width / 2, at.y - metrics.descent()), label);
    painter.restore();
}

void HistogramPlotView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    m_plot.MouseMove(p.x(), p.y());
    update();
    ChartWidget::mouseMoveEvent(event);
}

void HistogramPlotView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        m_plot.RightButtonDown();
        repaint();
    }
    ChartWidget::mousePressEvent(event);
}

void HistogramPlotView::leaveEvent(QEvent* event) {
    m_plot.MouseLeft();
    update();
    ChartWidget::leaveEvent(event);
}
