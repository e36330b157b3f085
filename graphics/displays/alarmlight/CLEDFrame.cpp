#include "graphics/displays/alarmlight/CLEDFrame.h"

#include <vector>

#include "graphics/DisplayFamily.h"
#include "graphics/GraphFactory.h"
#include "graphics/IGraphDC.h"
#include "graphics/displays/indicator/GaugeParts.h"
#include "platform/archive/CArchive.h"
#include "scan/CChannelArray.h"
#include "scan/CDisplayRecord.h"
#include "scan/records/ReadingRecord.h"

IMPLEMENT_SERIAL(CLEDFrame, CGraphFrame, 0)

namespace {
const displays::FrameRegistration<CLEDFrame> kFrame{32818};
} // namespace

CLEDFrame::CLEDFrame() {
    m_rect = {10, 10, 160, 50};
    m_rect.bottom += m_titleHeight;
    m_defaultRect = m_rect;
    m_channelCapacity = kMaxChannels;
    // The frame's default kinds and computed channels.
    m_kindMask = 0x603;
    // No hints until the lamps' window exists.
    m_receivesHints = 0;
}

CLEDFrame::~CLEDFrame() {
    m_receivesHints = 0;
    if (m_wnd)
        m_wnd->DestroyWindow();
}

int CLEDFrame::GetHelpId(int page) const {
    return page >= 0 && page <= 3 ? 11007 + 100 * page : 11007;
}

bool CLEDFrame::CreateFrame(CGraphView* parent) {
    if (!CGraphFrame::CreateFrame(parent))
        return false;
    const LOGFONT font = GetFrameLogFont();
    m_wnd = std::make_unique<CLEDWnd>();
    m_region = std::make_unique<CRegion>(nullptr, 0.0, 0.0, 1.0, 1.0);
    m_wnd->Create(*this, RegionToRect(*m_region), font, kMaxChannels);
    m_region->SetWnd(m_wnd->GetWindow());
    if (!AddRegion(m_region.get()))
        return false;
    m_receivesHints = 1;
    CChannelInfo channel;
    if (GetDefaultChannel(channel))
        SetChannelAt(0, &channel);
    return true;
}

bool CLEDFrame::RecreateFrame(CGraphView* parent, int showCommand) {
    return CGraphFrame::RecreateFrame(parent, showCommand) &&
           gauge::RecreateWindow(*this, m_wnd.get(), m_region.get());
}

void CLEDFrame::DestroyWindow() {
    if (m_wnd)
        m_wnd->DestroyWindow();
    CGraphFrame::DestroyWindow();
}

bool CLEDFrame::EditProperties() {
    const graphfactory::SheetInfo* sheet = graphfactory::FindSheet(kAlarmLight);
    return EditGraphProperties(*this, sheet->pages, sheet->captionId);
}

void CLEDFrame::Redraw(bool erase) {
    if (m_wnd && m_wnd->GetWindow()) {
        m_wnd->GetWindow()->Invalidate(nullptr, erase);
        m_wnd->Update();
    }
}

void CLEDFrame::SetChannelAt(int index, const CChannelInfo* channel) {
    CGraphFrame::SetChannelAt(index, channel);
    if (!m_wnd)
        return;
    m_wnd->AddLight(index);
    OnChannelChanged(index, channel);
    if (channel)
        gauge::ShowStoredReadings(*this);
}

void CLEDFrame::RemoveChannelAt(int index) {
    CGraphFrame::RemoveChannelAt(index);
    if (m_wnd) {
        m_wnd->RemoveLight(index);
        Redraw(true);
    }
}

bool CLEDFrame::OnChannelChanged(int index, const CChannelInfo* channel) {
    if (m_wnd && channel)
        m_wnd->SetLightLabel(index, *channel);
    Redraw(true);
    return true;
}

bool CLEDFrame::OnNewReadings(const HintObject& object) {
    const CDisplayRecord* record = object.As<CDisplayRecord>();
    if (record && record->m_first < record->m_second)
        return false;
    if (!m_wnd || !m_channels)
        return true;
    const bool stored = GetDocumentHasReadings();
    bool counted = stored;
    std::vector<ReadingRecord*> readings;
    for (std::size_t slot = 0; slot < m_channels->GetSize(); ++slot) {
        const CChannelInfo* channel = m_channels->GetAt(slot);
        if (!channel)
            continue;
        const int n = GetChannelReadings(channel->Number, readings);
        if (n <= 0 || readings.empty())
            continue;
        // A run's readings are shown every N scans, counted at the first
        // channel that has any; stored ones at once.
        if (!counted) {
            counted = true;
            if (m_pendingScans + n < m_updateRate) {
                m_pendingScans += n;
                return true;
            }
        }
        const std::uint8_t alarm = readings.back()->AlarmState;
        m_wnd->SetLightState(static_cast<int>(slot), alarm);
    }
    m_pendingScans = 0;
    m_wnd->Update();
    return true;
}

void CLEDFrame::OnScanState() {
    if (!m_wnd || !m_channels)
        return;
    for (std::size_t slot = 0; slot < m_channels->GetSize(); ++slot)
        if (m_channels->GetAt(slot))
            if (CIndicator* lamp = m_wnd->GetLights().GetAt(slot))
                lamp->SetState(0);
    Redraw(true);
}

bool CLEDFrame::GetAppearanceItem(int item, GRAPHITEMPROPS& props) {
    const bool base = CGraphFrame::GetAppearanceItem(item, props);
    const bool own = m_wnd && m_wnd->GetAppearanceItem(item, props);
    return base || own;
}

bool CLEDFrame::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) {
    const bool base = CGraphFrame::SetAppearanceItem(item, props, repaint);
    const bool own = m_wnd && m_wnd->SetAppearanceItem(item, props, repaint);
    return base || own;
}

bool CLEDFrame::DrawFrame(IGraphDC& dc, const GRect* rect) {
    const bool base = CGraphFrame::DrawFrame(dc, rect);
    if (!m_wnd)
        return base;
    const GRect place = m_wnd->GetWindow() ? m_wnd->GetWindow()->GetRectInFrame() : GetDataRect();
    const bool own = m_wnd->Draw(dc, place);
    return base || own;
}

int CLEDFrame::Print(IGraphDC& dc) {
    DrawFrame(dc, nullptr);
    return 0;
}

void CLEDFrame::Serialize(tvane::CArchive& ar) {
    CGraphFrame::Serialize(ar);
    gauge::SerializeWindow(ar, m_wnd, m_region, "alarm light part missing");
    if (ar.IsStoring())
        return;
    if (m_channelCapacity != kMaxChannels)
        gauge::Reject("alarm light channel slots out of range");
    m_wnd->CheckLoaded(kMaxChannels);
}
