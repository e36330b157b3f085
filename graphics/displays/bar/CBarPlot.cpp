#include "graphics/displays/bar/CBarPlot.h"

#include <cmath>

#include "graphics/CXrtGraphData.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "platform/core/NameText.h"
#include "scan/CChannelInfo.h"

using tvane::CArchive;
using tvane::chart::Chart;
using tvane::chart::ChartData;
using tvane::chart::ChartRect;
namespace prop = tvane::chart::prop;

IMPLEMENT_SERIAL(CBarPlot, CXrtGraph, 0)

namespace {

constexpr std::int32_t kBlack = 0x000000;
constexpr std::int32_t kWhite = 0xFFFFFF;
// The highest alarm test a channel has (5, not equal); the bar colours by 1 to 3.
constexpr std::int32_t kLastAlarmTest = 5;

[[noreturn]] void Reject(const char* what) {
    throw tvane::CArchiveException(tvane::CArchiveException::generic, what);
}

bool Between(double low, double value, double high) {
    return low <= value && value <= high;
}

} // namespace

CBarPlot::CBarPlot() = default;

CBarPlot::~CBarPlot() {
    // The chart goes before the data it shows.
    Destroy();
    m_ranges.DeleteAll();
}

bool CBarPlot::MakeData() {
    auto data = std::make_unique<CXrtGraphData>(ChartData::kArray, m_barCount, 1);
    if (!data->GetData())
        return false;
    data->SetHoleValue(kNoValue);
    m_data = std::move(data);
    return true;
}

bool CBarPlot::MakeLimitLines() {
    auto lines = std::make_unique<CGraphMarker>();
    const bool vertical = m_orientation == kHorizontal;
    if (!lines->Create(this, GetPlotArea(), vertical ? 0 : 2, vertical ? 2 : 0, CMarker::kVisible))
        return false;
    m_lines = std::move(lines);
    return true;
}

bool CBarPlot::Create(IChartParent& parent, const ChartRect& rect,
                      const tvane::chart::ChartFont& font) {
    CXrtGraph::Create(parent, rect);
    SetChartType(tvane::chart::kChartTypeBar);
    if (!MakeData())
        return false;
    SetData(m_data->GetData());
    if (!MakeLimitLines())
        return false;
    m_ranges.DeleteAll();
    m_ranges.SetSize(static_cast<std::size_t>(m_barCount));
    ChartSetup(font);
    SyncLimitLines();
    SetBarColour(m_currentColour);
    m_relayout = 0;
    m_drawing = 1;
    return true;
}

bool CBarPlot::Recreate(IChartParent& parent, const ChartRect& rect) {
    CXrtGraph::RestoreChartState(parent, rect);
    const bool noData = GetNoReadingsFlag() != 0 || !m_data || !m_data->GetData();
    if (noData && !MakeData())
        return false;
    SetData(m_data->GetData());
    m_data->SetHoleValue(kNoValue);
    {
        RepaintHold hold(this);
        SetAxisMin(m_yMin);
        SetAxisMax(m_yMax);
        WriteLabels();
        ApplyGrid();
    }
    if (m_lines)
        m_lines->Reattach(this);
    else if (!MakeLimitLines())
        return false;
    const ChartRect area = GetPlotArea();
    m_lines->Move(&area, &area);
    if (noData)
        ClearData(0.0);
    Refresh();
    ColourBar(0);
    return true;
}

void CBarPlot::ChartSetup(const tvane::chart::ChartFont& font) {
    Chart* chart = GetChart();
    if (!chart)
        return;
    RepaintHold hold(this);
    chart->SetInt(prop::kTopMargin, 5);
    chart->SetInt(prop::kXAnnotation, tvane::chart::kAnnotatePointLabels);
    chart->SetInt(prop::kYAnnotation, tvane::chart::kAnnotateValueLabels);
    SetPrecision(m_precision);
    chart->SetDouble(prop::kYTick, 0.0);
    chart->SetInt(prop::kYTitleRotation, 2);
    chart->SetInt(prop::kYAnnoPlacement, 2);
    SetBackgroundColor(kBlack);
    SetAxisColor(kWhite);
    SetGridColor(kWhite);
    SetBarColour(m_normalColour);
    SetFonts(font);
    chart->SetInt(prop::kLegendShown, 0);
    chart->SetInt(prop::kClusterWidth, 100);
    ClearData(0.0);
    Refresh();
}

