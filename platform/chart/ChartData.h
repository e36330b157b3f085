#pragma once
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace tvane::chart {

// The points a chart plots: a number of series, each with room for a fixed
// number of points (the capacity) and a count of points in use.
// - Array data (kind 1): the series share one x array and one count.
// - General data (kind 2): every series has its own x array, y array and count.
// The hole value (9.9e37 unless changed) marks a point without a value: lines
// break there and nothing is drawn for it.
//
// The points of a general series live in a ring, so dropping its oldest points
// (ShiftPoints to destination 0) costs nothing however many points it holds.
// Indexes are always the series' own point indexes 0 .. capacity - 1.
class ChartData {
public:
    enum Kind : int { kArray = 1, kGeneral = 2 };
    static constexpr double kDefaultHole = 9.9e37;
    // The most points (capacity times series) one data object may hold, so a
    // damaged document cannot ask for all of memory.
    static constexpr std::int64_t kMaxPoints = std::int64_t{1} << 24;
    // The most series one data object may hold (every series costs memory of
    // its own, even with no room for points).
    static constexpr int kMaxSeries = 1024;

    // Null when the kind is neither 1 nor 2, a size is negative, the series
    // are more than kMaxSeries or the points more than kMaxPoints, or the
    // memory cannot be had.
    static std::unique_ptr<ChartData> Make(int kind, int seriesCount, int capacity);

    ChartData(const ChartData&) = delete;
    ChartData& operator=(const ChartData&) = delete;
    ~ChartData();

    int GetKind() const { return m_kind; }
    int SeriesCount() const { return m_seriesCount; }
    int Capacity() const { return m_capacity; }
    double Hole() const { return m_hole; }
    void SetHole(double hole);

    // Points in use. Array data has one count: the series is not looked at.
    // Counts are kept within 0 .. capacity.
    int Count(int series) const;
    void SetCount(int series, int count);
    void SetAllCounts(int count);
    // The largest count of any series.
    int LargestCount() const;

    // Array data: X gives the shared x and ignores the series. An index
    // outside the series or the capacity reads the hole value and writes nothing.
    double X(int series, int point) const;
    double Y(int series, int point) const;
    void SetX(int series, int point, double x);
    void SetY(int series, int point, double y);
    void SetPoint(int series, int point, double x, double y);
    // Writes the point at the series' count and counts it; false when full.
    bool Append(int series, double x, double y);

    // General data: moves count points of the series so that the point at
    // source comes to destination; with destination 0 the points before source
    // are dropped. Counts are not changed (the caller sets them) and the points
    // from the moved block's end to the capacity hold unspecified values
    // afterwards. False, and nothing moved, for array data or a block that
    // does not lie inside the capacity.
    bool ShiftPoints(int series, int destination, int source, int count);

    // Changes with every write, so that those who keep figures computed from
    // the points know when to recompute them.
    std::uint64_t Version() const { return m_version; }

    // Calls f(const double* x, const double* y, int n) for the contiguous runs
    // (at most two) that hold the series' points first .. last - 1, without
    // copying them.
    template <class F> void ForEachRun(int series, int first, int last, F&& f) const {
        if (series < 0 || series >= m_seriesCount || first < 0 || last > m_capacity ||
            first >= last)
            return;
        const Series& s = m_series[static_cast<std::size_t>(series)];
        const double* xs = m_kind == kArray ? m_sharedX.get() : s.x.get();
        int start = Physical(s, first);
        int remaining = last - first;
        while (remaining > 0) {
            const int run = std::min(remaining, m_capacity - start);
            f(xs + start, s.y.get() + start, run);
            remaining -= run;
            start = 0;
        }
    }

private:
    struct Series {
        std::unique_ptr<double[]> x; // general data only
        std::unique_ptr<double[]> y;
        int count = 0;
        int start = 0; // ring position of point 0
    };

    ChartData(int kind, int seriesCount, int capacity);
    bool Allocate();
    bool Valid(int series, int point) const {
        return series >= 0 && series < m_seriesCount && point >= 0 && point < m_capacity;
    }
    int Physical(const Series& s, int point) const {
        const int p = s.start + point;
        return p >= m_capacity ? p - m_capacity : p;
    }

    int m_kind;
    int m_seriesCount;
    int m_capacity;
    double m_hole = kDefaultHole;
    int m_arrayCount = 0;
    std::unique_ptr<double[]> m_sharedX; // array data
    std::vector<Series> m_series;
    std::uint64_t m_version = 0;
};

} // namespace tvane::chart
