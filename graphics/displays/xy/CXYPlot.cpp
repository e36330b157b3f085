#include "graphics/displays/xy/CXYPlot.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "graphics/CXrtGraphData.h"
#include "graphics/ChartFonts.h"
#include "graphics/displays/xy/XYTexts.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "platform/chart/ChartStyle.h"
#include "scan/CRoundedValue.h"

using tvane::CArchive;
using tvane::chart::ChartData;
using tvane::chart::ChartRect;
namespace prop = tvane::chart::prop;

IMPLEMENT_SERIAL(CXYPlot, CXrtGraph, 0)

namespace {

constexpr int kSet = 1; // the chart's first data set
constexpr std::int32_t kGreen = 0x00FF00;
constexpr std::int32_t kLightGrey = 0xC0C0C0;
constexpr std::int32_t kGrey = 0x808080;
constexpr std::int32_t kWhite = 0xFFFFFF;
// Chart settings of the XY plot that this chart engine keeps without drawing.
constexpr int kXAxisLabelOptions = 0x4B00;
constexpr int kYAxisLabelOptions = 0x4B01;
constexpr int kXAxisPlacement = 0x4400;
constexpr int kYAxisPlacement = 0x4401;
constexpr int kLegendShow = 0x4504;

[[noreturn]] void Reject(const char* what) {
    throw tvane::CArchiveException(tvane::CArchiveException::generic, what);
}

bool SameAt10(double a, double b) {
    return CRoundedValue(a, 10) == CRoundedValue(b, 10);
}

bool Inside(double v) {
    return v > -CXYPlot::kNoValue && v < CXYPlot::kNoValue;
}

std::uint32_t Flag(bool b) {
    return b ? 1u : 0u;
}

bool ReadFlag(CArchive& ar) {
    std::uint32_t v = 0;
    ar >> v;
    return v != 0;
}

double ReadBound(CArchive& ar) {
    double v = 0.0;
    ar >> v;
    if (!std::isfinite(v))
        Reject("XY axis bound is not a number");
    return v;
}

} // namespace

std::uint32_t CXYPlot::StyleOfShape(int shapeIndex) {
    static constexpr std::uint32_t kStyles[5] = {6, 2, 5, 3, 4};
    return shapeIndex >= 0 && shapeIndex < 5 ? kStyles[shapeIndex] : 0;
}

CXYPlot::CXYPlot() : m_shapeName(PointShapeNames().front()) {}

CXYPlot::~CXYPlot() {
    // The chart goes before the data it shows.
    Destroy();
}

std::unique_ptr<CXrtGraphData> CXYPlot::MakeData(int capacity) const {
    auto data = std::make_unique<CXrtGraphData>(ChartData::kGeneral,
                                                static_cast<int>(m_seriesCount) + 1, capacity);
    if (!data->GetData())
        return nullptr;
    data->SetPointCount(0);
    return data;
}

void CXYPlot::AttachData() {
    if (!m_data || !m_data->GetData())
        return;
    m_data->SetHoleValue(kNoValue);
    SetData(m_data->GetData());
}

bool CXYPlot::Create(IXYPlotParent& parent, const ChartRect& rect,
                     const tvane::chart::ChartFont* font) {
    m_plotParent = &parent;
    CXrtGraph::Create(parent, rect);
    auto data = MakeData(m_capacity);
    if (!data)
        return false;
    m_data = std::move(data);
    AttachData();
    m_pointStyle = StyleOfShape(0);
    m_pointSize = 4;
    m_shapeName = PointShapeNames().front();
    SetupChart(font);
    MakeMarker();
    m_markerRefresh = true;
    m_markerVisible = false;
    return true;
}

