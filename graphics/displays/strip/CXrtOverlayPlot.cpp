#include "graphics/displays/strip/CXrtOverlayPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "database/CDatasetEvent.h"
#include "graphics/CXrtGraphData.h"
#include "graphics/ChartFonts.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"

using tvane::CArchive;
using tvane::chart::ChartData;
using tvane::chart::ChartRect;
namespace prop = tvane::chart::prop;

IMPLEMENT_SERIAL(CXrtOverlayPlot, CXrtGraph, 0)

namespace {

// Shape codes of the five shape names, in the order of the names.
constexpr std::int32_t kShapeCodes[5] = {6, 2, 5, 3, 4};
constexpr std::int32_t kWhite = 0xFFFFFF;
constexpr std::int32_t kGrey = 0x808080;
constexpr int kTraceSet = 1;
constexpr int kMarkSet = 2;
// A plot's capacity as a document may give it: the pages allow 5000.
constexpr std::int32_t kMaxCapacity = 100000;

[[noreturn]] void Reject(const char* what) {
    throw tvane::CArchiveException(tvane::CArchiveException::generic, what);
}

std::uint32_t Flag(bool b) {
    return b ? 1u : 0u;
}

// The last index i with x[i] <= t (points in time order), or -1 when t lies
// before the first point.
int LastAtOrBefore(const ChartData& d, int series, double t) {
    int low = 0;
    int high = d.Count(series) - 1;
    int found = -1;
    while (low <= high) {
        const int mid = low + (high - low) / 2;
        if (d.X(series, mid) <= t) {
            found = mid;
            low = mid + 1;
        } else {
            high = mid - 1;
        }
    }
    return found;
}

} // namespace

CXrtOverlayPlot::CXrtOverlayPlot() {
    m_axis.width = m_timeRange.divisions * m_timeRange.scale * m_msPerSecond;
    m_axis.end = m_axis.width;
    m_axis.start = m_axis.end - m_axis.width;
}

CXrtOverlayPlot::~CXrtOverlayPlot() {
    // The chart goes before the data it shows.
    Destroy();
}

bool CXrtOverlayPlot::MakeDataSets() {
    auto traces = std::make_unique<CXrtGraphData>(ChartData::kGeneral, kSlots, m_capacity);
    auto marks = std::make_unique<CXrtGraphData>(ChartData::kGeneral, kMarkSeries, m_capacity);
    if (!traces->GetData() || !marks->GetData())
        return false;
    traces->Reset(kNoValue);
    marks->Reset(kNoValue);
    m_traces = std::move(traces);
    m_marks = std::move(marks);
    for (auto& flags : m_alarmFlags)
        flags.assign(static_cast<std::size_t>(m_capacity), 0);
    return true;
}

void CXrtOverlayPlot::AttachData() {
    if (tvane::chart::Chart* chart = GetChart()) {
        chart->SetData(1, m_traces ? m_traces->GetData() : nullptr);
        chart->SetData(2, m_marks ? m_marks->GetData() : nullptr);
    }
}

bool CXrtOverlayPlot::Create(IOverlayPlotParent& parent, const ChartRect& rect,
                             const tvane::chart::ChartFont* font) {
    m_plotParent = &parent;
    CXrtGraph::Create(parent, rect);
    if (!MakeDataSets())
        return false;
    AttachData();
    ApplyChartSettings(true, font);
    m_marker = std::make_unique<CGraphMarker>();
    const ChartRect area = GetPlotArea();
    m_marker->Create(this, area, 0, 2, 0);
    m_marker->SetCursor(1, 237);
    m_marker->SetCursor(2, 238);
    m_marker->LayoutEvenly(area);
    KeepLinePlace(RestingPlotArea());
    m_markerDrawing = true;
    m_axis.latest = 0.1;
    for (auto& range : m_ranges)
        range.reset();
    return true;
}

bool CXrtOverlayPlot::Recreate(IOverlayPlotParent& parent, const ChartRect& rect) {
    m_plotParent = &parent;
    CXrtGraph::RestoreChartState(parent, rect);
    // The lines' stored pixels belong to the chart at its window's size; the
    // window takes that size only once shown, too late for reading them.
    if (tvane::chart::Chart* chart = GetChart())
        chart->SetWindowSize(rect.Width(), rect.Height());
    if (m_noDataStored || !m_traces || !m_marks) {
        if (!MakeDataSets())
            return false;
    }
    AttachData();
    if (!m_marker) {
        m_marker = std::make_unique<CGraphMarker>();
        m_marker->Create(this, GetPlotArea(), 0, 2, 0);
    }
    // The lines' stored pixels are read on the axes the chart settles on, so
    // that they are laid out again where they were.
    ApplyChartSettings(false, nullptr);
    m_marker->Reattach(this);
    m_marker->SetCursor(1, 237);
    m_marker->SetCursor(2, 238);
    m_linePlace.reset();
    LayOutLines(RestingPlotArea());
    m_marker->UpdateMarkers(*this, false);
    return true;
}

