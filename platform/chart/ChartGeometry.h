#pragma once

namespace tvane::chart {

// Window pixels; right and bottom are exclusive.
struct ChartRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const ChartRect&) const = default;
};

struct ChartPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ChartPoint&) const = default;
};

} // namespace tvane::chart
