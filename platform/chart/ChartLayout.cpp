#include "platform/chart/ChartLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tvane::chart {

namespace {

// Fraction of the way from lo to hi; 0.5 for a zero span.
double Fraction(double v, double lo, double hi) {
    const double span = hi - lo;
    return span == 0.0 ? 0.5 : (v - lo) / span;
}

} // namespace

double ChartLayout::XPosition(double xv) const {
    const double f = Fraction(xv, x.min, x.max);
    return inverted ? plot.top + plot.Height() * f : plot.left + plot.Width() * f;
}

double ChartLayout::YPosition(double yv, int set) const {
    const double lo = set == 2 ? y2Min : y.min;
    const double hi = set == 2 ? y2Max : y.max;
    const double f = Fraction(yv, lo, hi);
    return inverted ? plot.left + plot.Width() * f : plot.top + plot.Height() * (1.0 - f);
}

ChartLayout::PointF ChartLayout::Map(double xv, double yv, int set) const {
    const double along = XPosition(xv);
    const double across = YPosition(yv, set);
    return inverted ? PointF{across, along} : PointF{along, across};
}

ChartLayout::PointF ChartLayout::Unmap(double px, double py, int set) const {
    const double lo = set == 2 ? y2Min : y.min;
    const double hi = set == 2 ? y2Max : y.max;
    const double w = plot.Width() > 0 ? plot.Width() : 1.0;
    const double h = plot.Height() > 0 ? plot.Height() : 1.0;
    if (inverted) {
        return {x.min + (x.max - x.min) * (py - plot.top) / h,
                lo + (hi - lo) * (px - plot.left) / w};
    }
    return {x.min + (x.max - x.min) * (px - plot.left) / w, hi - (hi - lo) * (py - plot.top) / h};
}

ChartLayout::RectF ChartLayout::BarRect(double xv, double yv, int series) const {
    const int count = barSeries > 0 ? barSeries : 1;
    const double cluster = barSpacing * clusterPercent / 100.0;
    const double width = cluster / count;
    const double x0 = xv - cluster / 2.0 + series * width;
    const double base = std::clamp(0.0, std::min(y.min, y.max), std::max(y.min, y.max));
    const PointF a = Map(x0, base);
    const PointF b = Map(x0 + width, yv);
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

double NiceStep(double span, double count) {
    span = std::fabs(span);
    if (!(span > 0.0) || !std::isfinite(span) || !(count > 0.0))
        return 1.0;
    const double raw = span / count;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * decade >= raw * (1.0 - 1e-9))
            return m * decade;
    }
    return 10.0 * decade;
}

std::string FormatFixed(double value, int precision) {
    precision = std::clamp(precision, 0, 15);
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", precision, value);
    std::string result(text);
    if (result.front() == '-' && result.find_first_not_of("-0.") == std::string::npos)
        result.erase(0, 1);
    return result;
}

} // namespace tvane::chart