// --- Channels ---------------------------------------------------------------------

void CBarPlot::TakeChannel(int, const CChannelInfo& channel) {
    m_alarmMode = channel.AlarmTest;
    m_drawing = 1;
    m_highLimit = channel.HighLimit;
    m_lowLimit = channel.LowLimit;
}

void CBarPlot::SetChannel(int index, const CChannelInfo& channel) {
    if (index < 0 || index >= m_barCount)
        return;
    m_ranges.DeleteAt(index);
    auto* range = new CRangeInfo();
    range->m_channel = channel;
    m_ranges.SetAtGrow(static_cast<std::size_t>(index), range);
    TakeChannel(index, channel);
    ClearData(0.0);
    m_yMin = channel.RangeMin;
    m_yMax = channel.RangeMax;
    Refresh();
}

void CBarPlot::ChannelChanged(int index, const CChannelInfo& channel) {
    if (index < 0 || index >= m_barCount)
        return;
    if (CRangeInfo* range = m_ranges.GetAt(static_cast<std::size_t>(index)))
        range->m_channel = channel;
    TakeChannel(index, channel);
    ClearData(0.0);
    Refresh();
}

void CBarPlot::RemoveChannel(int index) {
    ClearData(0.0);
    Refresh();
    m_ranges.DeleteAt(index);
    WriteLabels();
}

const CRangeInfo* CBarPlot::GetRange(int index) const {
    return index >= 0 ? m_ranges.GetAt(static_cast<std::size_t>(index)) : nullptr;
}

// --- Readings ---------------------------------------------------------------------

bool CBarPlot::Update(int count, const ChartData& readings) {
    ChartData* data = m_data ? m_data->GetData() : nullptr;
    if (count < 1 || !data)
        return false;
    for (int bar = 0; bar < m_barCount && bar < readings.SeriesCount(); ++bar) {
        const double position = readings.X(bar, 0);
        if (position == kNoValue)
            continue;
        data->SetPoint(bar, 0, position, readings.Y(bar, 0));
        data->SetAllCounts(m_pointCount);
        ColourBar(bar);
        FastUpdate(bar, m_pointCount);
    }
    return true;
}

void CBarPlot::ClearData(double value) {
    if (!m_data || !m_data->GetData())
        return;
    m_data->Reset(value);
    m_data->SetPointCount(m_pointCount);
    if (Chart* chart = GetChart())
        chart->DataChanged();
}

double CBarPlot::GetValue() const {
    const ChartData* data = m_data ? m_data->GetData() : nullptr;
    return data && data->Count(0) > 0 ? data->Y(0, 0) : kNoValue;
}

void CBarPlot::SetBarColour(std::int32_t colour) {
    SetSeriesColor(0, colour, 1);
}

void CBarPlot::ColourBar(int) {
    const ChartData* data = m_data ? m_data->GetData() : nullptr;
    if (!data || data->Count(0) < 1 || m_alarmMode == kNoLimits)
        return;
    const double value = data->Y(0, 0);
    const bool lowTest = m_alarmMode == kLowOnly || m_alarmMode == kBothLimits;
    const bool highTest = m_alarmMode == kHighOnly || m_alarmMode == kBothLimits;
    std::int32_t colour = m_normalColour;
    if (lowTest && value < m_lowLimit)
        colour = m_lowColour;
    else if (highTest && value > m_highLimit)
        colour = m_highColour;
    else if (m_currentColour == m_normalColour)
        return;
    m_currentColour = colour;
    SetBarColour(colour);
}

// --- Axis, labels, grid, limit lines ----------------------------------------------