void CXYPlot::MakeMarker() {
    // One vertical and one horizontal line over the points.
    m_marker = std::make_unique<CGraphMarker>();
    const ChartRect area = GetPlotArea();
    m_marker->Create(this, area, 1, 1, 0);
    m_marker->FollowSeries(1, kPointSeries, true);
    m_marker->FollowSeries(1, kPointSeries, false);
    m_marker->LayoutEvenly(area);
    m_markerPlace = CurrentPlace();
}

bool CXYPlot::Recreate(IXYPlotParent& parent, const ChartRect& rect) {
    m_plotParent = &parent;
    CXrtGraph::RestoreChartState(parent, rect);
    if (!m_data || !m_data->GetData()) {
        auto data = MakeData(m_capacity);
        if (!data)
            return false;
        m_data = std::move(data);
        ClearData();
    }
    AttachData();
    // The points kept with the document are shown again, so that a display
    // reads the same after Open as when it was saved. The axes' labels are
    // not part of the chart state: they are made before the marker lines are
    // put back, so that the lines map through the plot area they were saved in.
    RecomputeExtremes();
    std::unique_ptr<CGraphMarker> marker = std::move(m_marker);
    ApplyAxisRange();
    m_marker = std::move(marker);
    if (!m_marker)
        MakeMarker();
    // Back where they were saved, over the plot area they were saved in.
    m_marker->Reattach(this);
    m_markerPlace = CurrentPlace();
    RefreshMarker();
    m_markerRefresh = false;
    return true;
}

void CXYPlot::SetupChart(const tvane::chart::ChartFont* font) {
    tvane::chart::Chart* chart = GetChart();
    if (!chart)
        return;
    SetRepaint(false);
    ClearData();
    chart->SetValues({{prop::kTopMargin, std::int32_t{5}},
                      {prop::kXAnnotation, std::int32_t{tvane::chart::kAnnotateValueLabels}},
                      {prop::kXPrecision, std::int32_t{4}},
                      {kXAxisLabelOptions, std::int32_t{2}},
                      {kXAxisPlacement, std::int32_t{2}},
                      {prop::kYAxisTitle, std::string("Y-Axis")},
                      {prop::kYAnnotation, std::int32_t{tvane::chart::kAnnotateValueLabels}},
                      {prop::kYPrecision, std::int32_t{4}},
                      {kYAxisLabelOptions, std::int32_t{2}},
                      {prop::kYTitleRotation, std::int32_t{2}},
                      {kYAxisPlacement, std::int32_t{2}},
                      {prop::kBackground, std::int32_t{0}},
                      {prop::kForeground, kWhite}});
    SetGridColor(kGrey);
    if (font)
        SetFonts(*font);
    SetSeriesStyle(kPointSeries, m_pointStyle, &m_pointSize, tvane::chart::kLineNone, kSet);
    SetSeriesColor(kPointSeries, kGreen, kSet);
    SetSeriesStyle(kFitSeries, tvane::chart::kPointNone, nullptr, tvane::chart::kLineSolid, kSet);
    SetSeriesColor(kFitSeries, kLightGrey, kSet);
    chart->SetInt(kLegendShow, 0);
    ApplyAxisRange();
    SetRepaint(true);
}

// --- Points ----------------------------------------------------------------------

int CXYPlot::GetPointCount() const {
    const ChartData* d = m_data ? m_data->GetData() : nullptr;
    return d ? d->Count(kPointSeries) : 0;
}

double CXYPlot::GetPointX(int index) const {
    const ChartData* d = m_data ? m_data->GetData() : nullptr;
    return d ? d->X(kPointSeries, index) : kNoValue;
}

double CXYPlot::GetPointY(int index) const {
    const ChartData* d = m_data ? m_data->GetData() : nullptr;
    return d ? d->Y(kPointSeries, index) : kNoValue;
}

void CXYPlot::ResetExtremes() {
    m_minX = m_maxX = m_minY = m_maxY = kNoValue;
}

