#include "graphics/displays/datalight/CDataLEDFrame.h"

#include <vector>

#include "graphics/DisplayFamily.h"
#include "graphics/GraphFactory.h"
#include "graphics/IGraphDC.h"
#include "graphics/IGraphDocument.h"
#include "graphics/displays/indicator/GaugeParts.h"
#include "platform/archive/CArchive.h"
#include "scan/CChannelArray.h"
#include "scan/CDisplayRecord.h"
#include "scan/records/ReadingRecord.h"
#include "shared/CGraphException.h"

IMPLEMENT_SERIAL(CDataLEDFrame, CGraphFrame, 0)

namespace {
const displays::FrameRegistration<CDataLEDFrame> kFrame{32885};
} // namespace

namespace {
constexpr int kPreferenceShowAll = 10006;
constexpr int kItemCount = 9;
} // namespace

CDataLEDFrame::CDataLEDFrame() {
    m_rect = {10, 10, 160, 90};
    m_rect.bottom += m_titleHeight;
    m_defaultRect = m_rect;
    m_channelCapacity = kMaxChannels;
    m_receivesHints = 0;
    m_followPreference = 0;
}

CDataLEDFrame::~CDataLEDFrame() {
    m_receivesHints = 0;
    if (m_wnd)
        m_wnd->DestroyWindow();
}

int CDataLEDFrame::GetHelpId(int page) const {
    return page >= 0 && page <= 3 ? 11011 + 100 * page : 11011;
}

bool CDataLEDFrame::CreateFrame(CGraphView* parent) {
    if (!CGraphFrame::CreateFrame(parent))
        return false;
    const LOGFONT font = GetFrameLogFont();
    m_wnd = std::make_unique<CDataLEDWnd>();
    m_region = std::make_unique<CRegion>(nullptr, 0.0, 0.0, 1.0, 1.0);
    m_wnd->Create(*this, RegionToRect(*m_region), font, kMaxChannels);
    m_region->SetWnd(m_wnd->GetWindow());
    UpdateChannelKinds();
    if (!AddRegion(m_region.get()))
        throw CGraphException(CGraphException::CreateFailed, CMfxException::Warning, nullptr,
                              kSourceModule, __LINE__, {});
    CChannelInfo channel;
    if (GetDefaultChannel(channel))
        SetChannelAt(0, &channel);
    m_receivesHints = 1;
    return true;
}

bool CDataLEDFrame::RecreateFrame(CGraphView* parent, int showCommand) {
    return CGraphFrame::RecreateFrame(parent, showCommand) &&
           gauge::RecreateWindow(*this, m_wnd.get(), m_region.get());
}

void CDataLEDFrame::DestroyWindow() {
    if (m_wnd)
        m_wnd->DestroyWindow();
    CGraphFrame::DestroyWindow();
}

bool CDataLEDFrame::EditProperties() {
    const graphfactory::SheetInfo* sheet = graphfactory::FindSheet(kDataLight);
    return EditGraphProperties(*this, sheet->pages, sheet->captionId);
}

void CDataLEDFrame::Redraw(bool erase) {
    if (m_wnd && m_wnd->GetWindow()) {
        m_wnd->GetWindow()->Invalidate(nullptr, erase);
        m_wnd->GetWindow()->Update();
    }
}

// --- Modes and channels ------------------------------------------------------------------

void CDataLEDFrame::UpdateChannelKinds() {
    if (!m_wnd)
        return;
    m_kindMask = m_wnd->GetDisplayMode() == CDataLEDWnd::kByteDisplay ? kByteKinds : kBitKinds;
    if (m_wnd->GetAcquisitionMode() == CDataLEDWnd::kImmediate) {
        // Outside a scan every digital channel can be read.
        m_followPreference = 0;
        m_showAllChannels = 1;
    } else {
        m_followPreference = 1;
        IGraphDocument* doc = GetDocument();
        m_showAllChannels = doc && doc->GetPreference(kPreferenceShowAll) ? 1 : 0;
    }
}

void CDataLEDFrame::Restart() {
    UpdateChannelKinds();
    for (int i = 0; i < kMaxChannels; ++i)
        RemoveChannelAt(i);
    CChannelInfo channel;
    if (GetDefaultChannel(channel))
        SetChannelAt(0, &channel);
    Redraw(true);
}

void CDataLEDFrame::SetDisplayMode(std::int32_t mode) {
    if (!m_wnd)
        return;
    m_wnd->SetDisplayMode(mode);
    Restart();
}

void CDataLEDFrame::SetAcquisitionMode(std::int32_t mode) {
    if (!m_wnd)
        return;
    m_wnd->SetAcquisitionMode(mode);
    Restart();
}

std::int32_t CDataLEDFrame::GetAcquisitionMode() const {
    return m_wnd ? m_wnd->GetAcquisitionMode() : CDataLEDWnd::kImmediate;
}

