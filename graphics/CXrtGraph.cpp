#include "graphics/CXrtGraph.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <system_error>

#include "graphics/CXrtGraphData.h"
#include "graphics/ChartFonts.h"
#include "graphics/ChartStateFiles.h"
#include "graphics/ChartStateRecord.h"
#include "graphics/GraphicsTexts.h"
#include "graphics/IChartParent.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "platform/archive/MemoryStream.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "platform/chart/ITextMetrics.h"
#include "platform/core/FrameworkExceptions.h"
#include "scan/CRoundedValue.h"
#include "shared/CGraphException.h"
#include "shared/DiskSpace.h"

using tvane::CArchive;
using tvane::chart::Chart;
using tvane::chart::ChartData;
using tvane::chart::ChartPoint;
using tvane::chart::ChartRect;
using tvane::chart::ChartStyle;
namespace prop = tvane::chart::prop;

IMPLEMENT_SERIAL(CXrtGraph, tvane::CObject, 0)

namespace {

constexpr std::uint32_t kKeepSize = 0xFFFFFFFF;
constexpr std::uint32_t kStateDiskBytes = 3000;

// Changes the styles of one series, or of every series of the set (-1).
void StyleSeries(Chart* chart, int series, int set,
                 const std::function<void(ChartStyle&)>& change) {
    if (!chart)
        return;
    const int chartSet = set == 1 ? 1 : 2;
    if (series != -1) {
        ChartStyle style = chart->GetNthStyle(chartSet, series);
        change(style);
        chart->SetNthStyle(chartSet, series, style);
        return;
    }
    const int id = chartSet == 1 ? prop::kDataStyles : prop::kDataStyles2;
    std::vector<ChartStyle> styles = chart->GetStyles(id);
    const ChartData* data = chart->GetData(chartSet);
    const std::size_t count = data ? static_cast<std::size_t>(data->SeriesCount()) : styles.size();
    while (styles.size() < count)
        styles.push_back(tvane::chart::DefaultSeriesStyle(static_cast<int>(styles.size())));
    for (std::size_t i = 0; i < count; ++i)
        change(styles[i]);
    chart->SetValue(id, std::move(styles));
}

int Truncate(double v) {
    return static_cast<int>(std::clamp(v, -1e9, 1e9));
}

// "%.*e" or "%.*f" of a value label.
std::string Print(const char* format, int precision, double value) {
    char text[400];
    std::snprintf(text, sizeof text, format, std::clamp(precision, 0, 15), value);
    return text;
}

} // namespace

CXrtGraph::CXrtGraph() {
    for (unsigned id : {263u, 264u, 266u, 188u, 267u})
        m_shapeNames.push_back(GraphicsTexts().Load(id));
}

CXrtGraph::~CXrtGraph() {
    Destroy();
    DeleteStateFile();
}

bool CXrtGraph::CreateChart(IChartParent& parent, const ChartRect& rect) {
    auto chart = std::make_unique<Chart>();
    std::unique_ptr<IChartWindow> window = parent.CreateChartWindow(*chart, rect);
    if (!window)
        return false;
    m_window.reset();
    m_chart = std::move(chart);
    m_window = std::move(window);
    m_parent = &parent;
    return true;
}

int CXrtGraph::Create(IChartParent& parent, const ChartRect& rect, int) {
    if (!CreateChart(parent, rect))
        throw CGraphException(CGraphException::CreateFailed, 0, nullptr, kSourceModule, kCreateLine,
                              __TIMESTAMP__);
    return 1;
}

int CXrtGraph::RestoreChartState(IChartParent& parent, const ChartRect& rect, int) {
    if (!CreateChart(parent, rect))
        throw CGraphException(CGraphException::CreateFailed, 0, nullptr, kSourceModule,
                              kRestoreLine, __TIMESTAMP__);
    if (!m_stateFile.empty()) {
        // The parked file goes whether or not it could be read.
        struct Remove {
            CXrtGraph& graph;
            ~Remove() { graph.DeleteStateFile(); }
        } remove{*this};
        ReadChartState(m_stateFile);
    }
    return 1;
}

void CXrtGraph::Destroy() {
    m_window.reset();
    m_chart.reset();
}