void CXYPlot::RecomputeExtremes() {
    ResetExtremes();
    const ChartData* d = m_data ? m_data->GetData() : nullptr;
    if (!d)
        return;
    d->ForEachRun(kPointSeries, 0, d->Count(kPointSeries),
                  [&](const double* xs, const double* ys, int n) {
                      for (int i = 0; i < n; ++i) {
                          if (xs[i] == kNoValue || ys[i] == kNoValue)
                              continue;
                          if (m_minX == kNoValue || xs[i] < m_minX)
                              m_minX = xs[i];
                          if (m_maxX == kNoValue || xs[i] > m_maxX)
                              m_maxX = xs[i];
                          if (m_minY == kNoValue || ys[i] < m_minY)
                              m_minY = ys[i];
                          if (m_maxY == kNoValue || ys[i] > m_maxY)
                              m_maxY = ys[i];
                      }
                  });
}

bool CXYPlot::AddPoints(int count, const double* xs, int nx, const double* ys, int ny) {
    ChartData* d = m_data ? m_data->GetData() : nullptr;
    if (nx < 1 || ny < 1 || !xs || !ys || !d)
        return false;
    SetRepaint(false);
    bool recompute = false;
    const int n = std::min({count, nx, ny});
    for (int i = 0; i < n; ++i) {
        const double x = xs[i];
        const double y = ys[i];
        if (x == kNoValue || y == kNoValue)
            continue;
        int held = d->Count(kPointSeries);
        if (held >= d->Capacity()) {
            // The oldest point leaves the ring; if it held an extreme, the
            // extremes are taken again from the points that stay.
            const double oldX = d->X(kPointSeries, 0);
            const double oldY = d->Y(kPointSeries, 0);
            if (oldX == m_minX || oldX == m_maxX || oldY == m_minY || oldY == m_maxY)
                recompute = true;
            d->ShiftPoints(kPointSeries, 0, 1, held - 1);
            d->SetCount(kPointSeries, --held);
        }
        d->Append(kPointSeries, x, y);
        if (x < m_minX || m_minX == kNoValue)
            m_minX = x;
        if (x > m_maxX || m_maxX == kNoValue)
            m_maxX = x;
        if (y < m_minY || m_minY == kNoValue)
            m_minY = y;
        if (y > m_maxY || m_maxY == kNoValue)
            m_maxY = y;
        m_fit.AddPoint(x, y);
    }
    if (m_leastSquares && m_fit.GetCount() > 0) {
        ShowFitLine();
        if (m_plotParent) {
            m_plotParent->OnGainValueChange();
            m_plotParent->OnOffsetValueChange();
        }
    }
    if (tvane::chart::Chart* chart = GetChart())
        chart->FastUpdate(kSet, kPointSeries, d->Count(kPointSeries));
    if (m_marker && m_markerVisible)
        m_marker->UpdateMarkers(*this, false);
    if (recompute)
        RecomputeExtremes();
    if (m_continuous)
        Autoscale();
    SetRepaint(true);
    return true;
}

void CXYPlot::ResetSeries() {
    ChartData* d = m_data ? m_data->GetData() : nullptr;
    if (!d)
        return;
    for (int s = 0; s < d->SeriesCount(); ++s) {
        d->SetCount(s, 1);
        d->SetPoint(s, 0, kNoValue, kNoValue);
    }
}

void CXYPlot::ClearData() {
    ResetSeries();
    ApplyAxisRange();
    ResetExtremes();
    if (m_data && m_data->GetData())
        m_data->GetData()->SetCount(kPointSeries, 0);
    Changed();
}

void CXYPlot::ClearPoints() {
    ResetSeries();
    ResetLeastSquares();
    ResetExtremes();
    if (m_data && m_data->GetData())
        m_data->GetData()->SetCount(kPointSeries, 0);
    if (tvane::chart::Chart* chart = GetChart())
        chart->FastUpdate(kSet, kPointSeries, 0);
    // The fit is gone with the points: its gain and offset must not stay shown.
    if (m_leastSquares && m_plotParent) {
        m_plotParent->OnGainValueChange();
        m_plotParent->OnOffsetValueChange();
    }
}

