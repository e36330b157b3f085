#include "graphics/displays/readout/CReadOutFrame.h"

#include <vector>

#include "graphics/DisplayFamily.h"
#include "graphics/GraphFactory.h"
#include "graphics/GraphicsTexts.h"
#include "graphics/IGraphDC.h"
#include "graphics/IGraphDocument.h"
#include "graphics/displays/indicator/GaugeParts.h"
#include "graphics/displays/indicator/IndicatorTexts.h"
#include "platform/archive/CArchive.h"
#include "platform/core/Format.h"
#include "scan/CChannelArray.h"
#include "scan/CDisplayRecord.h"
#include "scan/records/ReadingRecord.h"
#include "shared/DocumentHints.h"

IMPLEMENT_SERIAL(CReadOutFrame, CGraphFrame, 0)

namespace {
const displays::FrameRegistration<CReadOutFrame> kFrame{701};
} // namespace

namespace {

constexpr int kPreferenceShowAll = 10006;
constexpr const char* kDefaultTitle = "Readout";

// The title of a channel: its name, its label, or its number.
std::string TitleOf(const CChannelInfo& channel, const char* numberFormat) {
    if (!channel.Name.empty())
        return channel.Name;
    if (!channel.Label.empty())
        return channel.Label;
    return tvane::Format(numberFormat, static_cast<long>(channel.Number));
}

} // namespace

CReadOutFrame::CReadOutFrame() {
    m_rect = {10, 10, 150, 50};
    m_rect.bottom += m_titleHeight;
    m_defaultRect = m_rect;
    m_channelCapacity = 1;
    // No hints or answers until the readout exists.
    m_receivesHints = 0;
}

CReadOutFrame::~CReadOutFrame() {
    m_receivesHints = 0;
    if (m_readout)
        m_readout->DestroyWindow();
}

int CReadOutFrame::GetHelpId(int page) const {
    return page >= 0 && page <= 3 ? 11002 + 100 * page : 11002;
}

bool CReadOutFrame::CreateFrame(CGraphView* parent) {
    if (!CGraphFrame::CreateFrame(parent))
        return false;
    const LOGFONT font = GetFrameLogFont();
    m_readout = std::make_unique<CReadout>();
    m_region = std::make_unique<CRegion>(nullptr, 0.0, 0.0, 1.0, 1.0);
    m_readout->Create(*this, RegionToRect(*m_region), font);
    m_region->SetWnd(m_readout->GetWindow());
    ApplyChannelChoice();
    if (!AddRegion(m_region.get()))
        return false;
    m_receivesHints = 1;
    CChannelInfo channel;
    if (GetDefaultChannel(channel))
        SetChannelAt(0, &channel);
    RepaintReadout();
    return true;
}

bool CReadOutFrame::RecreateFrame(CGraphView* parent, int showCommand) {
    return CGraphFrame::RecreateFrame(parent, showCommand) &&
           gauge::RecreateWindow(*this, m_readout.get(), m_region.get());
}

void CReadOutFrame::DestroyWindow() {
    // The readout's window lives inside the frame's: it goes first.
    if (m_readout)
        m_readout->DestroyWindow();
    CGraphFrame::DestroyWindow();
}

void CReadOutFrame::ApplyChannelChoice() {
    if (GetAcquisitionMode() == CReadout::kScan) {
        m_kindMask = kScanKinds;
        m_followPreference = 1;
        if (IGraphDocument* doc = GetDocument())
            m_showAllChannels = doc->GetPreference(kPreferenceShowAll) ? 1 : 0;
    } else {
        // Outside a scan every channel of those kinds can be read.
        m_kindMask = kImmediateKinds;
        m_followPreference = 0;
        m_showAllChannels = 1;
    }
}

std::int32_t CReadOutFrame::GetAcquisitionMode() const {
    return m_readout ? m_readout->GetAcquisitionMode() : CReadout::kScan;
}

void CReadOutFrame::SetAcquisitionMode(std::int32_t mode) {
    if (!m_readout)
        return;
    m_readout->SetAcquisitionMode(mode);
    ApplyChannelChoice();
    for (int i = 0; i < m_channelCapacity; ++i)
        RemoveChannelAt(i);
    CChannelInfo channel;
    if (GetDefaultChannel(channel))
        SetChannelAt(0, &channel);
    RepaintReadout();
}

std::int32_t CReadOutFrame::GetNumberFormat() const {
    return m_readout ? m_readout->GetNumberFormat() : 0;
}

void CReadOutFrame::SetNumberFormat(std::int32_t format) {
    if (m_readout)
        m_readout->SetNumberFormat(format);
}

const CChannelInfo* CReadOutFrame::GetFirstChannel() const {
    return m_channels ? m_channels->GetAt(0) : nullptr;
}