void CXrtOverlayPlot::ApplyChartSettings(bool first, const tvane::chart::ChartFont* font) {
    tvane::chart::Chart* chart = GetChart();
    if (!chart)
        return;
    SetRepaint(false);
    if (m_noDataStored && m_axis.latest == 0.1) {
        for (CXrtGraphData* set : {m_traces.get(), m_marks.get()})
            if (set && set->GetData())
                set->GetData()->SetAllCounts(0);
    }
    const double vStep = 2.0 / std::max(m_vRange.divisions, 1);
    chart->SetValues({{prop::kYAxisMax, 1.0},
                      {prop::kYAxisMin, -1.0},
                      {prop::kY2AxisMax, 1.0},
                      {prop::kY2AxisMin, -1.0},
                      {prop::kYDataMax, 100.0},
                      {prop::kYDataMin, -100.0},
                      {prop::kY2DataMax, 100.0},
                      {prop::kY2DataMin, -100.0},
                      {prop::kYStep, vStep},
                      {prop::kYTick, -1.0},
                      {prop::kYOrigin, 0.0},
                      {prop::kY2Origin, 0.0},
                      {prop::kChartType2, std::int32_t{tvane::chart::kChartTypePlot}},
                      {prop::kGraphBorder, std::int32_t{2}},
                      {prop::kTopMargin, std::int32_t{5}},
                      {prop::kBottomMargin, std::int32_t{5}},
                      {prop::kXAnnotation, std::int32_t{2}},
                      {prop::kYAnnotation, std::int32_t{2}},
                      {prop::kXAxisStyle, std::int32_t{2}},
                      {prop::kYTitleRotation, std::int32_t{2}},
                      {prop::kYAnnoPlacement, std::int32_t{2}},
                      {prop::kXPrecision, std::int32_t{6}},
                      {prop::kDoubleBuffer, std::int32_t{0}},
                      {prop::kLegendShown, std::int32_t{0}}});
    chart->SetValue(prop::kYValueLabels, std::vector<tvane::chart::ValueLabel>{{0.0, "Ref"}});
    if (first) {
        chart->SetValue(prop::kBackground, std::int32_t{0});
        chart->SetValue(prop::kForeground, kWhite);
        tvane::chart::ChartStyle grid;
        grid.color = kGrey;
        grid.pointColor = kGrey;
        chart->SetValue(prop::kXGridStyle, grid);
        chart->SetValue(prop::kYGridStyle, grid);
    }
    if (font)
        SetFonts(*font);
    RestyleMarks();
    UpdateTimeAxis();
    ApplyYGrid();
    ApplyTraceMode();
    SetRepaint(true);
}

void CXrtOverlayPlot::RestyleMarks() {
    if (!GetChart())
        return;
    auto style = [&](int series, std::int32_t colour, int kind) {
        auto size =
            static_cast<std::uint32_t>(m_pointStyles[static_cast<std::size_t>(kind * 2 + 1)]);
        SetSeriesStyle(
            series, static_cast<std::uint32_t>(m_pointStyles[static_cast<std::size_t>(kind * 2)]),
            &size, tvane::chart::kLineNone, kMarkSet);
        SetSeriesColor(series, colour, kMarkSet);
    };
    style(kEventSeries, m_eventColour, kEvent);
    for (int s = 0; s < kSlots; ++s) {
        style(s, m_lowColour, kLowAlarm);
        style(s + kSlots, m_highColour, kHighAlarm);
    }
}

void CXrtOverlayPlot::ClearData() {
    for (CXrtGraphData* set : {m_traces.get(), m_marks.get()}) {
        if (set && set->GetData())
            set->GetData()->SetAllCounts(0);
    }
    m_axis.end = m_origin;
    m_axis.latest = m_origin;
    m_axis.start = m_axis.end - m_axis.width;
    if (tvane::chart::Chart* chart = GetChart())
        chart->DataChanged();
}

double CXrtOverlayPlot::Normalise(int slot, double value) const {
    const auto& range = m_ranges[static_cast<std::size_t>(slot)];
    if (value == kNoValue || !range)
        return kNoValue;
    const double per = (range->divisions / m_vSpan) * range->scale;
    if (per == 0.0)
        return kNoValue;
    return value / per + range->normOffset;
}

void CXrtOverlayPlot::MakeRoom(CXrtGraphData& set, int series, int k) {
    ChartData* d = set.GetData();
    if (!d)
        return;
    const int count = d->Count(series);
    if (count == 0 || count < k)
        return;
    const int i = LastAtOrBefore(*d, series, m_axis.start);
    int drop = k;
    if (i > 0)
        drop = i; // keep the one point left of the window, so the line enters at the edge
    drop = std::min(drop, count);
    if (drop <= 0)
        return;
    d->ShiftPoints(series, 0, drop, count - drop);
    d->SetCount(series, count - drop);
}

void CXrtOverlayPlot::AppendPoint(CXrtGraphData& set, int series, double x, double y) {
    ChartData* d = set.GetData();
    if (!d)
        return;
    if (d->Count(series) + 1 > d->Capacity())
        MakeRoom(set, series, 1);
    d->Append(series, x, y);
}

