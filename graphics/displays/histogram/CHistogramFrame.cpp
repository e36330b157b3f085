#include "graphics/displays/histogram/CHistogramFrame.h"

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
#include "scan/CRoundedValue.h"
#include "scan/records/ReadingRecord.h"
#include "shared/CGraphException.h"

IMPLEMENT_SERIAL(CHistogramFrame, CXrtFrame, 0)

namespace {

const displays::FrameRegistration<CHistogramFrame> kHistogram{703};

IHistogramWindows* Windows() {
    return displays::Windows<IHistogramWindows>::Get();
}

} // namespace

CHistogramFrame::CHistogramFrame() {
    m_rect = {10, 10, 483, 340};
    m_defaultRect = m_rect;
    m_minWidth = m_defaultMinWidth = 475;
    m_minHeight = m_defaultMinHeight = 125;
    m_kindMask = 0x603;
    m_channelCapacity = 1;
    m_retainCount = kRetainScans;
    ResetChannelSlots();
    // No hints until the children exist.
    m_receivesHints = 0;
}

CHistogramFrame::~CHistogramFrame() {
    m_receivesHints = 0;
    DestroyChildren();
}

void CHistogramFrame::DestroyChildren() {
    m_panelWindow.reset();
    if (m_plot)
        m_plot->Destroy();
    m_plotWindow = nullptr;
    m_regions.clear();
}

int CHistogramFrame::GetHelpId(int page) const {
    return page >= 0 && page <= 3 ? 11005 + 100 * page : 11005;
}

