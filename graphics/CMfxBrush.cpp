#include "graphics/CMfxBrush.h"

#include "platform/archive/CArchive.h"

IMPLEMENT_SERIAL(CMfxBrush, tvane::CObject, 0)

bool CMfxBrush::CreateBrush(std::uint32_t color, int style) {
    m_created = false;
    if (style != kSolid && (style < 0 || style > kLastHatch))
        return false;
    m_style = style;
    m_color = color;
    m_created = true;
    return true;
}

void CMfxBrush::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_color;
    } else {
        ar >> m_color;
        m_created = false;
    }
}