void CXrtOverlayPlot::FastUpdate(int set, int series) {
    tvane::chart::Chart* chart = GetChart();
    CXrtGraphData* data = set == kTraceSet ? m_traces.get() : m_marks.get();
    if (chart && data && data->GetData())
        chart->FastUpdate(set, series, data->GetData()->Count(series));
}

void CXrtOverlayPlot::WidenXExtent(double low, double high) {
    tvane::chart::Chart* chart = GetChart();
    if (!chart)
        return;
    if (low < chart->GetDouble(prop::kXDataMin))
        chart->SetValue(prop::kXDataMin, low);
    if (chart->GetDouble(prop::kXDataMax) < high)
        chart->SetValue(prop::kXDataMax, high);
}

bool CXrtOverlayPlot::AddReadings(int n, const SlotBatch* batch) {
    if (!m_traces || !m_marks || !batch)
        return false;
    if (m_axis.latest == 0.1) {
        // The first time that is a reading's own ends the window.
        bool found = false;
        for (int j = 0; j < n && !found; ++j) {
            for (int s = 0; s < m_slotCount && !found; ++s) {
                if (j >= batch[s].count)
                    continue;
                const double t = batch[s].times[j];
                if (t != 0.1 && t != 0.0) {
                    m_axis.end = t;
                    if (GetChart())
                        GetChart()->SetValue(prop::kXDataMax, t);
                    found = true;
                }
            }
        }
        m_axis.start = m_axis.end - m_axis.width;
        UpdateTimeAxis();
        m_axis.latest = m_axis.end;
    }
    SetRepaint(false);
    bool moved = false;
    ChartData& traces = *m_traces->GetData();
    for (int s = 0; s < m_slotCount; ++s) {
        const auto& range = m_ranges[static_cast<std::size_t>(s)];
        if (!range)
            continue;
        const SlotBatch& b = batch[s];
        // The slot's own last reading: a slot may have fewer than the batch's largest.
        const int count = std::min(b.count, m_capacity);
        if (count > 0 && b.times[count - 1] > m_axis.end) {
            m_axis.end = b.times[count - 1];
            m_axis.start = m_axis.end - m_axis.width;
            moved = true;
        }
        if (traces.Count(s) + count > m_capacity)
            MakeRoom(*m_traces, s, count);
        const bool digital = range->channel.kind == OverlayChannel::kDigitalBit;
        const auto& flags = m_alarmFlags[static_cast<std::size_t>(s)];
        for (int j = 0; j < count; ++j) {
            const double t = b.times[j];
            double v = b.values[j];
            if (digital && v != kNoValue)
                v = range->channel.IsBitSet(v) ? 1.0 : 0.0;
            const double y = Normalise(s, v);
            const int have = traces.Count(s);
            if (digital && have > 0) {
                const double last = traces.Y(s, have - 1);
                if (y != last) {
                    // A vertical step at the new reading's time.
                    if (have + 2 > m_capacity)
                        MakeRoom(*m_traces, s, 2);
                    traces.Append(s, t, last);
                }
            }
            AppendPoint(*m_traces, s, t, y);
            const std::int32_t flag =
                static_cast<std::size_t>(j) < flags.size() ? flags[static_cast<std::size_t>(j)] : 0;
            if (flag == 1)
                AppendPoint(*m_marks, s, t, y);
            else if (flag == 2)
                AppendPoint(*m_marks, s + kSlots, t, y);
        }
        FastUpdate(kTraceSet, s);
        FastUpdate(kMarkSet, s);
        FastUpdate(kMarkSet, s + kSlots);
        if (traces.Count(s) > 0)
            m_axis.latest = traces.X(s, traces.Count(s) - 1);
    }
    WidenXExtent(m_axis.start, m_axis.end);
    SetRepaint(true);
    if (moved)
        UpdateTimeAxis();
    if (m_marker)
        m_marker->UpdateMarkers(*this, false);
    return true;
}

bool CXrtOverlayPlot::UpdateTimeAxis() {
    tvane::chart::Chart* chart = GetChart();
    if (chart) {
        SetRepaint(false);
        chart->SetValues({{prop::kXAxisMax, m_axis.end}, {prop::kXAxisMin, m_axis.start}});
        std::vector<tvane::chart::ValueLabel> labels;
        const int divisions = std::max(m_timeRange.divisions, 1);
        for (int i = 0; i < divisions; ++i)
            labels.push_back({(i + 1) * m_axis.width / divisions + m_axis.start, " "});
        chart->SetValue(prop::kXValueLabels, std::move(labels));
        chart->SetValue(prop::kXGridAuto, std::int32_t{0});
        ApplyYGrid();
        SetRepaint(true);
    }
    if (m_plotParent)
        m_plotParent->OnGraphTimeAxisChange(m_axis);
    return true;
}

void CXrtOverlayPlot::SetWindowEnd(double end) {
    m_axis.end = end;
    m_axis.start = end - m_axis.width;
    m_axis.latest = end;
}

