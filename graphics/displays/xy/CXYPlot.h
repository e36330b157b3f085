#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/CGraphMarker.h"
#include "graphics/CXrtGraph.h"
#include "graphics/GraphItemProps.h"
#include "graphics/IChartParent.h"
#include "scan/CLeastSquares.h"

class CXrtGraphData;

// The XY frame as its plot reports to it.
class IXYPlotParent : public IChartParent {
public:
    // The vertical marker line's x, or the horizontal line's y, changed.
    virtual void OnVertMarkerXValueChange() = 0;
    virtual void OnHorzMarkerYValueChange() = 0;
    // The least-squares fit changed.
    virtual void OnGainValueChange() = 0;
    virtual void OnOffsetValueChange() = 0;
    // A marker line was pressed: the display is selected.
    virtual void OnObjectSelect() = 0;
    // The plot looks different (a marker moved) and must be drawn again.
    virtual void OnPlotInvalidate() {}
};

// The XY plot: pairs of readings, the X channel against the Y channel, as the
// points of a ring that keeps the newest capacity points (oldest first, so
// connected points are joined in the order they came); the least-squares line
// through every pair received since the last clear; the axis ranges, fixed by
// the user or following the data; and a marker of one vertical and one
// horizontal line.
//
// Series 0 of the chart's first data set holds the points, series 1 the fit
// line (two points across the X axis, or one invisible point when off).
class CXYPlot : public CXrtGraph, private IMarkerWindow {
    DECLARE_SERIAL(CXYPlot)
public:
    static constexpr double kNoValue = 9.9e37;
    static constexpr int kDefaultCapacity = 100;
    // The maximum scans displayed that the Advanced page allows.
    static constexpr int kMinCapacity = 10;
    static constexpr int kMaxCapacity = 1000;
    static constexpr int kMaxPointSize = 8;
    static constexpr int kPointSeries = 0;
    static constexpr int kFitSeries = 1;
    // Library point styles of the shape names, in their order.
    static std::uint32_t StyleOfShape(int shapeIndex);

    // Axis bounds: effective (what the axes show) or kept (set by the user).
    struct Range {
        double minimum = 0.0;
        double maximum = 1.0;
        bool operator==(const Range&) const = default;
    };

    CXYPlot();
    ~CXYPlot() override;

    // A new display's plot; false when its data cannot be made (a window that
    // cannot be made throws, as the chart window base does).
    bool Create(IXYPlotParent& parent, const tvane::chart::ChartRect& rect,
                const tvane::chart::ChartFont* font);
    // After a load: the parked chart state is restored and the stored points
    // are shown again.
    bool Recreate(IXYPlotParent& parent, const tvane::chart::ChartRect& rect);

    // --- Points --------------------------------------------------------------
    // Adds pair i for i < count while both lists have one; a pair with a hole
    // on either side is skipped. False when either list is empty.
    bool AddPoints(int count, const double* xs, int nx, const double* ys, int ny);
    // Empties the ring, its extremes and the fit (before new channels or a run).
    void ClearPoints();
    // Empties the ring and its extremes; the fit stays.
    void ClearData();
    // A new capacity; all points are lost. False when the data cannot be made.
    bool SetCapacity(int capacity);
    int GetCapacity() const { return m_capacity; }
    int GetPointCount() const;
    double GetPointX(int index) const;
    double GetPointY(int index) const;
    // The extremes of the points held (kNoValue while none is held).
    double GetMinX() const { return m_minX; }
    double GetMaxX() const { return m_maxX; }
    double GetMinY() const { return m_minY; }
    double GetMaxY() const { return m_maxY; }
    void RecomputeExtremes();
    CXrtGraphData* GetPoints() const { return m_data.get(); }

    // --- Axes ------------------------------------------------------------------
    // True when the value differs from the effective one at 10 decimals; then
    // the kept and the effective bound take it.
    bool SetXMin(double value, bool apply);
    bool SetXMax(double value, bool apply);
    bool SetYMin(double value, bool apply);
    bool SetYMax(double value, bool apply);
    const Range& GetXRange() const { return m_x; }
    const Range& GetYRange() const { return m_y; }
    const Range& GetKeptXRange() const { return m_keptX; }
    const Range& GetKeptYRange() const { return m_keptY; }
    // Only the kept bounds (a channel chosen while autoscaling).
    void SetKeptXRange(const Range& range) { m_keptX = range; }
    void SetKeptYRange(const Range& range) { m_keptY = range; }
    bool SetXLabelPrecision(int decimals, bool apply);
    bool SetYLabelPrecision(int decimals, bool apply);
    // The effective ranges onto the axes, their labels, the grid, the marker
    // and the fit line.
    void ApplyAxisRange();
    // Scales the axes to the data extremes (with either autoscale flag) or
    // back to the kept ranges; false when nothing changed.
    bool Autoscale();
    bool IsAutoscaling() const { return m_autoscale; }
    void SetAutoscaling(bool on) { m_autoscale = on; }
    bool GetContinuousAutoscale() const { return m_continuous; }
    // Takes effect at once.
    void SetContinuousAutoscale(bool on);
    // The grid lines at the value labels.
    bool GetGrid() const { return m_origin; }
    void SetGrid(bool on);

