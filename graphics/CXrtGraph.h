#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "graphics/GraphItemProps.h"
#include "platform/archive/CObject.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartGeometry.h"
#include "platform/chart/ChartLayout.h"
#include "platform/chart/ChartStyle.h"

namespace tvane::chart {
class ChartData;
struct ChartFont;
} // namespace tvane::chart

class CXrtGraphData;
class IChartParent;
class IChartWindow;

// The chart window of every chart display, without the window: it owns the
// chart (the chart handle) while its window exists, maps between data and
// pixels, builds axis value labels, reaches the per-series styles, holds and
// releases repaints, and carries the whole chart configuration through the
// document as the chart state record. The plots of the displays derive from it.
//
// The chart state waits in a file of the chart state folder between loading a
// document and creating the window; the file is deleted once restored, and
// when the chart goes away without being restored.
class CXrtGraph : public tvane::CObject {
    DECLARE_SERIAL(CXrtGraph)
public:
    static constexpr double kHole = 9.9e37;
    // Source and lines that creation failures report.
    static constexpr const char* kSourceModule = "Xrtgraph";
    static constexpr int kCreateLine = 52;
    static constexpr int kRestoreLine = 69;
    // The most decimals an axis label is written with.
    static constexpr int kMaxDecimals = 15;

    CXrtGraph();
    ~CXrtGraph() override;
    CXrtGraph(const CXrtGraph&) = delete;
    CXrtGraph& operator=(const CXrtGraph&) = delete;

    // Window life. Create makes the chart and its window for a new display;
    // RestoreChartState does the same for a display loaded from a document and
    // then applies the chart state parked at load and deletes its file. Both
    // return 1 or throw CGraphException (Create Failed) naming this module.
    virtual int Create(IChartParent& parent, const tvane::chart::ChartRect& rect, int reserved = 0);
    virtual int RestoreChartState(IChartParent& parent, const tvane::chart::ChartRect& rect,
                                  int reserved = 0);
    // The window's destruction: the chart goes with it.
    void Destroy();
    // The chart handle; null while no chart exists.
    tvane::chart::Chart* GetChart() const { return m_chart.get(); }
    IChartParent* GetParent() const { return m_parent; }

    // Geometry and mapping.
    tvane::chart::ChartRect GetPlotArea() const;
    // Nothing happens for a hole. A value outside the axes is placed by linear
    // interpolation over the plot area (a zero-span axis maps to its middle).
    void DataToPixel(double x, double y, int set, tvane::chart::ChartPoint& point) const;
    // A pixel outside the plot area is mapped by the same interpolation.
    void PixelToData(int px, int py, tvane::chart::ChartLayout::PointF& result, int set) const;
    // The point of data set 1 or 2 nearest to the pixel; its region is
    // PickResult::kPlotArea (-100) for a pixel in the plot area.
    tvane::chart::PickResult Pick(int set, int px, int py, int focus) const;

    // Per-series styles: set 1 is the chart's first data set (property 0x500),
    // any other value the second (0x501); series -1 changes every series of the
    // set. A size of 0xFFFFFFFF (or no size) keeps the size.
    void SetSeriesStyle(int series, std::uint32_t shape, const std::uint32_t* size,
                        std::uint32_t pattern, int set);
    void SetSeriesPoint(int series, std::uint32_t shape, const std::uint32_t* size, int set);
    void SetSeriesLine(int series, std::uint32_t pattern, int set);
    void SetSeriesColor(int series, std::int32_t color, int set);
    std::uint32_t GetSeriesLine(int series, int set) const;
    std::int32_t GetSeriesColor(int series, int set) const;
    // The five point shape names, in index order ("Asterisk" .. "Triangle").
    void FillPointShapeList(std::vector<std::string>& list) const;
    const std::vector<std::string>& PointShapeNames() const { return m_shapeNames; }

    // The y at x in a series of the first data set; 0 (y the hole value) when
    // there is none.
    int GetValueAtX(int series, double x, double& y) const;
    // Value labels of one axis (0xF00 x, 0xF01 y) from minimum to maximum:
    // count -1 means 10 for x and 8 for y; centred nonzero puts them at the end
    // of each interval, zero in the middle. Labels that would overlap read " ".
    void SetValueLabels(int axis, double minimum, double maximum, int count, int centred);
    void ClearXValueLabels();
    // The value axis' annotation (0xF00 x, 0xF01 y) from minimum to maximum:
    // a label at each end and at every division between them (10 for x, 8
    // for y), in the axis' label decimals.
    void LabelValueAxis(int axis, double minimum, double maximum);
    // The grid of a bar chart's value axis: on, lines across at its
    // annotation; off, none.
    void ApplyValueGrid(bool on);
    // Room for n more points in a general series, dropping its oldest points:
    // 1 when they fit now, 0 for array data.
    int MakeRoom(CXrtGraphData* data, int n, int series);
    // Process-wide repaint hold: false holds, true releases (paired).
    void SetRepaint(bool enable);
    // Holds the repaint while it lives; a null chart window holds nothing.
    class RepaintHold {
    public:
        explicit RepaintHold(CXrtGraph* graph) : m_graph(graph) {
            if (m_graph)
                m_graph->SetRepaint(false);
        }
        ~RepaintHold() {
            if (m_graph)
                m_graph->SetRepaint(true);
        }
        RepaintHold(const RepaintHold&) = delete;
        RepaintHold& operator=(const RepaintHold&) = delete;

