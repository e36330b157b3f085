#include "platform/chart/Chart.h"

#include <algorithm>
#include <cmath>

#include "platform/chart/ApproxTextMetrics.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "platform/chart/IChartListener.h"

namespace tvane::chart {

namespace {

// One hold counter for the whole process: charts are only touched on the
// user-interface thread.
int g_repaintCounter = 0;

enum class Type { Int, Int16, Double, Text, Font, Style, Styles, Texts, Labels, Data };

Type TypeOf(int id) {
    if (id == prop::kData || id == prop::kData2)
        return Type::Data;
    if (id >= 0x400 && id <= 0x4FF)
        return Type::Style;
    if (id == prop::kDataStyles || id == prop::kDataStyles2)
        return Type::Styles;
    if ((id >= 0x600 && id <= 0x607) || (id >= prop::kBottomMargin && id <= prop::kTopMargin))
        return Type::Int16;
    if (id >= 0x700 && id <= 0x7FF)
        return Type::Double;
    if (id >= 0x800 && id <= 0x8FF)
        return Type::Font;
    if (id >= 0xC00 && id <= 0xCFF)
        return Type::Text;
    if (id >= 0xD00 && id <= 0xDFF)
        return Type::Texts;
    if (id >= 0xF00 && id <= 0xFFF)
        return Type::Labels;
    return Type::Int;
}

// The "use default" flag that a value's own setting clears; 0 for none.
int AutoFlagOf(int id) {
    if ((id >= 0x700 && id <= 0x705) || (id >= prop::kXStep && id <= 0x70B) ||
        (id >= prop::kXAxisMax && id <= prop::kY2AxisMin))
        return prop::kAutoBase + (id - prop::kDoubleBase);
    switch (id) {
    case prop::kXGridSpacing:
        return prop::kXGridAuto;
    case prop::kYGridSpacing:
        return prop::kYGridAuto;
    case prop::kGraphLeft:
        return prop::kGraphLeftAuto;
    case prop::kGraphTop:
        return prop::kGraphTopAuto;
    case prop::kGraphWidth:
        return prop::kGraphWidthAuto;
    case prop::kGraphHeight:
        return prop::kGraphHeightAuto;
    case prop::kBottomMargin:
        return prop::kBottomMarginAuto;
    case prop::kLeftMargin:
        return prop::kLeftMarginAuto;
    case prop::kRightMargin:
        return prop::kRightMarginAuto;
    case prop::kTopMargin:
        return prop::kTopMarginAuto;
    default:
        return 0;
    }
}

// The "use default" flags, which start on: a chart computes these values itself
// until they are set.
bool IsDefaultOnFlag(int id) {
    const int k = id - prop::kAutoBase;
    return (k >= 0x00 && k <= 0x05) || (k >= 0x09 && k <= 0x0B) || (k >= 0x13 && k <= 0x18) ||
           id == prop::kGraphLeftAuto || id == prop::kGraphTopAuto ||
           (id >= prop::kGraphWidthAuto && id <= prop::kTopMarginAuto);
}

ChartStyle GridStyle() {
    ChartStyle style;
    style.color = 0x808080;
    style.pointShape = kPointNone;
    return style;
}

ChartValue DefaultOf(int id) {
    switch (id) {
    case prop::kRepaint:
        return std::int32_t{1};
    case prop::kBackground:
        return std::int32_t{0xFFFFFF};
    case prop::kXPrecision:
    case prop::kYPrecision:
        return std::int32_t{1};
    case prop::kClusterWidth:
        return std::int32_t{80};
    case prop::kChartType:
    case prop::kXTitleRotation:
    case prop::kYTitleRotation:
        return std::int32_t{1};
    case prop::kXGridAuto:
    case prop::kYGridAuto:
        return std::int32_t{0};
    default:
        break;
    }
    if (id >= prop::kAutoBase && id <= 0xEFF)
        return std::int32_t{IsDefaultOnFlag(id) ? 1 : 0};
    switch (TypeOf(id)) {
    case Type::Data:
        return static_cast<ChartData*>(nullptr);
    case Type::Style:
        return id == prop::kXGridStyle || id == prop::kYGridStyle ? GridStyle() : ChartStyle{};
    case Type::Styles:
        return std::vector<ChartStyle>{};
    case Type::Double:
        return 0.0;
    case Type::Font:
        return ChartFont{};
    case Type::Text:
        return std::string{};
    case Type::Texts:
        return std::vector<std::string>{};
    case Type::Labels:
        return std::vector<ValueLabel>{};
    case Type::Int:
    case Type::Int16:
        break;
    }
    return std::int32_t{0};
}

std::int32_t ToInt(const ChartValue& v) {
    if (const auto* i = std::get_if<std::int32_t>(&v))
        return *i;
    if (const auto* d = std::get_if<double>(&v))
        return std::isfinite(*d)
                   ? static_cast<std::int32_t>(std::clamp(*d, -2147483648.0, 2147483647.0))
                   : 0;
    return 0;
}

double ToDouble(const ChartValue& v) {
    if (const auto* d = std::get_if<double>(&v))
        return *d;
    if (const auto* i = std::get_if<std::int32_t>(&v))
        return *i;
    return 0.0;
}

// Numbers take the property's own type; anything else is kept as given.
ChartValue Coerce(int id, ChartValue value) {
    const Type type = TypeOf(id);
    if (type == Type::Double) {
        if (const auto* i = std::get_if<std::int32_t>(&value))
            return static_cast<double>(*i);
    } else if (type == Type::Int || type == Type::Int16) {
        if (std::holds_alternative<double>(value))
            value = ToInt(value);
        if (type == Type::Int16) {
            if (const auto* i = std::get_if<std::int32_t>(&value))
                return static_cast<std::int32_t>(static_cast<std::int16_t>(*i & 0xFFFF));
        }
    }
    return value;
}

double Clean(double v, double fallback) {
    return std::isfinite(v) ? v : fallback;
}

// The decimals that tell the ticks of a step apart: those of the step itself
// (0.05 needs two), at most nine.
int StepDecimals(double step) {
    step = std::fabs(step);
    for (int decimals = 0; decimals < 9; ++decimals) {
        const double scaled = step * std::pow(10.0, decimals);
        if (std::fabs(scaled - std::round(scaled)) <= 1e-6 * std::max(1.0, scaled))
            return decimals;
    }
    return 9;
}

// Numbered ticks between lo and hi: explicit step when positive, else a
// 1-2-5 step that leaves room for the texts. The texts carry the precision's
// decimals, or more when the step needs them to differ.
std::vector<ChartLayout::Tick> ValueTicks(double lo, double hi, double explicitStep, int precision,
                                          double length, bool horizontal,
                                          const ITextMetrics& metrics, const ChartFont& font,
                                          double& step) {
    std::vector<ChartLayout::Tick> ticks;
    const double a = std::min(lo, hi);
    const double b = std::max(lo, hi);
    const double span = b - a;
    if (!std::isfinite(span)) {
        step = 0.0;
        return ticks;
    }
    if (span == 0.0) {
        step = 0.0;
        ticks.push_back({a, 0.0, FormatFixed(a, precision)});
        return ticks;
    }
    const double fontHeight = metrics.TextHeight(font);
    constexpr double kMostTicks = 200.0;
    auto stepFor = [&](int decimals) {
        double spacing = 2.0 * fontHeight;
        if (horizontal) {
            const double w = std::max(metrics.TextWidth(font, FormatFixed(a, decimals)),
                                      metrics.TextWidth(font, FormatFixed(b, decimals)));
            spacing = w + 2.0 * fontHeight;
        }
        double s = explicitStep > 0.0 ? explicitStep
                                      : NiceStep(span, std::max(1.0, std::floor(length / spacing)));
        if (span / s > kMostTicks)
            s = NiceStep(span, kMostTicks);
        return s;
    };
    step = stepFor(precision);
    int decimals = std::max(precision, StepDecimals(step));
    if (decimals > precision) {
        // Longer texts may need a wider step, which may need fewer decimals.
        step = std::max(step, stepFor(decimals));
        decimals = std::max(precision, StepDecimals(step));
    }
    const double first = std::ceil(a / step - 1e-9) * step;
    for (int k = 0;; ++k) {
        double v = first + k * step;
        if (v > b + step * 1e-9 || k > kMostTicks)
            break;
        if (std::fabs(v) < step * 1e-9)
            v = 0.0;
        ticks.push_back({v, 0.0, FormatFixed(v, decimals)});
    }
    return ticks;
}

std::vector<double> SpacedValues(double lo, double hi, double spacing) {
    std::vector<double> values;
    const double a = std::min(lo, hi);
    const double b = std::max(lo, hi);
    if (!(spacing > 0.0) || !std::isfinite(b - a) || (b - a) / spacing > 1000.0)
        return values;
    for (double v = std::ceil(a / spacing - 1e-9) * spacing; v <= b + spacing * 1e-9; v += spacing)
        values.push_back(v);
    return values;
}

bool Within(double v, double lo, double hi) {
    const double a = std::min(lo, hi);
    const double b = std::max(lo, hi);
    const double eps = (b - a) * 1e-9;
    return v >= a - eps && v <= b + eps;
}

} // namespace

Chart::Chart() = default;

Chart::~Chart() = default;

const ChartValue* Chart::Stored(int id) const {
    const auto it = m_values.find(id);
    return it == m_values.end() ? nullptr : &it->second;
}

void Chart::Store(int id, ChartValue value) {
    value = Coerce(id, std::move(value));
    if (id == prop::kData || id == prop::kData2) {
        ChartData* const* data = std::get_if<ChartData*>(&value);
        SetData(id == prop::kData ? 1 : 2, data ? *data : nullptr);
        return;
    }
    if (const int flag = AutoFlagOf(id))
        m_values[flag] = std::int32_t{0};
    m_values[id] = std::move(value);
    ++m_propertyVersion;
}

void Chart::SetValue(int id, ChartValue value) {
    const bool wasHeld = GetInt(prop::kRepaint) == 0;
    Store(id, std::move(value));
    if (id == prop::kRepaint) {
        if (wasHeld && GetInt(prop::kRepaint) != 0 && m_pendingRepaint) {
            m_pendingRepaint = false;
            if (m_listener)
                m_listener->ChartChanged();
        }
        return;
    }
    Changed();
}

void Chart::SetValues(std::initializer_list<std::pair<int, ChartValue>> values) {
    SetValues(std::vector<std::pair<int, ChartValue>>(values));
}

void Chart::SetValues(const std::vector<std::pair<int, ChartValue>>& values) {
    for (const auto& [id, value] : values) {
        if (id != prop::kRepaint)
            Store(id, value);
    }
    Changed();
    for (const auto& [id, value] : values) {
        if (id == prop::kRepaint)
            SetValue(id, value);
    }
}

void Chart::Changed() {
    if (GetInt(prop::kRepaint) == 0) {
        m_pendingRepaint = true;
        return;
    }
    if (m_listener)
        m_listener->ChartChanged();
}

bool Chart::IsAuto(int flagId) const {
    return StoredInt(flagId) != 0;
}

std::int32_t Chart::StoredInt(int id) const {
    const ChartValue* value = Stored(id);
    return ToInt(value ? *value : DefaultOf(id));
}

double Chart::StoredDouble(int id) const {
    const ChartValue* value = Stored(id);
    return ToDouble(value ? *value : DefaultOf(id));
}

ChartValue Chart::GetValue(int id) const {
    if (id == prop::kData || id == prop::kData2)
        return m_data[id == prop::kData ? 0 : 1];
    const int flag = AutoFlagOf(id);
    if (flag && flag != prop::kXGridAuto && flag != prop::kYGridAuto && IsAuto(flag))
        return AutoValue(id);
    if (const ChartValue* value = Stored(id))
        return *value;
    return DefaultOf(id);
}

ChartValue Chart::AutoValue(int id) const {
    const ChartLayout& layout = Layout();
    switch (id) {
    case prop::kXAxisMin:
        return layout.x.min;
    case prop::kXAxisMax:
        return layout.x.max;
    case prop::kYAxisMin:
        return layout.y.min;
    case prop::kYAxisMax:
        return layout.y.max;
    case prop::kY2AxisMin:
        return layout.y2Min;
    case prop::kY2AxisMax:
        return layout.y2Max;
    case prop::kXStep:
        return layout.x.step;
    case prop::kYStep:
        return layout.y.step;
    case prop::kGraphLeft:
        return std::int32_t{layout.graph.left};
    case prop::kGraphTop:
        return std::int32_t{layout.graph.top};
    case prop::kGraphWidth:
        return std::int32_t{static_cast<std::int16_t>(layout.graph.Width())};
    case prop::kGraphHeight:
        return std::int32_t{static_cast<std::int16_t>(layout.graph.Height())};
    case prop::kLeftMargin:
        return std::int32_t{static_cast<std::int16_t>(layout.plot.left - layout.graph.left)};
    case prop::kTopMargin:
        return std::int32_t{static_cast<std::int16_t>(layout.plot.top - layout.graph.top)};
    case prop::kRightMargin:
        return std::int32_t{static_cast<std::int16_t>(layout.graph.right - layout.plot.right)};
    case prop::kBottomMargin:
        return std::int32_t{static_cast<std::int16_t>(layout.graph.bottom - layout.plot.bottom)};
    default:
        break;
    }
    const Extent e = DataExtent();
    switch (id) {
    case prop::kXDataMin:
        return e.valid ? e.xmin : 0.0;
    case prop::kXDataMax:
        return e.valid ? e.xmax : 0.0;
    case prop::kYDataMin:
        return e.valid ? e.ymin : 0.0;
    case prop::kYDataMax:
        return e.valid ? e.ymax : 0.0;
    default:
        break;
    }
    if (const ChartValue* value = Stored(id))
        return *value;
    return DefaultOf(id);
}

std::int32_t Chart::GetInt(int id) const {
    return ToInt(GetValue(id));
}

double Chart::GetDouble(int id) const {
    return ToDouble(GetValue(id));
}

template <class T> static T Get(const ChartValue& v) {
    if (const auto* t = std::get_if<T>(&v))
        return *t;
    return T{};
}

std::string Chart::GetText(int id) const {
    return Get<std::string>(GetValue(id));
}

ChartFont Chart::GetFont(int id) const {
    return Get<ChartFont>(GetValue(id));
}

ChartStyle Chart::GetStyle(int id) const {
    return Get<ChartStyle>(GetValue(id));
}

std::vector<ChartStyle> Chart::GetStyles(int id) const {
    return Get<std::vector<ChartStyle>>(GetValue(id));
}

std::vector<std::string> Chart::GetTexts(int id) const {
    return Get<std::vector<std::string>>(GetValue(id));
}

std::vector<ValueLabel> Chart::GetValueLabels(int id) const {
    return Get<std::vector<ValueLabel>>(GetValue(id));
}

void Chart::SetNthStyle(int set, int series, const ChartStyle& style) {
    if (series < 0)
        return;
    const int id = set == 2 ? prop::kDataStyles2 : prop::kDataStyles;
    std::vector<ChartStyle> styles = GetStyles(id);
    while (static_cast<int>(styles.size()) <= series)
        styles.push_back(DefaultSeriesStyle(static_cast<int>(styles.size())));
    styles[static_cast<std::size_t>(series)] = style;
    SetValue(id, std::move(styles));
}

ChartStyle Chart::GetNthStyle(int set, int series) const {
    const std::vector<ChartStyle> styles =
        GetStyles(set == 2 ? prop::kDataStyles2 : prop::kDataStyles);
    if (series < 0 || series >= static_cast<int>(styles.size()))
        return DefaultSeriesStyle(series < 0 ? 0 : series);
    return styles[static_cast<std::size_t>(series)];
}

void Chart::SetData(int set, ChartData* data) {
    const int index = set == 2 ? 1 : 0;
    m_data[index] = data;
    if (data) {
        const int id = index == 0 ? prop::kDataStyles : prop::kDataStyles2;
        std::vector<ChartStyle> styles = GetStyles(id);
        if (static_cast<int>(styles.size()) < data->SeriesCount()) {
            while (static_cast<int>(styles.size()) < data->SeriesCount())
                styles.push_back(DefaultSeriesStyle(static_cast<int>(styles.size())));
            m_values[id] = std::move(styles);
        }
    }
    ++m_propertyVersion;
    Changed();
}

ChartData* Chart::GetData(int set) const {
    return m_data[set == 2 ? 1 : 0];
}

void Chart::FastUpdate(int set, int series, int count) {
    (void)set;
    (void)series;
    (void)count;
    Changed();
}

void Chart::DataChanged() {
    Changed();
}

void Chart::SetRepaint(bool enable) {
    if (enable) {
        // An enable without a hold open must not leave a credit behind that
        // would cancel the next hold.
        if (g_repaintCounter == 0)
            return;
        if (++g_repaintCounter == 0 && GetInt(prop::kRepaint) == 0)
            SetValue(prop::kRepaint, std::int32_t{1});
    } else {
        if (--g_repaintCounter == -1 && GetInt(prop::kRepaint) != 0)
            SetValue(prop::kRepaint, std::int32_t{0});
    }
}

int Chart::RepaintHoldDepth() {
    return -g_repaintCounter;
}

void Chart::SetWindowSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == m_width && height == m_height)
        return;
    m_width = width;
    m_height = height;
    Changed();
}

