#include "graphics/displays/histogram/CHistogramPlot.h"

#include <algorithm>
#include <cmath>

#include "graphics/CXrtGraphData.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "scan/CChannelInfo.h"
#include "scan/CRoundedValue.h"

using tvane::CArchive;
using tvane::chart::Chart;
using tvane::chart::ChartData;
using tvane::chart::ChartRect;
namespace prop = tvane::chart::prop;

IMPLEMENT_SERIAL(CHistogramPlot, CXrtGraph, 0)

namespace {

constexpr std::int32_t kBlack = 0x000000;
constexpr std::int32_t kWhite = 0xFFFFFF;
constexpr std::int32_t kGrey = 0x808080;
constexpr std::int32_t kRed = 0x0000FF;
constexpr int kFrequencyLabels = 10;

[[noreturn]] void RejectPlot(const char* what) {
    throw tvane::CArchiveException(tvane::CArchiveException::generic, what);
}

std::int32_t Flag(std::int32_t value) {
    return value != 0 ? 1 : 0;
}

} // namespace

CHistogramPlot::CHistogramPlot() : m_binCounts(static_cast<std::size_t>(m_binCount), 0) {}

CHistogramPlot::~CHistogramPlot() {
    // The chart goes before the data it shows.
    Destroy();
    m_ranges.DeleteAll();
}

bool CHistogramPlot::MakeData(int bins) {
    auto data = std::make_unique<CXrtGraphData>(ChartData::kArray, m_setCount, bins);
    if (!data->GetData())
        return false;
    data->SetHoleValue(kHole);
    m_data = std::move(data);
    return true;
}

void CHistogramPlot::AttachData() {
    SetData(m_data ? m_data->GetData() : nullptr);
}

bool CHistogramPlot::Create(IChartParent& parent, const ChartRect& rect,
                            const tvane::chart::ChartFont& font) {
    m_ranges.DeleteAll();
    m_ranges.SetSize(static_cast<std::size_t>(m_setCount));
    m_current = -1;
    CXrtGraph::Create(parent, rect);
    SetChartType(tvane::chart::kChartTypeBar);
    m_binCounts.assign(static_cast<std::size_t>(m_binCount), 0);
    if (!MakeData(m_binCount))
        return false;
    AttachData();
    ClearData();
    InitChartAppearance(font);
    return true;
}

bool CHistogramPlot::Recreate(IChartParent& parent, const ChartRect& rect) {
    CXrtGraph::RestoreChartState(parent, rect);
    if (GetNoReadingsFlag() != 0 || !m_data || !m_data->GetData()) {
        if (!MakeData(m_binCount))
            return false;
        m_data->Reset(0.0);
    }
    AttachData();
    m_current = m_ranges.GetAt(0) ? 0 : -1;
    ApplyAxisRanges();
    return true;
}

void CHistogramPlot::InitChartAppearance(const tvane::chart::ChartFont& font) {
    Chart* chart = GetChart();
    if (!chart)
        return;
    RepaintHold hold(this);
    chart->SetInt(prop::kTopMargin, 5);
    chart->SetInt(prop::kXAnnotation, tvane::chart::kAnnotateValueLabels);
    SetXPrecision(2, false);
    chart->SetInt(prop::kXAxisStyle, 2);
    chart->SetInt(prop::kXAnnoPlacement, 2);
    SetYAxisTitle("Freq (%)");
    chart->SetInt(prop::kYAnnotation, tvane::chart::kAnnotateValueLabels);
    SetYPrecision(2, false);
    chart->SetInt(prop::kYAxisStyle, 2);
    chart->SetInt(prop::kYTitleRotation, 2);
    chart->SetInt(prop::kYAnnoPlacement, 2);
    SetBackgroundColor(kBlack);
    SetAxisColor(kWhite);
    SetGridColor(kGrey);
    SetSeriesColor(0, kRed, 1);
    SetFonts(font);
    chart->SetInt(prop::kLegendShown, 0);
    ClearData();
    chart->SetDouble(prop::kYDataMax, 100.0);
    chart->SetDouble(prop::kYDataMin, 0.0);
}

