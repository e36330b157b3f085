#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/chart/ChartData.h"
#include "platform/chart/ChartLayout.h"

namespace tvane::chart {

// Turns one series into what its pixels can show, reading the points in place:
// - Lines: runs of window pixels, broken at holes, with at most one minimum
//   and maximum per pixel column along the x axis, so a million points cost
//   about as much to draw as the plot is wide. Stretches of points beyond
//   either end of the plot shrink to their first and last point, so lines
//   still enter and leave at the edges.
// - Markers: the points' pixels, each pixel at most once per column run.
class SeriesDecimator {
public:
    using PointF = ChartLayout::PointF;

    // Calls line(const PointF* points, int count) for every unbroken run.
    template <class Line>
    void Lines(const ChartData& data, int series, const ChartLayout& layout, int set, Line&& line) {
        const Axes axes(layout, set);
        const double hole = data.Hole();
        m_run.clear();
        Column column;
        auto flushColumn = [&] {
            if (!column.used)
                return;
            if (column.side != 0) {
                m_run.push_back(axes.Point(column.along, column.first));
                if (column.count > 1)
                    m_run.push_back(axes.Point(column.lastAlong, column.last));
            } else if (column.count == 1 || column.min == column.max) {
                m_run.push_back(axes.Point(column.along, column.first));
            } else {
                const double a = column.minFirst ? column.min : column.max;
                const double b = column.minFirst ? column.max : column.min;
                m_run.push_back(axes.Point(column.along, a));
                m_run.push_back(axes.Point(column.along, b));
            }
            column.used = false;
        };
        auto flushRun = [&] {
            flushColumn();
            if (!m_run.empty())
                line(m_run.data(), static_cast<int>(m_run.size()));
            m_run.clear();
        };
        data.ForEachRun(
            series, 0, data.Count(series), [&](const double* xs, const double* ys, int n) {
                for (int i = 0; i < n; ++i) {
                    const double x = xs[i];
                    const double y = ys[i];
                    const double along = axes.Along(x);
                    const double across = axes.Across(y);
                    // A hole, or not a number, breaks the line.
                    if (x == hole || y == hole || along != along || across != across) {
                        flushRun();
                        continue;
                    }
                    if (along >= axes.low && along < axes.high) {
                        // The common case: inside the plot, in the column of
                        // the point before.
                        auto col = static_cast<std::int64_t>(along);
                        if (static_cast<double>(col) > along)
                            --col;
                        if (column.used && column.side == 0 && col == column.col) {
                            if (across < column.min) {
                                column.min = across;
                                column.minFirst = false;
                            } else if (across > column.max) {
                                column.max = across;
                                column.minFirst = true;
                            }
                            ++column.count;
                            continue;
                        }
                        flushColumn();
                        column = {true,   0,      col,    along, across, along,
                                  across, across, across, true,  1};
                        continue;
                    }
                    const int side = along < axes.low ? -1 : 1;
                    if (column.used && side == column.side) {
                        // Still beyond the same end: only where the line leaves
                        // and where it comes back matter.
                        column.lastAlong = along;
                        column.last = across;
                        column.count = 2;
                        continue;
                    }
                    flushColumn();
                    column = {true, side, 0, along, across, along, across, across, across, true, 1};
                }
            });
        flushRun();
    }

    // Calls marker(PointF) for every point whose pixel lies within the plot
    // (widened by margin pixels) and was not marked already in its column.
    template <class Marker>
    void Markers(const ChartData& data, int series, const ChartLayout& layout, int set,
                 double margin, Marker&& marker) {
        const Axes axes(layout, set);
        const double hole = data.Hole();
        const double lowAcross = axes.acrossLow - margin;
        const double highAcross = axes.acrossHigh + margin;
        const int rows = static_cast<int>(highAcross - lowAcross) + 2;
        m_rows.assign(static_cast<std::size_t>(std::max(rows, 1)), 0);
        std::vector<int> marked;
        double lastCol = -1e300;
        data.ForEachRun(
            series, 0, data.Count(series), [&](const double* xs, const double* ys, int n) {
                for (int i = 0; i < n; ++i) {
                    const double x = xs[i];
                    const double y = ys[i];
                    if (x == hole || y == hole || !std::isfinite(x) || !std::isfinite(y))
                        continue;
                    const double along = axes.Along(x);
                    const double across = axes.Across(y);
                    if (along < axes.low - margin || along >= axes.high + margin ||
                        across < lowAcross || across >= highAcross)
                        continue;
                    const double col = std::floor(along);
                    if (col != lastCol) {
                        for (int r : marked)
                            m_rows[static_cast<std::size_t>(r)] = 0;
                        marked.clear();
                        lastCol = col;
                    }
                    const int row = static_cast<int>(across - lowAcross);
                    if (m_rows[static_cast<std::size_t>(row)])
                        continue;
                    m_rows[static_cast<std::size_t>(row)] = 1;
                    marked.push_back(row);
                    marker(axes.Point(along, across));
                }
            });
    }

private:
    // The two axes as one multiply and add each: along the x axis and across it.
    struct Axes {
        Axes(const ChartLayout& layout, int set) : inverted(layout.inverted) {
            const ChartRect& p = layout.plot;
            const double alongStart = inverted ? p.top : p.left;
            const double alongLength = inverted ? p.Height() : p.Width();
            const double acrossLength = inverted ? p.Width() : p.Height();
            const double ylo = set == 2 ? layout.y2Min : layout.y.min;
            const double yhi = set == 2 ? layout.y2Max : layout.y.max;
            Fit(layout.x.min, layout.x.max, alongStart, alongLength, false, alongScale,
                alongOffset);
            if (inverted)
                Fit(ylo, yhi, p.left, acrossLength, false, acrossScale, acrossOffset);
            else
                Fit(ylo, yhi, p.top, acrossLength, true, acrossScale, acrossOffset);
            low = alongStart;
            high = alongStart + alongLength + 1.0;
            acrossLow = inverted ? p.left : p.top;
            acrossHigh = acrossLow + acrossLength + 1.0;
        }
        static void Fit(double lo, double hi, double start, double length, bool flip, double& scale,
                        double& offset) {
            const double span = hi - lo;
            if (span == 0.0) {
                scale = 0.0;
                offset = start + length / 2.0;
                return;
            }
            scale = length / span * (flip ? -1.0 : 1.0);
            offset = (flip ? start + length : start) - lo * scale;
        }
        double Along(double x) const { return x * alongScale + alongOffset; }
        double Across(double y) const { return y * acrossScale + acrossOffset; }
        PointF Point(double along, double across) const {
            // Far-away points stay finite and within what a painter accepts.
            along = std::clamp(along, -1e6, 1e6);
            across = std::clamp(across, -1e6, 1e6);
            return inverted ? PointF{across, along} : PointF{along, across};
        }

        bool inverted;
        double alongScale = 0.0, alongOffset = 0.0;
        double acrossScale = 0.0, acrossOffset = 0.0;
        double low = 0.0, high = 0.0;
        double acrossLow = 0.0, acrossHigh = 0.0;
    };
    struct Column {
        bool used = false;
        int side = 0;
        std::int64_t col = 0;
        double along = 0.0; // of the first point
        double first = 0.0;
        double lastAlong = 0.0; // beyond the plot: the last point
        double last = 0.0;
        double min = 0.0;
        double max = 0.0;
        bool minFirst = true;
        int count = 0;
    };

    std::vector<PointF> m_run;
    std::vector<unsigned char> m_rows;
};

} // namespace tvane::chart
