#include "graphics/displays/alarmlight/CLEDWnd.h"

#include "graphics/CGraphFrame.h"
#include "graphics/GraphicsTexts.h"
#include "graphics/IGraphDC.h"
#include "graphics/displays/indicator/GaugeParts.h"
#include "graphics/displays/indicator/IndicatorDraw.h"
#include "graphics/displays/indicator/IndicatorTexts.h"
#include "platform/archive/CArchive.h"
#include "scan/CChannelInfo.h"
#include "shared/CGraphException.h"

IMPLEMENT_SERIAL(CLEDWnd, tvane::CObject, 0)

CLEDWnd::CLEDWnd() : m_lamps(std::make_unique<CIndicatorArray>()) {
    for (int s = 0; s < kStates; ++s)
        m_brushes[s].CreateBrush(kDefaultColors[s], CMfxBrush::kSolid);
}

CLEDWnd::~CLEDWnd() = default;

bool CLEDWnd::Create(CGraphFrame& frame, const GRect& rect, const LOGFONT& font, int lampSlots) {
    m_window = gauge::MakeWindow(frame, *this, rect, kSourceModule, __LINE__);
    SetLightCount(lampSlots);
    m_font = std::make_unique<CMfxFont>();
    m_font->SetColor(0x000000);
    if (!m_font->SetLogFont(font))
        gauge::CreateFailed(kSourceModule, __LINE__);
    for (CMfxBrush& brush : m_brushes)
        if (!brush.Recreate())
            gauge::CreateFailed(kSourceModule, __LINE__);
    return true;
}

bool CLEDWnd::Recreate(CGraphFrame& frame, const GRect& rect) {
    m_window = gauge::MakeWindow(frame, *this, rect, kSourceModule, __LINE__);
    if (!m_font || !m_font->CreateFont())
        gauge::CreateFailed(kSourceModule, __LINE__);
    for (CMfxBrush& brush : m_brushes)
        if (!brush.Recreate())
            gauge::CreateFailed(kSourceModule, __LINE__);
    return true;
}

void CLEDWnd::DestroyWindow() {
    m_window.reset();
}

void CLEDWnd::SetLightCount(int n) {
    m_lamps->DeleteAll();
    m_lamps->SetSize(static_cast<std::size_t>(std::max(n, 0)));
    m_lampCount = 0;
}

void CLEDWnd::AddLight(int index) {
    if (index < 0 || m_lamps->GetAt(static_cast<std::size_t>(index)))
        return;
    m_lamps->SetAtGrow(static_cast<std::size_t>(index), std::make_unique<CLight>());
    ++m_lampCount;
}

bool CLEDWnd::RemoveLight(int index) {
    if (index >= 0 && m_lamps->GetAt(static_cast<std::size_t>(index))) {
        --m_lampCount;
        m_lamps->DeleteAt(static_cast<std::size_t>(index));
    }
    return true;
}

void CLEDWnd::SetLightLabel(int index, const CChannelInfo& channel) {
    if (CIndicator* lamp = index >= 0 ? m_lamps->GetAt(static_cast<std::size_t>(index)) : nullptr)
        lamp->SetLabel(channel.Name.empty() ? channel.Label : channel.Name);
}

void CLEDWnd::SetLightState(int index, std::int32_t state) {
    CIndicator* lamp = index >= 0 ? m_lamps->GetAt(static_cast<std::size_t>(index)) : nullptr;
    if (!lamp || lamp->GetState() == state || state < 0 || state >= kStates)
        return;
    lamp->SetState(state);
    const GRect r = lamp->GetRect();
    Repaint(&r, true);
}

void CLEDWnd::Update() {
    if (m_window)
        m_window->Update();
}

void CLEDWnd::Repaint(const GRect* rect, bool erase) {
    if (m_window)
        m_window->Invalidate(rect, erase);
}

// --- Drawing -----------------------------------------------------------------------