void CXrtOverlayPlot::ApplyYGrid() {
    tvane::chart::Chart* chart = GetChart();
    if (!chart)
        return;
    if (m_grid) {
        chart->SetValues({{prop::kYGridSpacing, 2.0 / std::max(m_vRange.divisions, 1)},
                          {prop::kXGridAuto, std::int32_t{1}}});
    } else {
        chart->SetValues({{prop::kYGridSpacing, 0.0},
                          {prop::kXGridSpacing, 0.0},
                          {prop::kXGridAuto, std::int32_t{0}}});
    }
}

bool CXrtOverlayPlot::AddEventMark(double time) {
    if (!m_marks || !m_marks->GetData())
        return true;
    ChartData& marks = *m_marks->GetData();
    if (marks.Count(kEventSeries) >= m_capacity - 1)
        marks.SetCount(kEventSeries, 0);
    marks.Append(kEventSeries, time, m_vMax);
    FastUpdate(kMarkSet, kEventSeries);
    WidenXExtent(time, time);
    if (time > m_axis.end) {
        m_axis.end = time;
        m_axis.start = m_axis.end - m_axis.width;
        UpdateTimeAxis();
    }
    return true;
}

bool CXrtOverlayPlot::RemoveEventMark(double time) {
    if (!m_marks || !m_marks->GetData())
        return false;
    ChartData& marks = *m_marks->GetData();
    const int i = LastAtOrBefore(marks, kEventSeries, time);
    if (i < 0)
        return false;
    marks.SetY(kEventSeries, i, kNoValue);
    FastUpdate(kMarkSet, kEventSeries);
    return true;
}

bool CXrtOverlayPlot::ResetRange(int slot) {
    if (slot < 0 || slot >= kSlots)
        return false;
    for (auto [set, series] : {std::pair{m_traces.get(), slot}, std::pair{m_marks.get(), slot},
                               std::pair{m_marks.get(), slot + kSlots}})
        if (set && set->GetData())
            set->GetData()->SetCount(series, 0);
    m_ranges[static_cast<std::size_t>(slot)] = OverlayRange{};
    if (GetChart())
        GetChart()->DataChanged();
    return true;
}

bool CXrtOverlayPlot::RemoveRange(int slot) {
    if (!ResetRange(slot))
        return false;
    m_ranges[static_cast<std::size_t>(slot)].reset();
    return true;
}

bool CXrtOverlayPlot::SetChannel(int slot, const OverlayChannel& channel, std::int32_t colour) {
    if (slot < 0 || slot >= kSlots || !m_ranges[static_cast<std::size_t>(slot)])
        return false;
    m_ranges[static_cast<std::size_t>(slot)]->channel = channel;
    SetTraceColour(slot, colour);
    return true;
}

void CXrtOverlayPlot::SetTraceColour(int slot, std::int32_t colour) {
    SetSeriesColor(slot, colour, kTraceSet);
    if (!m_marker)
        return;
    for (int n = 1; n <= 2; ++n) {
        int series = -1;
        if (m_marker->GetFollowedSeries(n, series) && series == slot)
            m_marker->Recolour(n, this, colour);
    }
}

bool CXrtOverlayPlot::ChangeRangeInfo(int slot, const OverlayRange& range) {
    if (slot < 0 || slot >= kSlots || !m_ranges[static_cast<std::size_t>(slot)])
        return false;
    if (!(range.scale > 0.0) || range.divisions < 1)
        return false;
    OverlayRange& old = *m_ranges[static_cast<std::size_t>(slot)];
    const double s0 = old.scale;
    const double o0 = old.normOffset;
    OverlayRange next = range;
    next.normOffset = overlay::NormalisedOffset(range.reference, range.scale, m_vMax - m_vMin);
    SetRepaint(false);
    for (auto [set, series] : {std::pair{m_traces.get(), slot}, std::pair{m_marks.get(), slot},
                               std::pair{m_marks.get(), slot + kSlots}}) {
        ChartData* d = set ? set->GetData() : nullptr;
        if (!d)
            continue;
        for (int i = 0; i < d->Count(series); ++i) {
            const double y = d->Y(series, i);
            if (y != kNoValue)
                d->SetY(series, i, (y - o0) * s0 / next.scale + next.normOffset);
        }
        FastUpdate(set == m_traces.get() ? kTraceSet : kMarkSet, series);
    }
    old = next;
    SetRepaint(true);
    if (m_marker)
        m_marker->UpdateMarkers(*this, false);
    return true;
}

bool CXrtOverlayPlot::SetTimeRange(const OverlayRange& range) {
    if (!(range.scale > 0.0) || range.divisions < 1)
        return false;
    m_timeRange = range;
    m_axis.width = range.divisions * range.scale * m_msPerSecond;
    m_axis.start = m_axis.end - m_axis.width;
    UpdateTimeAxis();
    if (m_marker)
        m_marker->UpdateMarkers(*this, false);
    return true;
}

