#include "graphics/displays/readout/CReadout.h"

#include <algorithm>

#include "graphics/CGraphFrame.h"
#include "graphics/GraphicsTexts.h"
#include "graphics/IGraphDC.h"
#include "graphics/displays/indicator/GaugeParts.h"
#include "graphics/displays/indicator/IndicatorDraw.h"
#include "graphics/displays/indicator/IndicatorTexts.h"
#include "graphics/displays/readout/ReadoutText.h"
#include "platform/archive/CArchive.h"
#include "platform/core/NameText.h"
#include "shared/CGraphException.h"

IMPLEMENT_SERIAL(CReadout, tvane::CObject, 0)

namespace {

constexpr std::int32_t kNoChannel = 2000;
constexpr std::size_t kAlarmStates = 3;

} // namespace

CReadout::CReadout()
    : m_value(readouttext::kNoValue), m_text(IndicatorTexts().Load(indicatortext::kNoReading)) {}

CReadout::~CReadout() = default;

bool CReadout::Create(CGraphFrame& frame, const GRect& rect, const LOGFONT& font) {
    m_frame = &frame;
    m_window = gauge::MakeWindow(frame, *this, rect, kSourceModule, __LINE__);
    m_button = std::make_unique<CPushButton>();
    m_button->SetState(0);
    m_font = std::make_unique<CMfxFont>();
    m_font->SetColor(kTextColor);
    if (!m_font->SetLogFont(font))
        gauge::CreateFailed(kSourceModule, __LINE__);
    const std::uint32_t colors[kAlarmStates] = {kNoAlarmColor, kLowAlarmColor, kHighAlarmColor};
    m_indicators.DeleteAll();
    for (std::size_t i = 0; i < kAlarmStates; ++i)
        m_indicators.SetAtGrow(
            i, std::make_unique<CLight>(static_cast<std::int32_t>(i), colors[i], 0, ""));
    return true;
}

bool CReadout::Recreate(CGraphFrame& frame, const GRect& rect) {
    m_frame = &frame;
    m_window = gauge::MakeWindow(frame, *this, rect, kSourceModule, __LINE__);
    if (!m_font || !m_font->CreateFont())
        gauge::CreateFailed(kSourceModule, __LINE__);
    SetText(m_text);
    if (m_mode == kImmediate && m_channel.Number != kNoChannel)
        PostRequest(CReadingInfo::kRequestQuery);
    return true;
}

void CReadout::DestroyWindow() {
    m_window.reset();
}

bool CReadout::SetText(const std::string& text) {
    if (!m_window || !m_font)
        return false;
    const std::string shown =
        text.size() > readouttext::kMaxText ? tvane::CutUtf8(text, readouttext::kMaxText) : text;
    const std::optional<GPoint> before = m_window->MeasureText(m_font->GetLogFont(), m_text);
    const std::optional<GPoint> after = m_window->MeasureText(m_font->GetLogFont(), shown);
    if (!before || !after)
        return false;
    const int width = std::max(before->x, after->x);
    const int height = std::max(before->y, after->y);
    const GRect client = m_window->GetClientRect();
    GRect changed;
    changed.left = (client.left + client.right - width) / 2;
    changed.top = (client.top + client.bottom - height) / 2;
    changed.right = changed.left + width;
    changed.bottom = changed.top + height;
    m_text = shown;
    changed = changed.Deflated(-1);
    m_window->Invalidate(&changed, true);
    Repaint(nullptr);
    return true;
}

void CReadout::ShowValue(double value) {
    const std::optional<readouttext::Shown> shown = readouttext::Format(value, m_format, m_channel);
    if (!shown)
        return;
    m_value = shown->value;
    SetText(shown->text);
}

void CReadout::ShowNoConnection() {
    m_value = readouttext::kNoValue;
    m_channel.Number = kNoChannel;
    SetText(IndicatorTexts().Load(indicatortext::kNoConnection));
    Repaint(nullptr);
}

bool CReadout::SetChannel(const CChannelInfo& channel) {
    m_channel = channel;
    if (m_mode == kImmediate && m_channel.Number != kNoChannel)
        PostRequest(CReadingInfo::kRequestQuery);
    return true;
}

bool CReadout::TakeAnswer(const CReadingInfo& record) {
    m_request = record;
    ShowValue(record.m_value);
    Repaint(nullptr);
    return true;
}

void CReadout::SetNumberFormat(std::int32_t format) {
    m_format = format;
    ShowValue(m_value);
}

void CReadout::SetAlarmState(std::int32_t state) {
    // The state picks the text's colour among the lamps: a reading's alarm
    // byte outside them keeps the colour it had.
    if (state >= 0 && static_cast<std::size_t>(state) < m_indicators.GetSize())
        m_alarm = state;
}

bool CReadout::ButtonShown() const {
    return m_mode == kImmediate && m_channel.Number != kNoChannel;
}

void CReadout::PostRequest(std::int32_t kind) {
    m_request.m_channel = m_channel.Number;
    m_request.m_request = kind;
    if (m_frame)
        m_frame->PostRequest(this, m_request);
}

