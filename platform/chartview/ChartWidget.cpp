#include "platform/chartview/ChartWidget.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

#include "platform/chart/Chart.h"
#include "platform/chartview/QtTextMetrics.h"

namespace tvane::chart {

ChartWidget::ChartWidget(Chart& chart, QWidget* parent) : QWidget(parent), m_chart(chart) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_repaintTimer.setSingleShot(true);
    connect(&m_repaintTimer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    m_chart.SetTextMetrics(&QtTextMetrics::Instance());
    m_chart.SetWindowSize(width(), height());
    m_chart.SetListener(this);
}

ChartWidget::~ChartWidget() {
    m_chart.SetListener(nullptr);
}

void ChartWidget::ChartChanged() {
    if (m_repaintTimer.isActive())
        return;
    const qint64 since = m_sincePaint.isValid() ? m_sincePaint.elapsed() : kMinRepaintMs;
    if (since >= kMinRepaintMs)
        update();
    else
        m_repaintTimer.start(static_cast<int>(kMinRepaintMs - since));
}

void ChartWidget::paintEvent(QPaintEvent*) {
    ++m_paints;
    m_sincePaint.start();
    QPainter painter(this);
    m_renderer.Draw(painter, m_chart, QRectF(rect()));
    const ChartRect plot = m_chart.PlotArea();
    if (!(plot == m_lastPlotArea)) {
        m_lastPlotArea = plot;
        emit PlotAreaChanged();
    }
    emit Painted(&painter);
}

void ChartWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    TakeWindowSize();
}

void ChartWidget::TakeWindowSize() {
    m_chart.SetWindowSize(width(), height());
    const ChartRect plot = m_chart.PlotArea();
    if (!(plot == m_lastPlotArea)) {
        m_lastPlotArea = plot;
        emit PlotAreaChanged();
    }
}

void ChartWidget::Forward(QMouseEvent* event) {
    QWidget* parent = parentWidget();
    if (!m_forwardMouse || !parent)
        return;
    // The frame reads the point as the chart window gave it.
    QCoreApplication::postEvent(parent, new QMouseEvent(event->type(), event->position(),
                                                        event->scenePosition(),
                                                        event->globalPosition(), event->button(),
                                                        event->buttons(), event->modifiers()));
}

void ChartWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Forward(event);
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        Forward(event);
}

void ChartWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        Forward(event);
}

} // namespace tvane::chart
