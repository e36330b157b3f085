#pragma once

namespace tvane::chart {

// The window that shows a chart.
class IChartListener {
public:
    virtual ~IChartListener() = default;
    // The chart looks different now; repaint when convenient. Not called while
    // the chart holds its repaints: the held changes come as one call at the end.
    virtual void ChartChanged() = 0;
};

} // namespace tvane::chart