void Chart::SetTextMetrics(const ITextMetrics* metrics) {
    m_metrics = metrics;
}

const ITextMetrics& Chart::TextMetrics() const {
    return m_metrics ? *m_metrics : ApproxTextMetrics::Instance();
}

Chart::Extent Chart::DataExtent() const {
    Extent e{0, 0, 0, 0, false};
    double firstGap = 0.0;
    for (const ChartData* data : m_data) {
        if (!data)
            continue;
        const double hole = data->Hole();
        for (int s = 0; s < data->SeriesCount(); ++s) {
            double previousX = hole;
            data->ForEachRun(s, 0, data->Count(s), [&](const double* xs, const double* ys, int n) {
                for (int i = 0; i < n; ++i) {
                    const double x = xs[i];
                    const double y = ys[i];
                    if (x == hole || y == hole || !std::isfinite(x) || !std::isfinite(y))
                        continue;
                    if (!e.valid) {
                        e = {x, x, y, y, true};
                    } else {
                        e.xmin = std::min(e.xmin, x);
                        e.xmax = std::max(e.xmax, x);
                        e.ymin = std::min(e.ymin, y);
                        e.ymax = std::max(e.ymax, y);
                    }
                    if (previousX != hole && x != previousX &&
                        (firstGap == 0.0 || std::fabs(x - previousX) < firstGap))
                        firstGap = std::fabs(x - previousX);
                    previousX = x;
                }
            });
        }
    }
    if (e.valid && StoredInt(prop::kChartType) == kChartTypeBar) {
        const double half = (firstGap > 0.0 ? firstGap : 1.0) / 2.0;
        e.xmin -= half;
        e.xmax += half;
        e.ymin = std::min(e.ymin, 0.0);
        e.ymax = std::max(e.ymax, 0.0);
    }
    return e;
}