bool CLEDWnd::Draw(IGraphDC& dc, const GRect& r) {
    dc.Save();
    dc.FillRect(r, m_backColor);
    if (m_lamps->GetSize() == 0) {
        dc.Restore();
        return true;
    }
    if (m_font)
        dc.SetFont(m_font->GetLogFont());
    const std::uint32_t textColor = m_font ? m_font->GetColor() : 0;
    if (m_lampCount == 0) {
        indicatordraw::DrawCentredText(dc, r, IndicatorTexts().Load(indicatortext::kNoConnection),
                                       textColor);
        dc.Restore();
        return true;
    }
    const int w = r.Width() / m_lampCount;
    GRect label{r.left, r.top + static_cast<int>(0.66 * r.Height()), r.left + w, r.bottom};
    GRect box = indicatordraw::SquareBox({r.left, r.top, r.left + w, label.top});
    for (std::size_t i = 0; i < m_lamps->GetSize(); ++i) {
        CIndicator* lamp = m_lamps->GetAt(i);
        if (!lamp)
            continue;
        lamp->SetRect(box);
        indicatordraw::DrawCentredText(dc, label, lamp->GetLabel(), textColor);
        const int state =
            lamp->GetState() >= 0 && lamp->GetState() < kStates ? lamp->GetState() : 0;
        dc.Ellipse(box, m_brushes[state].GetColor(), graphcolor::kBlack);
        indicatordraw::DrawLampBevel(dc, box);
        label = label.Offset(w, 0);
        box = box.Offset(w, 0);
    }
    dc.Restore();
    return true;
}

void CLEDWnd::Paint(IGraphDC& dc, const GRect& client) {
    Draw(dc, client);
}

// --- Appearance ---------------------------------------------------------------------

bool CLEDWnd::GetAppearanceItem(int item, GRAPHITEMPROPS& props) const {
    using P = GRAPHITEMPROPS;
    std::uint32_t supported = 0;
    if (gauge::GetBackTextItem(item, props, m_backColor, m_font.get(), true, supported)) {
    } else if (const int state = gauge::AlarmStateOfItem(item); state >= 0) {
        supported = P::kName | P::kColor;
        if (props.mask & P::kName)
            props.itemName = gauge::AlarmStateName(state);
        if (props.mask & P::kColor)
            props.color = m_brushes[state].GetColor();
    }
    return (props.mask & supported) == props.mask;
}

bool CLEDWnd::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw) {
    using P = GRAPHITEMPROPS;
    std::uint32_t supported = 0;
    if (gauge::SetBackTextItem(item, props, m_backColor, m_font.get(), true, supported)) {
    } else if (const int state = gauge::AlarmStateOfItem(item); state >= 0) {
        supported = P::kColor;
        if (props.mask & P::kColor)
            m_brushes[state].CreateBrush(props.color, CMfxBrush::kSolid);
    }
    if (redraw) {
        Repaint(nullptr, true);
        Update();
    }
    return (props.mask & supported) == props.mask;
}

// --- Archive ---------------------------------------------------------------------------

void CLEDWnd::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_backColor;
        ar.WriteObject(m_font.get());
        ar << m_lampCount;
        ar.WriteObject(m_lamps.get());
        ar << m_brushes[0].GetColor() << m_brushes[1].GetColor();
        return;
    }
    ar >> m_backColor;
    m_font = ar.ReadOwnedObject<CMfxFont>();
    ar >> m_lampCount;
    std::unique_ptr<CIndicatorArray> lamps = ar.ReadOwnedObject<CIndicatorArray>();
    std::uint32_t noAlarm = 0, lowAlarm = 0;
    ar >> noAlarm >> lowAlarm;
    if (!m_font || !lamps)
        gauge::Reject("alarm light font or lamps missing");
    m_lamps = std::move(lamps);
    m_brushes[0].CreateBrush(noAlarm, CMfxBrush::kSolid);
    m_brushes[1].CreateBrush(lowAlarm, CMfxBrush::kSolid);
    m_brushes[2].CreateBrush(kDefaultColors[2], CMfxBrush::kSolid);
}

void CLEDWnd::CheckLoaded(int slots) {
    if (slots < 0 || m_lamps->GetSize() > static_cast<std::size_t>(slots))
        gauge::Reject("too many alarm lamps");
    std::size_t lamps = 0;
    for (std::size_t i = 0; i < m_lamps->GetSize(); ++i) {
        const CIndicator* lamp = m_lamps->GetAt(i);
        if (!lamp)
            continue;
        if (!lamp->IsKindOf(RUNTIME_CLASS(CLight)) || lamp->GetState() < 0 ||
            lamp->GetState() >= kStates)
            gauge::Reject("alarm lamp of the wrong kind or state");
        ++lamps;
    }
    if (lamps != m_lampCount)
        gauge::Reject("alarm lamp count does not match the lamps");
    m_lamps->SetSize(static_cast<std::size_t>(slots));
}