std::vector<std::string> CBarPlot::BarLabels() const {
    std::vector<std::string> labels;
    for (std::size_t i = 0; i < m_ranges.GetSize(); ++i)
        if (const CRangeInfo* range = m_ranges.GetAt(i))
            labels.push_back(tvane::CutUtf8(range->m_channel.Label, kLabelLength));
    if (labels.empty())
        labels.emplace_back("<None>");
    return labels;
}

void CBarPlot::WriteLabels() {
    SetPointLabels(BarLabels());
}

void CBarPlot::Refresh() {
    RepaintHold hold(this);
    if (GetAxisMin() != m_yMin)
        SetAxisMin(m_yMin);
    if (GetAxisMax() != m_yMax)
        SetAxisMax(m_yMax);
    // The value axis is annotated by value labels: they go where it ends.
    LabelValueAxis(prop::kYValueLabels, m_yMin, m_yMax);
    WriteLabels();
    ApplyGrid();
    if (m_lines)
        SyncLimitLines();
}

void CBarPlot::SyncLimitLines() {
    if (!m_lines)
        return;
    const double low = GetAxisMin();
    const double high = GetAxisMax();
    m_lowShown =
        (m_alarmMode == kLowOnly || m_alarmMode == kBothLimits) && Between(low, m_lowLimit, high);
    m_highShown =
        (m_alarmMode == kHighOnly || m_alarmMode == kBothLimits) && Between(low, m_highLimit, high);
    const bool vertical = m_orientation == kHorizontal;
    m_lines->Show(kHighLine, nullptr, m_highShown, vertical);
    m_lines->Show(kLowLine, nullptr, m_lowShown, vertical);
    m_lines->FollowSeries(kHighLine, 0, vertical);
    m_lines->FollowSeries(kLowLine, 0, vertical);
    m_lines->SetLineColour(kHighLine, m_highColour);
    m_lines->SetLineColour(kLowLine, m_lowColour);
    PlaceLimitLines();
}

void CBarPlot::PlaceLimitLines() {
    if (!m_lines)
        return;
    // A line across the value axis at its limit: the value is the chart's y.
    if (m_highShown)
        m_lines->Place(kHighLine, 0.0, m_highLimit);
    if (m_lowShown)
        m_lines->Place(kLowLine, 0.0, m_lowLimit);
}

bool CBarPlot::IsLimitLineShown(int line) const {
    return m_lines && m_lines->IsVisible(line, m_orientation == kHorizontal);
}

void CBarPlot::ChartRepainted() {
    if (!m_relayout || !m_lines || m_lines->Count() == 0)
        return;
    const ChartRect area = GetPlotArea();
    m_lines->Move(&area, &area);
    m_relayout = 0;
    PlaceLimitLines();
}

void CBarPlot::SetOrientation(int orientation) {
    if (orientation == m_orientation || (orientation != kHorizontal && orientation != kVertical))
        return;
    const std::int32_t drawing = m_drawing;
    m_drawing = 0;
    m_lines.reset();
    m_orientation = orientation;
    SetInverted(orientation == kHorizontal);
    MakeLimitLines();
    SyncLimitLines();
    Refresh();
    m_drawing = drawing;
}

// --- Appearance items -------------------------------------------------------------

bool CBarPlot::GetAppearanceItem(int item, GRAPHITEMPROPS& props) const {
    switch (item) {
    case 2:
        return GetChartItem(ChartItem::kBackground, props);
    case 4:
        return GetColourItem("No Alarm", m_normalColour, props);
    case 5:
        return GetColourItem("High Alarm Limit", m_highColour, props);
    case 6:
        return GetColourItem("Low Alarm Limit", m_lowColour, props);
    case 8:
        return GetChartItem(ChartItem::kAxis, props);
    case 9:
        return GetChartItem(ChartItem::kGrid, props);
    case 10:
        return GetChartItem(ChartItem::kXTitle, props);
    case 11:
        return GetChartItem(ChartItem::kYTitle, props);
    default:
        return false;
    }
}