void CXrtOverlayPlot::AutoScale(int slot) {
    if (!m_traces || !m_traces->GetData())
        return;
    std::vector<int> shown;
    for (int s = 0; s < kSlots; ++s) {
        if ((slot < 0 || s == slot) && m_ranges[static_cast<std::size_t>(s)])
            shown.push_back(s);
    }
    if (shown.empty())
        return;
    const ChartData& d = *m_traces->GetData();
    const double span = m_vMax - m_vMin;
    const double band = m_vSpan / static_cast<double>(shown.size());
    const double usable =
        (static_cast<double>(m_vRange.divisions) / static_cast<double>(shown.size())) * 0.75;
    int k = 0;
    for (int s : shown) {
        const int count = d.Count(s);
        double lo = kNoValue;
        double hi = -kNoValue;
        bool any = false;
        for (int i = 0; i < count; ++i) {
            const double t = d.X(s, i);
            const double y = d.Y(s, i);
            if (y == kNoValue)
                continue;
            if (count > 1 && (t < m_axis.start || t > m_axis.end))
                continue;
            lo = std::min(lo, y);
            hi = std::max(hi, y);
            any = true;
        }
        if (!any)
            continue;
        ++k;
        OverlayRange copy = *m_ranges[static_cast<std::size_t>(s)];
        const double oldScale = copy.scale;
        const bool scaleChanged = overlay::SnapScale(copy, copy.scale * (hi - lo) / usable);
        double centre;
        if (scaleChanged) {
            const double a = (lo - copy.normOffset) * oldScale / copy.scale;
            const double b = (hi - copy.normOffset) * oldScale / copy.scale;
            centre = (a + b) / 2.0;
        } else {
            centre = ((hi - copy.normOffset) + (lo - copy.normOffset)) / 2.0;
        }
        const double top = span - (k - 1) * band;
        const double offset = top - band / 2.0 + m_vMin - centre;
        bool offsetChanged = false;
        if (static_cast<long long>(copy.normOffset * 100000.0) !=
            static_cast<long long>(offset * 100000.0)) {
            copy.normOffset = offset;
            char text[64];
            std::snprintf(text, sizeof text, "%.*e", 12, -copy.scale * 8.0 * offset / span);
            copy.reference = std::strtod(text, nullptr);
            offsetChanged = true;
        }
        if ((scaleChanged || offsetChanged) && m_plotParent)
            m_plotParent->OnChnlRangeInfoChange(s, copy);
    }
}

bool CXrtOverlayPlot::SetCapacity(int points) {
    if (points < 1 || points > kMaxCapacity)
        return false;
    const std::int32_t old = m_capacity;
    m_capacity = points;
    if (!MakeDataSets()) {
        m_capacity = old;
        return false;
    }
    AttachData();
    return true;
}

void CXrtOverlayPlot::SetDisplayMode(int mode) {
    if (mode < kPoints || mode > kLinesAndPoints)
        return;
    m_traceMode = mode;
    ApplyTraceMode();
}

void CXrtOverlayPlot::ApplyTraceMode() {
    if (m_traceMode == kLines) {
        m_traceShape = tvane::chart::kPointNone;
        m_traceLine = tvane::chart::kLineSolid;
    } else {
        m_traceShape = m_pointStyles[0];
        m_traceLine = m_traceMode == kPoints ? tvane::chart::kLineNone : tvane::chart::kLineSolid;
    }
    auto size = static_cast<std::uint32_t>(m_pointStyles[1]);
    SetSeriesStyle(-1, static_cast<std::uint32_t>(m_traceShape), &size,
                   static_cast<std::uint32_t>(m_traceLine), kTraceSet);
}

std::vector<std::string> CXrtOverlayPlot::SeriesKindNames() {
    return {"Data", "Event", "Low Alarm Limit", "High Alarm Limit"};
}

std::string CXrtOverlayPlot::GetPointStyleName(int kind) const {
    if (kind < 0 || kind > 3)
        return {};
    return m_pointStyleNames[static_cast<std::size_t>(kind)];
}

int CXrtOverlayPlot::GetPointSize(int kind) const {
    if (kind < 0 || kind > 3)
        return 0;
    return m_pointStyles[static_cast<std::size_t>(kind * 2 + 1)];
}

void CXrtOverlayPlot::SetPointStyle(int kind, int shapeIndex, int size) {
    if (kind < 0 || kind > 3 || shapeIndex < 0 || shapeIndex > 4)
        return;
    const std::int32_t code = kShapeCodes[shapeIndex];
    const auto& names = PointShapeNames();
    if (static_cast<std::size_t>(shapeIndex) < names.size())
        m_pointStyleNames[static_cast<std::size_t>(kind)] =
            names[static_cast<std::size_t>(shapeIndex)];
    m_pointStyles[static_cast<std::size_t>(kind * 2)] = code;
    m_pointStyles[static_cast<std::size_t>(kind * 2 + 1)] = size;
    auto usize = static_cast<std::uint32_t>(size);
    const auto ucode = static_cast<std::uint32_t>(code);
    switch (kind) {
    case kData:
        // Lines only draws no points: the shape waits for another mode.
        if (m_traceMode != kLines)
            SetSeriesPoint(-1, ucode, &usize, kTraceSet);
        break;
    case kEvent:
        SetSeriesPoint(kEventSeries, ucode, &usize, kMarkSet);
        break;
    case kLowAlarm:
    case kHighAlarm:
        for (int s = 0; s < kSlots; ++s)
            SetSeriesPoint(kind == kLowAlarm ? s : s + kSlots, ucode, &usize, kMarkSet);
        break;
    default:
        break;
    }
}

