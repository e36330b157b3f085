#pragma once
#include "platform/chartview/ChartWidget.h"

class CHistogramPlot;
class QPainter;

// The histogram plot's window: the chart, with the whole count of the bar
// under the mouse written at the pointer. Clicks go on to the frame; a right
// press removes the count first.
class HistogramPlotView : public tvane::chart::ChartWidget {
    Q_OBJECT
public:
    HistogramPlotView(CHistogramPlot& plot, tvane::chart::Chart& chart, QWidget* parent = nullptr);

    // The count of the hovered bar over a chart drawn at target.
    static void DrawReadout(QPainter& painter, const CHistogramPlot& plot);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    CHistogramPlot& m_plot;
};