    private:
        CXrtGraph* m_graph;
    };

    // The Appearance page's items that every chart has: the chart's
    // background, the axes' colour and font, the grid's colour and the two
    // axis titles. Get fills what the record asks for and answers whether the
    // item has all of it; Set applies what the record gives.
    enum class ChartItem { kBackground, kAxis, kGrid, kXTitle, kYTitle };
    bool GetChartItem(ChartItem item, GRAPHITEMPROPS& props) const;
    bool SetChartItem(ChartItem item, const GRAPHITEMPROPS& props);
    // A colour item of a display's own: its name and colour.
    static bool GetColourItem(const char* name, std::int32_t colour, GRAPHITEMPROPS& props);

    // The chart properties, one operation each.
    tvane::chart::ChartData* GetData1() const;
    tvane::chart::ChartData* GetData2() const;
    std::vector<tvane::chart::ChartStyle> GetStyles1() const;
    void SetStyles1(const std::vector<tvane::chart::ChartStyle>& styles);
    std::vector<tvane::chart::ChartStyle> GetStyles2() const;
    void SetStyles2(const std::vector<tvane::chart::ChartStyle>& styles);
    void SetNthStyle1(int series, const tvane::chart::ChartStyle& style);
    void SetNthStyle2(int series, const tvane::chart::ChartStyle& style);
    std::int16_t GetChartWidth() const;
    std::int16_t GetChartHeight() const;
    std::int32_t GetChartLeft() const;
    std::int32_t GetChartTop() const;
    std::int32_t GetXPrecision() const;
    std::int32_t GetYPrecision() const;
    bool IsInverted() const;
    std::int16_t GetBottomMargin() const;
    std::int16_t GetLeftMargin() const;
    std::int16_t GetRightMargin() const;
    std::int16_t GetTopMargin() const;
    bool GetRepaint() const;

    std::int32_t GetBackgroundColor() const;
    void SetBackgroundColor(std::int32_t color);
    std::int32_t GetAxisColor() const;
    void SetAxisColor(std::int32_t color);
    void SetData(tvane::chart::ChartData* data);
    std::int32_t GetGridColor() const;
    void SetGridColor(std::int32_t color);
    std::vector<tvane::chart::ChartStyle> GetDataStyles() const { return GetStyles1(); }
    void SetDataStyles(const std::vector<tvane::chart::ChartStyle>& styles) { SetStyles1(styles); }
    tvane::chart::ChartFont GetAxisFont() const;
    void SetAxisFont(const tvane::chart::ChartFont& font);
    // All four text fonts to one font.
    void SetFonts(const tvane::chart::ChartFont& font);
    std::int32_t GetPrecision() const { return GetYPrecision(); }
    void SetPrecision(std::int32_t decimals);
    std::string GetXAxisTitle() const;
    void SetXAxisTitle(const std::string& title);
    std::string GetYAxisTitle() const;
    void SetYAxisTitle(const std::string& title);
    void SetPointLabels(const std::vector<std::string>& labels);
    void SetInverted(bool inverted);
    void SetChartType(std::int32_t type);
    double GetAxisMin() const;
    void SetAxisMin(double value);
    double GetAxisMax() const;
    void SetAxisMax(double value);
    // Array data: the set's values changed (its point count given).
    void FastUpdate(int set, int count);

    // The no-readings flag: 1 when the document had no readings at the last store.
    std::int32_t GetNoReadingsFlag() const { return m_noReadings; }
    // The parked state's file while one waits (empty otherwise).
    const std::filesystem::path& GetStateFileName() const { return m_stateFile; }

    // The flag and the chart state record, as the document stores them; the
    // plots run it first in their own Serialize.
    void Serialize(tvane::CArchive& ar) override;
    void SerializeChart(tvane::CArchive& ar) { CXrtGraph::Serialize(ar); }
    // The chart state record into a new file, and back into the chart.
    int WriteChartState(const std::filesystem::path& file) const;
    int ReadChartState(const std::filesystem::path& file, int ignored = 0);
    static void SerializeStyleRecord(tvane::CArchive& ar, tvane::chart::ChartStyle& style);

protected:
    // Creates the chart and asks the parent for its window; false when either
    // cannot be made.
    bool CreateChart(IChartParent& parent, const tvane::chart::ChartRect& rect);

private:
    void DeleteStateFile();
    // Labels at values along an axis; those that would overlap their
    // neighbours read " ".
    void PlaceValueLabels(int axis, const std::vector<double>& values, int intervals);

    // The window shows the chart, so it goes first.
    std::unique_ptr<tvane::chart::Chart> m_chart;
    std::unique_ptr<IChartWindow> m_window;
    IChartParent* m_parent = nullptr;
    std::filesystem::path m_stateFile;
    std::int32_t m_noReadings = 1;
    std::vector<std::string> m_shapeNames;
};