void CXrtGraph::DeleteStateFile() {
    if (m_stateFile.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove(m_stateFile, ignored);
    m_stateFile.clear();
}

ChartRect CXrtGraph::GetPlotArea() const {
    // The area the chart maps its data on, also when stored margins leave it
    // no room: marker lines and picks then agree with the drawing.
    if (m_chart)
        return m_chart->PlotArea();
    ChartRect r;
    r.left = GetChartLeft() + GetLeftMargin();
    r.top = GetChartTop() + GetTopMargin();
    r.right = GetChartLeft() + GetChartWidth() - GetRightMargin();
    r.bottom = GetChartTop() + GetChartHeight() - GetBottomMargin();
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return r;
}

void CXrtGraph::DataToPixel(double x, double y, int set, ChartPoint& point) const {
    if (!m_chart || x == kHole || y == kHole)
        return;
    point = m_chart->DataToPixel(set == 1 ? 1 : 2, x, y);
    if (point.x != -1 && point.y != -1) {
        // To the nearest pixel: a point read from a pixel maps back to it.
        const auto exact = m_chart->Layout().Map(x, y, set == 1 ? 1 : 2);
        point.x = static_cast<int>(std::lround(std::clamp(exact.x, -1e9, 1e9)));
        point.y = static_cast<int>(std::lround(std::clamp(exact.y, -1e9, 1e9)));
        return;
    }
    // Beyond the axes: interpolate over the plot area.
    const ChartRect plot = GetPlotArea();
    const double xmin = m_chart->GetDouble(prop::kXAxisMin);
    const double xmax = m_chart->GetDouble(prop::kXAxisMax);
    const double ymin = m_chart->GetDouble(prop::kYAxisMin);
    const double ymax = m_chart->GetDouble(prop::kYAxisMax);
    // A zero-span axis puts everything in its middle instead of dividing by zero.
    const double fx = xmax == xmin ? 0.5 : (x - xmin) / (xmax - xmin);
    const double fy = ymax == ymin ? 0.5 : (y - ymin) / (ymax - ymin);
    if (IsInverted()) {
        point.y = Truncate(plot.top + plot.Height() * fx);
        point.x = Truncate(plot.left + plot.Width() * fy);
    } else {
        point.x = Truncate(plot.left + plot.Width() * fx);
        point.y = Truncate(plot.top + plot.Height() * (1.0 - fy));
    }
}

void CXrtGraph::PixelToData(int px, int py, tvane::chart::ChartLayout::PointF& result,
                            int set) const {
    if (!m_chart)
        return;
    const int chartSet = set == 1 ? 1 : 2;
    result = m_chart->PixelToData(chartSet, px, py);
    const ChartData* data = m_chart->GetData(chartSet);
    const double hole = data ? data->Hole() : kHole;
    if (result.x != hole && result.y != hole)
        return;
    const ChartRect plot = GetPlotArea();
    if (result.x == hole) {
        const double xmin = m_chart->GetDouble(prop::kXAxisMin);
        const double xmax = m_chart->GetDouble(prop::kXAxisMax);
        result.x =
            plot.Width() == 0 ? xmin : xmin + (xmax - xmin) * (px - plot.left) / plot.Width();
    }
    if (result.y == hole) {
        const double ymin = m_chart->GetDouble(prop::kYAxisMin);
        const double ymax = m_chart->GetDouble(prop::kYAxisMax);
        result.y =
            plot.Height() == 0 ? ymax : ymax - (ymax - ymin) * (py - plot.top) / plot.Height();
    }
}

tvane::chart::PickResult CXrtGraph::Pick(int set, int px, int py, int focus) const {
    return m_chart ? m_chart->Pick(set == 1 ? 1 : 2, px, py, focus) : tvane::chart::PickResult{};
}

void CXrtGraph::SetSeriesStyle(int series, std::uint32_t shape, const std::uint32_t* size,
                               std::uint32_t pattern, int set) {
    StyleSeries(m_chart.get(), series, set, [&](ChartStyle& style) {
        style.pointShape = shape;
        if (size && *size != kKeepSize)
            style.pointSize = *size;
        style.linePattern = pattern;
    });
}

void CXrtGraph::SetSeriesPoint(int series, std::uint32_t shape, const std::uint32_t* size,
                               int set) {
    StyleSeries(m_chart.get(), series, set, [&](ChartStyle& style) {
        style.pointShape = shape;
        if (size && *size != kKeepSize)
            style.pointSize = *size;
    });
}

void CXrtGraph::SetSeriesLine(int series, std::uint32_t pattern, int set) {
    StyleSeries(m_chart.get(), series, set,
                [&](ChartStyle& style) { style.linePattern = pattern; });
}

void CXrtGraph::SetSeriesColor(int series, std::int32_t color, int set) {
    StyleSeries(m_chart.get(), series, set, [&](ChartStyle& style) {
        style.color = color;
        style.pointColor = color;
    });
}

std::uint32_t CXrtGraph::GetSeriesLine(int series, int set) const {
    return m_chart ? m_chart->GetNthStyle(set == 1 ? 1 : 2, series).linePattern : 0;
}

std::int32_t CXrtGraph::GetSeriesColor(int series, int set) const {
    return m_chart ? m_chart->GetNthStyle(set == 1 ? 1 : 2, series).color : 0;
}

void CXrtGraph::FillPointShapeList(std::vector<std::string>& list) const {
    list = m_shapeNames;
}

int CXrtGraph::GetValueAtX(int series, double x, double& y) const {
    y = kHole;
    const ChartData* data = GetData1();
    if (!data)
        return 0;
    const int count = data->Count(series);
    if (count < 1)
        return 0;
    const int last = count - 1;
    if (x > data->X(series, last)) {
        y = data->Y(series, last);
        return 1;
    }
    int first = 0;
    while (first <= last && data->X(series, first) == data->Hole())
        ++first;
    if (first > last || x < data->X(series, first))
        return 0;
    int low = 0;
    int high = last;
    int span = high - low;
    int probe = low;
    for (;;) {
        int next = low + static_cast<int>(span / 2.0 + 0.5);
        if (next <= last && data->X(series, next) == data->Hole())
            ++next;
        if (next <= low || next >= high)
            break;
        probe = next;
        const double at = data->X(series, probe);
        if (at == x)
            break;
        if (at < x) {
            low = probe;
            span = high - probe;
        } else {
            high = probe;
            span = probe - low;
        }
    }
    // A point exactly at x is the answer, also at either end of the search.
    for (int at : {low, high}) {
        if (data->X(series, probe) != x && data->X(series, at) == x)
            probe = at;
    }
    y = data->Y(series, probe);
    return 1;
}

void CXrtGraph::SetValueLabels(int axis, double minimum, double maximum, int count, int centred) {
    if (!m_chart)
        return;
    const bool isX = axis == prop::kXValueLabels;
    const int n = count == -1 ? (isX ? 10 : 8) : count;
    if (n < 1) {
        m_chart->SetValue(axis, std::vector<tvane::chart::ValueLabel>{});
        return;
    }
    const double step = std::fabs(maximum - minimum) / n;
    std::vector<double> values;
    for (int k = 0; k < n; ++k)
        values.push_back(centred ? (k + 1) * step + minimum : (k + 0.5) * step + minimum);
    PlaceValueLabels(axis, values, n);
}

void CXrtGraph::LabelValueAxis(int axis, double minimum, double maximum) {
    if (!m_chart)
        return;
    const int n = axis == prop::kXValueLabels ? 10 : 8;
    std::vector<double> values;
    for (int k = 0; k <= n; ++k)
        values.push_back(k == n ? maximum : minimum + (maximum - minimum) * k / n);
    PlaceValueLabels(axis, values, n);
}

void CXrtGraph::PlaceValueLabels(int axis, const std::vector<double>& values, int intervals) {
    const bool isX = axis == prop::kXValueLabels;
    const int precision = isX ? GetXPrecision() : GetYPrecision();
    const bool inverted = IsInverted();
    const ChartRect plot = GetPlotArea();
    const int extent = isX != inverted ? plot.Width() : plot.Height();
    // A plot narrower than the labels would give a pitch of 0 to divide by.
    const int pitch = std::max(extent / intervals, 1);

    const tvane::chart::ITextMetrics& metrics = m_chart->TextMetrics();
    const tvane::chart::ChartFont font = GetAxisFont();
    int skip = 1;
    if (isX != inverted) {
        double widest = 0.0;
        for (double v : values) {
            const double width = metrics.TextWidth(font, Print("%.*lf", precision, v));
            if (width > widest) {
                widest = width;
                skip = static_cast<int>(widest / pitch) + 1;
            }
        }
    } else {
        skip = static_cast<int>(metrics.TextHeight(font) / pitch + 0.5);
    }
    if (skip < 1)
        skip = 1;

    std::vector<tvane::chart::ValueLabel> labels;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double v = values[i];
        std::string text;
        if (i > 0 && i % static_cast<std::size_t>(skip) != 0) {
            text = " ";
        } else {
            const std::string exponent = Print("%.*e", precision, v);
            const std::string fixed = Print("%.*f", precision, v);
            if (exponent.size() < fixed.size())
                text = exponent;
            else if (CRoundedValue(v, 10) == CRoundedValue(0.0, 10))
                text = "0.0";
            else
                text = fixed;
        }
        labels.push_back({v, text});
    }
    m_chart->SetValue(axis, std::move(labels));
}

