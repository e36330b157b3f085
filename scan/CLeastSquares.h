#pragma once
#include <cstdint>

#include "platform/archive/CObject.h"

// A running straight-line fit y = slope·x + intercept over the points added.
class CLeastSquares : public tvane::CObject {
    DECLARE_SERIAL(CLeastSquares)
public:
    CLeastSquares() = default;
    ~CLeastSquares() override = default;

    void Reset();
    void AddPoint(double x, double y);
    std::int32_t GetCount() const { return m_count; }
    // False while the points do not define a line (fewer than two distinct x).
    bool GetSlope(double& slope) const;
    bool GetIntercept(double& intercept) const;
    bool Evaluate(double x, double& y) const;
    // False also for a slope of 0, which no y can be inverted through.
    bool Invert(double y, double& x) const;

    void Serialize(tvane::CArchive& ar) override;

private:
    double Denominator() const;

    double m_sumX = 0.0;
    double m_sumY = 0.0;
    double m_sumXX = 0.0;
    double m_spare = 0.0; // stored, never changed
    double m_sumXY = 0.0;
    std::int32_t m_count = 0;
};
