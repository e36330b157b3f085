#include "scan/CLeastSquares.h"

#include <limits>

#include "platform/archive/CArchive.h"

IMPLEMENT_SERIAL(CLeastSquares, tvane::CObject, 0)

void CLeastSquares::Reset() {
    m_sumX = m_sumY = m_sumXX = m_spare = m_sumXY = 0.0;
    m_count = 0;
}

void CLeastSquares::AddPoint(double x, double y) {
    // A count that would overflow starts the fit over.
    if (m_count == std::numeric_limits<std::int32_t>::max())
        Reset();
    ++m_count;
    m_sumX += x;
    m_sumY += y;
    m_sumXY += x * y;
    m_sumXX += x * x;
}

double CLeastSquares::Denominator() const {
    return m_count * m_sumXX - m_sumX * m_sumX;
}

bool CLeastSquares::GetSlope(double& slope) const {
    const double d = Denominator();
    if (d == 0.0)
        return false;
    slope = (m_count * m_sumXY - m_sumX * m_sumY) / d;
    return true;
}

bool CLeastSquares::GetIntercept(double& intercept) const {
    const double d = Denominator();
    if (d == 0.0)
        return false;
    intercept = (m_sumXX * m_sumY - m_sumXY * m_sumX) / d;
    return true;
}

bool CLeastSquares::Evaluate(double x, double& y) const {
    double slope = 0.0;
    double intercept = 0.0;
    if (!GetSlope(slope) || !GetIntercept(intercept))
        return false;
    y = slope * x + intercept;
    return true;
}

bool CLeastSquares::Invert(double y, double& x) const {
    double slope = 0.0;
    double intercept = 0.0;
    if (!GetSlope(slope) || !GetIntercept(intercept) || slope == 0.0)
        return false;
    x = (y - intercept) / slope;
    return true;
}

void CLeastSquares::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring())
        ar << m_sumX << m_sumY << m_sumXX << m_spare << m_sumXY << m_count;
    else
        ar >> m_sumX >> m_sumY >> m_sumXX >> m_spare >> m_sumXY >> m_count;
}