void CXrtGraph::ClearXValueLabels() {
    if (m_chart)
        m_chart->SetValue(prop::kXValueLabels, std::vector<tvane::chart::ValueLabel>{});
}

int CXrtGraph::MakeRoom(CXrtGraphData* graphData, int n, int series) {
    ChartData* data = graphData ? graphData->GetData() : nullptr;
    if (!data || series < 0 || series >= data->SeriesCount())
        return 0;
    if (!graphData->WouldOverflow(n, series))
        return 1;
    if (data->GetKind() == ChartData::kArray)
        return 0;
    // Drop just enough of the oldest points for n new ones, keeping the newest.
    const int count = data->Count(series);
    const int drop = static_cast<int>(
        std::min<std::int64_t>(count, static_cast<std::int64_t>(count) + n - data->Capacity()));
    const int keep = count - drop;
    if (keep > 0)
        data->ShiftPoints(series, 0, drop, keep);
    for (int i = keep; i < count; ++i)
        data->SetPoint(series, i, data->Hole(), data->Hole());
    data->SetCount(series, keep);
    return 1;
}

void CXrtGraph::ApplyValueGrid(bool on) {
    if (!m_chart)
        return;
    if (on) {
        if (m_chart->GetDouble(prop::kXGridSpacing) != 0.0)
            m_chart->SetDouble(prop::kXGridSpacing, 0.0);
        if (m_chart->GetInt(prop::kYGridAuto) != 1)
            m_chart->SetInt(prop::kYGridAuto, 1);
        return;
    }
    // Lines at the annotation count as a spacing that is not 0: setting the
    // spacing switches them off.
    if (m_chart->GetDouble(prop::kYGridSpacing) != 0.0 || m_chart->GetInt(prop::kYGridAuto) != 0)
        m_chart->SetDouble(prop::kYGridSpacing, 0.0);
    if (m_chart->GetDouble(prop::kXGridSpacing) != 0.0 || m_chart->GetInt(prop::kXGridAuto) != 0)
        m_chart->SetDouble(prop::kXGridSpacing, 0.0);
}

