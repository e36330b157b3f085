#include "graphics/displays/xy/CXYCtrlPanel.h"

#include <algorithm>

#include "graphics/IGraphDC.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "scan/CChannelInfo.h"
#include "scan/ValueFormat.h"

IMPLEMENT_SERIAL(CXYCtrlPanel, tvane::CObject, 0)

namespace {

const char* const kOff = "(Off)";
constexpr std::uint32_t kControlFace = 0xC0C0C0;

} // namespace

const std::vector<CXYCtrlPanel::Control>& CXYCtrlPanel::Layout() {
    static const std::vector<Control> controls{
        {1103, kButton, "Autoscale", -1, {4, 11, 41, 25}},
        {1100, kCheckBox, "Marker", -1, {60, 4, 98, 14}},
        {1104, kCheckBox, "Least squares", -1, {60, 15, 118, 25}},
        {1201, kLabel, "y:", -1, {115, 4, 124, 14}},
        {1098, kReadout, nullptr, kYChannel, {125, 4, 144, 14}},
        {1101, kReadout, nullptr, kYValue, {145, 4, 207, 14}},
        {1202, kLabel, "x:", -1, {214, 4, 223, 14}},
        {1099, kReadout, nullptr, kXChannel, {224, 4, 245, 14}},
        {1102, kReadout, nullptr, kXValue, {246, 4, 308, 14}},
        {987, kLabel, "Gain:", -1, {122, 15, 144, 25}},
        {1106, kReadout, nullptr, kGain, {145, 15, 207, 25}},
        {1105, kLabel, "Offset:", -1, {210, 15, 245, 25}},
        {1107, kReadout, nullptr, kOffset, {246, 15, 308, 25}},
    };
    return controls;
}

CXYCtrlPanel::BaseUnits CXYCtrlPanel::UnitsOf(int letterWidth, int height) {
    BaseUnits units;
    if (letterWidth > 0)
        units.x = std::max(1, (letterWidth / 26 + 1) / 2);
    if (height > 0)
        units.y = height;
    return units;
}

GRect CXYCtrlPanel::ToPixels(const GRect& r, BaseUnits units) {
    auto x = [&](int v) { return v * units.x / 4; };
    auto y = [&](int v) { return v * units.y / 8; };
    return {x(r.left), y(r.top), x(r.right), y(r.bottom)};
}

CXYCtrlPanel::CXYCtrlPanel() {
    m_texts[kYChannel] = kOff;
    m_texts[kXChannel] = kOff;
    m_font.SetColor(0); // black text
}

const std::string& CXYCtrlPanel::Text(int readout) const {
    static const std::string none;
    if (readout < 0 || readout >= kReadouts)
        return none;
    return m_texts[static_cast<std::size_t>(readout)];
}

void CXYCtrlPanel::Set(int readout, std::string text) {
    m_texts[static_cast<std::size_t>(readout)] = std::move(text);
    if (m_changed)
        m_changed(readout);
}

void CXYCtrlPanel::SetFont(const LOGFONT& font) {
    m_font.SetLogFont(font);
    m_font.SetColor(0);
}

void CXYCtrlPanel::ClickAutoscale() {
    if (m_parent)
        m_parent->OnAutoScale();
}

void CXYCtrlPanel::ClickMarker(bool checked) {
    m_markerCheck = checked ? 1 : 0;
    if (m_changed)
        m_changed(-1);
    if (m_parent)
        m_parent->OnToggleVMarkerState(checked);
}

void CXYCtrlPanel::ClickLeastSquares(bool checked) {
    m_leastSquaresCheck = checked ? 1 : 0;
    if (m_changed)
        m_changed(-1);
    if (m_parent)
        m_parent->OnToggleLeastSquares(checked);
}

void CXYCtrlPanel::SetYChannel(const CChannelInfo* channel) {
    if (channel)
        m_yUnits = channel->Units;
    Set(kYChannel, channel ? "(" + std::to_string(channel->Number) + ")" : std::string(kOff));
}

void CXYCtrlPanel::SetXChannel(const CChannelInfo* channel) {
    if (channel)
        m_xUnits = channel->Units;
    Set(kXChannel, channel ? "(" + std::to_string(channel->Number) + ")" : std::string(kOff));
}

std::string CXYCtrlPanel::AxisValueText(bool overload, double value,
                                        const std::string& units) const {
    std::string text;
    if (value != kNoValue)
        FormatValue(value, units, text, 8);
    else if (overload)
        text = "OVLD";
    return text + " ";
}

std::string CXYCtrlPanel::PlainValueText(double value) {
    std::string text;
    if (value != kNoValue)
        FormatValue(value, std::string(), text, 8);
    return text + " ";
}

void CXYCtrlPanel::SetYValue(bool overload, double value) {
    Set(kYValue, AxisValueText(overload, value, m_yUnits));
}

void CXYCtrlPanel::SetXValue(bool overload, double value) {
    Set(kXValue, AxisValueText(overload, value, m_xUnits));
}

void CXYCtrlPanel::SetGain(double value) {
    Set(kGain, PlainValueText(value));
}

void CXYCtrlPanel::SetOffset(double value) {
    Set(kOffset, PlainValueText(value));
}

void CXYCtrlPanel::DrawPanel(IGraphDC& dc, const GRect& rect) const {
    dc.Save();
    dc.SetFont(m_font.GetLogFont());
    dc.FillRect(rect, static_cast<std::uint32_t>(m_colour));
    const int textHeight = dc.TextHeight();
    const BaseUnits units = UnitsOf(dc.TextWidth(Letters()), textHeight);
    for (const Control& c : Layout()) {
        if (c.kind != kLabel && c.kind != kReadout)
            continue;
        const GRect r = ToPixels(c.rect, units).Offset(rect.left, rect.top);
        // The static controls paint their own face, as on the screen.
        dc.FillRect(r, kControlFace);
        const std::string& text = c.kind == kLabel ? std::string(c.text) : Text(c.readout);
        const int top = r.top + (r.Height() - textHeight) / 2;
        dc.Text({r.left + 1, top}, text, m_font.GetColor(), &r);
    }
    dc.Restore();
}

void CXYCtrlPanel::Serialize(tvane::CArchive& ar) {
    tvane::CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<std::uint32_t>(m_colour);
        ar.WriteObject(&m_font);
        ar << m_texts[kYChannel] << m_texts[kXChannel] << m_texts[kYValue] << m_texts[kXValue]
           << m_texts[kGain] << m_texts[kOffset];
        ar << m_xUnits << m_yUnits;
        ar << m_markerCheck << m_reservedState << m_leastSquaresCheck;
        return;
    }
    std::uint32_t colour = 0;
    ar >> colour;
    auto font = ar.ReadOwnedObject<CMfxFont>();
    if (!font)
        throw tvane::CArchiveException(tvane::CArchiveException::generic, "XY panel font missing");
    std::array<std::string, kReadouts> texts;
    ar >> texts[kYChannel] >> texts[kXChannel] >> texts[kYValue] >> texts[kXValue] >>
        texts[kGain] >> texts[kOffset];
    ar >> m_xUnits >> m_yUnits;
    ar >> m_markerCheck >> m_reservedState >> m_leastSquaresCheck;
    m_colour = static_cast<std::int32_t>(colour);
    m_font = *font;
    m_texts = std::move(texts);
}