void CHistogramPlot::ClearData() {
    if (m_data && m_data->GetData()) {
        m_data->Reset(0.0);
        m_data->SetPointCount(m_binCount);
    }
    m_hoveredBin = -1;
    if (Chart* chart = GetChart())
        chart->DataChanged();
    ApplyAxisRanges();
}

bool CHistogramPlot::SetBinData(int, const ChartData& table) {
    ChartData* data = m_data ? m_data->GetData() : nullptr;
    if (!data || table.SeriesCount() < 2 || table.Capacity() != m_binCount ||
        data->Capacity() != m_binCount)
        return false;
    RepaintHold hold(this);
    double largest = 0.0;
    for (int i = 0; i < m_binCount; ++i) {
        const double percentage = table.Y(0, i);
        data->SetX(0, i, table.X(0, i));
        data->SetY(0, i, percentage);
        const double count = std::trunc(table.Y(1, i));
        m_binCounts[static_cast<std::size_t>(i)] =
            std::isfinite(count) ? static_cast<std::int32_t>(std::clamp(count, 0.0, 2147483647.0))
                                 : 0;
        largest = std::max(largest, percentage);
    }
    Chart* chart = GetChart();
    if (chart && chart->GetDouble(prop::kYDataMax) != largest)
        chart->SetDouble(prop::kYDataMax, largest);
    data->SetAllCounts(m_binCount);
    if (m_follow)
        ApplyAxisRanges();
    FastUpdate(0, m_binCount);
    return true;
}

bool CHistogramPlot::SetXMin(double value, bool apply) {
    if (value == kHole || !ReplaceIfChanged(m_xLow, value))
        return false;
    if (apply)
        ApplyAxisRanges();
    return true;
}

bool CHistogramPlot::SetXMax(double value, bool apply) {
    if (value == kHole || !ReplaceIfChanged(m_xHigh, value))
        return false;
    if (apply)
        ApplyAxisRanges();
    return true;
}

bool CHistogramPlot::SetYMin(double value, bool apply) {
    if (value == kHole || !ReplaceIfChanged(m_yLow, value))
        return false;
    if (apply)
        ApplyAxisRanges();
    return true;
}

bool CHistogramPlot::SetYMax(double value, bool apply) {
    if (value == kHole || !ReplaceIfChanged(m_yHigh, value))
        return false;
    if (apply)
        ApplyAxisRanges();
    return true;
}

bool CHistogramPlot::SetXPrecision(int decimals, bool apply) {
    Chart* chart = GetChart();
    if (!chart || chart->GetInt(prop::kXPrecision) == decimals)
        return false;
    chart->SetInt(prop::kXPrecision, decimals);
    if (apply)
        ApplyAxisRanges();
    return true;
}

bool CHistogramPlot::SetYPrecision(int decimals, bool apply) {
    Chart* chart = GetChart();
    if (!chart || chart->GetInt(prop::kYPrecision) == decimals)
        return false;
    chart->SetInt(prop::kYPrecision, decimals);
    if (apply)
        ApplyAxisRanges();
    return true;
}

bool CHistogramPlot::SetBinCount(int n) {
    if (n == m_binCount)
        return false;
    if (n < 1 || n > kMaxBins)
        return false;
    auto old = std::move(m_data);
    if (!MakeData(n)) {
        m_data = std::move(old);
        return false;
    }
    m_binCount = n;
    m_binCounts.assign(static_cast<std::size_t>(n), 0);
    // The chart lets go of the old data before it goes.
    AttachData();
    old.reset();
    ClearData();
    return true;
}

void CHistogramPlot::SetOrientation(int orientation) {
    if (orientation == m_orientation)
        return;
    RepaintHold hold(this);
    m_orientation = orientation;
    if (Chart* chart = GetChart()) {
        if (orientation == 0)
            chart->SetValues({{prop::kXTitleRotation, std::int32_t{2}},
                              {prop::kYTitleRotation, std::int32_t{1}}});
        else
            chart->SetValues({{prop::kXTitleRotation, std::int32_t{1}},
                              {prop::kYTitleRotation, std::int32_t{2}}});
    }
    SetInverted(orientation == 0);
    LabelAxes();
}

