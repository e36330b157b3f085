#include "graphics/displays/bar/CBarFrame.h"

#include <cmath>

#include "graphics/CGraphView.h"
#include "graphics/CXrtGraphData.h"
#include "graphics/ChartFonts.h"
#include "graphics/DisplayFamily.h"
#include "graphics/GraphFactory.h"
#include "platform/archive/CArchive.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "scan/CChannelArray.h"
#include "scan/CChannelInfo.h"
#include "scan/CDisplayRecord.h"
#include "scan/records/ReadingRecord.h"

IMPLEMENT_SERIAL(CBarFrame, CXrtFrame, 0)

namespace {

const displays::FrameRegistration<CBarFrame> kBarMeter{32874};

IBarWindows* Windows() {
    return displays::Windows<IBarWindows>::Get();
}

} // namespace

CBarFrame::CBarFrame() {
    m_rect = {10, 10, 110, 160};
    m_defaultRect = m_rect;
    m_minWidth = m_defaultMinWidth = 100;
    m_minHeight = m_defaultMinHeight = 90;
    m_kindMask = 0x603;
    m_channelCapacity = 1;
    m_retainCount = 1;
    ResetChannelSlots();
    // No hints until the plot exists.
    m_receivesHints = 0;
}

CBarFrame::~CBarFrame() {
    m_receivesHints = 0;
    DestroyPlot();
}

void CBarFrame::DestroyPlot() {
    if (m_plot)
        m_plot->Destroy();
    m_plotWindow = nullptr;
    m_regions.clear();
}

int CBarFrame::GetHelpId(int page) const {
    return page >= 0 && page <= 3 ? 11003 + 100 * page : 11003;
}

std::unique_ptr<IChartWindow> CBarFrame::CreateChartWindow(tvane::chart::Chart& chart,
                                                           const tvane::chart::ChartRect& rect) {
    return MakeChartWindow(Windows(), m_plot.get(), chart, rect, m_plotWindow);
}

bool CBarFrame::MakeReadingBuffer() {
    auto buffer = std::make_unique<CXrtGraphData>(tvane::chart::ChartData::kGeneral,
                                                  m_channelCapacity, m_retainCount);
    if (!buffer->GetData())
        return false;
    buffer->GetData()->SetPoint(0, 0, 0.0, 0.0);
    buffer->GetData()->SetAllCounts(1);
    SetReadingData(std::move(buffer));
    SetReadingHandle(GetReadingData()->GetData());
    return true;
}

bool CBarFrame::CreateFrame(CGraphView* parent) {
    if (!CXrtFrame::CreateFrame(parent) || !Windows() || !m_window)
        return false;
    const LOGFONT font = GetFrameLogFont();
    m_plot = std::make_unique<CBarPlot>();
    m_region = std::make_unique<CRegion>(nullptr, 0.0, 0.0, 1.0, 1.0);
    if (!m_plot->Create(*this, ChartRectOf(RegionToRect(*m_region)), ToChartFont(font))) {
        DestroyPlot();
        return false;
    }
    m_region->SetWnd(m_plotWindow);
    if (!AddRegion(m_region.get())) {
        DestroyPlot();
        return false;
    }
    if (!MakeReadingBuffer()) {
        DestroyPlot();
        return false;
    }
    m_receivesHints = 1;
    CChannelInfo first;
    if (GetDefaultChannel(first))
        SetChannelAt(0, &first);
    return true;
}

bool CBarFrame::RecreateFrame(CGraphView* parent, int showCommand) {
    if (!CXrtFrame::RecreateFrame(parent, showCommand) || !Windows() || !m_window)
        return false;
    if (!m_plot || !m_region)
        return false;
    if (!m_plot->Recreate(*this, ChartRectOf(RegionToRect(*m_region)))) {
        DestroyPlot();
        return false;
    }
    m_region->SetWnd(m_plotWindow);
    if (!AddRegion(m_region.get()))
        return false;
    if (GetNoReadingsFlag() || !GetReadingData() || !GetReadingData()->GetData()) {
        if (!MakeReadingBuffer())
            return false;
    } else {
        SetReadingHandle(GetReadingData()->GetData());
    }
    m_noReadings = 1;
    m_receivesHints = 1;
    return true;
}

bool CBarFrame::EditProperties() {
    return EditOwnSheet(kBarMeter);
}

void CBarFrame::Redraw(bool erase) {
    if (m_plotWindow)
        m_plotWindow->Redraw();
    else
        CGraphFrame::Redraw(erase);
}