void CReadout::Repaint(const GRect* rect) {
    if (!m_window)
        return;
    m_window->Invalidate(rect, true);
    m_window->Update();
}

// --- Drawing ---------------------------------------------------------------------

bool CReadout::Draw(IGraphDC& dc, const GRect& rect) {
    dc.Save();
    dc.FillRect(rect, m_backColor);
    DrawContents(dc, rect);
    dc.Restore();
    return true;
}

void CReadout::DrawContents(IGraphDC& dc, GRect rect) {
    dc.Save();
    if (m_font)
        dc.SetFont(m_font->GetLogFont());
    if (ButtonShown() && m_button)
        rect.left = indicatordraw::DrawReadButton(dc, rect, *m_button).right;
    const CIndicator* lamp = m_indicators.GetAt(static_cast<std::size_t>(m_alarm));
    const std::uint32_t color = lamp ? lamp->GetColor() : kNoAlarmColor;
    indicatordraw::DrawCentredText(dc, rect, m_text, color);
    dc.Restore();
}

void CReadout::Paint(IGraphDC& dc, const GRect& client) {
    Draw(dc, client);
}

// --- The Read button -------------------------------------------------------------

void CReadout::ApplyOutcome(const ReadButtonTracker::Outcome& out) {
    if (!m_window || !m_button)
        return;
    if (out.capture)
        m_window->SetCapture();
    if (out.repaint) {
        const GRect r = m_button->GetRect();
        Repaint(&r);
    }
    if (out.read && m_channel.Number != kNoChannel)
        PostRequest(CReadingInfo::kRequestRead);
    if (out.release)
        m_window->ReleaseCapture();
}

void CReadout::OnMouse(Mouse event, GPoint point) {
    if (m_mode != kImmediate || !m_button || !m_window)
        return;
    ApplyOutcome(
        ReadButtonTracker(*m_button).Follow(event, point, ButtonShown(), *m_window, m_frame));
}

// --- Appearance --------------------------------------------------------------------

bool CReadout::GetAppearanceItem(int item, GRAPHITEMPROPS& props) const {
    using P = GRAPHITEMPROPS;
    std::uint32_t supported = 0;
    if (gauge::GetBackTextItem(item, props, m_backColor, m_font.get(), false, supported)) {
    } else if (const int lamp = gauge::AlarmStateOfItem(item); lamp >= 0) {
        supported = P::kName | P::kColor;
        if (props.mask & P::kName)
            props.itemName = gauge::AlarmStateName(lamp);
        if (const CIndicator* light = m_indicators.GetAt(static_cast<std::size_t>(lamp));
            light && (props.mask & P::kColor))
            props.color = light->GetColor();
    }
    return (props.mask & supported) == props.mask;
}

bool CReadout::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw) {
    using P = GRAPHITEMPROPS;
    std::uint32_t supported = 0;
    if (gauge::SetBackTextItem(item, props, m_backColor, m_font.get(), false, supported)) {
        // The font goes to the window whatever was asked.
        if (item == P::kText)
            Repaint(nullptr);
    } else if (const int lamp = gauge::AlarmStateOfItem(item); lamp >= 0) {
        supported = P::kColor;
        if (CIndicator* light = m_indicators.GetAt(static_cast<std::size_t>(lamp));
            light && (props.mask & P::kColor))
            light->SetColor(props.color);
    }
    if (redraw)
        Repaint(nullptr);
    return (props.mask & supported) == props.mask;
}

// --- Archive -------------------------------------------------------------------------

void CReadout::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteObject(m_font.get());
        ar << m_text << m_backColor << m_mode;
        ar.WriteObject(m_button.get());
        ar << m_format << m_value << m_alarm;
        m_channel.Serialize(ar);
        m_indicators.Serialize(ar);
        return;
    }
    m_font = ar.ReadOwnedObject<CMfxFont>();
    ar >> m_text >> m_backColor >> m_mode;
    m_button = ar.ReadOwnedObject<CPushButton>();
    ar >> m_format >> m_value >> m_alarm;
    m_channel.Serialize(ar);
    m_indicators.Serialize(ar);
    if (!m_font || !m_button)
        gauge::Reject("readout font or Read button missing");
    if (m_mode != kImmediate && m_mode != kScan)
        gauge::Reject("readout acquisition mode out of range");
    if (m_format != readouttext::kDecimal && m_format != readouttext::kHex)
        gauge::Reject("readout number format out of range");
    if (m_indicators.GetSize() != kAlarmStates)
        gauge::Reject("readout alarm colours missing");
    for (std::size_t i = 0; i < kAlarmStates; ++i)
        if (!m_indicators.GetAs<CLight>(i))
            gauge::Reject("readout alarm colour missing");
    if (m_alarm < 0 || static_cast<std::size_t>(m_alarm) >= kAlarmStates)
        gauge::Reject("readout alarm state out of range");
    if (m_text.size() > readouttext::kMaxText)
        m_text = tvane::CutUtf8(m_text, readouttext::kMaxText);
}