bool CXYPlot::SetCapacity(int capacity) {
    if (capacity < 1)
        return false;
    auto data = MakeData(capacity);
    if (!data)
        return false;
    SetData(nullptr);
    m_data = std::move(data);
    m_capacity = capacity;
    AttachData();
    ClearData();
    m_data->SetPointCount(0);
    return true;
}

// --- Axes ---------------------------------------------------------------------------

bool CXYPlot::SetBound(double& effective, double& kept, double value, bool apply) {
    if (SameAt10(value, effective))
        return false;
    effective = value;
    kept = value;
    if (apply)
        ApplyAxisRange();
    return true;
}

bool CXYPlot::SetXMin(double value, bool apply) {
    return SetBound(m_x.minimum, m_keptX.minimum, value, apply);
}

bool CXYPlot::SetXMax(double value, bool apply) {
    return SetBound(m_x.maximum, m_keptX.maximum, value, apply);
}

bool CXYPlot::SetYMin(double value, bool apply) {
    return SetBound(m_y.minimum, m_keptY.minimum, value, apply);
}

bool CXYPlot::SetYMax(double value, bool apply) {
    return SetBound(m_y.maximum, m_keptY.maximum, value, apply);
}

bool CXYPlot::SetXLabelPrecision(int decimals, bool apply) {
    tvane::chart::Chart* chart = GetChart();
    if (!chart || chart->GetInt(prop::kXPrecision) == decimals)
        return false;
    chart->SetInt(prop::kXPrecision, decimals);
    if (apply)
        ApplyAxisRange();
    return true;
}

bool CXYPlot::SetYLabelPrecision(int decimals, bool apply) {
    tvane::chart::Chart* chart = GetChart();
    if (!chart || chart->GetInt(prop::kYPrecision) == decimals)
        return false;
    chart->SetInt(prop::kYPrecision, decimals);
    if (apply)
        ApplyAxisRange();
    return true;
}

void CXYPlot::ApplyAxisRange() {
    tvane::chart::Chart* chart = GetChart();
    if (!chart)
        return;
    SetRepaint(false);
    if (chart->GetDouble(prop::kXAxisMin) != m_x.minimum ||
        chart->GetDouble(prop::kXAxisMax) != m_x.maximum ||
        chart->GetDouble(prop::kYAxisMin) != m_y.minimum ||
        chart->GetDouble(prop::kYAxisMax) != m_y.maximum) {
        chart->SetValues({{prop::kXAxisMin, m_x.minimum},
                          {prop::kXAxisMax, m_x.maximum},
                          {prop::kYAxisMin, m_y.minimum},
                          {prop::kYAxisMax, m_y.maximum}});
    }
    SetValueLabels(prop::kXValueLabels, m_x.minimum, m_x.maximum, -1, 1);
    SetValueLabels(prop::kYValueLabels, m_y.minimum, m_y.maximum, -1, 1);
    ApplyOrigin();
    if (m_marker)
        RefreshMarker();
    if (m_leastSquares)
        ShowFitLine();
    SetRepaint(true);
}

void CXYPlot::ApplyOrigin() {
    tvane::chart::Chart* chart = GetChart();
    if (!chart)
        return;
    if (m_origin) {
        for (int id : {prop::kXGridAuto, prop::kYGridAuto})
            if (chart->GetInt(id) != 1)
                chart->SetInt(id, 1);
        return;
    }
    // Setting a spacing also switches the lines at the labels off.
    for (auto [spacing, flag] : {std::pair{prop::kYGridSpacing, prop::kYGridAuto},
                                 std::pair{prop::kXGridSpacing, prop::kXGridAuto}})
        if (chart->GetDouble(spacing) != 0.0 || chart->GetInt(flag) != 0)
            chart->SetDouble(spacing, 0.0);
}