void CXrtOverlayPlot::SetEventColour(std::int32_t colour) {
    m_eventColour = colour;
    SetSeriesColor(kEventSeries, colour, kMarkSet);
}

void CXrtOverlayPlot::SetLowAlarmColour(std::int32_t colour) {
    m_lowColour = colour;
    for (int s = 0; s < kSlots; ++s)
        SetSeriesColor(s, colour, kMarkSet);
}

void CXrtOverlayPlot::SetHighAlarmColour(std::int32_t colour) {
    m_highColour = colour;
    for (int s = 0; s < kSlots; ++s)
        SetSeriesColor(s + kSlots, colour, kMarkSet);
}

bool CXrtOverlayPlot::GetMarkerValue(int marker, double& value, double& normalised) const {
    if (!m_marker)
        return false;
    int series = -1;
    if (!m_marker->GetFollowedSeries(marker, series))
        return false;
    const double x = m_marker->GetXValue(marker);
    if (x < 0.0 || x == kNoValue || series >= kSlots || !m_ranges[static_cast<std::size_t>(series)])
        return false;
    const OverlayRange& range = *m_ranges[static_cast<std::size_t>(series)];
    normalised = m_marker->GetYValue(marker);
    value = kNoValue;
    if (normalised != kNoValue) {
        const tvane::chart::Chart* chart = GetChart();
        const double vmax = chart ? chart->GetDouble(prop::kYAxisMax) : m_vMax;
        const double vmin = chart ? chart->GetDouble(prop::kYAxisMin) : m_vMin;
        value = (normalised - range.normOffset) / ((vmax - vmin) / range.divisions) * range.scale;
    }
    return true;
}

void CXrtOverlayPlot::ShowMarker(int marker, bool show) {
    if (!m_marker)
        return;
    m_marker->Show(marker, this, show);
    m_markerDrawing = m_marker->AnyVisible();
}

void CXrtOverlayPlot::ColourMarker(int marker, std::int32_t colour) {
    if (m_marker)
        m_marker->Recolour(marker, this, colour);
}

void CXrtOverlayPlot::ChartRepainted() {
    if (!m_layoutPending || !m_marker)
        return;
    LayOutLines(RestingPlotArea());
    m_layoutPending = false;
    m_marker->UpdateMarkers(*this, false);
}

ChartRect CXrtOverlayPlot::RestingPlotArea() const {
    ChartRect area = GetPlotArea();
    if (m_plotParent) {
        const tvane::chart::ChartPoint growth = m_plotParent->RestingPlotGrowth();
        area.right += growth.x;
        area.bottom += growth.y;
    }
    return area;
}

std::vector<ChartRect> CXrtOverlayPlot::LineRects() const {
    std::vector<ChartRect> lines;
    for (int i = 0; m_marker && i < m_marker->Count(); ++i)
        lines.push_back(m_marker->LineAt(i).Line());
    return lines;
}

void CXrtOverlayPlot::KeepLinePlace(const ChartRect& area) {
    m_linePlace = LinePlace{area, LineRects(), area, LineRects()};
}

void CXrtOverlayPlot::LayOutLines(const ChartRect& area) {
    if (!m_marker)
        return;
    // Lines moved since they were last laid out (dragged, loaded) are taken
    // where they stand, in the area they were laid out in.
    if (!m_linePlace)
        KeepLinePlace(area);
    else if (LineRects() != m_linePlace->laid)
        KeepLinePlace(m_linePlace->laidArea);
    m_linePlace->laid.clear();
    for (int i = 0; i < m_marker->Count(); ++i) {
        CXrtMarker& line = m_marker->LineAt(i);
        const ChartRect& kept = m_linePlace->anchor[static_cast<std::size_t>(i)];
        line.SetBounds(overlay::MapLine(kept, line.IsVertical(), m_linePlace->area, area));
        m_linePlace->laid.push_back(line.Line());
    }
    m_linePlace->laidArea = area;
}

int CXrtOverlayPlot::CursorAt(int x, int y) {
    return m_marker ? m_marker->CursorAt(x, y) : kCursorNone;
}

bool CXrtOverlayPlot::PressMarker(int x, int y) {
    if (!m_marker || !m_marker->HitTest(x, y))
        return false;
    if (m_plotParent)
        m_plotParent->OnObjectSelect();
    const ChartRect area = GetPlotArea();
    return m_marker->BeginTrack(&area);
}

void CXrtOverlayPlot::DragMarker(int x, int y) {
    if (m_marker)
        m_marker->TrackMove(x, y, *this);
}

