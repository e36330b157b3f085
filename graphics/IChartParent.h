#pragma once
#include <memory>

#include "graphics/IChartWindow.h"
#include "platform/chart/ChartGeometry.h"

namespace tvane::chart {
class Chart;
}

// The display frame a chart window lives in, as the chart model needs it.
class IChartParent {
public:
    virtual ~IChartParent() = default;
    // Whether the frame's document holds readings; stored with the chart.
    virtual bool GetDocumentHasReadings() const = 0;
    // A window in the frame at rect (frame client pixels) that shows chart;
    // null when it cannot be made.
    virtual std::unique_ptr<IChartWindow>
    CreateChartWindow(tvane::chart::Chart& chart, const tvane::chart::ChartRect& rect) = 0;
};
