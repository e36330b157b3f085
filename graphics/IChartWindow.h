#pragma once

// The window that shows a chart model's chart; destroying it closes the window.
class IChartWindow {
public:
    virtual ~IChartWindow() = default;
};
