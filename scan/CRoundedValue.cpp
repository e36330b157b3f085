#include "scan/CRoundedValue.h"

#include <cfloat>
#include <cmath>

CRoundedValue::CRoundedValue(double value, int decimals) : m_value(value), m_decimals(decimals) {
    if (m_value == 0.0)
        return;
    double p = std::pow(10.0, decimals);
    // Compared by magnitude: a huge negative value would otherwise overflow to NaN.
    if (std::fabs(m_value) < DBL_MAX / p) {
        double shifted = m_value * p;
        m_value = (shifted - std::fmod(shifted, 1.0)) / p;
    }
}

bool ReplaceIfChanged(double& stored, double value) {
    if (CRoundedValue(value, 10) == CRoundedValue(stored, 10))
        return false;
    stored = value;
    return true;
}