namespace {

constexpr std::uint32_t kColourItem = GRAPHITEMPROPS::kName | GRAPHITEMPROPS::kColor;
constexpr std::uint32_t kTitleItem = GRAPHITEMPROPS::kLabelName | GRAPHITEMPROPS::kLabelText;

} // namespace

bool CXrtGraph::GetColourItem(const char* name, std::int32_t colour, GRAPHITEMPROPS& props) {
    props.itemName = name;
    props.color = static_cast<std::uint32_t>(colour);
    return (props.mask & ~kColourItem) == 0;
}

bool CXrtGraph::GetChartItem(ChartItem item, GRAPHITEMPROPS& props) const {
    switch (item) {
    case ChartItem::kBackground:
        return GetColourItem("Background", GetBackgroundColor(), props);
    case ChartItem::kAxis:
        props.font = ToLogFont(GetAxisFont());
        GetColourItem("Axis", GetAxisColor(), props);
        return (props.mask & ~(kColourItem | GRAPHITEMPROPS::kFont)) == 0;
    case ChartItem::kGrid:
        return GetColourItem("Grid", GetGridColor(), props);
    case ChartItem::kXTitle:
    case ChartItem::kYTitle:
        props.labelName = item == ChartItem::kXTitle ? "X Axis" : "Y Axis";
        props.labelText = item == ChartItem::kXTitle ? GetXAxisTitle() : GetYAxisTitle();
        return (props.mask & ~kTitleItem) == 0;
    }
    return false;
}

