#include "graphics/displays/xy/CXYFrame.h"

#include <algorithm>
#include <cmath>

#include "graphics/CXrtGraphData.h"
#include "graphics/ChartFonts.h"
#include "graphics/DisplayFamily.h"
#include "graphics/GraphFactory.h"
#include "platform/archive/CArchive.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "scan/CChannelArray.h"
#include "scan/CChannelInfo.h"
#include "scan/records/ReadingRecord.h"

IMPLEMENT_SERIAL(CXYFrame, CXrtFrame, 0)

namespace {

// Graphics > XY Plot.
const displays::FrameRegistration<CXYFrame> kXYPlot{702};

IXYWindows* XYWindowMaker() {
    return displays::Windows<IXYWindows>::Get();
}

constexpr int kSets = 2;

} // namespace

CXYFrame::CXYFrame() {
    m_rect = {10, 10, 483, 340};
    m_defaultRect = m_rect;
    m_minWidth = m_defaultMinWidth = 475;
    m_minHeight = m_defaultMinHeight = 145;
    m_kindMask = 0x603;
    m_channelCapacity = 2;
    m_retainCount = CXYPlot::kDefaultCapacity;
    ResetChannelSlots();
    // No hints until the children exist.
    m_receivesHints = 0;
}

CXYFrame::~CXYFrame() {
    m_receivesHints = 0;
    DestroyChildren();
    m_panel.reset();
}

void CXYFrame::DestroyChildren() {
    m_panelWindow.reset();
    if (m_plot)
        m_plot->Destroy();
    m_plotWindow = nullptr;
    m_regions.clear();
    m_plot.reset();
    m_region.reset();
}

int CXYFrame::GetHelpId(int page) const {
    return (page >= 0 && page <= 3) ? 11004 + 100 * page : 11004;
}

GRect CXYFrame::GetDataRect() const {
    GRect r = CGraphFrame::GetDataRect();
    if (m_panelWindow)
        r.bottom = std::max(r.top, r.bottom - PanelHeight());
    return r;
}

int CXYFrame::PanelHeight() const {
    const int preferred = m_panelWindow ? m_panelWindow->PreferredHeight() : 0;
    return preferred > 0 ? preferred : CXYCtrlPanel::Height();
}

GRect CXYFrame::PanelRect() const {
    const GRect data = CGraphFrame::GetDataRect();
    GRect r = data;
    r.top = std::max(data.top, data.bottom - PanelHeight());
    return r;
}

void CXYFrame::PlacePanel() {
    if (m_panelWindow)
        m_panelWindow->MoveWindow(PanelRect(), true);
}

void CXYFrame::OnSize(bool changed) {
    PlacePanel();
    CGraphFrame::OnSize(changed);
    if (m_plot)
        m_plot->PlotAreaMayHaveChanged();
}

const CChannelInfo* CXYFrame::ChannelAt(int index) const {
    return m_channels ? m_channels->GetAt(static_cast<std::size_t>(index)) : nullptr;
}

bool CXYFrame::MakeBuffer(int capacity) {
    auto buffer =
        std::make_unique<CXrtGraphData>(tvane::chart::ChartData::kGeneral, kSets, capacity);
    if (!buffer->GetData())
        return false;
    SetReadingData(std::move(buffer));
    UseBuffer();
    m_pairing.Clear();
    return true;
}

void CXYFrame::UseBuffer() {
    SetReadingHandle(GetReadingData() ? GetReadingData()->GetData() : nullptr);
    m_pairing.SetBuffer(GetReadingData());
}

std::unique_ptr<IChartWindow> CXYFrame::CreateChartWindow(tvane::chart::Chart& chart,
                                                          const tvane::chart::ChartRect& rect) {
    return MakeChartWindow(XYWindowMaker(), m_plot.get(), chart, rect, m_plotWindow);
}