GRect CHistogramFrame::GetDataRect() const {
    GRect r = CGraphFrame::GetDataRect();
    if (m_panelWindow)
        r.bottom -= m_panelWindow->Height();
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

GRect CHistogramFrame::PanelRect() const {
    const GRect data = CGraphFrame::GetDataRect();
    GRect r = data;
    const int height = m_panelWindow ? m_panelWindow->Height() : 0;
    if (data.Height() > height)
        r.top = data.bottom - height;
    return r;
}

void CHistogramFrame::OnSize(bool changed) {
    if (m_panelWindow)
        m_panelWindow->MoveWindow(PanelRect(), true);
    CGraphFrame::OnSize(changed);
}

std::unique_ptr<IChartWindow>
CHistogramFrame::CreateChartWindow(tvane::chart::Chart& chart,
                                   const tvane::chart::ChartRect& rect) {
    return MakeChartWindow(Windows(), m_plot.get(), chart, rect, m_plotWindow);
}

bool CHistogramFrame::MakePanelWindow() {
    m_panel->SetParent(this);
    m_panelWindow = Windows()->CreatePanelWindow(*m_window, *m_panel, CGraphFrame::GetDataRect());
    if (!m_panelWindow)
        throw CGraphException(CGraphException::CreateFailed, 0, nullptr, kPanelSource,
                              kPanelCreateLine, __TIMESTAMP__);
    m_panelWindow->MoveWindow(PanelRect(), true);
    return true;
}

bool CHistogramFrame::MakeBinTable(int bins) {
    auto table = std::make_unique<CXrtGraphData>(tvane::chart::ChartData::kGeneral, 2, bins);
    if (!table->GetData())
        return false;
    SetReadingData(std::move(table));
    SetReadingHandle(GetReadingData()->GetData());
    m_bins.SetTable(GetReadingHandle());
    return true;
}

bool CHistogramFrame::CreateFrame(CGraphView* parent) {
    if (!CXrtFrame::CreateFrame(parent) || !Windows() || !m_window)
        return false;
    m_stats = std::make_unique<CHistogramStats>();
    const LOGFONT font = GetFrameLogFont();
    m_panel = std::make_unique<CHistogramCtrlPanel>();
    m_panel->GetFont().SetLogFont(font);
    m_panel->GetFont().SetColor(0);
    MakePanelWindow();

    m_plot = std::make_unique<CHistogramPlot>();
    m_plotRegion = std::make_unique<CRegion>(nullptr, 0.0, 0.0, 1.0, 1.0);
    if (!m_plot->Create(*this, ChartRectOf(RegionToRect(*m_plotRegion)), ToChartFont(font))) {
        DestroyChildren();
        return false;
    }
    m_plotRegion->SetWnd(m_plotWindow);
    if (!AddRegion(m_plotRegion.get())) {
        DestroyChildren();
        return false;
    }
    if (!MakeBinTable(m_bins.m_binCount)) {
        DestroyChildren();
        return false;
    }
    ResetHistogram();
    m_receivesHints = 1;
    CChannelInfo first;
    if (GetDefaultChannel(first))
        SetChannelAt(0, &first);
    return true;
}

bool CHistogramFrame::RecreateFrame(CGraphView* parent, int showCommand) {
    if (!CXrtFrame::RecreateFrame(parent, showCommand) || !Windows() || !m_window)
        return false;
    if (!m_panel || !m_plot || !m_plotRegion || !m_stats)
        return false;
    m_panel->GetFont().CreateFont();
    MakePanelWindow();
    if (!m_plot->Recreate(*this, ChartRectOf(RegionToRect(*m_plotRegion))))
        return false;
    m_plotRegion->SetWnd(m_plotWindow);
    if (!AddRegion(m_plotRegion.get()))
        return false;
    if (GetNoReadingsFlag() || !GetReadingData() || !GetReadingData()->GetData()) {
        if (!MakeBinTable(m_bins.m_binCount))
            return false;
        m_bins.Reset(false);
    } else {
        SetReadingHandle(GetReadingData()->GetData());
        m_bins.SetTable(GetReadingHandle());
    }
    m_noReadings = 1;
    m_receivesHints = 1;
    return true;
}

bool CHistogramFrame::EditProperties() {
    return EditOwnSheet(kHistogram);
}

void CHistogramFrame::Redraw(bool erase) {
    if (m_plotWindow)
        m_plotWindow->Redraw();
    if (m_panelWindow)
        m_panelWindow->Redraw();
    CGraphFrame::Redraw(erase);
}

// --- Channels --------------------------------------------------------------------

bool CHistogramFrame::OnChannelChanged(int index, const CChannelInfo* info) {
    if (index != 0 || !info || !m_plot || !m_panel)
        return true;
    ResetHistogram();
    m_plot->SelectRange(index, *info);
    // The bins follow the axis, which takes the channel's range.
    SetLowLimit(info->RangeMin, false);
    SetHighLimit(info->RangeMax, false);
    m_panel->SetChannel(info);
    return true;
}

void CHistogramFrame::SetChannelAt(int index, const CChannelInfo* info) {
    if (index != 0 || !info)
        return;
    ResetHistogram();
    CGraphFrame::SetChannelAt(index, info);
    if (m_plot) {
        m_plot->SetRangeAt(index);
        m_plot->SelectRange(index, *info);
    }
    SetLowLimit(info->RangeMin, false);
    SetHighLimit(info->RangeMax, false);
    if (m_panel)
        m_panel->SetChannel(info);
    CXrtGraph::RepaintHold hold(m_plot.get());
    RequestRefresh();
}

void CHistogramFrame::RemoveChannelAt(int index) {
    if (index != 0)
        return;
    CGraphFrame::RemoveChannelAt(index);
    if (m_plot)
        m_plot->RemoveRangeAt(index);
    if (m_panel)
        m_panel->SetChannel(nullptr);
}

// --- Binning ---------------------------------------------------------------------

void CHistogramFrame::ResetHistogram() {
    m_bins.Reset();
    if (m_stats)
        m_stats->Reset();
    if (m_plot)
        m_plot->ClearData();
    if (m_panel)
        m_panel->ClearStats();
}

void CHistogramFrame::RequestRefresh() {
    if (m_bins.m_total > 0)
        return;
    CXrtFrame::RequestRefresh();
}

bool CHistogramFrame::OnNewReadings(const HintObject&) {
    const CChannelInfo* channel = m_channels ? m_channels->GetAt(0) : nullptr;
    if (!channel || !m_stats)
        return true;
    std::vector<ReadingRecord*> readings;
    const int n = GetChannelReadings(channel->Number, readings);
    if (n <= 0)
        return true;
    m_values.clear();
    for (const ReadingRecord* r : readings) {
        if (!r)
            continue;
        const double value = r->Value; // a packed record's field, read by value
        m_values.push_back(value);
    }
    m_bins.AddReadings(m_values.data(), static_cast<int>(m_values.size()), *m_stats);
    if (!TakeScans(n) || !m_plot || !m_bins.GetTable())
        return true;
    CXrtGraph::RepaintHold hold(GetDocumentHasReadings() ? m_plot.get() : nullptr);
    m_plot->SetBinData(n, *m_bins.GetTable());
    if (m_panel)
        m_panel->ShowStats(*m_stats);
    return true;
}

void CHistogramFrame::OnScanState() {
    ResetHistogram();
}

// --- The pages' settings ---------------------------------------------------------

bool CHistogramFrame::SetLowLimit(double value, bool refresh) {
    if (!ReplaceIfChanged(m_bins.m_low, value))
        return false;
    if (m_plot)
        m_plot->SetXMin(value, refresh);
    ResetHistogram();
    if (refresh) {
        CXrtGraph::RepaintHold hold(m_plot.get());
        RequestRefresh();
    }
    return true;
}

bool CHistogramFrame::SetHighLimit(double value, bool refresh) {
    if (!ReplaceIfChanged(m_bins.m_high, value))
        return false;
    if (m_plot)
        m_plot->SetXMax(value, refresh);
    ResetHistogram();
    if (refresh) {
        CXrtGraph::RepaintHold hold(m_plot.get());
        RequestRefresh();
    }
    return true;
}

bool CHistogramFrame::SetBinCount(int n, bool refresh) {
    if (n == m_bins.m_binCount || n < 1 || n > HistogramBins::kMaxBins)
        return false;
    auto table = std::make_unique<CXrtGraphData>(tvane::chart::ChartData::kGeneral, 2, n);
    if (!table->GetData())
        return false;
    if (m_plot && !m_plot->SetBinCount(n))
        return false;
    SetReadingData(std::move(table));
    SetReadingHandle(GetReadingData()->GetData());
    m_bins.SetTable(GetReadingHandle());
    m_bins.m_binCount = n;
    ResetHistogram();
    if (refresh) {
        CXrtGraph::RepaintHold hold(m_plot.get());
        RequestRefresh();
    }
    return true;
}

void CHistogramFrame::SetOrientation(int orientation) {
    if (m_plot)
        m_plot->SetOrientation(orientation);
}

void CHistogramFrame::SetFrequencyFollow(bool on) {
    if (m_plot)
        m_plot->SetFrequencyFollow(on);
}

void CHistogramFrame::OnAutoScale() {
    CXrtGraph::RepaintHold hold(m_plot.get());
    double low = m_bins.m_observedMin;
    double high = m_bins.m_observedMax;
    if (low == high) {
        low -= 0.25;
        high += 0.25;
    }
    // Both extremes are read first: a new limit empties the histogram.
    if (low != HistogramBins::kOverload)
        SetLowLimit(low, false);
    if (high != -HistogramBins::kOverload)
        SetHighLimit(high, false);
    RequestRefresh();
    if (m_plot && !m_plot->GetFrequencyFollowOnce()) {
        m_plot->SetFrequencyFollowOnce(true);
        m_plot->ApplyAxisRanges();
        m_plot->SetFrequencyFollowOnce(false);
    }
    MarkLayoutChanged(true);
}

// --- Appearance, drawing ---------------------------------------------------------

bool CHistogramFrame::GetAppearanceItem(int item, GRAPHITEMPROPS& props) {
    const bool base = CGraphFrame::GetAppearanceItem(item, props);
    bool own = false;
    if (item == 0) {
        if (props.mask & GRAPHITEMPROPS::kItemRange) {
            props.firstItem = 1;
            props.itemCount = 12;
            own = true;
        }
    } else if ((item == 2 || (item >= 8 && item <= 12)) && m_plot) {
        own = m_plot->GetAppearanceItem(item, props);
    }
    return base || own;
}

bool CHistogramFrame::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) {
    if (item == 0 && (props.mask & GRAPHITEMPROPS::kItemRange))
        return false;
    return SetAppearanceAnd(item, props, repaint,
                            [&] { return m_plot && m_plot->SetAppearanceItem(item, props); });
}