const ChartLayout& Chart::Layout() const {
    LayoutKey key;
    key.properties = m_propertyVersion;
    key.width = m_width;
    key.height = m_height;
    key.metrics = m_metrics;
    // Only auto bounds, bars and point labels look at the points.
    const bool dependsOnData = IsAuto(prop::kAutoBase + 0x16) || IsAuto(prop::kAutoBase + 0x13) ||
                               IsAuto(prop::kAutoBase + 0x17) || IsAuto(prop::kAutoBase + 0x14) ||
                               StoredInt(prop::kChartType) == kChartTypeBar ||
                               StoredInt(prop::kXAnnotation) == kAnnotatePointLabels;
    for (int i = 0; i < 2; ++i) {
        key.dataObjects[i] = m_data[i];
        key.data[i] = m_data[i] && dependsOnData ? m_data[i]->Version() : 0;
    }
    if (!(key == m_layoutKey)) {
        m_layout = ComputeLayout(m_width, m_height, TextMetrics());
        m_layoutKey = key;
    }
    return m_layout;
}

ChartLayout Chart::ComputeLayout(int width, int height, const ITextMetrics& metrics) const {
    ChartLayout layout;
    layout.width = width;
    layout.height = height;
    layout.inverted = StoredInt(prop::kInverted) != 0;
    layout.bars = StoredInt(prop::kChartType) == kChartTypeBar;
    layout.font = GetFont(prop::kAxisFont);
    layout.fontHeight = metrics.TextHeight(layout.font);

    // Bounds.
    const bool needExtent = IsAuto(prop::kAutoBase + 0x16) || IsAuto(prop::kAutoBase + 0x13) ||
                            IsAuto(prop::kAutoBase + 0x17) || IsAuto(prop::kAutoBase + 0x14);
    const Extent e = needExtent ? DataExtent() : Extent{0, 0, 0, 0, false};
    auto bound = [&](int dataId, int axisId, double fromData, double fallback) {
        if (!IsAuto(prop::kAutoBase + (axisId - prop::kDoubleBase)))
            return StoredDouble(axisId);
        if (!IsAuto(prop::kAutoBase + (dataId - prop::kDoubleBase)))
            return StoredDouble(dataId);
        return e.valid ? fromData : fallback;
    };
    layout.x.min = Clean(bound(prop::kXDataMin, prop::kXAxisMin, e.xmin, 0.0), 0.0);
    layout.x.max = Clean(bound(prop::kXDataMax, prop::kXAxisMax, e.xmax, 1.0), 1.0);
    layout.y.min = Clean(bound(prop::kYDataMin, prop::kYAxisMin, e.ymin, 0.0), 0.0);
    layout.y.max = Clean(bound(prop::kYDataMax, prop::kYAxisMax, e.ymax, 1.0), 1.0);
    auto fromData = [&](int axisId, int dataId) {
        return e.valid && IsAuto(prop::kAutoBase + (axisId - prop::kDoubleBase)) &&
               IsAuto(prop::kAutoBase + (dataId - prop::kDoubleBase));
    };
    const bool xFromData[2] = {fromData(prop::kXAxisMin, prop::kXDataMin),
                               fromData(prop::kXAxisMax, prop::kXDataMax)};
    const bool yFromData[2] = {fromData(prop::kYAxisMin, prop::kYDataMin),
                               fromData(prop::kYAxisMax, prop::kYDataMax)};
    for (ChartLayout::Axis* axis : {&layout.x, &layout.y}) {
        const bool* computed = axis == &layout.x ? xFromData : yFromData;
        // A flat auto range still needs room to draw in.
        if (axis->min == axis->max) {
            axis->min -= 0.5;
            axis->max += 0.5;
        }
        // Bounds taken from the data end on a round value.
        const double step = NiceStep(axis->max - axis->min, 10.0);
        if (computed[0])
            axis->min = std::floor(axis->min / step + 1e-9) * step;
        if (computed[1])
            axis->max = std::ceil(axis->max / step - 1e-9) * step;
    }
    layout.y2Min =
        IsAuto(prop::kAutoBase + 0x18) ? layout.y.min : Clean(StoredDouble(prop::kY2AxisMin), 0.0);
    layout.y2Max =
        IsAuto(prop::kAutoBase + 0x15) ? layout.y.max : Clean(StoredDouble(prop::kY2AxisMax), 1.0);

    // Bars.
    if (const ChartData* data = m_data[0]; data && layout.bars) {
        layout.barSeries = std::max(1, data->SeriesCount());
        double gap = 0.0;
        const int count = data->Count(0);
        for (int i = 1; i < count; ++i) {
            const double d = std::fabs(data->X(0, i) - data->X(0, i - 1));
            if (d > 0.0 && std::isfinite(d) && (gap == 0.0 || d < gap))
                gap = d;
        }
        layout.barSpacing = gap > 0.0 ? gap : 1.0;
    }
    layout.clusterPercent = std::clamp(StoredInt(prop::kClusterWidth), 0, 100);

    // Titles.
    layout.x.title = GetText(prop::kXAxisTitle);
    layout.y.title = GetText(prop::kYAxisTitle);
    layout.x.titleTurned = StoredInt(prop::kXTitleRotation) == 2;
    layout.y.titleTurned = StoredInt(prop::kYTitleRotation) == 2;

    // The graph rectangle.
    auto geometry = [&](int id, int fallback) {
        return IsAuto(AutoFlagOf(id)) ? fallback : StoredInt(id);
    };
    layout.graph.left = geometry(prop::kGraphLeft, 0);
    layout.graph.top = geometry(prop::kGraphTop, 0);
    layout.graph.right =
        layout.graph.left + std::max(0, geometry(prop::kGraphWidth, width - layout.graph.left));
    layout.graph.bottom =
        layout.graph.top + std::max(0, geometry(prop::kGraphHeight, height - layout.graph.top));

    // Annotation along an axis of the given length.
    auto annotate = [&](ChartLayout::Axis& axis, bool isX, double length) {
        const bool horizontal = isX != layout.inverted;
        const int method = StoredInt(isX ? prop::kXAnnotation : prop::kYAnnotation);
        const int precision = StoredInt(isX ? prop::kXPrecision : prop::kYPrecision);
        axis.ticks.clear();
        axis.step = 0.0;
        if (method == kAnnotateValueLabels) {
            for (const ValueLabel& label :
                 GetValueLabels(isX ? prop::kXValueLabels : prop::kYValueLabels)) {
                if (Within(label.value, axis.min, axis.max))
                    axis.ticks.push_back({label.value, 0.0, label.text});
            }
        } else if (method == kAnnotatePointLabels && isX) {
            const std::vector<std::string> labels = GetTexts(prop::kPointLabels);
            const ChartData* data = m_data[0];
            for (std::size_t i = 0; i < labels.size(); ++i) {
                const int point = static_cast<int>(i);
                const double at = data && point < data->Capacity() ? data->X(0, point) : point;
                if (Within(at, axis.min, axis.max))
                    axis.ticks.push_back({at, 0.0, labels[i]});
            }
        } else {
            const double explicitStep =
                IsAuto(prop::kAutoBase + ((isX ? prop::kXStep : prop::kYStep) - prop::kDoubleBase))
                    ? 0.0
                    : StoredDouble(isX ? prop::kXStep : prop::kYStep);
            axis.ticks = ValueTicks(axis.min, axis.max, explicitStep, precision, length, horizontal,
                                    metrics, layout.font, axis.step);
        }
    };
    auto widest = [&](const ChartLayout::Axis& axis) {
        double w = 0.0;
        for (const ChartLayout::Tick& tick : axis.ticks)
            w = std::max(w, metrics.TextWidth(layout.font, tick.text));
        return w;
    };

    // Margins: the axis drawn down the left side and the one along the bottom.
    constexpr int kPad = 4;
    constexpr int kTick = 4;
    constexpr int kGap = 2;
    const double fh = layout.fontHeight;
    ChartLayout::Axis& leftAxis = layout.inverted ? layout.x : layout.y;
    ChartLayout::Axis& bottomAxis = layout.inverted ? layout.y : layout.x;
    annotate(leftAxis, layout.inverted,
             std::max(1, layout.graph.Height() - 3 * static_cast<int>(fh)));
    annotate(bottomAxis, !layout.inverted, std::max(1, layout.graph.Width() - 60));
    auto titleExtent = [&](const ChartLayout::Axis& axis, bool across) {
        if (axis.title.empty())
            return 0.0;
        const double extent =
            across == axis.titleTurned ? fh : metrics.TextWidth(layout.font, axis.title);
        return extent + kGap;
    };
    const int autoLeft = static_cast<int>(
        std::ceil(kPad + widest(leftAxis) + kGap + kTick + titleExtent(leftAxis, true)));
    const int autoBottom = static_cast<int>(
        std::ceil(kPad + kTick + kGap + fh + (bottomAxis.title.empty() ? 0.0 : fh + kGap)));
    const int autoTop = static_cast<int>(std::ceil(kPad + fh / 2.0));
    const int autoRight = static_cast<int>(std::ceil(kPad + widest(bottomAxis) / 2.0));
    const int leftMargin = geometry(prop::kLeftMargin, autoLeft);
    const int topMargin = geometry(prop::kTopMargin, autoTop);
    const int rightMargin = geometry(prop::kRightMargin, autoRight);
    const int bottomMargin = geometry(prop::kBottomMargin, autoBottom);
    layout.plot.left = layout.graph.left + leftMargin;
    layout.plot.top = layout.graph.top + topMargin;
    layout.plot.right = std::max(layout.plot.left, layout.graph.right - rightMargin);
    layout.plot.bottom = std::max(layout.plot.top, layout.graph.bottom - bottomMargin);

    // Final annotation for the plot's own size, then positions and grids.
    annotate(leftAxis, layout.inverted, std::max(1, layout.plot.Height()));
    annotate(bottomAxis, !layout.inverted, std::max(1, layout.plot.Width()));
    for (ChartLayout::Tick& tick : layout.x.ticks)
        tick.position = layout.XPosition(tick.value);
    for (ChartLayout::Tick& tick : layout.y.ticks)
        tick.position = layout.YPosition(tick.value);
    auto grid = [&](ChartLayout::Axis& axis, int autoId, int spacingId) {
        axis.grid.clear();
        if (IsAuto(autoId)) {
            for (const ChartLayout::Tick& tick : axis.ticks)
                axis.grid.push_back(tick.value);
        } else {
            axis.grid = SpacedValues(axis.min, axis.max, StoredDouble(spacingId));
        }
    };
    grid(layout.x, prop::kXGridAuto, prop::kXGridSpacing);
    grid(layout.y, prop::kYGridAuto, prop::kYGridSpacing);
    return layout;
}

