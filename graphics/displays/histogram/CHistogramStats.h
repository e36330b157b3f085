#pragma once
#include <cstdint>

#include "platform/archive/CObject.h"

// The running statistics of the readings a histogram binned: their count,
// extremes, mean and sample standard deviation, with the count of readings it
// did not bin beside them.
class CHistogramStats : public tvane::CObject {
    DECLARE_SERIAL(CHistogramStats)
public:
    static constexpr double kOverload = 9.9e37;

    CHistogramStats() { Reset(); }

    void Reset();
    void AddValue(double x);
    void SetOutOfRange(std::int32_t count) { m_outOfRange = count; }

    std::int32_t GetCount() const { return m_count; }
    std::int32_t GetOutOfRange() const { return m_outOfRange; }
    double GetMinimum() const { return m_minimum; }
    double GetMaximum() const { return m_maximum; }
    double GetMean() const { return m_mean; }
    double GetStdDev() const { return m_stdDev; }
    double GetSum() const { return m_sum; }
    double GetSumOfSquares() const { return m_sumOfSquares; }

    // Minimum, maximum, mean, standard deviation, count, out of range, sum,
    // sum of squares. A negative count rejects the archive.
    void Serialize(tvane::CArchive& ar) override;

private:
    std::int32_t m_count = 0;
    std::int32_t m_outOfRange = 0;
    double m_minimum = kOverload;
    double m_maximum = -kOverload;
    double m_mean = 0.0;
    double m_stdDev = 0.0;
    double m_sum = 0.0;
    double m_sumOfSquares = 0.0;
};