bool CXrtOverlayPlot::ReleaseMarker(int x, int y) {
    return m_marker && m_marker->TrackRelease(x, y, *this);
}

bool CXrtOverlayPlot::PickMark(int x, int y) {
    if (!m_plotParent || !m_plotParent->GetDocumentHasReadings() || !m_marks)
        return false;
    const tvane::chart::PickResult pick = Pick(kMarkSet, x, y, tvane::chart::Chart::kPickXY);
    if (pick.region != tvane::chart::PickResult::kPlotArea || pick.series < 0 ||
        pick.series >= kMarkSeries || pick.distance >= kPickDistance || pick.point < 0)
        return false;
    std::uint32_t type = 7;
    int slot = -1;
    if (pick.series < kSlots) {
        type = CDatasetEvent::LowLimit;
        slot = pick.series;
    } else if (pick.series < kEventSeries) {
        type = CDatasetEvent::HighLimit;
        slot = pick.series - kSlots;
    }
    std::int32_t channel = -1;
    if (slot >= 0 && m_ranges[static_cast<std::size_t>(slot)])
        channel = m_ranges[static_cast<std::size_t>(slot)]->channel.number;
    const double time = m_marks->GetData()->X(pick.series, pick.point);
    m_plotParent->OnPositionEventLog(CDatasetEvent(type, channel, time));
    return true;
}

void CXrtOverlayPlot::MarkerUpdate(int, const ChartRect&) {
    if (m_marker)
        m_marker->UpdateMarkers(*this, false);
}

void CXrtOverlayPlot::MarkerBoundHit(int edge) {
    if (m_plotParent)
        m_plotParent->OnMarkerBoundHit(edge);
}

void CXrtOverlayPlot::VertMarkerXValueChange(int number) {
    if (m_plotParent)
        m_plotParent->OnVertMarkerXValueChange(number);
}

void CXrtOverlayPlot::VertMarkerYValueChange(int number) {
    if (m_plotParent)
        m_plotParent->OnVertMarkerYValueChange(number);
}

void CXrtOverlayPlot::InvalidateMarkerRect(const ChartRect&) {
    if (m_plotParent)
        m_plotParent->OnPlotInvalidate();
}

void CXrtOverlayPlot::Serialize(CArchive& ar) {
    // The lines are stored in pixels: a layout that waits for the next repaint
    // (a hidden chart is not repainted) is done first.
    if (ar.IsStoring())
        ChartRepainted();
    SerializeChart(ar);
    if (ar.IsStoring()) {
        m_noDataStored = GetNoReadingsFlag() != 0;
        ar << m_capacity << m_reservedDouble;
        ar.WriteObject(m_marker.get());
        ar << Flag(m_grid) << m_reservedFlag << Flag(m_markerDrawing) << m_axis.start << m_axis.end
           << m_axis.width << m_vSpan << m_vMax << m_vMin << m_origin << Flag(m_noDataStored)
           << m_traceLine << m_traceShape << m_traceMode << m_eventColour << m_lowColour
           << m_highColour;
        if (!m_noDataStored) {
            ar << m_axis.latest;
            ar.WriteObject(m_traces.get());
            ar.WriteObject(m_marks.get());
            for (const auto& flags : m_alarmFlags) {
                for (int i = 0; i < m_capacity; ++i)
                    ar << (static_cast<std::size_t>(i) < flags.size()
                               ? flags[static_cast<std::size_t>(i)]
                               : 0);
            }
        }
        for (std::int32_t v : m_pointStyles)
            ar << v;
        ar.WriteCount(static_cast<std::uint32_t>(m_pointStyleNames.size()));
        for (const auto& name : m_pointStyleNames)
            ar << name;
        ar.WriteCount(kSlots);
        for (auto& range : m_ranges) {
            ar << Flag(range.has_value());
            if (range)
                SerializeOverlayRange(ar, *range);
        }
        SerializeOverlayRange(ar, m_timeRange);
        SerializeOverlayRange(ar, m_vRange);
        return;
    }

    std::uint32_t grid = 0, drawing = 0, noData = 0;
    ar >> m_capacity >> m_reservedDouble;
    if (m_capacity < 1 || m_capacity > kMaxCapacity)
        Reject("plot capacity out of range");
    m_marker = ar.ReadOwnedObject<CGraphMarker>();
    ar >> grid >> m_reservedFlag >> drawing >> m_axis.start >> m_axis.end >> m_axis.width >>
        m_vSpan >> m_vMax >> m_vMin >> m_origin >> noData >> m_traceLine >> m_traceShape >>
        m_traceMode >> m_eventColour >> m_lowColour >> m_highColour;
    // Times beyond any run are a damaged document (1e15 ms: about 30000 years).
    const auto time = [](double t) { return t > -1e15 && t < 1e15; };
    if (!(m_vSpan > 0.0) || !(m_vMax > m_vMin) || !(m_axis.width > 0.0) || !time(m_axis.start) ||
        !time(m_axis.end) || !time(m_axis.width) || !time(m_origin) || m_traceMode < kPoints ||
        m_traceMode > kLinesAndPoints)
        Reject("plot axis out of range");
    m_grid = grid != 0;
    m_markerDrawing = drawing != 0;
    m_noDataStored = noData != 0;
    if (!m_noDataStored) {
        ar >> m_axis.latest;
        if (!time(m_axis.latest))
            Reject("plot axis out of range");
        m_traces = ar.ReadOwnedObject<CXrtGraphData>();
        m_marks = ar.ReadOwnedObject<CXrtGraphData>();
        auto fits = [&](const CXrtGraphData* set, int series) {
            return set && set->GetData() && set->GetData()->GetKind() == ChartData::kGeneral &&
                   set->GetData()->SeriesCount() == series && set->GetCapacity() == m_capacity;
        };
        if (!fits(m_traces.get(), kSlots) || !fits(m_marks.get(), kMarkSeries))
            Reject("plot data does not fit the plot");
        for (auto& flags : m_alarmFlags) {
            flags.assign(static_cast<std::size_t>(m_capacity), 0);
            for (auto& f : flags)
                ar >> f;
        }
    } else {
        m_traces.reset();
        m_marks.reset();
        m_axis.latest = 0.1;
    }
    for (std::int32_t& v : m_pointStyles)
        ar >> v;
    // Shape and size by turns: the sizes are drawn as given.
    for (std::size_t i = 1; i < m_pointStyles.size(); i += 2)
        if (m_pointStyles[i] < 0 ||
            m_pointStyles[i] > static_cast<std::int32_t>(tvane::chart::kMaxPointSize))
            Reject("point size out of range");
    const std::uint32_t names = ar.ReadCount();
    if (names != 4)
        Reject("point style names out of range");
    for (auto& name : m_pointStyleNames)
        ar >> name;
    const std::uint32_t slots = ar.ReadCount();
    if (slots != kSlots)
        Reject("plot slot count out of range");
    for (auto& range : m_ranges) {
        std::uint32_t present = 0;
        ar >> present;
        range.reset();
        if (present) {
            range.emplace();
            SerializeOverlayRange(ar, *range);
        }
    }
    SerializeOverlayRange(ar, m_timeRange);
    SerializeOverlayRange(ar, m_vRange);
    // The width is stored, and read back, as the time range makes it.
    m_axis.width = m_timeRange.divisions * m_timeRange.scale * m_msPerSecond;
    if (!(m_axis.width > 0.0) || !time(m_axis.width))
        Reject("plot time range out of range");
}