bool CHistogramFrame::DrawFrame(IGraphDC& dc, const GRect* rect) {
    return DrawFrameAnd(dc, rect, [&] {
        IHistogramWindows* windows = Windows();
        return windows && windows->DrawChildren(dc, *this);
    });
}

// --- Storing ---------------------------------------------------------------------

void CHistogramFrame::Serialize(tvane::CArchive& ar) {
    CXrtFrame::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(m_plotRegion.get());
        ar.WriteObject(m_panel.get());
        ar << m_bins.m_low << m_bins.m_high << m_bins.m_observedMin << m_bins.m_observedMax;
        ar.WriteObject(m_stats.get());
        ar.WriteObject(m_plot.get());
        ar << m_bins.m_binCount;
        if (!GetNoReadingsFlag())
            ar << m_bins.m_outOfRange << m_bins.m_total << m_bins.m_binWidth;
        return;
    }
    DestroyChildren();
    if (!HasOwnShape(1, kRetainScans))
        RejectLoad("histogram channels or update rate out of range");
    m_plotRegion = ar.ReadOwnedObject<CRegion>();
    m_panel = ar.ReadOwnedObject<CHistogramCtrlPanel>();
    HistogramBins bins;
    ar >> bins.m_low >> bins.m_high >> bins.m_observedMin >> bins.m_observedMax;
    m_stats = ar.ReadOwnedObject<CHistogramStats>();
    m_plot = ar.ReadOwnedObject<CHistogramPlot>();
    ar >> bins.m_binCount;
    if (!m_plotRegion || !m_panel || !m_stats || !m_plot)
        RejectLoad("histogram part missing");
    for (double v : {bins.m_low, bins.m_high, bins.m_observedMin, bins.m_observedMax})
        if (!std::isfinite(v))
            RejectLoad("histogram limit out of range");
    if (bins.m_binCount < 1 || bins.m_binCount > HistogramBins::kMaxBins ||
        bins.m_binCount != m_plot->GetBinCount())
        RejectLoad("histogram bin count out of range");
    if (!GetNoReadingsFlag()) {
        ar >> bins.m_outOfRange >> bins.m_total >> bins.m_binWidth;
        if (bins.m_outOfRange < 0 || bins.m_total < 0 || !std::isfinite(bins.m_binWidth) ||
            bins.m_binWidth < 0.0)
            RejectLoad("histogram counts out of range");
        const CXrtGraphData* table = GetReadingData();
        if (!HistogramBins::IsTableFor(table ? table->GetData() : nullptr, bins.m_binCount))
            RejectLoad("histogram bins do not fit the bin count");
    } else {
        bins.m_binWidth = std::fabs(bins.m_high - bins.m_low) / bins.m_binCount;
    }
    m_bins = bins;
    m_bins.SetTable(GetReadingData() ? GetReadingData()->GetData() : nullptr);
}