bool CReadOutFrame::EditProperties() {
    const graphfactory::SheetInfo* sheet = graphfactory::FindSheet(kReadout);
    if (!EditGraphProperties(*this, sheet->pages, sheet->captionId))
        return false;
    const CChannelInfo* channel = GetFirstChannel();
    if (channel && (m_title.empty() || m_title == kDefaultTitle)) {
        SetTitleText(TitleOf(*channel, "<%ld>"));
        CGraphFrame::Redraw(true);
    }
    return true;
}

void CReadOutFrame::RepaintReadout() {
    if (m_readout && m_readout->GetWindow()) {
        m_readout->GetWindow()->Invalidate(nullptr, true);
        m_readout->GetWindow()->Update();
    }
}

void CReadOutFrame::Redraw(bool erase) {
    if (m_readout && m_readout->GetWindow()) {
        m_readout->GetWindow()->Invalidate(nullptr, erase);
        m_readout->GetWindow()->Update();
    }
}

// --- Channels -------------------------------------------------------------------------

void CReadOutFrame::SetChannelAt(int index, const CChannelInfo* channel) {
    OnScanState();
    CGraphFrame::SetChannelAt(index, channel);
    if (channel)
        OnChannelChanged(index, channel);
    if (channel)
        gauge::ShowStoredReadings(*this);
}

bool CReadOutFrame::OnChannelChanged(int, const CChannelInfo* channel) {
    if (!channel || !m_readout)
        return true;
    m_readout->SetChannel(*channel);
    CGraphFrame::SetChannelAt(0, channel);
    SetTitle(TitleOf(*channel, "%ld"));
    CGraphFrame::Redraw(true);
    return true;
}

void CReadOutFrame::RemoveChannelAt(int index) {
    CGraphFrame::RemoveChannelAt(index);
    SetTitle(GraphicsTexts().Load(2000));
    CGraphFrame::Redraw(true);
    if (m_readout)
        m_readout->ShowNoConnection();
}

// --- Hints ------------------------------------------------------------------------------

bool CReadOutFrame::OnNewReadings(const HintObject& object) {
    if (!m_receivesHints || !m_readout || m_readout->GetAcquisitionMode() != CReadout::kScan)
        return false;
    // Stored readings come in parts: only the last one shows.
    const CDisplayRecord* record = object.As<CDisplayRecord>();
    if (record && record->m_first < record->m_second)
        return false;
    const CChannelInfo* channel = GetFirstChannel();
    if (!channel)
        return true;
    std::vector<ReadingRecord*> readings;
    const int n = GetChannelReadings(channel->Number, readings);
    const bool stored = GetDocumentHasReadings();
    if (n <= 0 || readings.empty()) {
        if (stored)
            OnScanState();
        return true;
    }
    // A run's readings are shown every N scans; stored ones at once.
    if (!stored && m_pendingScans + n < m_updateRate) {
        m_pendingScans += n;
        return true;
    }
    m_pendingScans = 0;
    const ReadingRecord latest = *readings.back();
    m_readout->SetAlarmState(latest.AlarmState);
    m_readout->ShowValue(latest.Value);
    return true;
}

bool CReadOutFrame::OnActionResult(const CReadingInfo* record) {
    if (!m_receivesHints || !m_readout)
        return false;
    const CChannelInfo* channel = GetFirstChannel();
    if (record && channel && channel->Number == record->m_channel)
        m_readout->TakeAnswer(*record);
    return true;
}

void CReadOutFrame::OnScanState() {
    if (!m_readout || !m_readout->GetWindow())
        return;
    m_readout->SetText(IndicatorTexts().Load(indicatortext::kNoReading));
    m_readout->SetAlarmState(0);
    RepaintReadout();
}

// --- Appearance, drawing, archive ---------------------------------------------------------

bool CReadOutFrame::GetAppearanceItem(int item, GRAPHITEMPROPS& props) {
    const bool base = CGraphFrame::GetAppearanceItem(item, props);
    const bool own = m_readout && m_readout->GetAppearanceItem(item, props);
    return base || own;
}

bool CReadOutFrame::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) {
    const bool base = CGraphFrame::SetAppearanceItem(item, props, repaint);
    const bool own = m_readout && m_readout->SetAppearanceItem(item, props, repaint);
    return base || own;
}

bool CReadOutFrame::DrawFrame(IGraphDC& dc, const GRect* rect) {
    const bool base = CGraphFrame::DrawFrame(dc, rect);
    if (!m_readout)
        return base;
    m_readout->Draw(dc, GetDataRect());
    return base;
}

int CReadOutFrame::Print(IGraphDC& dc) {
    DrawFrame(dc, nullptr);
    return 0;
}

void CReadOutFrame::Serialize(tvane::CArchive& ar) {
    CGraphFrame::Serialize(ar);
    gauge::SerializeWindow(ar, m_readout, m_region, "readout part missing");
}