void CDataLEDFrame::SetByteDisplay(bool byteDisplay) {
    SetDisplayMode(byteDisplay ? CDataLEDWnd::kByteDisplay : CDataLEDWnd::kBitDisplay);
}

bool CDataLEDFrame::IsByteDisplay() const {
    return m_wnd && m_wnd->GetDisplayMode() == CDataLEDWnd::kByteDisplay;
}

void CDataLEDFrame::SetChannelAt(int index, const CChannelInfo* channel) {
    CGraphFrame::SetChannelAt(index, channel);
    if (!m_wnd || !channel)
        return;
    m_wnd->AddBlock(index, *channel);
    OnChannelChanged(index, channel);
}

bool CDataLEDFrame::OnChannelChanged(int index, const CChannelInfo* channel) {
    if (m_wnd && channel)
        m_wnd->ChangeChannel(index, *channel);
    Redraw(true);
    return true;
}

void CDataLEDFrame::RemoveChannelAt(int index) {
    CGraphFrame::RemoveChannelAt(index);
    if (m_wnd) {
        m_wnd->RemoveBlock(index);
        Redraw(true);
    }
}

// --- Hints ---------------------------------------------------------------------------------

bool CDataLEDFrame::OnNewReadings(const HintObject& object) {
    if (!m_receivesHints || !m_wnd || m_wnd->GetAcquisitionMode() != CDataLEDWnd::kScan)
        return false;
    const CDisplayRecord* record = object.As<CDisplayRecord>();
    if (record && record->m_first < record->m_second)
        return false;
    // A run's readings are shown every N scans, counted at the first block
    // that has any; stored ones at once.
    bool counted = GetDocumentHasReadings();
    CIndicatorBlockArray& blocks = m_wnd->Blocks().Blocks();
    std::vector<ReadingRecord*> readings;
    for (std::size_t i = 0; i < blocks.GetSize(); ++i) {
        CIndicatorArray* block = blocks.GetAt(i);
        if (!block)
            continue;
        const int n = GetChannelReadings(block->m_channel, readings);
        if (n <= 0 || readings.empty())
            continue;
        if (!counted) {
            counted = true;
            if (m_pendingScans + n < m_updateRate) {
                m_pendingScans += n;
                return true;
            }
        }
        block->m_value = IndicatorBlocks::ValueBits(readings.back()->Value);
    }
    m_pendingScans = 0;
    m_wnd->ApplyReading(nullptr);
    return true;
}

bool CDataLEDFrame::OnActionResult(const CReadingInfo* record) {
    if (!m_receivesHints || !m_wnd)
        return false;
    if (record)
        m_wnd->ApplyReading(record);
    return true;
}

void CDataLEDFrame::OnScanState() {
    if (!m_wnd)
        return;
    CIndicatorBlockArray& blocks = m_wnd->Blocks().Blocks();
    for (std::size_t i = 0; i < blocks.GetSize(); ++i)
        if (CIndicatorArray* block = blocks.GetAt(i))
            block->m_value = 0;
    m_wnd->ApplyReading(nullptr);
}

// --- Appearance, drawing, archive -------------------------------------------------------

bool CDataLEDFrame::GetAppearanceItem(int item, GRAPHITEMPROPS& props) {
    bool own = false;
    if (item == 0) {
        // The appearance page offers the lamp colours, items 8 and 9, too.
        const std::uint32_t supported = GRAPHITEMPROPS::kItemRange;
        if (props.mask & GRAPHITEMPROPS::kItemRange) {
            props.firstItem = 1;
            props.itemCount = kItemCount;
        }
        own = (props.mask & supported) == props.mask;
    }
    const bool base = CGraphFrame::GetAppearanceItem(item, props);
    const bool window = m_wnd && m_wnd->GetAppearanceItem(item, props);
    return own || base || window;
}

bool CDataLEDFrame::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) {
    const bool base = CGraphFrame::SetAppearanceItem(item, props, repaint);
    const bool own = m_wnd && m_wnd->SetAppearanceItem(item, props, repaint);
    return base || own;
}

bool CDataLEDFrame::DrawFrame(IGraphDC& dc, const GRect* rect) {
    const bool base = CGraphFrame::DrawFrame(dc, rect);
    if (m_wnd)
        m_wnd->Draw(dc, m_wnd->GetWindow() ? m_wnd->GetWindow()->GetRectInFrame() : GetDataRect());
    return base;
}

int CDataLEDFrame::Print(IGraphDC& dc) {
    DrawFrame(dc, nullptr);
    return 0;
}

void CDataLEDFrame::Serialize(tvane::CArchive& ar) {
    CGraphFrame::Serialize(ar);
    gauge::SerializeWindow(ar, m_wnd, m_region, "data light part missing");
    if (ar.IsStoring())
        return;
    if (m_channelCapacity != kMaxChannels)
        gauge::Reject("data light channel slots out of range");
    m_wnd->CheckLoaded(kMaxChannels);
}
