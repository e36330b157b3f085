#pragma once
#include <string>
#include <vector>

#include "platform/chart/ChartFont.h"
#include "platform/chart/ChartGeometry.h"

namespace tvane::chart {

// Where everything of a chart lies for one window size: the graph and plot
// rectangles, the effective axis bounds, the annotation and the grid lines.
// The screen, printing and picking all map through one of these.
struct ChartLayout {
    struct Tick {
        double value = 0.0;
        double position = 0.0; // window pixels along the axis
        std::string text;
    };
    struct Axis {
        double min = 0.0;
        double max = 1.0;
        std::vector<Tick> ticks;
        std::vector<double> grid; // values of the grid lines across this axis
        double step = 0.0;        // of numbered ticks
        std::string title;
        bool titleTurned = false;
    };
    struct PointF {
        double x = 0.0;
        double y = 0.0;
    };
    struct RectF {
        double left = 0.0;
        double top = 0.0;
        double right = 0.0;
        double bottom = 0.0;
    };

    int width = 0; // window
    int height = 0;
    ChartRect graph;
    ChartRect plot;
    bool inverted = false;
    bool bars = false;
    Axis x;
    Axis y;
    double y2Min = 0.0; // the second data set's vertical bounds
    double y2Max = 1.0;
    ChartFont font;
    double fontHeight = 0.0;
    // Bars: the distance between neighbouring points, the share of it that
    // one point's bars fill (percent) and the number of series side by side.
    double barSpacing = 1.0;
    double clusterPercent = 80.0;
    int barSeries = 1;

    // Data to window pixels, not rounded; the second data set uses y2. A zero
    // span maps to the middle of the plot area.
    PointF Map(double x, double y, int set = 1) const;
    // Window pixels to data, the inverse of Map.
    PointF Unmap(double px, double py, int set = 1) const;
    // Where a value lies along its axis, in window pixels.
    double XPosition(double x) const;
    double YPosition(double y, int set = 1) const;
    // The bar of one series at one point, in window pixels: it runs from the
    // value axis' zero (or the bound nearer to it) to the value.
    RectF BarRect(double x, double y, int series) const;
};

// The 1-2-5 step at or above span / count.
double NiceStep(double span, double count);
// "%.*f" with the precision cut to 0..15 and "-0" written as "0".
std::string FormatFixed(double value, int precision);

} // namespace tvane::chart