void CXYPlot::Widen(Range& range, double value) const {
    if (!Inside(value))
        return;
    range.minimum = std::min(range.minimum, value);
    range.maximum = std::max(range.maximum, value);
}

bool CXYPlot::Autoscale() {
    if (GetPointCount() < 2)
        return false;
    const bool toData = m_autoscale || m_continuous;
    const Range tx = toData ? Range{m_minX, m_maxX} : m_keptX;
    const Range ty = toData ? Range{m_minY, m_maxY} : m_keptY;
    if (SameAt10(tx.minimum, m_x.minimum) && SameAt10(tx.maximum, m_x.maximum) &&
        SameAt10(ty.minimum, m_y.minimum) && SameAt10(ty.maximum, m_y.maximum))
        return false;
    auto take = [](const Range& target, Range& effective) {
        // A target without a span leaves its axis alone.
        if (SameAt10(target.minimum, target.maximum))
            return;
        if (Inside(target.minimum))
            effective.minimum = target.minimum;
        if (Inside(target.maximum))
            effective.maximum = target.maximum;
    };
    take(tx, m_x);
    take(ty, m_y);
    if (m_marker && m_marker->IsVisible(1, true) && m_marker->IsVisible(1, false)) {
        Widen(m_x, GetMarkerX());
        Widen(m_y, GetMarkerY());
        m_markerRefresh = true;
    }
    ApplyAxisRange();
    return true;
}

void CXYPlot::SetContinuousAutoscale(bool on) {
    m_continuous = on;
    Autoscale();
    Changed();
}

void CXYPlot::SetGrid(bool on) {
    m_origin = on;
    ApplyOrigin();
    Changed();
}

// --- Styles ----------------------------------------------------------------------------

bool CXYPlot::IsLineOn() const {
    return GetSeriesLine(kPointSeries, kSet) != tvane::chart::kLineNone;
}

void CXYPlot::SetLineOn(bool on) {
    SetSeriesLine(kPointSeries, on ? tvane::chart::kLineSolid : tvane::chart::kLineNone, kSet);
    Changed();
}

void CXYPlot::SetPointStyle(int shapeIndex, int size) {
    m_pointStyle = StyleOfShape(shapeIndex);
    m_pointSize = static_cast<std::uint32_t>(std::clamp(size, 1, kMaxPointSize));
    const auto& names = PointShapeNames();
    m_shapeName = shapeIndex >= 0 && shapeIndex < static_cast<int>(names.size())
                      ? names[static_cast<std::size_t>(shapeIndex)]
                      : std::string();
    // The points only: the fit line keeps its plain ends.
    SetSeriesPoint(kPointSeries, m_pointStyle, &m_pointSize, kSet);
    Changed();
}

std::vector<std::string> CXYPlot::SeriesNames() const {
    return {XYTexts().Load(213)};
}

// --- Least squares ------------------------------------------------------------------------

void CXYPlot::ShowFitLine() {
    ChartData* d = m_data ? m_data->GetData() : nullptr;
    double y0 = 0.0;
    double y1 = 0.0;
    if (!d || d->SeriesCount() <= kFitSeries || !m_fit.Evaluate(m_x.minimum, y0) ||
        !m_fit.Evaluate(m_x.maximum, y1))
        return;
    d->SetPoint(kFitSeries, 0, m_x.minimum, y0);
    d->SetPoint(kFitSeries, 1, m_x.maximum, y1);
    d->SetCount(kFitSeries, 2);
    if (tvane::chart::Chart* chart = GetChart())
        chart->FastUpdate(kSet, kFitSeries, 2);
}

