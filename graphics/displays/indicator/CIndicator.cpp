#include "graphics/displays/indicator/CIndicator.h"

#include "platform/archive/CArchive.h"
#include "platform/core/NameText.h"

IMPLEMENT_SERIAL(CIndicator, tvane::CObject, 0)
IMPLEMENT_SERIAL(CLight, CIndicator, 0)
IMPLEMENT_SERIAL(CDataLight, CIndicator, 0)
IMPLEMENT_SERIAL(CSwitch, CIndicator, 0)
IMPLEMENT_SERIAL(CPushButton, CIndicator, 0)

namespace {

constexpr const char* kNoLabel = "No Label";

void SerializeRect(tvane::CArchive& ar, GRect& r) {
    if (ar.IsStoring())
        ar << r.left << r.top << r.right << r.bottom;
    else
        ar >> r.left >> r.top >> r.right >> r.bottom;
}

} // namespace

CIndicator::CIndicator(std::int32_t state, std::uint32_t color, std::int32_t channel,
                       const std::string& label)
    : m_state(state), m_color(color), m_channel(channel) {
    SetLabel(label);
}

void CIndicator::SetLabel(const std::string& label) {
    m_label = label.size() > kMaxLabel ? tvane::CutUtf8(label, kMaxLabel) : label;
}

void CIndicator::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_state << m_color << m_label << m_channel;
        SerializeRect(ar, m_rect);
        ar << m_bitMask << m_kind;
        return;
    }
    std::string label;
    ar >> m_state >> m_color >> label >> m_channel;
    SetLabel(label);
    SerializeRect(ar, m_rect);
    ar >> m_bitMask >> m_kind;
}

CLight::CLight() : CIndicator(0, 0x0000FF00, 0, kNoLabel) {}

CLight::CLight(std::int32_t state, std::uint32_t color, std::int32_t channel,
               const std::string& label)
    : CIndicator(state, color, channel, label) {}

void CLight::Serialize(tvane::CArchive& ar) {
    CIndicator::Serialize(ar);
    if (ar.IsStoring())
        ar << m_values[0] << m_values[1];
    else
        ar >> m_values[0] >> m_values[1];
}

CDataLight::CDataLight() : CIndicator(0, 0x00C0C0C0, 0, kNoLabel) {}

CSwitch::CSwitch() : CIndicator(0, 0x00808080, 0, kNoLabel) {}

void CSwitch::Serialize(tvane::CArchive& ar) {
    CIndicator::Serialize(ar);
    SerializeRect(ar, m_rects[0]);
    SerializeRect(ar, m_rects[1]);
}

CPushButton::CPushButton() : CIndicator(0, 0x0000FF00, 0, kNoLabel) {}

void CPushButton::Serialize(tvane::CArchive& ar) {
    CIndicator::Serialize(ar);
    SerializeRect(ar, m_rect2);
}