bool CHistogramPlot::ApplyAxisRanges() {
    Chart* chart = GetChart();
    if (!chart)
        return true;
    // The data bounds are set from the axis range too: left to the chart they
    // follow the bars' centres, which a reopened document does not have yet,
    // and the display's stored form would change at each Open.
    if (chart->GetDouble(prop::kXAxisMax) != m_xHigh ||
        chart->GetDouble(prop::kXAxisMin) != m_xLow ||
        chart->GetDouble(prop::kYAxisMax) != m_yHigh ||
        chart->GetDouble(prop::kYAxisMin) != m_yLow ||
        chart->GetDouble(prop::kXDataMin) != m_xLow || chart->GetDouble(prop::kXDataMax) != m_xHigh)
        chart->SetValues({{prop::kXAxisMin, m_xLow},
                          {prop::kXAxisMax, m_xHigh},
                          {prop::kYAxisMin, m_yLow},
                          {prop::kYAxisMax, m_yHigh},
                          {prop::kXDataMin, m_xLow},
                          {prop::kXDataMax, m_xHigh}});
    if (m_follow || m_followOnce)
        m_yHigh = chart->GetDouble(prop::kYDataMax);
    if (chart->GetDouble(prop::kYAxisMax) != m_yHigh)
        chart->SetDouble(prop::kYAxisMax, m_yHigh);
    ApplyGrid();
    LabelAxes();
    return true;
}

void CHistogramPlot::ApplyGrid() {
    ApplyValueGrid(m_grid != 0);
}

void CHistogramPlot::LabelAxes() {
    SetValueLabels(prop::kXValueLabels, m_xLow, m_xHigh, m_binCount, 0);
    SetValueLabels(prop::kYValueLabels, m_yLow, m_yHigh, kFrequencyLabels, 0);
}

// --- Ranges ----------------------------------------------------------------------

void CHistogramPlot::SetRangeAt(int index) {
    if (index < 0)
        return;
    m_ranges.DeleteAt(index);
    if (m_current == index)
        m_current = -1;
    m_ranges.SetAtGrow(static_cast<std::size_t>(index), new CRangeInfo());
}

bool CHistogramPlot::SelectRange(int index, const CChannelInfo& channel) {
    CRangeInfo* range = index >= 0 ? m_ranges.GetAt(static_cast<std::size_t>(index)) : nullptr;
    if (!range)
        return false;
    m_current = index;
    range->m_channel = channel;
    m_xLow = channel.RangeMin;
    m_xHigh = channel.RangeMax;
    ClearData();
    return true;
}

void CHistogramPlot::RemoveRangeAt(int index) {
    ClearData();
    if (index >= 0 && static_cast<std::size_t>(index) < m_ranges.GetSize())
        m_ranges.DeleteAt(index);
    m_current = -1;
}

const CRangeInfo* CHistogramPlot::GetCurrentRange() const {
    return m_current >= 0 ? m_ranges.GetAt(static_cast<std::size_t>(m_current)) : nullptr;
}

// --- The readout under the mouse -------------------------------------------------

int CHistogramPlot::HitTestBin(int x, int y) const {
    const Chart* chart = GetChart();
    const ChartData* data = m_data ? m_data->GetData() : nullptr;
    if (!chart || !data || m_binCount < 1)
        return -1;
    const double span = chart->GetDouble(prop::kXAxisMax) - chart->GetDouble(prop::kXAxisMin);
    const double half = chart->GetInt(prop::kClusterWidth) / 100.0 * (span / m_binCount * 0.5);
    const double base = chart->GetDouble(prop::kYAxisMin);
    for (int i = 0; i < m_binCount; ++i) {
        const double value = data->Y(0, i);
        if (value == kHole)
            continue;
        const double centre = data->X(0, i);
        tvane::chart::ChartPoint a;
        tvane::chart::ChartPoint b;
        DataToPixel(centre - half, value, 1, a);
        DataToPixel(centre + half, base, 1, b);
        const ChartRect bar{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                            std::max(a.y, b.y)};
        if (bar.Contains(x, y))
            return i;
    }
    return -1;
}

