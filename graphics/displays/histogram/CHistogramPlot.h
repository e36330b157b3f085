#pragma once
#include <cstdint>
#include <memory>
#include <vector>

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

// The chart of a histogram: one channel's bins as bars of their share of all
// readings in percent, over the histogram's limits. It bins nothing itself:
// its frame hands it the bin table after every batch. It keeps the axis
// settings its pages edit, and shows the whole count of the bar under the
// mouse.
class CHistogramPlot : public CXrtGraph {
    DECLARE_SERIAL(CHistogramPlot)
public:
    static constexpr double kHole = 9.9e37;
    static constexpr std::int32_t kMaxBins = 100;

    CHistogramPlot();
    ~CHistogramPlot() override;

    // A new display's plot at rect of its frame; false when its data cannot
    // be made (a window that cannot be made throws, as the chart base does).
    bool Create(IChartParent& parent, const tvane::chart::ChartRect& rect,
                const tvane::chart::ChartFont& font);
    // After a load: the parked chart state is restored.
    bool Recreate(IChartParent& parent, const tvane::chart::ChartRect& rect);
    void InitChartAppearance(const tvane::chart::ChartFont& font);

    void ClearData();
    // The frame's bin table: series 0 the centres and percentages, series 1
    // the counts.
    bool SetBinData(int count, const tvane::chart::ChartData& table);

    // Axis ends; 9.9e37 is refused, and a value equal to the stored one at
    // ten decimals changes nothing (false).
    bool SetXMin(double value, bool apply);
    bool SetXMax(double value, bool apply);
    bool SetYMin(double value, bool apply);
    bool SetYMax(double value, bool apply);
    bool SetXPrecision(int decimals, bool apply);
    bool SetYPrecision(int decimals, bool apply);
    // A new data object of n points (1 to 100); the old one stays when it
    // cannot be made.
    bool SetBinCount(int n);
    void SetOrientation(int orientation);

    bool ApplyAxisRanges();
    void ApplyGrid();
    void LabelAxes();

    // The range records of the frame's channels.
    void SetRangeAt(int index);
    bool SelectRange(int index, const CChannelInfo& channel);
    void RemoveRangeAt(int index);
    const CRangeInfo* GetCurrentRange() const;

    // The bar under a point of the window (client pixels), or -1.
    int HitTestBin(int x, int y) const;
    // The mouse moved to a point: the bar under it is shown with its count.
    // False when the point has left the plotting area (the readout goes).
    bool MouseMove(int x, int y);
    // A right press: the readout goes before the frame sees the click.
    void RightButtonDown() { m_hoveredBin = -1; }
    // The mouse left the window.
    void MouseLeft() { m_hoveredBin = -1; }
    int GetHoveredBin() const { return m_hoveredBin; }
    // The readout's text ("%d" of the hovered bar's count) and where it is
    // drawn (bottom centre); empty without a hovered bar.
    std::string ReadoutText() const;
    tvane::chart::ChartPoint ReadoutPoint() const { return m_cursor; }

    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) const;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props);

    double GetXMin() const { return m_xLow; }
    double GetXMax() const { return m_xHigh; }
    double GetYMin() const { return m_yLow; }
    double GetYMax() const { return m_yHigh; }
    bool GetGrid() const { return m_grid != 0; }
    void SetGrid(bool on) { m_grid = on ? 1 : 0; }
    bool GetFrequencyFollow() const { return m_follow != 0; }
    void SetFrequencyFollow(bool on) { m_follow = on ? 1 : 0; }
    bool GetFrequencyFollowOnce() const { return m_followOnce != 0; }
    void SetFrequencyFollowOnce(bool on) { m_followOnce = on ? 1 : 0; }
    int GetOrientation() const { return m_orientation; }
    int GetBinCount() const { return m_binCount; }
    const std::vector<std::int32_t>& GetBinCounts() const { return m_binCounts; }
    CXrtGraphData* GetPlotData() const { return m_data.get(); }

    // The chart state, the settings, the counts, the data while the document
    // holds readings, the ranges. Loading rejects a bin count outside 1 to
    // 100, an orientation other than 0 or 1 and data that does not fit.
    void Serialize(tvane::CArchive& ar) override;

private:
    // The plain chart's Create would leave the plot without its data; only the
    // plot's own Create makes one.
    using CXrtGraph::Create;

    bool MakeData(int bins);
    void AttachData();

    std::int32_t m_setCount = 1;
    std::unique_ptr<CXrtGraphData> m_data;
    std::int32_t m_binCount = 10;
    double m_xLow = 0.0;
    double m_xHigh = 100.0;
    double m_yLow = 0.0;
    double m_yHigh = 100.0;
    std::int32_t m_grid = 1;
    std::int32_t m_followOnce = 0;
    std::int32_t m_follow = 0;
    int m_hoveredBin = -1;
    tvane::chart::ChartPoint m_cursor{0, 0};
    std::vector<std::int32_t> m_binCounts;
    int m_current = -1; // index of the current range, -1 none
    CRangeArray m_ranges;
    std::int32_t m_orientation = 1;
};