void CBarFrame::SetOrientation(int orientation) {
    if (m_plot)
        m_plot->SetOrientation(orientation);
}

// --- Channels ---------------------------------------------------------------------

bool CBarFrame::OnChannelChanged(int index, const CChannelInfo* info) {
    if (!info || !m_plot)
        return true;
    OnScanState();
    m_plot->ChannelChanged(index, *info);
    return true;
}

void CBarFrame::SetChannelAt(int index, const CChannelInfo* info) {
    if (index != 0)
        return;
    CGraphFrame::SetChannelAt(index, info);
    if (m_plot && info)
        m_plot->SetChannel(index, *info);
    OnScanState();
    if (info && GetDocumentHasReadings()) {
        // The stored readings show at once.
        CDisplayRecord record;
        record.m_first = 1;
        record.m_second = 1;
        record.m_third = GetDatasetCode();
        OnNewReadings(HintObject(&record));
    }
}

void CBarFrame::RemoveChannelAt(int index) {
    if (index != 0)
        return;
    CGraphFrame::RemoveChannelAt(index);
    if (m_plot)
        m_plot->RemoveChannel(index);
}

// --- Readings ---------------------------------------------------------------------

bool CBarFrame::OnNewReadings(const HintObject& object) {
    if (const CDisplayRecord* record = object.As<CDisplayRecord>();
        record && record->m_first < record->m_second)
        return false;
    const CChannelInfo* channel = m_channels ? m_channels->GetAt(0) : nullptr;
    tvane::chart::ChartData* buffer = GetReadingHandle();
    if (!channel || !buffer)
        return true;
    std::vector<ReadingRecord*> readings;
    const int n = GetChannelReadings(channel->Number, readings);
    if (n <= 0 || !readings.back())
        return true;
    buffer->SetY(0, 0, readings.back()->Value);
    if (TakeScans(n) && m_plot)
        m_plot->Update(n, *buffer);
    return true;
}

void CBarFrame::OnScanState() {
    if (tvane::chart::ChartData* buffer = GetReadingHandle())
        for (int set = 0; set < buffer->SeriesCount(); ++set)
            buffer->SetPoint(set, 0, 0.0, 0.0);
    if (m_plot) {
        m_plot->ClearData(0.0);
        m_plot->Refresh();
    }
}

// --- Appearance, drawing ----------------------------------------------------------

bool CBarFrame::GetAppearanceItem(int item, GRAPHITEMPROPS& props) {
    switch (item) {
    case 0:
        if (props.mask & GRAPHITEMPROPS::kItemRange) {
            props.firstItem = 1;
            props.itemCount = 11;
            return true;
        }
        return CGraphFrame::GetAppearanceItem(item, props);
    case 2:
    case 4:
    case 5:
    case 6:
    case 8:
    case 9:
    case 10:
    case 11:
        return m_plot && m_plot->GetAppearanceItem(item, props);
    default:
        return CGraphFrame::GetAppearanceItem(item, props);
    }
}

bool CBarFrame::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) {
    return SetAppearanceAnd(item, props, repaint,
                            [&] { return m_plot && m_plot->SetAppearanceItem(item, props); });
}

bool CBarFrame::DrawFrame(IGraphDC& dc, const GRect* rect) {
    return DrawFrameAnd(dc, rect, [&] {
        IBarWindows* windows = Windows();
        return windows && windows->DrawPlot(dc, *this);
    });
}

// --- Storing ----------------------------------------------------------------------

void CBarFrame::Serialize(tvane::CArchive& ar) {
    CXrtFrame::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(m_region.get());
        ar << m_spare[0] << m_spare[1];
        ar.WriteObject(m_plot.get());
        return;
    }
    DestroyPlot();
    if (!HasOwnShape(1, 1))
        RejectLoad("bar channels or update rate out of range");
    m_region = ar.ReadOwnedObject<CRegion>();
    ar >> m_spare[0] >> m_spare[1];
    m_plot = ar.ReadOwnedObject<CBarPlot>();
    if (!m_region || !m_plot)
        RejectLoad("bar part missing");
    if (!GetNoReadingsFlag()) {
        const CXrtGraphData* buffer = GetReadingData();
        const tvane::chart::ChartData* data = buffer ? buffer->GetData() : nullptr;
        if (!data || data->GetKind() != tvane::chart::ChartData::kGeneral ||
            data->SeriesCount() != m_channelCapacity || data->Capacity() != m_retainCount)
            RejectLoad("bar reading data does not fit the bar");
    }
}