bool CBarPlot::SetAppearanceItem(int item, const GRAPHITEMPROPS& props) {
    const bool colour = (props.mask & GRAPHITEMPROPS::kColor) != 0;
    const auto c = static_cast<std::int32_t>(props.color);
    bool result = (props.mask & ~(GRAPHITEMPROPS::kName | GRAPHITEMPROPS::kColor)) == 0;
    switch (item) {
    case 2:
        result = SetChartItem(ChartItem::kBackground, props);
        break;
    case 4:
        if (colour) {
            m_normalColour = c;
            m_currentColour = c;
            SetBarColour(c);
        }
        break;
    case 5:
    case 6:
        if (colour) {
            (item == 5 ? m_highColour : m_lowColour) = c;
            if (m_lines)
                m_lines->SetLineColour(item == 5 ? kHighLine : kLowLine, c);
        }
        break;
    case 8:
        result = SetChartItem(ChartItem::kAxis, props);
        break;
    case 9:
        result = SetChartItem(ChartItem::kGrid, props);
        break;
    case 10:
        result = SetChartItem(ChartItem::kXTitle, props);
        break;
    case 11:
        result = SetChartItem(ChartItem::kYTitle, props);
        break;
    default:
        return false;
    }
    ColourBar(0);
    return result;
}

// --- Storing ----------------------------------------------------------------------

void CBarPlot::Serialize(CArchive& ar) {
    // The limit lines follow the plot area when the chart next paints; a chart
    // resized since stores them where that paint would put them.
    if (ar.IsStoring())
        ChartRepainted();
    SerializeChart(ar);
    if (ar.IsStoring()) {
        ar << m_pointCount << m_grid << m_xMin << m_xMax << m_yMin << m_yMax << m_drawing;
        ar.WriteObject(m_lines.get());
        ar << m_highLimit << m_lowLimit << m_alarmMode << m_normalColour << m_highColour
           << m_lowColour << m_currentColour << m_orientation;
        if (GetNoReadingsFlag() == 0)
            ar.WriteObject(m_data.get());
        m_ranges.Serialize(ar);
        return;
    }
    ar >> m_pointCount;
    if (m_pointCount != 1)
        Reject("bar point count out of range");
    ar >> m_grid >> m_xMin >> m_xMax >> m_yMin >> m_yMax >> m_drawing;
    m_grid = m_grid != 0 ? 1 : 0;
    m_drawing = m_drawing != 0 ? 1 : 0;
    m_lines = ar.ReadOwnedObject<CGraphMarker>();
    ar >> m_highLimit >> m_lowLimit >> m_alarmMode >> m_normalColour >> m_highColour >>
        m_lowColour >> m_currentColour >> m_orientation;
    for (double v : {m_xMin, m_xMax, m_yMin, m_yMax, m_highLimit, m_lowLimit})
        if (!std::isfinite(v))
            Reject("bar axis or limit out of range");
    if (m_alarmMode < 0 || m_alarmMode > kLastAlarmTest)
        Reject("bar alarm mode out of range");
    if (m_orientation != kHorizontal && m_orientation != kVertical)
        Reject("bar orientation out of range");
    if (!m_lines || m_lines->Count() != 2)
        Reject("bar limit lines missing");
    for (int i = 0; i < m_lines->Count(); ++i)
        if (m_lines->LineAt(i).IsVertical() != (m_orientation == kHorizontal))
            Reject("bar limit lines do not fit the orientation");
    m_data.reset();
    if (GetNoReadingsFlag() == 0) {
        m_data = ar.ReadOwnedObject<CXrtGraphData>();
        const ChartData* data = m_data ? m_data->GetData() : nullptr;
        if (!data || data->GetKind() != ChartData::kArray || data->SeriesCount() != m_barCount ||
            data->Capacity() != m_pointCount)
            Reject("bar data does not fit the bar");
    }
    m_ranges.DeleteAll();
    m_ranges.Serialize(ar);
    if (m_ranges.GetSize() > static_cast<std::size_t>(m_barCount))
        Reject("bar range count out of range");
}