ChartPoint Chart::DataToPixel(int set, double x, double y) const {
    const ChartData* data = GetData(set);
    const double hole = data ? data->Hole() : ChartData::kDefaultHole;
    if (x == hole || y == hole)
        return {-1, -1};
    const ChartLayout& layout = Layout();
    const double ylo = set == 2 ? layout.y2Min : layout.y.min;
    const double yhi = set == 2 ? layout.y2Max : layout.y.max;
    const ChartLayout::PointF p = layout.Map(x, y, set);
    int px = static_cast<int>(std::clamp(p.x, -1e9, 1e9));
    int py = static_cast<int>(std::clamp(p.y, -1e9, 1e9));
    const bool xOut = !Within(x, layout.x.min, layout.x.max);
    const bool yOut = !Within(y, ylo, yhi);
    if (layout.inverted) {
        if (xOut)
            py = -1;
        if (yOut)
            px = -1;
    } else {
        if (xOut)
            px = -1;
        if (yOut)
            py = -1;
    }
    return {px, py};
}

ChartLayout::PointF Chart::PixelToData(int set, int px, int py) const {
    const ChartData* data = GetData(set);
    const double hole = data ? data->Hole() : ChartData::kDefaultHole;
    const ChartLayout& layout = Layout();
    ChartLayout::PointF d = layout.Unmap(px, py, set);
    const ChartRect& plot = layout.plot;
    const bool insideH = px >= plot.left && px <= plot.right;
    const bool insideV = py >= plot.top && py <= plot.bottom;
    if (layout.inverted) {
        if (!insideV)
            d.x = hole;
        if (!insideH)
            d.y = hole;
    } else {
        if (!insideH)
            d.x = hole;
        if (!insideV)
            d.y = hole;
    }
    return d;
}

