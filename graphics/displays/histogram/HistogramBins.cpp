#include "graphics/displays/histogram/HistogramBins.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "graphics/displays/histogram/CHistogramStats.h"
#include "platform/chart/ChartData.h"
#include "scan/CRoundedValue.h"

using tvane::chart::ChartData;

namespace {

constexpr int kPercentSeries = 0;
constexpr int kCountSeries = 1;

CRoundedValue Cut(double value) {
    return CRoundedValue(value, 10);
}

// Counts saturate: a run long enough to fill them must not wrap.
void Increment(std::int32_t& count, std::int64_t by = 1) {
    count = static_cast<std::int32_t>(std::min<std::int64_t>(count + by, INT32_MAX));
}

} // namespace

bool HistogramBins::IsTableFor(const ChartData* table, std::int32_t bins) {
    return table && table->GetKind() == ChartData::kGeneral && table->SeriesCount() == 2 &&
           table->Capacity() == bins;
}

void HistogramBins::Reset(bool extremes) {
    m_outOfRange = 0;
    m_total = 0;
    m_binWidth = m_binCount > 0 ? std::fabs(m_high - m_low) / m_binCount : 0.0;
    if (m_table && IsTableFor(m_table, m_binCount)) {
        for (int i = 0; i < m_binCount; ++i) {
            const double centre = m_low + m_binWidth * i + m_binWidth * 0.5;
            m_table->SetPoint(kPercentSeries, i, centre, 0.0);
            m_table->SetPoint(kCountSeries, i, centre, 0.0);
        }
        m_table->SetAllCounts(m_binCount);
    }
    if (extremes) {
        m_observedMin = kOverload;
        m_observedMax = -kOverload;
    }
}

void HistogramBins::Note(double value) {
    if (Cut(value) < Cut(m_observedMin))
        m_observedMin = value;
    if (Cut(value) > Cut(m_observedMax))
        m_observedMax = value;
}

bool HistogramBins::Bin(double value) {
    if (value == kOverload || !std::isfinite(value))
        return false;
    Note(value);
    if (Cut(value) < Cut(m_low) || Cut(value) > Cut(m_high))
        return false;
    // Limits that coincide leave bins of no width: nothing falls in them.
    if (!(m_binWidth > 0.0) || !m_table || !IsTableFor(m_table, m_binCount))
        return false;
    int bin = m_binCount - 1;
    if (value != m_high) {
        const double k = std::trunc((value - m_low) / m_binWidth);
        if (!(k >= 0.0 && k <= m_binCount - 1))
            return false;
        bin = static_cast<int>(k);
    }
    m_table->SetY(kCountSeries, bin, m_table->Y(kCountSeries, bin) + 1.0);
    return true;
}

void HistogramBins::AddReadings(const double* values, int n, CHistogramStats& stats) {
    if (n <= 0)
        return;
    for (int i = 0; i < n; ++i) {
        if (Bin(values[i])) {
            stats.AddValue(values[i]);
        } else {
            Increment(m_outOfRange);
            stats.SetOutOfRange(m_outOfRange);
        }
    }
    Increment(m_total, n);
    UpdatePercentages();
}

void HistogramBins::UpdatePercentages() {
    if (!m_table || !IsTableFor(m_table, m_binCount) || m_total <= 0)
        return;
    for (int i = 0; i < m_binCount; ++i)
        m_table->SetY(kPercentSeries, i, m_table->Y(kCountSeries, i) / m_total * 100.0);
}

double HistogramBins::Count(int bin) const {
    return m_table ? m_table->Y(kCountSeries, bin) : 0.0;
}

double HistogramBins::Percentage(int bin) const {
    return m_table ? m_table->Y(kPercentSeries, bin) : 0.0;
}

double HistogramBins::Centre(int bin) const {
    return m_table ? m_table->X(kPercentSeries, bin) : 0.0;
}
