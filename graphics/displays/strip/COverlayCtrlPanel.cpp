#include "graphics/displays/strip/COverlayCtrlPanel.h"

#include "platform/archive/CArchive.h"
#include "scan/ValueFormat.h"

IMPLEMENT_SERIAL(COverlayCtrlPanel, tvane::CObject, 0)

COverlayCtrlPanel::COverlayCtrlPanel() {
    for (int r : {kY2Channel, kY1Channel, kT2Channel, kT1Channel})
        m_texts[static_cast<std::size_t>(r)] = m_offText;
    FormatTimeInterval(m_timeRange.scale, m_timeDivText);
}

const std::string& COverlayCtrlPanel::Text(int readout) const {
    static const std::string none;
    if (readout < 0 || readout >= kReadouts)
        return none;
    return m_texts[static_cast<std::size_t>(readout)];
}

void COverlayCtrlPanel::Set(int readout, std::string text) {
    m_texts[static_cast<std::size_t>(readout)] = std::move(text);
    if (m_changed)
        m_changed(readout);
}

void COverlayCtrlPanel::ShowTimePerDivision() {
    FormatTimeInterval(m_timeRange.scale, m_timeDivText);
    if (m_changed)
        m_changed(-1);
}

void COverlayCtrlPanel::Spin(int code) {
    if (code == kSpinUp)
        overlay::StepTimePerDivision(m_timeRange, true);
    else if (code == kSpinDown)
        overlay::StepTimePerDivision(m_timeRange, false);
    ShowTimePerDivision();
    if (m_parent)
        m_parent->OnGraphRangeInfoChange(m_timeRange);
}

void COverlayCtrlPanel::ClickAutoscale() {
    if (m_parent)
        m_parent->OnAutoScale();
}

COverlayCtrlPanel::Focus COverlayCtrlPanel::TabFrom(Focus from, bool shift) {
    switch (from) {
    case kFocusEdit:
        return shift ? kFocusLeave : kFocusButton;
    case kFocusButton:
        return shift ? kFocusEdit : kFocusLeave;
    default:
        return shift ? kFocusButton : kFocusEdit;
    }
}

void COverlayCtrlPanel::SetMarkerChannel(int marker, const OverlayChannel* channel) {
    if (marker != 1 && marker != 2)
        return;
    const auto i = static_cast<std::size_t>(marker - 1);
    m_channel[i] = channel ? channel->number : -1;
    m_units[i] = channel ? channel->units : std::string();
    Set(marker == 1 ? kY1Channel : kY2Channel,
        channel ? "(" + std::to_string(channel->number) + ")" : m_offText);
}

void COverlayCtrlPanel::SetMarkerTimeLabel(int marker, const OverlayChannel* channel) {
    if (marker != 1 && marker != 2)
        return;
    Set(marker == 1 ? kT1Channel : kT2Channel,
        channel ? "(" + std::to_string(channel->number) + ")" : m_offText);
}

void COverlayCtrlPanel::SetMarkerValue(int marker, double value) {
    if (marker != 1 && marker != 2)
        return;
    const auto i = static_cast<std::size_t>(marker - 1);
    std::string text;
    if (value == kOverload) {
        std::string units;
        NormalizeUnitText(m_units[i], units);
        text = "OVLD " + units;
    } else {
        FormatValue(value, m_units[i], text, 8);
    }
    m_value[i] = value;
    Set(marker == 1 ? kY1Value : kY2Value, text + " ");
}

void COverlayCtrlPanel::SetDeltaY(double value) {
    if (value == kOverload) {
        Set(kDeltaY, std::string());
        return;
    }
    std::string text;
    FormatValue(value, m_units[0] == m_units[1] ? m_units[0] : std::string("-"), text, 8);
    Set(kDeltaY, text + " ");
}

void COverlayCtrlPanel::SetMarkerTime(int marker, const std::string& text) {
    if (marker == 1 || marker == 2)
        Set(marker == 1 ? kT1Value : kT2Value, text + " ");
}

void COverlayCtrlPanel::SetDeltaTime(const std::string& text) {
    Set(kDeltaT, text + " ");
}

void COverlayCtrlPanel::ClearText(int readout) {
    if (readout >= 0 && readout < kReadouts)
        Set(readout, std::string());
}

bool COverlayCtrlPanel::OnChannelChanged(const OverlayChannel& channel) {
    for (int marker = 1; marker <= 2; ++marker) {
        const auto i = static_cast<std::size_t>(marker - 1);
        if (m_channel[i] != -1 && m_channel[i] == channel.number) {
            SetMarkerChannel(marker, &channel);
            SetMarkerValue(marker, m_value[i]);
        }
    }
    return true;
}

void COverlayCtrlPanel::Serialize(tvane::CArchive& ar) {
    tvane::CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_colour;
        ar.WriteObject(&m_font);
        for (const auto& text : m_texts)
            ar << text;
        ar << m_units[0] << m_units[1];
    } else {
        ar >> m_colour;
        auto font = ar.ReadOwnedObject<CMfxFont>();
        if (font) {
            CheckStoredFont(font->GetLogFont());
            m_font = *font;
        }
        for (auto& text : m_texts)
            ar >> text;
        ar >> m_units[0] >> m_units[1];
    }
    SerializeOverlayRange(ar, m_timeRange);
    if (!ar.IsStoring())
        FormatTimeInterval(m_timeRange.scale, m_timeDivText);
}
