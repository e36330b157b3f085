#pragma once
#include <string_view>

#include "platform/chart/ChartFont.h"

namespace tvane::chart {

// Text sizes in pixels, as the surface the chart is drawn on measures them.
class ITextMetrics {
public:
    virtual ~ITextMetrics() = default;
    virtual double TextWidth(const ChartFont& font, std::string_view text) const = 0;
    // The height of one line of text.
    virtual double TextHeight(const ChartFont& font) const = 0;
};

} // namespace tvane::chart
