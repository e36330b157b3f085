#include "graphics/displays/switches/CSwitchFrame.h"

#include "graphics/DisplayFamily.h"
#include "graphics/GraphFactory.h"
#include "graphics/IGraphDC.h"
#include "platform/archive/CArchive.h"
#include "scan/CChannelArray.h"
#include "scan/CChannelInfo.h"
#include "shared/CGraphException.h"

IMPLEMENT_SERIAL(CSwitchFrame, CGraphFrame, 0)

namespace {
const displays::FrameRegistration<CSwitchFrame> kFrame{32851};
// The appearance page offers items 1 to 10: the switch plate and the levers too.
constexpr int kItemCount = 10;
} // namespace

CSwitchFrame::CSwitchFrame() {
    m_rect = {10, 10, 160, 100};
    m_rect.bottom += m_titleHeight;
    m_defaultRect = m_rect;
    m_channelCapacity = kMaxChannels;
    m_receivesHints = 0;
    m_followPreference = 0;
    m_kindMask = kBitKinds;
}

CSwitchFrame::~CSwitchFrame() {
    m_receivesHints = 0;
    if (m_wnd)
        m_wnd->DestroyWindow();
}

int CSwitchFrame::GetHelpId(int page) const {
    return page >= 0 && page <= 3 ? 11008 + 100 * page : 11008;
}

bool CSwitchFrame::CreateFrame(CGraphView* parent) {
    if (!CGraphFrame::CreateFrame(parent))
        return false;
    const LOGFONT font = GetFrameLogFont();
    m_wnd = std::make_unique<CSwitchWnd>();
    m_region = std::make_unique<CRegion>(nullptr, 0.0, 0.0, 1.0, 1.0);
    m_wnd->Create(*this, RegionToRect(*m_region), font, kMaxChannels);
    m_region->SetWnd(m_wnd->GetWindow());
    m_kindMask = IsByteDisplay() ? kByteKinds : kBitKinds;
    if (!AddRegion(m_region.get()))
        throw CGraphException(CGraphException::CreateFailed, CMfxException::Warning, nullptr,
                              kSourceModule, __LINE__, {});
    CChannelInfo channel;
    if (GetDefaultChannel(channel))
        SetChannelAt(0, &channel);
    m_receivesHints = 1;
    return true;
}

bool CSwitchFrame::RecreateFrame(CGraphView* parent, int showCommand) {
    if (!CGraphFrame::RecreateFrame(parent, showCommand) || !m_wnd || !m_region)
        return false;
    m_kindMask = IsByteDisplay() ? kByteKinds : kBitKinds;
    m_wnd->Recreate(*this, RegionToRect(*m_region));
    m_region->SetWnd(m_wnd->GetWindow());
    if (!AddRegion(m_region.get()))
        return false;
    m_receivesHints = 1;
    return true;
}

void CSwitchFrame::DestroyWindow() {
    if (m_wnd)
        m_wnd->DestroyWindow();
    CGraphFrame::DestroyWindow();
}

bool CSwitchFrame::EditProperties() {
    const graphfactory::SheetInfo* sheet = graphfactory::FindSheet(kSwitchBank);
    return EditGraphProperties(*this, sheet->pages, sheet->captionId);
}

void CSwitchFrame::Redraw(bool erase) {
    if (m_wnd && m_wnd->GetWindow()) {
        m_wnd->GetWindow()->Invalidate(nullptr, erase);
        m_wnd->GetWindow()->Update();
    }
}

// --- Display mode and channels -----------------------------------------------------------

void CSwitchFrame::SetByteDisplay(bool byteDisplay) {
    if (!m_wnd)
        return;
    m_wnd->SetDisplayMode(byteDisplay ? CSwitchWnd::kByteDisplay : CSwitchWnd::kBitDisplay);
    m_kindMask = byteDisplay ? kByteKinds : kBitKinds;
    for (int i = 0; i < kMaxChannels; ++i)
        RemoveChannelAt(i);
    CChannelInfo channel;
    if (GetDefaultChannel(channel))
        SetChannelAt(0, &channel);
    Redraw(true);
}

bool CSwitchFrame::IsByteDisplay() const {
    return m_wnd && m_wnd->GetDisplayMode() == CSwitchWnd::kByteDisplay;
}

void CSwitchFrame::SetChannelAt(int index, const CChannelInfo* channel) {
    CGraphFrame::SetChannelAt(index, channel);
    if (!m_wnd || !channel)
        return;
    m_wnd->AddBlock(index, *channel);
    OnChannelChanged(index, channel);
}

bool CSwitchFrame::OnChannelChanged(int index, const CChannelInfo* channel) {
    if (m_wnd && channel)
        m_wnd->SetChannelAt(index, *channel);
    Redraw(true);
    return true;
}

void CSwitchFrame::RemoveChannelAt(int index) {
    CGraphFrame::RemoveChannelAt(index);
    if (m_wnd) {
        m_wnd->RemoveBlock(index);
        Redraw(true);
    }
}

bool CSwitchFrame::OnActionResult(const CReadingInfo* record) {
    if (!m_receivesHints || !m_wnd)
        return false;
    if (record)
        m_wnd->OnActionResult(*record);
    return true;
}

// --- Appearance, drawing, archive -------------------------------------------------------

bool CSwitchFrame::GetAppearanceItem(int item, GRAPHITEMPROPS& props) {
    bool own = false;
    if (item == 0) {
        if (props.mask & GRAPHITEMPROPS::kItemRange) {
            props.firstItem = 1;
            props.itemCount = kItemCount;
        }
        own = (props.mask & GRAPHITEMPROPS::kItemRange) == props.mask;
    }
    const bool base = CGraphFrame::GetAppearanceItem(item, props);
    const bool window = m_wnd && m_wnd->GetAppearanceItem(item, props);
    return own || base || window;
}

bool CSwitchFrame::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) {
    const bool base = CGraphFrame::SetAppearanceItem(item, props, repaint);
    const bool own = m_wnd && m_wnd->SetAppearanceItem(item, props, repaint);
    return base || own;
}

bool CSwitchFrame::DrawFrame(IGraphDC& dc, const GRect* rect) {
    const bool base = CGraphFrame::DrawFrame(dc, rect);
    bool own = false;
    if (m_wnd)
        own = m_wnd->Draw(dc, m_wnd->GetWindow() ? m_wnd->GetWindow()->GetRectInFrame()
                                                 : GetDataRect());
    return base || own;
}

int CSwitchFrame::Print(IGraphDC& dc) {
    DrawFrame(dc, nullptr);
    return 0;
}

void CSwitchFrame::Serialize(tvane::CArchive& ar) {
    CGraphFrame::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(m_wnd.get());
        ar.WriteObject(m_region.get());
        return;
    }
    if (m_wnd)
        m_wnd->DestroyWindow();
    m_wnd = ar.ReadOwnedObject<CSwitchWnd>();
    m_region = ar.ReadOwnedObject<CRegion>();
    if (!m_wnd || !m_region)
        throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                       "switch bank part missing");
    if (m_channelCapacity != kMaxChannels)
        throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                       "switch bank channel slots out of range");
    m_wnd->CheckLoaded(kMaxChannels);
}
