#include "graphics/displays/histogram/CHistogramStats.h"

#include <cmath>

#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"

IMPLEMENT_SERIAL(CHistogramStats, tvane::CObject, 0)

void CHistogramStats::Reset() {
    m_count = 0;
    m_outOfRange = 0;
    m_minimum = kOverload;
    m_maximum = -kOverload;
    m_mean = 0.0;
    m_stdDev = 0.0;
    m_sum = 0.0;
    m_sumOfSquares = 0.0;
}

void CHistogramStats::AddValue(double x) {
    // A run long enough to fill the count keeps its figures rather than wrap.
    if (m_count == INT32_MAX)
        return;
    ++m_count;
    if (x > m_maximum)
        m_maximum = x;
    if (x < m_minimum)
        m_minimum = x;
    m_mean = ((m_count - 1) * m_mean + x) / m_count;
    m_sum += x;
    m_sumOfSquares += x * x;
    const double s = m_sumOfSquares - m_sum * m_sum / m_count;
    if (m_count == 1)
        m_stdDev = 0.0;
    else if (s > 0.0)
        m_stdDev = std::sqrt(s / (m_count - 1));
}

void CHistogramStats::Serialize(tvane::CArchive& ar) {
    tvane::CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_minimum << m_maximum << m_mean << m_stdDev << m_count << m_outOfRange << m_sum
           << m_sumOfSquares;
        return;
    }
    ar >> m_minimum >> m_maximum >> m_mean >> m_stdDev >> m_count >> m_outOfRange >> m_sum >>
        m_sumOfSquares;
    if (m_count < 0 || m_outOfRange < 0)
        throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                       "histogram statistics count out of range");
}