bool CXrtGraph::SetChartItem(ChartItem item, const GRAPHITEMPROPS& props) {
    const bool colour = (props.mask & GRAPHITEMPROPS::kColor) != 0;
    const auto c = static_cast<std::int32_t>(props.color);
    switch (item) {
    case ChartItem::kBackground:
        if (colour)
            SetBackgroundColor(c);
        return (props.mask & ~kColourItem) == 0;
    case ChartItem::kAxis:
        if (colour)
            SetAxisColor(c);
        if (props.mask & GRAPHITEMPROPS::kFont)
            SetAxisFont(ToChartFont(props.font));
        return (props.mask & ~(kColourItem | GRAPHITEMPROPS::kFont)) == 0;
    case ChartItem::kGrid:
        if (colour)
            SetGridColor(c);
        return (props.mask & ~kColourItem) == 0;
    case ChartItem::kXTitle:
    case ChartItem::kYTitle:
        if (props.mask & GRAPHITEMPROPS::kLabelText) {
            if (item == ChartItem::kXTitle)
                SetXAxisTitle(props.labelText);
            else
                SetYAxisTitle(props.labelText);
        }
        return (props.mask & ~kTitleItem) == 0;
    }
    return false;
}

void CXrtGraph::SetRepaint(bool enable) {
    if (m_chart)
        m_chart->SetRepaint(enable);
}

ChartData* CXrtGraph::GetData1() const {
    return m_chart ? m_chart->GetData(1) : nullptr;
}

ChartData* CXrtGraph::GetData2() const {
    return m_chart ? m_chart->GetData(2) : nullptr;
}

std::vector<ChartStyle> CXrtGraph::GetStyles1() const {
    return m_chart ? m_chart->GetStyles(prop::kDataStyles) : std::vector<ChartStyle>{};
}

void CXrtGraph::SetStyles1(const std::vector<ChartStyle>& styles) {
    if (m_chart)
        m_chart->SetValue(prop::kDataStyles, styles);
}

std::vector<ChartStyle> CXrtGraph::GetStyles2() const {
    return m_chart ? m_chart->GetStyles(prop::kDataStyles2) : std::vector<ChartStyle>{};
}

void CXrtGraph::SetStyles2(const std::vector<ChartStyle>& styles) {
    if (m_chart)
        m_chart->SetValue(prop::kDataStyles2, styles);
}

void CXrtGraph::SetNthStyle1(int series, const ChartStyle& style) {
    if (m_chart)
        m_chart->SetNthStyle(1, series, style);
}

void CXrtGraph::SetNthStyle2(int series, const ChartStyle& style) {
    if (m_chart)
        m_chart->SetNthStyle(2, series, style);
}

namespace {

std::int32_t IntOf(const Chart* chart, int id) {
    return chart ? chart->GetInt(id) : 0;
}

} // namespace

std::int16_t CXrtGraph::GetChartWidth() const {
    return static_cast<std::int16_t>(IntOf(m_chart.get(), prop::kGraphWidth));
}

std::int16_t CXrtGraph::GetChartHeight() const {
    return static_cast<std::int16_t>(IntOf(m_chart.get(), prop::kGraphHeight));
}

std::int32_t CXrtGraph::GetChartLeft() const {
    return IntOf(m_chart.get(), prop::kGraphLeft);
}

std::int32_t CXrtGraph::GetChartTop() const {
    return IntOf(m_chart.get(), prop::kGraphTop);
}

std::int32_t CXrtGraph::GetXPrecision() const {
    return IntOf(m_chart.get(), prop::kXPrecision);
}

std::int32_t CXrtGraph::GetYPrecision() const {
    return IntOf(m_chart.get(), prop::kYPrecision);
}

bool CXrtGraph::IsInverted() const {
    return IntOf(m_chart.get(), prop::kInverted) != 0;
}

