#pragma once
#include <cstdint>

#include <QColor>
#include <QFont>
#include <QPen>

#include "platform/chart/ChartFont.h"
#include "platform/chart/ChartStyle.h"

namespace tvane::chart {

// Colours stay COLORREF (0x00BBGGRR) in the chart; they become QColor here.
inline QColor ToQColor(std::int32_t colorRef) {
    const auto c = static_cast<std::uint32_t>(colorRef);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// The drawing font of a chart font; heights are pixels.
QFont ToQFont(const ChartFont& font);

// The pen of a style's line (one pixel wide unless the style is wider);
// Qt::NoPen for no line.
QPen LinePen(const ChartStyle& style);

} // namespace tvane::chart