void CXYPlot::HideFitLine() {
    ChartData* d = m_data ? m_data->GetData() : nullptr;
    if (!d || d->SeriesCount() <= kFitSeries)
        return;
    // One invisible point rather than an empty series.
    d->SetPoint(kFitSeries, 0, m_x.minimum, kNoValue);
    d->SetCount(kFitSeries, 1);
    if (tvane::chart::Chart* chart = GetChart())
        chart->FastUpdate(kSet, kFitSeries, 1);
}

void CXYPlot::SetLeastSquares(bool on) {
    m_leastSquares = on;
    if (m_fit.GetCount() < 1)
        return;
    if (on)
        ShowFitLine();
    else
        HideFitLine();
}

void CXYPlot::ResetLeastSquares() {
    if (m_data && m_data->GetData() && m_data->GetData()->SeriesCount() > kFitSeries)
        m_data->GetData()->SetCount(kFitSeries, 0);
    m_fit.Reset();
}

double CXYPlot::GetGain() const {
    double slope = 0.0;
    return m_fit.GetSlope(slope) ? slope : kNoValue;
}

double CXYPlot::GetOffset() const {
    double intercept = 0.0;
    return m_fit.GetIntercept(intercept) ? intercept : kNoValue;
}

// --- Marker -------------------------------------------------------------------------------

void CXYPlot::SetMarkerVisible(bool on) {
    m_markerVisible = on;
    if (!m_marker)
        return;
    m_marker->Show(1, this, on, true);
    m_marker->Show(1, this, on, false);
    if (on)
        RefreshMarker();
}

CXYPlot::MarkerPlace CXYPlot::CurrentPlace() const {
    return {GetPlotArea(), m_x, m_y};
}

void CXYPlot::RefreshMarker() {
    if (!m_marker)
        return;
    // Shown lines are mapped from their values again when the axes or the plot
    // area moved. A line left in place keeps its pixel, which a round trip
    // through data units could move; hidden lines keep theirs until shown, so
    // that a display with its marker off stores the same lines whatever its
    // frame's border was meanwhile.
    const MarkerPlace place = CurrentPlace();
    if (m_markerVisible && (!m_markerPlace || !(*m_markerPlace == place))) {
        m_marker->Relayout(place.area);
        m_markerPlace = place;
    }
    m_markerRefresh = false;
    m_marker->UpdateMarkers(*this, false);
    if (m_plotParent)
        m_plotParent->OnPlotInvalidate();
}

double CXYPlot::GetMarkerX() const {
    return m_marker ? m_marker->GetXValue(1, true) : kNoValue;
}

double CXYPlot::GetMarkerY() const {
    return m_marker ? m_marker->GetYValue(1, false) : kNoValue;
}

void CXYPlot::PlotAreaMayHaveChanged() {
    m_markerRefresh = true;
    // The labels thin out by the room each has: a new width needs them again.
    if (!GetChart())
        return;
    SetValueLabels(prop::kXValueLabels, m_x.minimum, m_x.maximum, -1, 1);
    SetValueLabels(prop::kYValueLabels, m_y.minimum, m_y.maximum, -1, 1);
}

void CXYPlot::ChartRepainted() {
    if (m_markerRefresh)
        RefreshMarker();
}

int CXYPlot::CursorAt(int x, int y) {
    return m_marker ? m_marker->CursorAt(x, y) : kCursorNone;
}

bool CXYPlot::PressMarker(int x, int y) {
    if (!m_marker || !m_marker->HitTest(x, y))
        return false;
    if (m_plotParent)
        m_plotParent->OnObjectSelect();
    ChartRect area = GetPlotArea();
    area.right += 1;
    return m_marker->BeginTrack(&area);
}

void CXYPlot::DragMarker(int x, int y) {
    if (m_marker)
        m_marker->TrackMove(x, y, *this);
}

bool CXYPlot::ReleaseMarker(int x, int y) {
    return m_marker && m_marker->TrackRelease(x, y, *this);
}

void CXYPlot::MarkerUpdate(int, const ChartRect&) {
    if (m_marker)
        m_marker->UpdateMarkers(*this, false);
}

