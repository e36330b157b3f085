#include "graphics/displays/strip/CXrtOverlayFrame.h"

#include <algorithm>
#include <cmath>

#include "database/CDatasetEvent.h"
#include "graphics/CGraphView.h"
#include "graphics/CRangeInfo.h"
#include "graphics/CXrtGraphData.h"
#include "graphics/ChartFonts.h"
#include "graphics/DisplayFamily.h"
#include "graphics/GraphMessages.h"
#include "graphics/IGraphDocument.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "scan/CChannelArray.h"
#include "scan/CChannelInfo.h"
#include "scan/CReadingQuery.h"
#include "scan/CRunRecord.h"
#include "scan/ValueFormat.h"
#include "shared/DocumentHints.h"

IMPLEMENT_SERIAL(CXrtOverlayFrame, CXrtFrame, 0)

namespace {

// Graphics > Strip Chart.
const displays::FrameRegistration<CXrtOverlayFrame> kStripChart{700};

IStripChartWindows* StripWindows() {
    return displays::Windows<IStripChartWindows>::Get();
}

constexpr double kHole = 9.9e37;

GRect ToG(const tvane::chart::ChartRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

tvane::chart::ChartRect ToChart(const GRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace

OverlayChannel CXrtOverlayFrame::ToOverlay(const CChannelInfo& info) {
    OverlayChannel c;
    c.number = info.Number;
    c.label = info.Label;
    c.name = info.Name;
    c.kind = info.Kind;
    c.bitMask = info.BitMask;
    c.units = info.Units;
    return c;
}

OverlayRange CXrtOverlayFrame::ToOverlay(const CRangeInfo& range) {
    OverlayRange r;
    r.mantissa = range.m_mantissa;
    r.decade = range.m_decade;
    r.scale = range.m_scale;
    r.normOffset = range.m_normOffset;
    r.reference = range.m_offset;
    r.divisions = range.m_divisions;
    r.channel = ToOverlay(range.m_channel);
    return r;
}

CRangeInfo CXrtOverlayFrame::ToRangeInfo(const OverlayRange& range) {
    CRangeInfo r;
    r.m_mantissa = range.mantissa;
    r.m_decade = range.decade;
    r.m_scale = range.scale;
    r.m_normOffset = range.normOffset;
    r.m_offset = range.reference;
    r.m_divisions = range.divisions;
    r.m_channel.Number = range.channel.number;
    r.m_channel.Label = range.channel.label;
    r.m_channel.Name = range.channel.name;
    r.m_channel.Kind = range.channel.kind;
    r.m_channel.BitMask = range.channel.bitMask;
    r.m_channel.Units = range.channel.units;
    return r;
}

CXrtOverlayFrame::CXrtOverlayFrame() {
    m_rect = {10, 10, 475, 340};
    m_defaultRect = m_rect;
    m_minWidth = m_defaultMinWidth = 463;
    m_minHeight = m_defaultMinHeight = 210;
    m_kindMask = 0x607;
    m_channelCapacity = kSlots;
    m_retainCount = 1000; // the maximum scans displayed
    ResetChannelSlots();
    // No hints until the children exist.
    m_receivesHints = 0;
}

CXrtOverlayFrame::~CXrtOverlayFrame() {
    m_receivesHints = 0;
    m_panelWindow.reset();
    m_panel.reset();
    DestroyChildren();
}

void CXrtOverlayFrame::DestroyChildren() {
    m_legendWindow.reset();
    m_textWindow.reset();
    if (m_plot)
        m_plot->Destroy();
    m_plotWindow = nullptr;
    m_regions.clear();
    m_plot.reset();
    m_legend.reset();
    m_text.reset();
    m_plotRegion.reset();
    m_textRegion.reset();
}

int CXrtOverlayFrame::GetHelpId(int page) const {
    return (page >= 0 && page <= 3) ? 11001 + 100 * page : 11001;
}

int CXrtOverlayFrame::LegendHeight() const {
    const int row = m_legend ? m_legend->RowHeight() : CLegendGrid::kRowPixels;
    const int header = m_legend ? m_legend->HeaderHeight() : CLegendGrid::kRowPixels;
    return legend::LegendHeight(m_legendRows, row, header);
}

GRect CXrtOverlayFrame::GetDataRect() const {
    GRect r = CGraphFrame::GetDataRect();
    if (m_panelWindow) {
        r.bottom -= kPanelHeight;
        if (m_legendWindow)
            r.bottom -= LegendHeight();
    }
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

GRect CXrtOverlayFrame::PanelRect() const {
    const GRect data = CGraphFrame::GetDataRect();
    GRect r = data;
    if (data.Height() > kPanelHeight)
        r.top = data.bottom - kPanelHeight;
    return r;
}

void CXrtOverlayFrame::PlaceLegend(const GRect& panel) {
    if (m_legendWindow)
        m_legendWindow->MoveWindow({panel.left, panel.top - LegendHeight(), panel.right, panel.top},
                                   true);
}

void CXrtOverlayFrame::UpdateMinTrack() {
    m_minHeight = m_plotReserve + m_extraReserve + m_titleHeight + kPanelHeight + LegendHeight();
}

void CXrtOverlayFrame::PlacePanelAndLegend() {
    const GRect panel = PanelRect();
    if (m_panelWindow)
        m_panelWindow->MoveWindow(panel, true);
    PlaceLegend(panel);
}

void CXrtOverlayFrame::LayoutChildren() {
    PlacePanelAndLegend();
    LayoutRegions();
}

void CXrtOverlayFrame::OnSize(bool changed) {
    PlacePanelAndLegend();
    CGraphFrame::OnSize(changed);
}

void CXrtOverlayFrame::MakeStaging(int capacity) {
    SetReadingData(
        std::make_unique<CXrtGraphData>(tvane::chart::ChartData::kGeneral, kSlots, capacity));
    m_staging.SetData(GetReadingData());
    ResetStaging();
}

void CXrtOverlayFrame::ResetStaging() {
    m_staging.SetData(GetReadingData());
    m_staging.Reset();
}

tvane::chart::ChartPoint CXrtOverlayFrame::RestingPlotGrowth() const {
    if (!m_plotRegion || !m_window)
        return {};
    const GRect now = RegionToRect(*m_plotRegion);
    const GRect resting = m_plotRegion->ToRect(GetRestingDataRect());
    return {resting.Width() - now.Width(), resting.Height() - now.Height()};
}

std::unique_ptr<IChartWindow>
CXrtOverlayFrame::CreateChartWindow(tvane::chart::Chart& chart,
                                    const tvane::chart::ChartRect& rect) {
    if (!StripWindows() || !m_window || !m_plot)
        return nullptr;
    auto window = StripWindows()->CreatePlotWindow(*m_window, *m_plot, chart, ToG(rect));
    m_plotWindow = dynamic_cast<IStripChildWindow*>(window.get());
    return window;
}

bool CXrtOverlayFrame::CreateFrame(CGraphView* parent) {
    if (!CXrtFrame::CreateFrame(parent))
        return false;
    if (!StripWindows())
        return false;
    const LOGFONT font = GetFrameLogFont();

    m_panel = std::make_unique<COverlayCtrlPanel>();
    m_panel->SetParent(this);
    m_panel->GetFont().SetLogFont(font);
    m_panelWindow = StripWindows()->CreatePanelWindow(*m_window, *m_panel, PanelRect());
    const GRect panel = PanelRect();

    m_plot = std::make_unique<CXrtOverlayPlot>();
    m_legend = std::make_unique<CLegendGrid>();
    m_text = std::make_unique<CTextDisplay>(1, 3);

    m_legend->SetParent(this);
    m_legendWindow = StripWindows()->CreateLegendWindow(*m_window, *m_legend, panel);
    if (!m_legend->Create(kSlots))
        return false;
    PlaceLegend(panel);
    UpdateMinTrack();

    m_plotRegion = std::make_unique<CRegion>(nullptr, 0.0, 0.0, 0.85, 1.0);
    m_textRegion = std::make_unique<CRegion>(nullptr, 0.85, 0.0, 1.0, 1.0);
    if (!AddRegion(m_textRegion.get())) {
        DestroyChildren();
        return false;
    }
    m_text->CreateLabels();
    m_textWindow =
        StripWindows()->CreateTextWindow(*m_window, *m_text, RegionToRect(*m_textRegion));
    m_textRegion->SetWnd(m_textWindow.get());

    m_plot->SetTimeOrigin(GetStartTick());
    const tvane::chart::ChartFont chartFont = ToChartFont(font);
    if (!m_plot->Create(*this, ToChart(RegionToRect(*m_plotRegion)), &chartFont) ||
        !m_plot->SetCapacity(m_retainCount)) {
        DestroyChildren();
        return false;
    }
    m_plotRegion->SetWnd(m_plotWindow);
    if (!AddRegion(m_plotRegion.get())) {
        DestroyChildren();
        return false;
    }
    m_text->SetMargins(0.0, 0.05, 0.0, 0.0);

    const OverlayRange time = OverlayRange::TimeDefault();
    std::string interval;
    FormatTimeInterval(time.scale, interval);
    const double start = GetStartTick();
    m_text->SetLabelValue(0, 0, FormatScanTime(start));
    m_text->SetLabelFormat(0, 0, 0x09);
    m_text->SetLabelPrefix(0, 1, "Time/Div");
    m_text->SetLabelSeparator(0, 1, ": ");
    m_text->SetLabelValue(0, 1, interval);
    m_text->SetLabelFormat(0, 1, 0x21);
    m_text->SetLabelValue(0, 2, FormatScanTime(start + 1000.0 * time.divisions * time.scale));
    m_text->SetLabelFormat(0, 2, 0x11);

    MakeStaging(m_retainCount);
    for (auto& range : m_ranges)
        range.reset();
    m_receivesHints = 1;
    CChannelInfo first;
    if (GetDefaultChannel(first))
        SetChannelAt(0, &first);
    return true;
}

bool CXrtOverlayFrame::RecreateFrame(CGraphView* parent, int showCommand) {
    if (!CXrtFrame::RecreateFrame(parent, showCommand) || !StripWindows())
        return false;
    if (!m_panel || !m_plot || !m_legend || !m_text || !m_plotRegion || !m_textRegion)
        return false;
    m_panel->SetParent(this);
    m_panel->GetFont().CreateFont();
    m_panelWindow = StripWindows()->CreatePanelWindow(*m_window, *m_panel, PanelRect());
    m_panel->ShowTimePerDivision();
    m_legend->SetParent(this);
    m_legendWindow = StripWindows()->CreateLegendWindow(*m_window, *m_legend, PanelRect());
    if (!m_legend->Recreate())
        return false;
    PlaceLegend(PanelRect());
    UpdateMinTrack();
    m_textWindow =
        StripWindows()->CreateTextWindow(*m_window, *m_text, RegionToRect(*m_textRegion));
    m_textRegion->SetWnd(m_textWindow.get());
    if (!AddRegion(m_textRegion.get()))
        return false;
    m_text->SetMargins(0.0, 0.05, 0.0, 0.0);
    if (GetNoReadingsFlag() || !GetReadingData() || !GetReadingData()->GetData())
        MakeStaging(m_retainCount);
    else
        ResetStaging();
    if (!m_plot->Recreate(*this, ToChart(RegionToRect(*m_plotRegion))))
        return false;
    m_plotRegion->SetWnd(m_plotWindow);
    if (!AddRegion(m_plotRegion.get()))
        return false;
    m_receivesHints = 1;
    OnViewHint(HINT_SETUP_CHANGED, {});
    m_stateFlag = 1;
    return true;
}

bool CXrtOverlayFrame::EditProperties() {
    const graphfactory::SheetInfo* sheet = graphfactory::FindSheet(kStripChart);
    return sheet && EditGraphProperties(*this, sheet->pages, sheet->captionId);
}

void CXrtOverlayFrame::Redraw(bool erase) {
    for (IStripChildWindow* w : {m_plotWindow, m_legendWindow.get(), m_textWindow.get()})
        if (w)
            w->Redraw();
    CGraphFrame::Redraw(erase);
}

long CXrtOverlayFrame::OnViewHint(long hint, const HintObject& object) {
    long result = CXrtFrame::OnViewHint(hint, object);
    if (m_receivesHints && m_legend && (hint == HINT_CHANNEL_EDIT || hint == HINT_SETUP_CHANGED))
        result |= m_legend->RequestChannels() ? 1 : 0;
    return result;
}

const CChannelInfo* CXrtOverlayFrame::SlotChannel(int slot) const {
    return m_channels ? m_channels->GetAt(static_cast<std::size_t>(slot)) : nullptr;
}

bool CXrtOverlayFrame::OnChannelChanged(int slot, const CChannelInfo* info) {
    if (slot < 0 || slot >= kSlots || !info)
        return true;
    auto& range = m_ranges[static_cast<std::size_t>(slot)];
    const OverlayChannel channel = ToOverlay(*info);
    if (range)
        range->channel = channel;
    const auto colour = static_cast<std::int32_t>(GetColorSlot(slot));
    if (m_plot)
        m_plot->SetChannel(slot, channel, colour);
    if (m_legend)
        m_legend->UpdateChannelRow(slot, channel, colour);
    if (m_panel)
        m_panel->OnChannelChanged(channel);
    return true;
}

void CXrtOverlayFrame::SetChannelAt(int index, const CChannelInfo* info) {
    if (index < 0 || index >= kSlots || !info)
        return;
    if (m_plot)
        m_plot->SetRepaint(false);
    CGraphFrame::SetChannelAt(index, info);
    OverlayRange range;
    range.channel = ToOverlay(*info);
    m_ranges[static_cast<std::size_t>(index)] = range;
    const auto colour = static_cast<std::int32_t>(GetColorSlot(index));
    if (m_plot) {
        m_plot->ResetRange(index);
        m_plot->SetChannel(index, range.channel, colour);
    }
    if (m_legend) {
        m_legend->SetChannelAt(index);
        m_legend->UpdateChannelRow(index, range.channel, colour);
    }
    if (m_plot) {
        m_plot->ClearData();
        RequestRefresh();
        m_plot->AutoScale(index);
        m_plot->SetRepaint(true);
    }
}

void CXrtOverlayFrame::RemoveChannelAt(int index) {
    if (index < 0 || index >= kSlots)
        return;
    CGraphFrame::RemoveChannelAt(index);
    m_ranges[static_cast<std::size_t>(index)].reset();
    if (m_plot)
        m_plot->RemoveRange(index);
    if (m_legend)
        m_legend->RemoveChannelAt(index);
}

bool CXrtOverlayFrame::GetAppearanceItem(int item, GRAPHITEMPROPS& props) {
    const bool base = CGraphFrame::GetAppearanceItem(item, props);
    bool own = false;
    switch (item) {
    case 0:
        if (props.mask & GRAPHITEMPROPS::kItemRange) {
            props.firstItem = 1;
            props.itemCount = 13;
            own = true;
        }
        break;
    case 1:
        if (const CChannelInfo* c = SlotChannel(props.channelIndex)) {
            props.color = GetColorSlot(props.channelIndex);
            props.itemName = c->Name;
            own = (props.mask & ~(GRAPHITEMPROPS::kName | GRAPHITEMPROPS::kColor)) == 0;
        }
        break;
    default:
        if (m_plot)
            own = m_plot->GetAppearanceItem(item, props);
        break;
    }
    return base || own;
}

bool CXrtOverlayFrame::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) {
    bool result = CGraphFrame::SetAppearanceItem(item, props, repaint);
    if (item == 1 && (props.mask & GRAPHITEMPROPS::kColor) && SlotChannel(props.channelIndex))
        SetColorSlot(props.channelIndex, props.color);
    if (m_plot)
        result = m_plot->SetAppearanceItem(item, props, repaint) || result;
    if (m_legend) {
        if (item == 1 && (props.mask & GRAPHITEMPROPS::kColor)) {
            m_legend->SetRowColour(props.channelIndex, static_cast<std::int32_t>(props.color));
            result = true;
        } else if (item == 2 && (props.mask & GRAPHITEMPROPS::kColor)) {
            m_legend->SetBackground(static_cast<std::int32_t>(props.color));
            result = true;
        }
    }
    if (m_text && item == 8 && (props.mask & GRAPHITEMPROPS::kColor)) {
        for (int c = 0; c < 3; ++c)
            m_text->SetLabelColor(0, c, static_cast<std::int32_t>(props.color));
        result = true;
    }
    if (repaint)
        Redraw(true);
    return result;
}

bool CXrtOverlayFrame::DrawFrame(IGraphDC& dc, const GRect* rect) {
    const bool base = CGraphFrame::DrawFrame(dc, rect);
    const bool children = StripWindows() && StripWindows()->DrawChildren(dc, *this);
    return base || children;
}

int CXrtOverlayFrame::Print(IGraphDC& dc) {
    DrawFrame(dc, nullptr);
    return 0;
}

bool CXrtOverlayFrame::OnEventHint(const HintObject& object) {
    const CRunRecord* run = object.As<CRunRecord>();
    if (!run || (run->m_kind != 1 && run->m_kind != 3) || !m_plot)
        return true;
    ResetStaging();
    if (!GetDocumentHasReadings())
        m_plot->SetTimeOrigin(GetStartTick());
    m_plot->ClearData();
    return true;
}

bool CXrtOverlayFrame::OnNewReadings(const HintObject&) {
    if (!m_plot)
        return true;
    const bool stored = GetDocumentHasReadings();
    double end = 0.0;
    if (stored) {
        m_plot->SetRepaint(false);
        end = m_timeValues[1];
        m_plot->SetWindowEnd(end);
        m_plot->UpdateTimeAxis();
    }
    std::array<std::int32_t, kSlots> channels;
    for (int s = 0; s < kSlots; ++s) {
        const CChannelInfo* c = SlotChannel(s);
        channels[static_cast<std::size_t>(s)] =
            c && m_ranges[static_cast<std::size_t>(s)] ? c->Number : -1;
    }
    const int scans = m_staging.Stage(
        channels,
        [this](std::int32_t channel, std::vector<ReadingRecord*>& out) {
            return static_cast<int>(GetChannelReadings(channel, out));
        },
        *m_plot, stored ? &end : nullptr);
    m_staging.AddScans(scans);
    if (stored || m_staging.ScansSinceUpdate() >= std::max(m_updateRate, 1))
        FlushStaging();
    if (stored)
        m_plot->SetRepaint(true);
    return true;
}

void CXrtOverlayFrame::FlushStaging() {
    if (m_plot)
        m_staging.Flush(*m_plot);
}

bool CXrtOverlayFrame::OnEventsChanged(const HintObject& object) {
    const CDatasetEvent* event = object.As<CDatasetEvent>();
    if (!event || !m_plot)
        return false;
    if (event->m_type != CDatasetEvent::User && event->m_type != CDatasetEvent::Start &&
        event->m_type != CDatasetEvent::Stop)
        return false;
    m_plot->RemoveEventMark(std::trunc(event->m_time));
    return true;
}

bool CXrtOverlayFrame::OnDatasetUpdate(const HintObject& object) {
    if (m_plot)
        m_plot->SetRepaint(false);
    if (const auto* events = object.As<std::vector<CDatasetEvent>>()) {
        for (const CDatasetEvent& e : *events) {
            CDatasetEvent copy = e;
            OnReading(HintObject(&copy));
        }
    }
    if (m_plot)
        m_plot->SetRepaint(true);
    return true;
}

bool CXrtOverlayFrame::OnReading(const HintObject& object) {
    const CDatasetEvent* event = object.As<CDatasetEvent>();
    if (event && m_plot &&
        (event->m_type == CDatasetEvent::User || event->m_type == CDatasetEvent::Start))
        m_plot->AddEventMark(std::trunc(event->m_time));
    return true;
}

void CXrtOverlayFrame::OnScanState() {
    if (!m_plot)
        return;
    ResetStaging();
    m_plot->SetTimeOrigin(GetStartTick());
    m_plot->ClearData();
    m_plot->UpdateTimeAxis();
}

void CXrtOverlayFrame::OnRetainHint() {
    // Enough scans of each channel for the plot's window, with half again to spare.
    IGraphDocument* doc = GetDocument();
    const double runTime = doc ? doc->GetRunTime() : 0.0;
    double scans = 15.0;
    if (runTime != 0.0 && m_plot)
        scans = std::max(15.0, std::trunc(m_plot->GetTimeAxis().width / runTime));
    if (doc)
        doc->RaiseFrameCounter(static_cast<std::uint32_t>(std::min(scans * 1.5, 4e9)));
}

std::string CXrtOverlayFrame::CopyDisplayedData() {
    IGraphDocument* doc = GetDocument();
    if (!doc || !GetDocumentHasReadings() || !m_plot)
        return {};
    CReadingQuery query;
    query.m_startTime = std::max(doc->GetRunStartTime(), m_plot->GetTimeAxis().start);
    query.m_endTime = std::min(doc->GetRunEndTime(), m_plot->GetTimeAxis().end);
    if (query.m_endTime < query.m_startTime)
        query.m_endTime = query.m_startTime;
    doc->GetScanChannelList(query.m_channelLabels, query.m_channelNumbers);
    query.m_selectedNumbers.clear();
    for (int s = 0; s < kSlots; ++s)
        if (const CChannelInfo* c = SlotChannel(s))
            query.m_selectedNumbers.push_back(static_cast<std::uint32_t>(c->Number));
    query.m_dataKind = CReadingQuery::kReadings;
    query.m_destination = CReadingQuery::kToClipboard;
    query.m_outputFormat = 1;
    query.m_timeStamp = 1;
    query.m_seconds = 1;
    query.m_alarmFlag = 1;
    query.m_alarmedOnly = 0;
    query.m_separator = '\t';
    return doc->ExportReadingsText(query);
}

int CXrtOverlayFrame::GetMaxScansDisplayed() const {
    return m_plot ? m_plot->GetCapacity() : m_retainCount;
}

bool CXrtOverlayFrame::SetMaxScansDisplayed(int n) {
    if (n == GetMaxScansDisplayed())
        return true;
    auto staging = std::make_unique<CXrtGraphData>(tvane::chart::ChartData::kGeneral, kSlots, n);
    if (!staging->GetData())
        return false;
    if (m_plot && !m_plot->SetCapacity(n))
        return false;
    SetReadingData(std::move(staging));
    m_retainCount = n;
    ResetStaging();
    if (m_plot) {
        m_plot->SetRepaint(false);
        m_plot->ClearData();
        RequestRefresh();
        m_plot->SetRepaint(true);
    }
    return true;
}

int CXrtOverlayFrame::GetRelativeReset() const {
    // Rounded: a fraction such as 0.29 is a hair below its percent as a double.
    return m_plot ? static_cast<int>(std::lround(m_plot->GetReservedDouble() * 100.0)) : 1;
}

void CXrtOverlayFrame::SetRelativeReset(int percent) {
    if (m_plot)
        m_plot->SetReservedDouble(percent / 100.0);
}

int CXrtOverlayFrame::GetPlotStyle() const {
    return m_plot ? m_plot->GetDisplayMode() : 1;
}

void CXrtOverlayFrame::SetPlotStyle(int style) {
    if (m_plot)
        m_plot->SetDisplayMode(style);
}

bool CXrtOverlayFrame::IsOnLegendEdge(int y) const {
    if (!m_legendWindow)
        return false;
    return legend::OnLegendEdge(y, m_legendWindow->GetRectInFrame().top);
}

legend::DragGeometry CXrtOverlayFrame::LegendDragGeometry() const {
    legend::DragGeometry g;
    g.clientTop = 0;
    g.plotReserve = m_plotReserve;
    g.extraReserve = m_extraReserve;
    g.legendBottom = m_legendWindow ? m_legendWindow->GetRectInFrame().bottom : 0;
    g.rowHeight = m_legend ? m_legend->RowHeight() : CLegendGrid::kRowPixels;
    g.headerHeight = m_legend ? m_legend->HeaderHeight() : CLegendGrid::kRowPixels;
    return g;
}

bool CXrtOverlayFrame::GetLegendDragLimits(int& upper, int& lower) const {
    if (!m_legendWindow)
        return false;
    legend::DragLimits(LegendDragGeometry(), upper, lower);
    return true;
}

void CXrtOverlayFrame::DropLegendEdge(int lineTop) {
    if (!m_legendWindow)
        return;
    const GRect legendRect = m_legendWindow->GetRectInFrame();
    m_legendRows =
        legend::RowsAfterDrag(LegendDragGeometry(), lineTop, m_legendRows, legendRect.top);
    UpdateMinTrack();
    LayoutChildren();
    MarkLayoutChanged(true);
}

void CXrtOverlayFrame::TabFromPanel() {
    if (m_legendWindow)
        m_legendWindow->SetFocus();
}

void CXrtOverlayFrame::TabFromLegend() {
    if (m_panelWindow)
        m_panelWindow->SetFocus();
}

bool CXrtOverlayFrame::OnTabKey() {
    if (m_panelWindow && m_panelWindow->HasFocus())
        TabFromPanel();
    else
        TabFromLegend();
    return true;
}

// --- Messages of the children ---------------------------------------------------

void CXrtOverlayFrame::OnGraphTimeAxisChange(const CTimeAxisInfo& axis) {
    if (m_text) {
        m_text->SetLabelValue(0, 2, FormatScanTime(axis.end));
        m_text->SetLabelValue(0, 0, FormatScanTime(axis.start));
    }
    MarkLayoutChanged(true);
}

void CXrtOverlayFrame::OnChnlRangeInfoChange(int slot, const OverlayRange& range) {
    if (slot < 0 || slot >= kSlots)
        return;
    m_ranges[static_cast<std::size_t>(slot)] = range;
    if (m_plot)
        m_plot->ChangeRangeInfo(slot, range);
    if (m_legend)
        m_legend->UpdateRangeInfo(slot, range);
    MarkLayoutChanged(true);
}

void CXrtOverlayFrame::OnPositionEventLog(const CDatasetEvent& event) {
    // On to the page through the frame's own handling of the message.
    tvane::MessageBus::Send(*this, {graphmsg::PositionEventLog(), 0, 0, {}, &event});
}

void CXrtOverlayFrame::OnObjectSelect() {
    OnLButtonDown();
}

void CXrtOverlayFrame::OnPlotInvalidate() {
    if (m_plotWindow)
        m_plotWindow->Redraw();
}

void CXrtOverlayFrame::OnVertMarkerXValueChange(int marker) {
    if ((marker != 1 && marker != 2) || !m_plot || !m_panel)
        return;
    const CGraphMarker* markers = m_plot->GetMarker();
    const double x1 = markers->GetXValue(marker);
    const int other = marker == 1 ? 2 : 1;
    const double x2 = markers->GetXValue(other);
    const int timeText = marker == 1 ? COverlayCtrlPanel::kT1Value : COverlayCtrlPanel::kT2Value;
    if (x1 == kHole) {
        m_panel->ClearText(timeText);
        m_panel->ClearText(COverlayCtrlPanel::kDeltaT);
        return;
    }
    m_panel->SetMarkerTime(marker, FormatScanTime(x1));
    if (!markers->IsVisible(other) || x2 == kHole) {
        m_panel->ClearText(COverlayCtrlPanel::kDeltaT);
        return;
    }
    double difference = std::fabs(x1 - x2);
    if (std::fabs(x1 - x2) < 1e-10 * std::max(1.0, std::fabs(x1)))
        difference = 0.0;
    char text[64];
    FormatTimeIntervalText(difference, text, sizeof text, 4);
    m_panel->SetDeltaTime(text);
}

void CXrtOverlayFrame::OnVertMarkerYValueChange(int marker) {
    if ((marker != 1 && marker != 2) || !m_plot || !m_panel)
        return;
    double value = 0.0, normalised = 0.0;
    const int valueText = marker == 1 ? COverlayCtrlPanel::kY1Value : COverlayCtrlPanel::kY2Value;
    if (!m_plot->GetMarkerValue(marker, value, normalised)) {
        m_panel->ClearText(valueText);
        m_panel->ClearText(COverlayCtrlPanel::kDeltaY);
        return;
    }
    m_panel->SetMarkerValue(marker, value);
    const int other = marker == 1 ? 2 : 1;
    double otherValue = 0.0;
    if (m_plot->GetMarker()->IsVisible(other) &&
        m_plot->GetMarkerValue(other, otherValue, normalised))
        m_panel->SetDeltaY(value == kHole || otherValue == kHole ? kHole
                                                                 : std::fabs(value - otherValue));
    else
        m_panel->ClearText(COverlayCtrlPanel::kDeltaY);
}

void CXrtOverlayFrame::UpdateMarkerReadouts() {
    for (int marker = 1; marker <= 2; ++marker) {
        if (m_plot && m_plot->GetMarker() && m_plot->GetMarker()->IsVisible(marker)) {
            OnVertMarkerXValueChange(marker);
            OnVertMarkerYValueChange(marker);
        }
    }
}

void CXrtOverlayFrame::OnGraphRangeInfoChange(const OverlayRange& timeRange) {
    if (!m_plot)
        return;
    const double oldStart = m_plot->GetTimeAxis().start;
    m_plot->SetTimeRange(timeRange);
    if (m_text) {
        std::string interval;
        FormatTimeInterval(timeRange.scale, interval);
        m_text->SetLabelValue(0, 1, interval);
    }
    if (oldStart >= 0.0 && m_plot->GetTimeAxis().start < oldStart) {
        m_plot->SetRepaint(false);
        RequestRefresh();
        m_plot->SetRepaint(true);
    }
    UpdateMarkerReadouts();
}

void CXrtOverlayFrame::OnAutoScale() {
    if (m_plot)
        m_plot->AutoScale(-1);
    MarkLayoutChanged(true);
}

bool CXrtOverlayFrame::OnChannelRequest(std::vector<OverlayChannel>& channels) {
    CChannelArray available;
    GetAvailableChannels(available);
    for (std::size_t i = 0; i < available.GetSize(); ++i)
        if (const CChannelInfo* c = available.GetAt(i))
            channels.push_back(ToOverlay(*c));
    available.DeleteAll();
    return true;
}

void CXrtOverlayFrame::OnSetChannel(int slot, const OverlayChannel& channel) {
    CChannelArray available;
    GetAvailableChannels(available);
    for (std::size_t i = 0; i < available.GetSize(); ++i) {
        const CChannelInfo* c = available.GetAt(i);
        if (c && c->Number == channel.number) {
            SetChannelAt(slot, c);
            break;
        }
    }
    available.DeleteAll();
    MarkLayoutChanged(true);
}

void CXrtOverlayFrame::OnRemoveChannel(int slot) {
    RemoveChannelAt(slot);
    MarkLayoutChanged(true);
}

void CXrtOverlayFrame::OnToggleVMarkerState(int marker, int slot, bool on) {
    if ((marker != 1 && marker != 2) || !m_plot)
        return;
    m_plot->ShowMarker(marker, on);
    if (on) {
        const auto& range = m_ranges[static_cast<std::size_t>(slot)];
        const OverlayChannel* channel = range ? &range->channel : nullptr;
        if (m_panel) {
            m_panel->SetMarkerChannel(marker, channel);
            m_panel->SetMarkerTimeLabel(marker, channel);
        }
        m_plot->GetMarker()->FollowSeries(marker, slot);
        m_plot->UpdateMarkers();
        m_plot->ColourMarker(marker, static_cast<std::int32_t>(GetColorSlot(slot)));
    } else if (m_panel) {
        for (int r : marker == 1
                         ? std::array{COverlayCtrlPanel::kY1Channel, COverlayCtrlPanel::kT1Channel,
                                      COverlayCtrlPanel::kY1Value, COverlayCtrlPanel::kT1Value}
                         : std::array{COverlayCtrlPanel::kY2Channel, COverlayCtrlPanel::kT2Channel,
                                      COverlayCtrlPanel::kY2Value, COverlayCtrlPanel::kT2Value})
            m_panel->ClearText(r);
        m_panel->ClearText(COverlayCtrlPanel::kDeltaY);
        m_panel->ClearText(COverlayCtrlPanel::kDeltaT);
    }
    OnPlotInvalidate();
    MarkLayoutChanged(true);
}

// --- Storing ---------------------------------------------------------------------

void CXrtOverlayFrame::Serialize(tvane::CArchive& ar) {
    CXrtFrame::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(m_plot.get());
        ar.WriteObject(m_legend.get());
        ar.WriteObject(m_text.get());
        ar.WriteObject(m_plotRegion.get());
        ar.WriteObject(m_textRegion.get());
        ar.WriteObject(m_panel.get());
        // The ranges, with the legend's row count in one slot beyond the channels.
        CRangeArray ranges;
        std::vector<std::unique_ptr<CRangeInfo>> owned;
        for (int s = 0; s < kSlots; ++s) {
            if (const auto& r = m_ranges[static_cast<std::size_t>(s)]) {
                owned.push_back(std::make_unique<CRangeInfo>(ToRangeInfo(*r)));
                ranges.SetAtGrow(static_cast<std::size_t>(s), owned.back().get());
            }
        }
        owned.push_back(std::make_unique<CRangeInfo>());
        owned.back()->m_divisions = m_legendRows;
        ranges.SetAtGrow(kSlots, owned.back().get());
        ranges.Serialize(ar);
        return;
    }
    DestroyChildren();
    m_panelWindow.reset();
    m_plot = ar.ReadOwnedObject<CXrtOverlayPlot>();
    m_legend = ar.ReadOwnedObject<CLegendGrid>();
    m_text = ar.ReadOwnedObject<CTextDisplay>();
    m_plotRegion = ar.ReadOwnedObject<CRegion>();
    m_textRegion = ar.ReadOwnedObject<CRegion>();
    m_panel = ar.ReadOwnedObject<COverlayCtrlPanel>();
    if (!m_plot || !m_legend || !m_text || !m_plotRegion || !m_textRegion || !m_panel)
        throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                       "strip chart part missing");
    CRangeArray ranges;
    struct DeleteRanges {
        CRangeArray& ranges;
        ~DeleteRanges() { ranges.DeleteAll(); }
    } deleteRanges{ranges};
    ranges.Serialize(ar);
    if (ranges.GetSize() > kSlots + 1)
        throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                       "strip chart range slots out of range");
    for (int s = 0; s < kSlots; ++s) {
        const CRangeInfo* r = ranges.GetAt(static_cast<std::size_t>(s));
        m_ranges[static_cast<std::size_t>(s)] =
            r ? std::optional<OverlayRange>(ToOverlay(*r)) : std::nullopt;
    }
    if (const CRangeInfo* rows = ranges.GetAt(kSlots)) {
        if (rows->m_divisions < 1 || rows->m_divisions > legend::kMaxRows)
            throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                           "legend row count out of range");
        m_legendRows = rows->m_divisions;
    }
    m_staging.SetData(GetReadingData());
}
