#include "graphics/CRegion.h"

#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"

IMPLEMENT_SERIAL(CRegion, tvane::CObject, 0)

void CRegion::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_top << m_left << m_bottom << m_right;
        return;
    }
    double top = 0.0, left = 0.0, bottom = 0.0, right = 0.0;
    ar >> top >> left >> bottom >> right;
    // Fractions of the data area, in order (a NaN fails every comparison).
    const auto fraction = [](double v) { return v >= 0.0 && v <= 1.0; };
    if (!fraction(top) || !fraction(left) || !fraction(bottom) || !fraction(right) ||
        !(top <= bottom) || !(left <= right))
        throw tvane::CArchiveException(tvane::CArchiveException::generic, "region out of range");
    m_top = top;
    m_left = left;
    m_bottom = bottom;
    m_right = right;
}
