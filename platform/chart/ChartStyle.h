#pragma once
#include <cstdint>

namespace tvane::chart {

// Point shapes of a style's field 5.
enum PointShape : std::uint32_t {
    kPointNone = 1,
    kPointDot = 2, // a filled circle ("Circle")
    kPointBox = 3,
    kPointTriangle = 4,
    kPointDiamond = 5,
    kPointStar = 6, // "Asterisk"
    kPointVerticalLine = 7,
    kPointHorizontalLine = 8,
    kPointCross = 9,
    kPointCircle = 10, // an open circle
    kPointSquare = 11, // an open square
};

// Line patterns of a style's field 1.
enum LinePattern : std::uint32_t {
    kLineNone = 1,
    kLineSolid = 2,
    kLineLongDash = 3,
    kLineDotted = 4,
    kLineShortDash = 5,
    kLineLongShortLongDash = 6,
    kLineDashDot = 7,
};

// The largest point size and line width a style may have, in pixels.
inline constexpr std::uint32_t kMaxPointSize = 100;
inline constexpr std::uint32_t kMaxLineWidth = 100;

// One data style: nine 4-byte fields in this order, as stored.
struct ChartStyle {
    std::uint32_t linePattern = kLineSolid;
    std::uint32_t fillPattern = 1;
    std::int32_t color = 0;      // line and bar colour (COLORREF)
    std::uint32_t lineWidth = 1; // pixels, 0 counts as 1
    std::uint32_t pointShape = kPointDot;
    std::int32_t pointColor = 0; // COLORREF
    std::uint32_t pointSize = 6; // pixels across
    std::int32_t reserved1 = 0;
    std::int32_t reserved2 = 0;

    bool operator==(const ChartStyle&) const = default;
};

// The style a series gets when the chart first sees it: a line, no points,
// colours in turn.
ChartStyle DefaultSeriesStyle(int series);

} // namespace tvane::chart