std::int16_t CXrtGraph::GetBottomMargin() const {
    return static_cast<std::int16_t>(IntOf(m_chart.get(), prop::kBottomMargin));
}

std::int16_t CXrtGraph::GetLeftMargin() const {
    return static_cast<std::int16_t>(IntOf(m_chart.get(), prop::kLeftMargin));
}

std::int16_t CXrtGraph::GetRightMargin() const {
    return static_cast<std::int16_t>(IntOf(m_chart.get(), prop::kRightMargin));
}

std::int16_t CXrtGraph::GetTopMargin() const {
    return static_cast<std::int16_t>(IntOf(m_chart.get(), prop::kTopMargin));
}

bool CXrtGraph::GetRepaint() const {
    return IntOf(m_chart.get(), prop::kRepaint) != 0;
}

std::int32_t CXrtGraph::GetBackgroundColor() const {
    return IntOf(m_chart.get(), prop::kBackground);
}

void CXrtGraph::SetBackgroundColor(std::int32_t color) {
    if (m_chart)
        m_chart->SetInt(prop::kBackground, color);
}

std::int32_t CXrtGraph::GetAxisColor() const {
    return IntOf(m_chart.get(), prop::kForeground);
}

void CXrtGraph::SetAxisColor(std::int32_t color) {
    if (m_chart)
        m_chart->SetInt(prop::kForeground, color);
}

void CXrtGraph::SetData(ChartData* data) {
    if (m_chart)
        m_chart->SetData(1, data);
}

std::int32_t CXrtGraph::GetGridColor() const {
    return m_chart ? m_chart->GetStyle(prop::kXGridStyle).color : 0;
}

void CXrtGraph::SetGridColor(std::int32_t color) {
    if (!m_chart)
        return;
    ChartStyle x = m_chart->GetStyle(prop::kXGridStyle);
    ChartStyle y = m_chart->GetStyle(prop::kYGridStyle);
    x.color = color;
    y.color = color;
    m_chart->SetValues({{prop::kXGridStyle, x}, {prop::kYGridStyle, y}});
}

tvane::chart::ChartFont CXrtGraph::GetAxisFont() const {
    return m_chart ? m_chart->GetFont(prop::kAxisFont) : tvane::chart::ChartFont{};
}

void CXrtGraph::SetAxisFont(const tvane::chart::ChartFont& font) {
    if (m_chart)
        m_chart->SetFont(prop::kAxisFont, font);
}

void CXrtGraph::SetFonts(const tvane::chart::ChartFont& font) {
    if (m_chart)
        m_chart->SetValues({{prop::kAxisFont, font},
                            {prop::kFooterFont, font},
                            {prop::kHeaderFont, font},
                            {prop::kLegendFont, font}});
}

void CXrtGraph::SetPrecision(std::int32_t decimals) {
    if (m_chart)
        m_chart->SetInt(prop::kYPrecision, decimals);
}

std::string CXrtGraph::GetXAxisTitle() const {
    return m_chart ? m_chart->GetText(prop::kXAxisTitle) : std::string();
}

void CXrtGraph::SetXAxisTitle(const std::string& title) {
    if (m_chart)
        m_chart->SetText(prop::kXAxisTitle, title);
}

std::string CXrtGraph::GetYAxisTitle() const {
    return m_chart ? m_chart->GetText(prop::kYAxisTitle) : std::string();
}

void CXrtGraph::SetYAxisTitle(const std::string& title) {
    if (m_chart)
        m_chart->SetText(prop::kYAxisTitle, title);
}

void CXrtGraph::SetPointLabels(const std::vector<std::string>& labels) {
    if (m_chart)
        m_chart->SetValue(prop::kPointLabels, labels);
}

void CXrtGraph::SetInverted(bool inverted) {
    if (m_chart)
        m_chart->SetInt(prop::kInverted, inverted ? 1 : 0);
}

void CXrtGraph::SetChartType(std::int32_t type) {
    if (m_chart)
        m_chart->SetInt(prop::kChartType, type);
}

double CXrtGraph::GetAxisMin() const {
    return m_chart ? m_chart->GetDouble(prop::kYAxisMin) : 0.0;
}

void CXrtGraph::SetAxisMin(double value) {
    if (m_chart)
        m_chart->SetDouble(prop::kYAxisMin, value);
}

