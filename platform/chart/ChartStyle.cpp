#include "platform/chart/ChartStyle.h"

namespace tvane::chart {

ChartStyle DefaultSeriesStyle(int series) {
    // Red, green, blue, magenta, cyan, dark yellow, dark red, dark green (COLORREF).
    static constexpr std::int32_t kColors[] = {0x0000FF, 0x00A000, 0xFF0000, 0xFF00FF,
                                               0xC0C000, 0x00A0A0, 0x000080, 0x008000};
    ChartStyle style;
    style.color = kColors[static_cast<unsigned>(series) % 8];
    style.pointColor = style.color;
    style.pointShape = kPointNone;
    return style;
}

} // namespace tvane::chart