void CXYPlot::VertMarkerXValueChange(int number) {
    if (number == 1 && m_plotParent)
        m_plotParent->OnVertMarkerXValueChange();
}

void CXYPlot::HorzMarkerYValueChange(int number) {
    if (number == 1 && m_plotParent)
        m_plotParent->OnHorzMarkerYValueChange();
}

void CXYPlot::InvalidateMarkerRect(const ChartRect&) {
    if (m_plotParent)
        m_plotParent->OnPlotInvalidate();
}

void CXYPlot::Changed() {
    if (tvane::chart::Chart* chart = GetChart())
        chart->DataChanged();
    if (m_plotParent)
        m_plotParent->OnPlotInvalidate();
}

// --- Appearance -------------------------------------------------------------------------------

bool CXYPlot::GetAppearanceItem(int item, GRAPHITEMPROPS& props) const {
    std::uint32_t supported = 0;
    auto colour = [&](std::int32_t c, unsigned nameId) {
        props.color = static_cast<std::uint32_t>(c);
        props.itemName = XYTexts().Load(nameId);
        supported = GRAPHITEMPROPS::kColor | GRAPHITEMPROPS::kName;
    };
    auto label = [&](unsigned nameId, const std::string& text) {
        props.labelName = XYTexts().Load(nameId);
        props.labelText = text;
        supported = GRAPHITEMPROPS::kLabelName | GRAPHITEMPROPS::kLabelText;
    };
    switch (item) {
    case 0:
        // Items 2 to 15 (the frame answers the caption, 7).
        props.firstItem = 2;
        props.itemCount = 14;
        supported = GRAPHITEMPROPS::kItemRange;
        break;
    case 2:
        colour(GetBackgroundColor(), 203);
        break;
    case 8:
        colour(GetAxisColor(), 210);
        props.font = ToLogFont(GetAxisFont());
        supported |= GRAPHITEMPROPS::kFont;
        break;
    case 9:
        colour(GetGridColor(), 211);
        break;
    case 10:
        colour(m_marker ? m_marker->GetLineColour(1) : CMarker::kDefaultColour, 212);
        break;
    case 11:
        colour(GetSeriesColor(kPointSeries, kSet), 213);
        break;
    case 12:
        colour(GetSeriesColor(kFitSeries, kSet), 129);
        break;
    case 14:
        label(232, GetXAxisTitle());
        break;
    case 15:
        label(233, GetYAxisTitle());
        break;
    default:
        return false;
    }
    return (props.mask & ~supported) == 0;
}

bool CXYPlot::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw) {
    const bool colour = (props.mask & GRAPHITEMPROPS::kColor) != 0;
    const bool text = (props.mask & GRAPHITEMPROPS::kLabelText) != 0;
    const auto c = static_cast<std::int32_t>(props.color);
    switch (item) {
    case 2:
        if (colour)
            SetBackgroundColor(c);
        break;
    case 8:
        if (colour)
            SetAxisColor(c);
        if (props.mask & GRAPHITEMPROPS::kFont)
            SetAxisFont(ToChartFont(props.font));
        break;
    case 9:
        if (colour)
            SetGridColor(c);
        break;
    case 10:
        if (colour && m_marker) {
            m_marker->SetLineColour(1, c);
            m_marker->SetLineColour(2, c);
        }
        break;
    case 11:
        if (colour)
            SetSeriesColor(kPointSeries, c, kSet);
        break;
    case 12:
        if (colour)
            SetSeriesColor(kFitSeries, c, kSet);
        break;
    case 14:
        if (text)
            SetXAxisTitle(props.labelText);
        break;
    case 15:
        if (text)
            SetYAxisTitle(props.labelText);
        break;
    default:
        return false;
    }
    if (redraw)
        Changed();
    return true;
}

// --- Archive -----------------------------------------------------------------------------------