double CXrtGraph::GetAxisMax() const {
    return m_chart ? m_chart->GetDouble(prop::kYAxisMax) : 0.0;
}

void CXrtGraph::SetAxisMax(double value) {
    if (m_chart)
        m_chart->SetDouble(prop::kYAxisMax, value);
}

void CXrtGraph::FastUpdate(int set, int count) {
    if (m_chart)
        m_chart->FastUpdate(set, 0, count);
}

void CXrtGraph::SerializeStyleRecord(CArchive& ar, ChartStyle& style) {
    if (ar.IsStoring()) {
        ar << style.linePattern << style.fillPattern << style.color << style.lineWidth
           << style.pointShape << style.pointColor << style.pointSize << style.reserved1
           << style.reserved2;
    } else {
        ChartStyle loaded;
        ar >> loaded.linePattern >> loaded.fillPattern >> loaded.color >> loaded.lineWidth >>
            loaded.pointShape >> loaded.pointColor >> loaded.pointSize >> loaded.reserved1 >>
            loaded.reserved2;
        if (loaded.lineWidth > tvane::chart::kMaxLineWidth ||
            loaded.pointSize > tvane::chart::kMaxPointSize)
            throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                           "chart style size out of range");
        style = loaded;
    }
}

int CXrtGraph::WriteChartState(const std::filesystem::path& file) const {
    tvane::MemoryStream stream;
    {
        CArchive ar(stream, CArchive::store);
        Chart defaults;
        WriteChartStateRecord(ar, m_chart ? *m_chart : defaults);
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(stream.Bytes().data()),
              static_cast<std::streamsize>(stream.Size()));
    out.close();
    if (!out)
        throw tvane::FileException(tvane::FileException::CauseFromErrno(errno), errno,
                                   file.string());
    return 1;
}

namespace {

void ReadStateFile(const std::filesystem::path& file, Chart& chart) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw tvane::FileException(tvane::FileException::fileNotFound, errno, file.string());
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    tvane::MemoryStream stream(std::move(bytes));
    CArchive ar(stream, CArchive::load);
    ReadChartStateRecord(ar, chart);
}

} // namespace

int CXrtGraph::ReadChartState(const std::filesystem::path& file, int) {
    Chart checked; // read all the same, so that a bad record is reported
    ReadStateFile(file, m_chart ? *m_chart : checked);
    return 1;
}

void CXrtGraph::Serialize(CArchive& ar) {
    tvane::CObject::Serialize(ar);
    if (ar.IsStoring()) {
        m_noReadings = m_parent && m_parent->GetDocumentHasReadings() ? 0 : 1;
        ar << m_noReadings;
        const std::filesystem::path file = NextChartStateFile();
        if (!m_chart) {
            // Never shown since it was loaded: its parked state is still the
            // chart's state and stays parked for the window to come.
            if (m_stateFile.empty())
                ar << std::int32_t{0};
            else
                StoreFileInArchive(ar, m_stateFile);
            return;
        }
        if (!ChartDiskSpaceCheck().HasFreeSpace(kStateDiskBytes, ChartStateFolder().string()))
            throw tvane::UserException();
        // The file lives only while it is copied; no state stays parked.
        DeleteStateFile();
        struct Remove {
            const std::filesystem::path& file;
            ~Remove() {
                std::error_code ignored;
                std::filesystem::remove(file, ignored);
            }
        } remove{file};
        WriteChartState(file);
        StoreFileInArchive(ar, file);
        return;
    }
    ar >> m_noReadings;
    DeleteStateFile();
    const std::filesystem::path file = NextChartStateFile();
    // A state of length 0 (stored short of memory) parks nothing: the chart
    // starts from its defaults.
    if (!LoadFileFromArchive(ar, file))
        return;
    m_stateFile = file;
    // Read through once now: a damaged state, or label decimals no label can
    // have, reject the document instead of failing the display's window.
    try {
        Chart parked;
        ReadStateFile(file, parked);
        for (int id : {prop::kXPrecision, prop::kYPrecision})
            if (parked.GetInt(id) < 0 || parked.GetInt(id) > kMaxDecimals)
                throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                               "chart label decimals out of range");
    } catch (...) {
        DeleteStateFile();
        throw;
    }
}