bool CXYFrame::CreateFrame(CGraphView* parent) {
    IXYWindows* windows = XYWindowMaker();
    if (!CXrtFrame::CreateFrame(parent) || !windows)
        return false;
    const LOGFONT font = GetFrameLogFont();
    m_panel = std::make_unique<CXYCtrlPanel>();
    m_panel->SetParent(this);
    m_panel->SetFont(font);
    m_panelWindow = windows->CreatePanelWindow(*m_window, *m_panel, PanelRect());
    if (!m_panelWindow)
        return false;
    PlacePanel();

    m_plot = std::make_unique<CXYPlot>();
    m_region = std::make_unique<CRegion>(nullptr, 0.0, 0.0, 1.0, 1.0);
    const tvane::chart::ChartFont chartFont = ToChartFont(font);
    if (!m_plot->Create(*this, ChartRectOf(RegionToRect(*m_region)), &chartFont)) {
        DestroyChildren();
        return false;
    }
    m_region->SetWnd(m_plotWindow);
    if (!AddRegion(m_region.get())) {
        DestroyChildren();
        return false;
    }
    m_retainCount = m_plot->GetCapacity();
    if (!MakeBuffer(m_retainCount)) {
        DestroyChildren();
        return false;
    }
    m_scanCounter = 0.0;
    m_receivesHints = 1;
    return true;
}

bool CXYFrame::RecreateFrame(CGraphView* parent, int showCommand) {
    IXYWindows* windows = XYWindowMaker();
    if (!CXrtFrame::RecreateFrame(parent, showCommand) || !windows)
        return false;
    if (!m_panel || !m_plot || !m_region)
        return false;
    m_panel->SetParent(this);
    m_panelWindow = windows->CreatePanelWindow(*m_window, *m_panel, PanelRect());
    if (!m_panelWindow)
        return false;
    PlacePanel();
    if (GetNoReadingsFlag() || !GetReadingData() || !GetReadingData()->GetData()) {
        if (!MakeBuffer(m_plot->GetCapacity()))
            return false;
    } else {
        UseBuffer();
    }
    if (!m_plot->Recreate(*this, ChartRectOf(RegionToRect(*m_region)))) {
        DestroyChildren();
        return false;
    }
    m_region->SetWnd(m_plotWindow);
    if (!AddRegion(m_region.get()))
        return false;
    m_receivesHints = 1;
    m_stateFlag = 1;
    return true;
}

bool CXYFrame::EditProperties() {
    return EditOwnSheet(kXYPlot);
}

void CXYFrame::Redraw(bool erase) {
    if (m_plotWindow)
        m_plotWindow->Redraw();
    if (m_panelWindow)
        m_panelWindow->Redraw();
    CGraphFrame::Redraw(erase);
}

bool CXYFrame::OnChannelChanged(int index, const CChannelInfo* info) {
    // A channel's new units show with the next values.
    if (m_panel && info && index == kXChannel)
        m_panel->SetXChannel(info);
    else if (m_panel && info && index == kYChannel)
        m_panel->SetYChannel(info);
    return true;
}

void CXYFrame::SetChannelAt(int index, const CChannelInfo* info) {
    if ((index != kXChannel && index != kYChannel) || !info)
        return;
    CGraphFrame::SetChannelAt(index, info);
    if (m_panel) {
        if (index == kXChannel)
            m_panel->SetXChannel(info);
        else
            m_panel->SetYChannel(info);
    }
    if (!m_plot)
        return;
    const CXYPlot::Range range{info->RangeMin, info->RangeMax};
    m_plot->SetRepaint(false);
    if (m_plot->IsAutoscaling()) {
        if (index == kXChannel)
            m_plot->SetKeptXRange(range);
        else
            m_plot->SetKeptYRange(range);
    } else {
        if (index == kXChannel) {
            m_plot->SetXMin(range.minimum, false);
            m_plot->SetXMax(range.maximum, false);
        } else {
            m_plot->SetYMin(range.minimum, false);
            m_plot->SetYMax(range.maximum, false);
        }
        m_plot->ApplyAxisRange();
    }
    // Pairs of the channel before must not meet readings of the new one.
    m_plot->ClearPoints();
    ClearBuffer();
    RequestRefresh();
    m_plot->SetRepaint(true);
}