    // --- Styles -------------------------------------------------------------------
    bool IsLineOn() const;
    void SetLineOn(bool on);
    // The shape (index of the shape names) and size of the points.
    void SetPointStyle(int shapeIndex, int size);
    const std::string& GetPointShapeName() const { return m_shapeName; }
    int GetPointSize() const { return static_cast<int>(m_pointSize); }
    std::uint32_t GetPointStyle() const { return m_pointStyle; }
    // The plotted items the Advanced page lists.
    std::vector<std::string> SeriesNames() const;

    // --- Least squares ---------------------------------------------------------------
    bool GetLeastSquares() const { return m_leastSquares; }
    void SetLeastSquares(bool on);
    void ResetLeastSquares();
    // The fit's slope and intercept; kNoValue while it is undefined.
    double GetGain() const;
    double GetOffset() const;
    const CLeastSquares& GetFit() const { return m_fit; }

    // --- Marker ---------------------------------------------------------------------
    CGraphMarker* GetMarker() const { return m_marker.get(); }
    bool IsMarkerVisible() const { return m_markerVisible; }
    void SetMarkerVisible(bool on);
    // The marker takes the plot area again and reads its values.
    void RefreshMarker();
    double GetMarkerX() const;
    double GetMarkerY() const;
    // The chart's plot area may have moved: the axes' value labels are made
    // again for its room and the marker is laid out after the next repaint.
    void PlotAreaMayHaveChanged();
    void ChartRepainted();
    // Mouse over the plot (window pixels). A press on a marker line selects
    // the display and starts its drag (true); elsewhere it is the frame's.
    int CursorAt(int x, int y);
    bool PressMarker(int x, int y);
    void DragMarker(int x, int y);
    bool ReleaseMarker(int x, int y);

    // --- Appearance (2 background, 8 axis and its font, 9 grid, 10 markers,
    // 11 data, 12 least squares, 14 and 15 the axis titles) -----------------------
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) const;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw);

    void Serialize(tvane::CArchive& ar) override;

private:
    // The plain chart's Create would leave the plot without its data sets and
    // markers; only the plot's own Create makes one.
    using CXrtGraph::Create;

    // IMarkerWindow
    void MarkerUpdate(int orientation, const tvane::chart::ChartRect& rect) override;
    void MarkerBoundHit(int) override {}
    void VertMarkerXValueChange(int number) override;
    void VertMarkerYValueChange(int) override {}
    void HorzMarkerYValueChange(int number) override;
    void InvalidateMarkerRect(const tvane::chart::ChartRect&) override;

    std::unique_ptr<CXrtGraphData> MakeData(int capacity) const;
    void AttachData();
    void MakeMarker();
    void SetupChart(const tvane::chart::ChartFont* font);
    void ApplyOrigin();
    void ShowFitLine();
    void HideFitLine();
    void ResetSeries();
    void ResetExtremes();
    void Widen(Range& range, double value) const;
    bool SetBound(double& effective, double& kept, double value, bool apply);
    void Changed();

    // Where the marker lines were last mapped from their values.
    struct MarkerPlace {
        tvane::chart::ChartRect area;
        Range x;
        Range y;
        bool operator==(const MarkerPlace&) const = default;
    };
    MarkerPlace CurrentPlace() const;

    IXYPlotParent* m_plotParent = nullptr;
    std::uint32_t m_seriesCount = 1;
    std::int32_t m_capacity = kDefaultCapacity;
    std::unique_ptr<CXrtGraphData> m_data;
    Range m_x;
    Range m_y;
    Range m_keptX;
    Range m_keptY;
    double m_minX = kNoValue;
    double m_maxX = kNoValue;
    double m_minY = kNoValue;
    double m_maxY = kNoValue;
    double m_reservedDouble = 0.01;
    bool m_origin = true;
    std::unique_ptr<CGraphMarker> m_marker;
    bool m_markerRefresh = false;
    std::optional<MarkerPlace> m_markerPlace;
    bool m_markerVisible = false;
    bool m_continuous = false;
    bool m_autoscale = false;
    bool m_leastSquares = false;
    CLeastSquares m_fit;
    std::uint32_t m_pointStyle = 6;
    std::uint32_t m_pointSize = 4;
    std::string m_shapeName;
};
