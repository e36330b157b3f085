#pragma once
#include <cstdint>

namespace tvane::chart {
class ChartData;
}
class CHistogramStats;

// The bins of a histogram: equal bins between a low and a high limit, every
// reading counted in the bin it falls in, each bin's share of all readings
// received in percent, and the extremes of the readings for autoscale.
//
// The bin table is chart data of two general series with a point per bin:
// series 0 holds the bin centres and percentages, series 1 the centres and
// counts. Limits and readings are compared cut to ten decimals, as the user
// sees them; a bin's lower edge belongs to it, its upper edge to the next bin,
// and the high limit itself to the last bin.
class HistogramBins {
public:
    static constexpr double kOverload = 9.9e37;
    static constexpr std::int32_t kMaxBins = 100;

    // The table the bins are kept in (not owned); its capacity is the bin count.
    void SetTable(tvane::chart::ChartData* table) { m_table = table; }
    tvane::chart::ChartData* GetTable() const { return m_table; }
    // Whether data could be this histogram's table: two general series with
    // room for exactly bins points.
    static bool IsTableFor(const tvane::chart::ChartData* table, std::int32_t bins);

    // Every count back to 0 and the bins laid out again over the limits;
    // with extremes, the observed extremes are forgotten too.
    void Reset(bool extremes = true);
    // Bins a batch of readings, adding the binned ones to stats, and brings
    // every bin's percentage up to date.
    void AddReadings(const double* values, int n, CHistogramStats& stats);
    // One reading: true when it was binned. Overloads, readings outside the
    // limits and readings that are no number are not.
    bool Bin(double value);
    void UpdatePercentages();

    double Count(int bin) const;
    double Percentage(int bin) const;
    double Centre(int bin) const;

    double m_low = 0.0;
    double m_high = 100.0;
    double m_observedMin = kOverload;
    double m_observedMax = -kOverload;
    double m_binWidth = 1.0;
    std::int32_t m_outOfRange = 0;
    std::int32_t m_total = 0;
    std::int32_t m_binCount = 10;

private:
    void Note(double value);

    tvane::chart::ChartData* m_table = nullptr;
};