void CXYFrame::RemoveChannelAt(int index) {
    if (index != kXChannel && index != kYChannel)
        return;
    CGraphFrame::RemoveChannelAt(index);
    if (m_panel) {
        if (index == kXChannel)
            m_panel->SetXChannel(nullptr);
        else
            m_panel->SetYChannel(nullptr);
    }
    ClearBuffer();
}

bool CXYFrame::GetAppearanceItem(int item, GRAPHITEMPROPS& props) {
    const bool base = CGraphFrame::GetAppearanceItem(item, props);
    const bool own = m_plot && m_plot->GetAppearanceItem(item, props);
    return base || own;
}

bool CXYFrame::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) {
    const bool base = CGraphFrame::SetAppearanceItem(item, props, repaint);
    const bool own = m_plot && m_plot->SetAppearanceItem(item, props, repaint);
    if (repaint)
        Redraw(true);
    return base || own;
}

bool CXYFrame::DrawFrame(IGraphDC& dc, const GRect* rect) {
    const bool base = CGraphFrame::DrawFrame(dc, rect);
    bool children = false;
    IXYWindows* windows = XYWindowMaker();
    if (m_plot && m_region && windows)
        children = windows->DrawPlot(dc, *m_plot, RegionToRect(*m_region));
    if (m_panel && m_panelWindow) {
        m_panel->DrawPanel(dc, m_panelWindow->GetRectInFrame());
        children = true;
    }
    return base || children;
}

void CXYFrame::ClearBuffer() {
    m_pairing.Clear();
    m_scanCounter = 0.0;
}

void CXYFrame::OnScanState() {
    ClearBuffer();
    if (m_plot)
        m_plot->ClearPoints();
}

void CXYFrame::HandOver() {
    const tvane::chart::ChartData* d = GetReadingData() ? GetReadingData()->GetData() : nullptr;
    const int n = m_pairing.Pending();
    if (d && m_plot && n > 0) {
        m_handX.resize(static_cast<std::size_t>(n));
        m_handY.resize(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            m_handX[static_cast<std::size_t>(i)] = d->Y(0, i);
            m_handY[static_cast<std::size_t>(i)] = d->Y(1, i);
        }
        m_plot->AddPoints(n, m_handX.data(), n, m_handY.data(), n);
    }
    m_scanCounter = 0.0;
    m_pairing.EmptyBuffer();
}

bool CXYFrame::OnNewReadings(const HintObject&) {
    const CChannelInfo* x = ChannelAt(kXChannel);
    const CChannelInfo* y = ChannelAt(kYChannel);
    if (!x || !y || !m_plot) {
        m_scanCounter = 0.0;
        m_pairing.DropWaiting();
        return true;
    }
    std::vector<ReadingRecord*> xs;
    std::vector<ReadingRecord*> ys;
    GetChannelReadings(x->Number, xs);
    GetChannelReadings(y->Number, ys);
    m_pairing.Add(xs, ys, [this] { HandOver(); });
    m_scanCounter += static_cast<double>(xs.size() + ys.size()) / 2.0;
    // A live scan waits for the update rate; stored readings go at once.
    if (!GetDocumentHasReadings() &&
        static_cast<std::int64_t>(m_scanCounter) < std::max(m_updateRate, 1))
        return true;
    HandOver();
    return true;
}

bool CXYFrame::SetPointCount(int count) {
    if (!m_plot || count == m_plot->GetCapacity())
        return false;
    auto buffer = std::make_unique<CXrtGraphData>(tvane::chart::ChartData::kGeneral, kSets, count);
    if (!buffer->GetData() || !m_plot->SetCapacity(count))
        return false;
    SetReadingData(std::move(buffer));
    UseBuffer();
    m_retainCount = count;
    ClearBuffer();
    m_plot->SetRepaint(false);
    m_plot->ClearPoints();
    RequestRefresh();
    m_plot->SetRepaint(true);
    return true;
}