bool CXrtOverlayPlot::GetAppearanceItem(int item, GRAPHITEMPROPS& props) const {
    std::uint32_t supported = 0;
    auto colour = [&](std::int32_t c, const char* name) {
        props.color = static_cast<std::uint32_t>(c);
        props.itemName = name;
        supported = GRAPHITEMPROPS::kColor | GRAPHITEMPROPS::kName;
    };
    switch (item) {
    case 2:
        colour(GetBackgroundColor(), "Background");
        break;
    case 5:
        colour(m_highColour, "High Alarm Limit");
        break;
    case 6:
        colour(m_lowColour, "Low Alarm Limit");
        break;
    case 8:
        colour(GetAxisColor(), "Axis");
        props.font = ToLogFont(GetAxisFont());
        supported |= GRAPHITEMPROPS::kFont;
        break;
    case 9:
        colour(m_eventColour, "Event");
        break;
    case 10:
        colour(GetGridColor(), "Grid");
        break;
    case 13:
        props.labelName = "Y Axis";
        props.labelText = GetYAxisTitle();
        supported = GRAPHITEMPROPS::kLabelName | GRAPHITEMPROPS::kLabelText;
        break;
    default:
        return false;
    }
    return (props.mask & ~supported) == 0;
}

bool CXrtOverlayPlot::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw) {
    const bool colour = (props.mask & GRAPHITEMPROPS::kColor) != 0;
    const auto c = static_cast<std::int32_t>(props.color);
    bool handled = true;
    switch (item) {
    case 1:
        if (colour && props.channelIndex >= 0 && props.channelIndex < kSlots)
            SetTraceColour(props.channelIndex, c);
        break;
    case 2:
        if (colour)
            SetBackgroundColor(c);
        break;
    case 5:
        if (colour)
            SetHighAlarmColour(c);
        break;
    case 6:
        if (colour)
            SetLowAlarmColour(c);
        break;
    case 8:
        if (colour)
            SetAxisColor(c);
        if (props.mask & GRAPHITEMPROPS::kFont)
            SetAxisFont(ToChartFont(props.font));
        break;
    case 9:
        if (colour)
            SetEventColour(c);
        break;
    case 10:
        if (colour)
            SetGridColor(c);
        break;
    case 13:
        if (props.mask & GRAPHITEMPROPS::kLabelText)
            SetYAxisTitle(props.labelText);
        break;
    default:
        handled = false;
        break;
    }
    if (handled && redraw && GetChart())
        GetChart()->DataChanged();
    return handled;
}