void CXYPlot::Serialize(CArchive& ar) {
    SerializeChart(ar);
    if (ar.IsStoring()) {
        const int held = GetPointCount();
        // Where the next point goes: the points are kept oldest first.
        const auto next = static_cast<std::uint32_t>(held < m_capacity ? held : 0);
        ar << static_cast<std::uint32_t>(m_capacity) << next << m_reservedDouble;
        ar.WriteObject(m_marker.get());
        ar << Flag(m_origin) << Flag(m_leastSquares) << Flag(m_autoscale) << Flag(m_continuous)
           << Flag(m_markerVisible);
        ar << m_x.minimum << m_x.maximum << m_y.minimum << m_y.maximum;
        ar << m_keptX.minimum << m_keptX.maximum << m_keptY.minimum << m_keptY.maximum;
        ar << m_pointStyle << m_pointSize << m_shapeName;
        ar.WriteObject(m_data.get());
        m_fit.Serialize(ar);
        return;
    }
    std::uint32_t capacity = 0;
    std::uint32_t next = 0;
    ar >> capacity >> next >> m_reservedDouble;
    if (capacity < kMinCapacity || capacity > kMaxCapacity)
        Reject("XY plot capacity out of range");
    if (next >= capacity)
        Reject("XY plot position out of range");
    auto marker = ar.ReadOwnedObject<CGraphMarker>();
    m_origin = ReadFlag(ar);
    m_leastSquares = ReadFlag(ar);
    m_autoscale = ReadFlag(ar);
    m_continuous = ReadFlag(ar);
    m_markerVisible = ReadFlag(ar);
    m_x.minimum = ReadBound(ar);
    m_x.maximum = ReadBound(ar);
    m_y.minimum = ReadBound(ar);
    m_y.maximum = ReadBound(ar);
    m_keptX.minimum = ReadBound(ar);
    m_keptX.maximum = ReadBound(ar);
    m_keptY.minimum = ReadBound(ar);
    m_keptY.maximum = ReadBound(ar);
    std::uint32_t style = 0;
    std::uint32_t size = 0;
    ar >> style >> size >> m_shapeName;
    if (style != 0 && (style < tvane::chart::kPointDot || style > tvane::chart::kPointStar))
        Reject("XY point style out of range");
    if (size < 1 || size > kMaxPointSize)
        Reject("XY point size out of range");
    auto data = ar.ReadOwnedObject<CXrtGraphData>();
    const ChartData* d = data ? data->GetData() : nullptr;
    if (!d || d->GetKind() != ChartData::kGeneral ||
        d->SeriesCount() != static_cast<int>(m_seriesCount) + 1 ||
        d->Capacity() != static_cast<int>(capacity))
        Reject("XY plot points do not fit the plot");
    m_fit.Serialize(ar);
    if (m_fit.GetCount() < 0)
        Reject("XY fit count out of range");

    m_capacity = static_cast<std::int32_t>(capacity);
    m_pointStyle = style;
    m_pointSize = size;
    m_marker = std::move(marker);
    m_data = std::move(data);
    ChartData* points = m_data->GetData();
    // A full ring stored at another position starts with its oldest point.
    if (next != 0 && points->Count(kPointSeries) == points->Capacity()) {
        const int held = points->Count(kPointSeries);
        std::vector<double> xs(static_cast<std::size_t>(held));
        std::vector<double> ys(static_cast<std::size_t>(held));
        for (int i = 0; i < held; ++i) {
            const int from = (i + static_cast<int>(next)) % held;
            xs[static_cast<std::size_t>(i)] = points->X(kPointSeries, from);
            ys[static_cast<std::size_t>(i)] = points->Y(kPointSeries, from);
        }
        for (int i = 0; i < held; ++i)
            points->SetPoint(kPointSeries, i, xs[static_cast<std::size_t>(i)],
                             ys[static_cast<std::size_t>(i)]);
    }
    RecomputeExtremes();
}