bool CHistogramPlot::MouseMove(int x, int y) {
    if (GetCurrentRange()) {
        m_hoveredBin = HitTestBin(x, y);
        m_cursor = {x, y};
    }
    if (GetPlotArea().Contains(x, y))
        return true;
    m_hoveredBin = -1;
    return false;
}

std::string CHistogramPlot::ReadoutText() const {
    if (m_hoveredBin < 0 || m_hoveredBin >= static_cast<int>(m_binCounts.size()))
        return {};
    return std::to_string(m_binCounts[static_cast<std::size_t>(m_hoveredBin)]);
}

// --- Appearance items ------------------------------------------------------------

bool CHistogramPlot::GetAppearanceItem(int item, GRAPHITEMPROPS& props) const {
    switch (item) {
    case 2:
        return GetChartItem(ChartItem::kBackground, props);
    case 8:
        return GetChartItem(ChartItem::kAxis, props);
    case 9:
        return GetChartItem(ChartItem::kGrid, props);
    case 10: {
        const Chart* chart = GetChart();
        return GetColourItem("Data", chart ? chart->GetNthStyle(1, 0).pointColor : 0, props);
    }
    case 11:
        return GetChartItem(ChartItem::kXTitle, props);
    case 12:
        return GetChartItem(ChartItem::kYTitle, props);
    default:
        return false;
    }
}

bool CHistogramPlot::SetAppearanceItem(int item, const GRAPHITEMPROPS& props) {
    switch (item) {
    case 2:
        return SetChartItem(ChartItem::kBackground, props);
    case 8:
        return SetChartItem(ChartItem::kAxis, props);
    case 9:
        return SetChartItem(ChartItem::kGrid, props);
    case 10:
        if (props.mask & GRAPHITEMPROPS::kColor)
            SetSeriesColor(0, static_cast<std::int32_t>(props.color), 1);
        return (props.mask & ~(GRAPHITEMPROPS::kName | GRAPHITEMPROPS::kColor)) == 0;
    case 11:
        return SetChartItem(ChartItem::kXTitle, props);
    case 12:
        return SetChartItem(ChartItem::kYTitle, props);
    default:
        return false;
    }
}

// --- Storing ---------------------------------------------------------------------

void CHistogramPlot::Serialize(CArchive& ar) {
    SerializeChart(ar);
    if (ar.IsStoring()) {
        ar << m_binCount << m_grid << m_followOnce << m_follow << m_xLow << m_xHigh << m_yLow
           << m_yHigh << m_orientation;
        for (std::int32_t count : m_binCounts)
            ar << count;
        if (GetNoReadingsFlag() == 0)
            ar.WriteObject(m_data.get());
        m_ranges.Serialize(ar);
        return;
    }
    ar >> m_binCount;
    if (m_binCount < 1 || m_binCount > kMaxBins)
        RejectPlot("histogram bin count out of range");
    ar >> m_grid >> m_followOnce >> m_follow >> m_xLow >> m_xHigh >> m_yLow >> m_yHigh >>
        m_orientation;
    m_grid = Flag(m_grid);
    m_followOnce = Flag(m_followOnce);
    m_follow = Flag(m_follow);
    for (double v : {m_xLow, m_xHigh, m_yLow, m_yHigh})
        if (!std::isfinite(v))
            RejectPlot("histogram axis end out of range");
    if (m_orientation != 0 && m_orientation != 1)
        RejectPlot("histogram orientation out of range");
    m_binCounts.assign(static_cast<std::size_t>(m_binCount), 0);
    for (std::int32_t& count : m_binCounts)
        ar >> count;
    m_data.reset();
    if (GetNoReadingsFlag() == 0) {
        m_data = ar.ReadOwnedObject<CXrtGraphData>();
        const ChartData* data = m_data ? m_data->GetData() : nullptr;
        if (!data || data->GetKind() != ChartData::kArray || data->SeriesCount() != m_setCount ||
            data->Capacity() != m_binCount)
            RejectPlot("histogram plot data does not fit its bins");
    }
    m_ranges.DeleteAll();
    m_ranges.Serialize(ar);
    if (m_ranges.GetSize() > static_cast<std::size_t>(m_setCount))
        RejectPlot("histogram range count out of range");
    m_current = m_ranges.GetAt(0) ? 0 : -1;
}