int CXYFrame::GetPointCount() const {
    return m_plot ? m_plot->GetCapacity() : m_retainCount;
}

// --- Messages of the plot and the panel ----------------------------------------------

void CXYFrame::OnVertMarkerXValueChange() {
    if (m_panel && m_plot)
        m_panel->SetXValue(true, m_plot->GetMarkerX());
}

void CXYFrame::OnHorzMarkerYValueChange() {
    if (m_panel && m_plot)
        m_panel->SetYValue(true, m_plot->GetMarkerY());
}

void CXYFrame::OnGainValueChange() {
    if (m_panel && m_plot)
        m_panel->SetGain(m_plot->GetGain());
}

void CXYFrame::OnOffsetValueChange() {
    if (m_panel && m_plot)
        m_panel->SetOffset(m_plot->GetOffset());
}

void CXYFrame::OnPlotInvalidate() {
    if (m_plotWindow)
        m_plotWindow->Redraw();
}

void CXYFrame::OnAutoScale() {
    if (!m_plot || m_plot->IsAutoscaling())
        return;
    m_plot->SetAutoscaling(true);
    m_plot->Autoscale();
    m_plot->SetAutoscaling(false);
    MarkLayoutChanged(true);
}

void CXYFrame::OnToggleVMarkerState(bool on) {
    if (!m_plot)
        return;
    // Showing the lines lays them out and reads their values into the panel.
    m_plot->SetMarkerVisible(on);
    if (!on && m_panel) {
        m_panel->SetXValue(false, CXYPlot::kNoValue);
        m_panel->SetYValue(false, CXYPlot::kNoValue);
    }
    MarkLayoutChanged(true);
}

void CXYFrame::OnToggleLeastSquares(bool on) {
    if (!m_plot)
        return;
    m_plot->SetLeastSquares(on);
    if (m_panel) {
        m_panel->SetGain(on ? m_plot->GetGain() : CXYPlot::kNoValue);
        m_panel->SetOffset(on ? m_plot->GetOffset() : CXYPlot::kNoValue);
    }
    MarkLayoutChanged(true);
}

// --- Archive ----------------------------------------------------------------------------

void CXYFrame::Serialize(tvane::CArchive& ar) {
    CXrtFrame::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(m_plot.get());
        ar.WriteObject(m_region.get());
        ar.WriteObject(m_panel.get());
        ar << m_scanCounter;
        return;
    }
    auto plot = ar.ReadOwnedObject<CXYPlot>();
    auto region = ar.ReadOwnedObject<CRegion>();
    auto panel = ar.ReadOwnedObject<CXYCtrlPanel>();
    double counter = 0.0;
    ar >> counter;
    if (!plot || !region || !panel)
        RejectLoad("XY display without its plot, region or panel");
    if (!std::isfinite(counter) || counter < 0.0 || counter > 1e9)
        RejectLoad("XY scan counter out of range");
    if (m_channelCapacity != 2 || (m_channels && m_channels->GetSize() > 2))
        RejectLoad("XY display with other than two channels");
    if (m_updateRate < 1 || m_updateRate > kMaxUpdateRate)
        RejectLoad("XY update rate out of range");
    if (m_retainCount != plot->GetCapacity())
        RejectLoad("XY point count does not match its plot");
    if (const CXrtGraphData* buffer = GetReadingData()) {
        const tvane::chart::ChartData* d = buffer->GetData();
        if (!d || d->GetKind() != tvane::chart::ChartData::kGeneral || d->SeriesCount() != kSets ||
            d->Capacity() != plot->GetCapacity())
            RejectLoad("XY reading buffer does not fit the display");
    }
    DestroyChildren();
    m_plot = std::move(plot);
    m_region = std::move(region);
    m_panel = std::move(panel);
    m_scanCounter = counter;
    UseBuffer();
}
