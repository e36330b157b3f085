#pragma once
#include <cstdint>
#include <memory>

#include "platform/archive/CObject.h"

namespace tvane::chart {
class ChartData;
}

// One chart data object and its capacity: the points a chart display plots,
// stored with the display. Array data (kind 1) shares one x array between its
// series; general data (kind 2) gives each series its own points and count.
class CXrtGraphData : public tvane::CObject {
    DECLARE_SERIAL(CXrtGraphData)
public:
    static constexpr double kHole = 9.9e37;

    // No data object until loaded.
    CXrtGraphData();
    // A data object of that kind; GetData() is null when it cannot be made.
    CXrtGraphData(int kind, int seriesCount, int capacity);
    ~CXrtGraphData() override;
    CXrtGraphData(const CXrtGraphData&) = delete;
    CXrtGraphData& operator=(const CXrtGraphData&) = delete;

    // The chart library's handle of the data (null when there is none).
    tvane::chart::ChartData* GetData() const { return m_data.get(); }
    int GetCapacity() const { return m_capacity; }

    // Loading checks the stored sizes and rejects the archive (CArchiveException)
    // for an unknown kind, counts above the capacity, sizes that no display
    // uses, or a data object that cannot be made.
    void Serialize(tvane::CArchive& ar) override;

    // General data: every point gets x = hole, y = fill and the counts go to 0;
    // array data: x[i] = i and y = fill for every point.
    void Reset(double fill);
    // General data: the series keeps one point, its y a hole.
    void ResetSeries(int series);
    // Every series' count (array data: the number of points).
    void SetPointCount(int count);
    // Whether n more points would not fit: array data and a general series by
    // their own count; series -1 asks whether any general series is too full.
    bool WouldOverflow(int n, int series) const;
    // General data: the index i with x[i] <= x < x[i + 1] (searching from the
    // end, x[i] <= x <= x[i + 1]); the last index when x is at or after the last
    // point; false (index 0) when x lies before the first or nothing is found.
    bool FindIndex(int series, double x, int& index, bool fromEnd) const;
    // General data: the lowest and highest y of the points from fromX on, up to
    // the first point past toX; holes are skipped. False when none was found.
    bool GetYRange(int series, double& span, double& minimum, double& maximum, double fromX,
                   double toX) const;

    int GetKind() const;
    int GetSeriesCount() const;
    // Array data's number of points.
    int GetPointCount() const;
    // The point count of one series of general data.
    int GetSeriesPointCount(int series) const;
    double GetX(int point) const;
    double GetY(int series, int point) const;
    double GetSeriesX(int series, int point) const;
    double GetSeriesY(int series, int point) const;
    // The hole value of the data (9.9e37 unless set otherwise).
    void SetHoleValue(double hole);

private:
    std::int32_t m_capacity = 0;
    std::unique_ptr<tvane::chart::ChartData> m_data;
};
