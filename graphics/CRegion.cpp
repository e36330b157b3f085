#include "graphics/CRegion.h"

#include "platform/archive/CArchive.h"

IMPLEMENT_SERIAL(CRegion, tvane::CObject, 0)

void CRegion::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring())
        ar << m_top << m_left << m_bottom << m_right;
    else
        ar >> m_top >> m_left >> m_bottom >> m_right;
}
