#include "graphics/displays/histogram/CHistogramCtrlPanel.h"

#include "graphics/displays/histogram/CHistogramStats.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "scan/CChannelInfo.h"
#include "scan/ValueFormat.h"

IMPLEMENT_SERIAL(CHistogramCtrlPanel, tvane::CObject, 0)

namespace {

const char* const kOff = "(Off)";

std::string Formatted(double value, const std::string& units) {
    std::string text;
    FormatValue(value, units, text, CHistogramCtrlPanel::kValueDigits);
    return text;
}

} // namespace

CHistogramCtrlPanel::CHistogramCtrlPanel() {
    m_texts[kChannel] = kOff;
}

const std::string& CHistogramCtrlPanel::Text(int field) const {
    static const std::string none;
    if (field < 0 || field >= kFields)
        return none;
    return m_texts[static_cast<std::size_t>(field)];
}

void CHistogramCtrlPanel::Set(int field, std::string text) {
    m_texts[static_cast<std::size_t>(field)] = std::move(text);
    if (m_changed)
        m_changed(field);
}

void CHistogramCtrlPanel::SetChannel(const CChannelInfo* channel) {
    if (!channel) {
        Set(kChannel, kOff);
        return;
    }
    m_units = channel->Units;
    Set(kChannel, "(" + std::to_string(channel->Number) + ")");
}

void CHistogramCtrlPanel::ShowStats(const CHistogramStats& stats) {
    if (stats.GetMinimum() != kOverload)
        Set(kMin, Formatted(stats.GetMinimum(), m_units));
    if (stats.GetMaximum() != -kOverload)
        Set(kMax, Formatted(stats.GetMaximum(), m_units));
    Set(kReadings, std::to_string(stats.GetCount()) + " ");
    Set(kStdDev, Formatted(stats.GetStdDev(), m_units));
    Set(kMean, Formatted(stats.GetMean(), m_units));
    Set(kOutOfRange, std::to_string(stats.GetOutOfRange()) + " ");
}

void CHistogramCtrlPanel::ClearStats() {
    for (int field = kMin; field < kFields; ++field)
        Set(field, {});
}

void CHistogramCtrlPanel::ClickAutoscale() {
    if (m_parent)
        m_parent->OnAutoScale();
}

void CHistogramCtrlPanel::Serialize(tvane::CArchive& ar) {
    tvane::CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_reserved;
        for (const std::string& text : m_texts)
            ar << text;
        ar << m_colour;
        ar.WriteObject(&m_font);
        ar << m_units;
        return;
    }
    ar >> m_reserved;
    for (std::string& text : m_texts)
        ar >> text;
    ar >> m_colour;
    std::unique_ptr<CMfxFont> font = ar.ReadOwnedObject<CMfxFont>();
    if (!font)
        throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                       "histogram panel font missing");
    m_font = *font;
    ar >> m_units;
    for (int field = 0; field < kFields; ++field)
        if (m_changed)
            m_changed(field);
}
