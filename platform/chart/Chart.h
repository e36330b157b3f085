#pragma once
#include <climits>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/chart/ChartGeometry.h"
#include "platform/chart/ChartLayout.h"
#include "platform/chart/ChartValue.h"

namespace tvane::chart {

class ChartData;
class IChartListener;
class ITextMetrics;

// What a pick found: where the pixel lies, and the nearest point of the data set.
struct PickResult {
    static constexpr int kPlotArea = -100; // the pixel lies in the plot area
    static constexpr int kOutside = -1;

    int region = kOutside;
    int series = -1;
    int point = -1;
    int distance = INT_MAX; // pixels
};

// One chart: its numbered properties, the data sets it shows (not owned), its
// geometry at the window's size, mapping between data and pixels, and picking.
// Drawing is the renderer's business; this class has no drawing of its own.
class Chart {
public:
    // Pick focus: which distance counts.
    enum PickFocus { kPickX = 1, kPickY = 2, kPickXY = 3 };

    Chart();
    ~Chart();
    Chart(const Chart&) = delete;
    Chart& operator=(const Chart&) = delete;

    // Properties. Setting several at once gives one change notice. Numbers are
    // converted to the property's type (a double property set from an integer
    // and so on); the 16-bit properties keep the low 16 bits, sign-extended.
    // A property never set reads as its default; one the engine does not
    // interpret reads back as it was set.
    void SetValue(int id, ChartValue value);
    void SetValues(std::initializer_list<std::pair<int, ChartValue>> values);
    void SetValues(const std::vector<std::pair<int, ChartValue>>& values);
    // Auto values (axis bounds, geometry) read as the engine computes them.
    ChartValue GetValue(int id) const;

    std::int32_t GetInt(int id) const;
    double GetDouble(int id) const;
    std::string GetText(int id) const;
    ChartFont GetFont(int id) const;
    ChartStyle GetStyle(int id) const;
    std::vector<ChartStyle> GetStyles(int id) const;
    std::vector<std::string> GetTexts(int id) const;
    std::vector<ValueLabel> GetValueLabels(int id) const;
    void SetInt(int id, std::int32_t value) { SetValue(id, value); }
    void SetDouble(int id, double value) { SetValue(id, value); }
    void SetText(int id, std::string text) { SetValue(id, std::move(text)); }
    void SetFont(int id, const ChartFont& font) { SetValue(id, font); }

    // The style of one series of data set 1 or 2 (the lists grow with defaults).
    void SetNthStyle(int set, int series, const ChartStyle& style);
    ChartStyle GetNthStyle(int set, int series) const;

    // Data set 1 or 2. Attaching data gives every series that has no style yet
    // a default one.
    void SetData(int set, ChartData* data);
    ChartData* GetData(int set) const;

    // The points of a series changed: the last count points were written
    // (array data: the series is not looked at). The chart repaints; nothing
    // else is recomputed or copied, whatever the size of the data.
    void FastUpdate(int set, int series, int count);
    // Points were changed in some other way.
    void DataChanged();

    // Process-wide repaint hold shared by every chart: disabling adds one hold,
    // enabling takes one away. The first hold switches this chart's repaint
    // property off, taking the last one away switches it on again. Enabling
    // without a hold open changes nothing.
    void SetRepaint(bool enable);
    static int RepaintHoldDepth();

    // The window the chart is shown in.
    void SetWindowSize(int width, int height);
    int WindowWidth() const { return m_width; }
    int WindowHeight() const { return m_height; }
    void SetListener(IChartListener* listener) { m_listener = listener; }
    // Measures texts for the geometry; null returns to the approximate sizes.
    void SetTextMetrics(const ITextMetrics* metrics);
    const ITextMetrics& TextMetrics() const;

    // Geometry at the window size.
    const ChartLayout& Layout() const;
    // Geometry for another size and text measure (printing, pictures).
    ChartLayout ComputeLayout(int width, int height, const ITextMetrics& metrics) const;
    ChartRect PlotArea() const { return Layout().plot; }

    // Data (of set 1 or 2) to window pixels, truncated; a coordinate whose
    // value lies outside its axis comes back as -1. Holes give (-1, -1).
    ChartPoint DataToPixel(int set, double x, double y) const;
    // Window pixels to data; a coordinate outside the plot area comes back as
    // the hole value.
    ChartLayout::PointF PixelToData(int set, int px, int py) const;
    // The point of data set 1 or 2 nearest to the pixel.
    PickResult Pick(int set, int px, int py, int focus = kPickXY) const;

    // Increments with every property change (not with data writes).
    std::uint64_t PropertyVersion() const { return m_propertyVersion; }

private:
    struct Extent {
        double xmin, xmax, ymin, ymax;
        bool valid;
    };

    const ChartValue* Stored(int id) const;
    void Store(int id, ChartValue value);
    void Changed();
    bool IsAuto(int flagId) const;
    std::int32_t StoredInt(int id) const;
    double StoredDouble(int id) const;
    Extent DataExtent() const;
    ChartValue AutoValue(int id) const;

    std::map<int, ChartValue> m_values;
    ChartData* m_data[2] = {nullptr, nullptr};
    IChartListener* m_listener = nullptr;
    const ITextMetrics* m_metrics = nullptr;
    int m_width = 400;
    int m_height = 300;
    bool m_pendingRepaint = false;
    std::uint64_t m_propertyVersion = 0;

    struct LayoutKey {
        std::uint64_t properties = ~std::uint64_t{0};
        std::uint64_t data[2] = {0, 0};
        const ChartData* dataObjects[2] = {nullptr, nullptr};
        int width = -1;
        int height = -1;
        const ITextMetrics* metrics = nullptr;
        bool operator==(const LayoutKey&) const = default;
    };
    mutable LayoutKey m_layoutKey;
    mutable ChartLayout m_layout;
};

} // namespace tvane::chart
