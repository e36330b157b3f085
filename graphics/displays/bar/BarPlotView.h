#pragma once
#include "platform/chartview/ChartWidget.h"

class CBarPlot;
class QPainter;

// The bar plot's window: the chart, then the limit lines drawn over it after
// every repaint. Clicks go on to the frame.
class BarPlotView : public tvane::chart::ChartWidget {
    Q_OBJECT
public:
    BarPlotView(CBarPlot& plot, tvane::chart::Chart& chart, QWidget* parent = nullptr);

    // The limit lines over the plot's chart drawn at target.
    static void DrawLimitLines(QPainter& painter, const CBarPlot& plot, const QRectF& target);

private:
    CBarPlot& m_plot;
};
