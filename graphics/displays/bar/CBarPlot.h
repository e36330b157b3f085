#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/CGraphMarker.h"
#include "graphics/CRangeInfo.h"
#include "graphics/CXrtGraph.h"
#include "graphics/GraphItemProps.h"
#include "graphics/IChartParent.h"

class CChannelInfo;
class CXrtGraphData;
namespace tvane::chart {
class ChartData;
struct ChartFont;
} // namespace tvane::chart

// The chart of a bar meter: the latest reading of one channel as one bar
// against a value axis, coloured by its alarm state, with the channel's alarm
// limits as lines across it.
class CBarPlot : public CXrtGraph {
    DECLARE_SERIAL(CBarPlot)
public:
    static constexpr double kNoValue = 9.9e37;
    static constexpr std::int32_t kNormalColour = 0x00FF00; // green
    static constexpr std::int32_t kLowColour = 0xFF0000;    // blue
    static constexpr std::int32_t kHighColour = 0x0000FF;   // red
    // The limit lines: 1 the high limit, 2 the low limit.
    static constexpr int kHighLine = 1;
    static constexpr int kLowLine = 2;
    enum Orientation { kHorizontal = 0, kVertical = 1 };
    // The alarm modes of the channel's alarm test: which limits colour the bar.
    enum AlarmMode { kNoLimits = 0, kLowOnly = 1, kHighOnly = 2, kBothLimits = 3 };
    static constexpr int kLabelLength = 19;

    CBarPlot();
    ~CBarPlot() override;

    // A new display's plot; false when its data or its lines cannot be made
    // (a window that cannot be made throws, as the chart base does).
    bool Create(IChartParent& parent, const tvane::chart::ChartRect& rect,
                const tvane::chart::ChartFont& font);
    // After a load: the parked chart state is restored.
    bool Recreate(IChartParent& parent, const tvane::chart::ChartRect& rect);

    void SetChannel(int index, const CChannelInfo& channel);
    void ChannelChanged(int index, const CChannelInfo& channel);
    void RemoveChannel(int index);
    // The readings of the frame's reading buffer: one set per bar, its newest
    // position and value. False (nothing drawn) for a count below 1.
    bool Update(int count, const tvane::chart::ChartData& readings);
    // The bar goes to value.
    void ClearData(double value = 0.0);
    // Axis, labels, grid and limit lines after a change of channel, range or
    // settings.
    void Refresh();
    void SetOrientation(int orientation);
    // The bar's colour by its value against the limits.
    void ColourBar(int bar = 0);

    // The value axis; the page sets both, then refreshes.
    void SetYMin(double value) { m_yMin = value; }
    void SetYMax(double value) { m_yMax = value; }
    double GetYMin() const { return m_yMin; }
    double GetYMax() const { return m_yMax; }
    bool GetGrid() const { return m_grid != 0; }
    void SetGrid(bool on) { m_grid = on ? 1 : 0; }
    void ApplyGrid() { ApplyValueGrid(m_grid != 0); }
    int GetOrientation() const { return m_orientation; }
    int GetAlarmMode() const { return m_alarmMode; }
    double GetLowLimit() const { return m_lowLimit; }
    double GetHighLimit() const { return m_highLimit; }
    std::int32_t GetCurrentColour() const { return m_currentColour; }
    std::int32_t GetNormalColour() const { return m_normalColour; }
    std::int32_t GetLowAlarmColour() const { return m_lowColour; }
    std::int32_t GetHighAlarmColour() const { return m_highColour; }
    bool IsDrawingEnabled() const { return m_drawing != 0; }
    CGraphMarker* GetLimitLines() const { return m_lines.get(); }
    bool IsLimitLineShown(int line) const;
    // The bar's value, or kNoValue without one.
    double GetValue() const;
    CXrtGraphData* GetPlotData() const { return m_data.get(); }
    const CRangeInfo* GetRange(int index) const;
    std::vector<std::string> BarLabels() const;

    // The chart window's plot area may have moved (size, margins, axes): the
    // limit lines are laid out again when it is next painted.
    void PlotAreaMayHaveChanged() { m_relayout = 1; }
    // The chart was painted: lines marked for it are laid out again.
    void ChartRepainted();

    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) const;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props);

    // The chart state, the axes and settings, the limit lines, the limits and
    // colours, the data while the document holds readings, the ranges.
    // Loading rejects a point count other than 1, axis ends and limits that
    // are no numbers, an unknown alarm mode or orientation, limit lines that
    // are not the two lines of the orientation, and data that does not fit.
    void Serialize(tvane::CArchive& ar) override;

private:
    // The plain chart's Create would leave the plot without its data and
    // lines; only the plot's own Create makes one.
    using CXrtGraph::Create;

    struct ChartRange {
        double minimum = 0.0;
        double maximum = 1.0;
    };

    bool MakeData();
    bool MakeLimitLines();
    void SyncLimitLines();
    void PlaceLimitLines();
    void ChartSetup(const tvane::chart::ChartFont& font);
    void TakeChannel(int index, const CChannelInfo& channel);
    void WriteLabels();
    void SetBarColour(std::int32_t colour);

    std::int32_t m_barCount = 1;
    std::unique_ptr<CXrtGraphData> m_data;
    std::int32_t m_pointCount = 1;
    double m_xMin = 0.0;
    double m_xMax = 1.0;
    double m_yMin = 0.0;
    double m_yMax = 1.0;
    std::int32_t m_precision = 2;
    std::int32_t m_grid = 0;
    std::unique_ptr<CGraphMarker> m_lines;
    std::int32_t m_relayout = 0;
    std::int32_t m_drawing = 0;
    std::int32_t m_normalColour = kNormalColour;
    std::int32_t m_lowColour = kLowColour;
    std::int32_t m_highColour = kHighColour;
    std::int32_t m_currentColour = kNormalColour;
    CRangeArray m_ranges;
    double m_lowLimit = -9.9e37;
    double m_highLimit = 9.9e37;
    bool m_lowShown = false;
    bool m_highShown = false;
    std::int32_t m_alarmMode = kNoLimits;
    std::int32_t m_orientation = kVertical;
};