PickResult Chart::Pick(int set, int px, int py, int focus) const {
    PickResult result;
    const ChartLayout& layout = Layout();
    const ChartRect& plot = layout.plot;
    if (px >= plot.left && px <= plot.right && py >= plot.top && py <= plot.bottom)
        result.region = PickResult::kPlotArea;
    const ChartData* data = GetData(set);
    if (!data)
        return result;
    const double hole = data->Hole();
    const bool bars = layout.bars && set == 1;
    double best = 1e300;
    for (int s = 0; s < data->SeriesCount(); ++s) {
        for (int i = 0; i < data->Count(s); ++i) {
            const double x = data->X(s, i);
            const double y = data->Y(s, i);
            if (x == hole || y == hole)
                continue;
            double distance;
            if (bars) {
                const ChartLayout::RectF r = layout.BarRect(x, y, s);
                const double dx = px < r.left ? r.left - px : (px > r.right ? px - r.right : 0.0);
                const double dy = py < r.top ? r.top - py : (py > r.bottom ? py - r.bottom : 0.0);
                distance = focus == kPickX ? dx : focus == kPickY ? dy : std::hypot(dx, dy);
            } else {
                const ChartLayout::PointF p = layout.Map(x, y, set);
                const double dx = std::fabs(p.x - px);
                const double dy = std::fabs(p.y - py);
                distance = focus == kPickX ? dx : focus == kPickY ? dy : std::hypot(dx, dy);
            }
            if (distance < best) {
                best = distance;
                result.series = s;
                result.point = i;
            }
        }
    }
    if (result.series >= 0)
        result.distance = static_cast<int>(std::min(best + 0.5, static_cast<double>(INT_MAX)));
    return result;
}

} // namespace tvane::chart
