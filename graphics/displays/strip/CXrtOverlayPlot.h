#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/CGraphMarker.h"
#include "graphics/CXrtGraph.h"
#include "graphics/GraphItemProps.h"
#include "graphics/IChartParent.h"
#include "graphics/displays/strip/OverlayRange.h"

class CDatasetEvent;
class CXrtGraphData;

// The strip chart frame as its plot reports to it.
class IOverlayPlotParent : public IChartParent {
public:
    // The time window moved or changed its width.
    virtual void OnGraphTimeAxisChange(const CTimeAxisInfo& axis) = 0;
    // Auto-scaling proposes a new range for a slot.
    virtual void OnChnlRangeInfoChange(int slot, const OverlayRange& range) = 0;
    // A double click picked an alarm point or event mark.
    virtual void OnPositionEventLog(const CDatasetEvent& event) = 0;
    // A marker line was pressed: the display is selected.
    virtual void OnObjectSelect() = 0;
    virtual void OnVertMarkerXValueChange(int marker) = 0;
    virtual void OnVertMarkerYValueChange(int marker) = 0;
    virtual void OnMarkerBoundHit(int) {}
    // The plot looks different (markers moved) and must be drawn again.
    virtual void OnPlotInvalidate() {}
    // How much wider and taller the plot's window is while its frame is not
    // selected (a selected frame's border takes from it).
    virtual tvane::chart::ChartPoint RestingPlotGrowth() const { return {}; }
};

// The strip chart's plot: up to eight channel traces against time on one
// normalised vertical axis, each with its own scale and reference, their alarm
// readings as points, event marks and two vertical marker lines. Time runs
// left to right in a window of fixed width that follows the newest reading.
// The plot keeps at most its capacity of points per series; a full series
// drops its oldest points in place.
class CXrtOverlayPlot : public CXrtGraph, private IMarkerWindow {
    DECLARE_SERIAL(CXrtOverlayPlot)
public:
    static constexpr int kSlots = 8;
    static constexpr int kMarkSeries = 17;
    static constexpr int kEventSeries = 16;
    static constexpr double kNoValue = 9.9e37;
    static constexpr int kPickDistance = 6;
    // Point-style kinds.
    enum Kind { kData = 0, kEvent = 1, kLowAlarm = 2, kHighAlarm = 3 };
    // Trace modes.
    enum Mode { kPoints = 0, kLines = 1, kLinesAndPoints = 2 };

    // One slot's readings of a batch, in time order.
    struct SlotBatch {
        int count = 0;
        const double* times = nullptr;
        const double* values = nullptr;
    };

    CXrtOverlayPlot();
    ~CXrtOverlayPlot() override;

    // A new display's plot; false when a data set cannot be made (a window
    // that cannot be made throws, as the chart window base does).
    bool Create(IOverlayPlotParent& parent, const tvane::chart::ChartRect& rect,
                const tvane::chart::ChartFont* font);
    // After a load: the parked chart state is restored.
    bool Recreate(IOverlayPlotParent& parent, const tvane::chart::ChartRect& rect);

    void ClearData();
    bool AddReadings(int n, const SlotBatch* batch);
    // The alarm state (0 none, 1 low, 2 high) of each reading of a slot's next
    // batch, filled by the frame before AddReadings.
    std::vector<std::int32_t>& AlarmFlags(int slot) {
        return m_alarmFlags[static_cast<std::size_t>(slot)];
    }
    bool AddEventMark(double time);
    bool RemoveEventMark(double time);
    bool ResetRange(int slot);
    bool RemoveRange(int slot);
    bool SetChannel(int slot, const OverlayChannel& channel, std::int32_t colour);
    bool ChangeRangeInfo(int slot, const OverlayRange& range);
    bool SetTimeRange(const OverlayRange& range);
    void AutoScale(int slot);
    bool SetCapacity(int points);
    bool UpdateTimeAxis();
    void ApplyYGrid();

    // Styles.
    void SetDisplayMode(int mode);
    int GetDisplayMode() const { return m_traceMode; }
    static std::vector<std::string> SeriesKindNames();
    std::string GetPointStyleName(int kind) const;
    int GetPointSize(int kind) const;
    void SetPointStyle(int kind, int shapeIndex, int size);
    bool GetGrid() const { return m_grid; }
    void SetGrid(bool on) { m_grid = on; }
    std::int32_t GetEventColour() const { return m_eventColour; }
    void SetEventColour(std::int32_t colour);
    std::int32_t GetLowAlarmColour() const { return m_lowColour; }
    void SetLowAlarmColour(std::int32_t colour);
    std::int32_t GetHighAlarmColour() const { return m_highColour; }
    void SetHighAlarmColour(std::int32_t colour);
    // The colour of one trace; marker lines that follow it take it too.
    void SetTraceColour(int slot, std::int32_t colour);

    // Markers.
    CGraphMarker* GetMarker() const { return m_marker.get(); }
    bool GetMarkerValue(int marker, double& value, double& normalised) const;
    void ShowMarker(int marker, bool show);
    // The marker lines read their values again and report them.
    void UpdateMarkers() {
        if (m_marker)
            m_marker->UpdateMarkers(*this, false);
    }
    // The plot's appearance items (2 background, 5 and 6 the alarm colours,
    // 8 axis colour and font, 9 events, 10 grid, 13 the vertical axis title).
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) const;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw);
    void ColourMarker(int marker, std::int32_t colour);
    bool IsMarkerDrawingOn() const { return m_markerDrawing; }
    // The chart's plot area may have moved: the lines are laid out again after
    // the next repaint.
    void PlotAreaMayHaveChanged() { m_layoutPending = true; }
    void ChartRepainted();

    // Mouse over the plot (window pixels). A press on a marker line selects
    // the display and starts its drag (true); elsewhere it is the frame's.
    int CursorAt(int x, int y);
    bool PressMarker(int x, int y);
    void DragMarker(int x, int y);
    bool ReleaseMarker(int x, int y);
    // A double click: an alarm point or event mark within 6 pixels positions
    // the event log, while the document holds readings.
    bool PickMark(int x, int y);

    // The time window.
    const CTimeAxisInfo& GetTimeAxis() const { return m_axis; }
    void SetWindowEnd(double end);
    double GetTimeOrigin() const { return m_origin; }
    void SetTimeOrigin(double origin) { m_origin = origin; }
    const OverlayRange& GetTimeRange() const { return m_timeRange; }
    const std::optional<OverlayRange>& GetRange(int slot) const {
        return m_ranges[static_cast<std::size_t>(slot)];
    }
    int GetCapacity() const { return m_capacity; }
    double GetReservedDouble() const { return m_reservedDouble; }
    void SetReservedDouble(double value) { m_reservedDouble = value; }
    CXrtGraphData* GetTraces() const { return m_traces.get(); }
    CXrtGraphData* GetMarks() const { return m_marks.get(); }
    // The normalised value of a reading of the slot (holes stay holes).
    double Normalise(int slot, double value) const;

    void Serialize(tvane::CArchive& ar) override;

private:
    // The plain chart's Create would leave the overlay without its marker and
    // data sets; only the overlay's own Create makes one.
    using CXrtGraph::Create;

    // IMarkerWindow
    void MarkerUpdate(int orientation, const tvane::chart::ChartRect& rect) override;
    void MarkerBoundHit(int edge) override;
    void VertMarkerXValueChange(int number) override;
    void VertMarkerYValueChange(int number) override;
    void InvalidateMarkerRect(const tvane::chart::ChartRect&) override;

    // The marker lines follow the plot area proportionally from where they
    // were last placed, laid out in the area the plot has while its frame is
    // not selected: a border coming and going leaves them (and a stored
    // display's bytes) as they were. Their values are read again from the
    // pixels they land on.
    tvane::chart::ChartRect RestingPlotArea() const;
    std::vector<tvane::chart::ChartRect> LineRects() const;
    void KeepLinePlace(const tvane::chart::ChartRect& area);
    void LayOutLines(const tvane::chart::ChartRect& area);

    bool MakeDataSets();
    void AttachData();
    void ApplyChartSettings(bool first, const tvane::chart::ChartFont* font);
    void ApplyTraceMode();
    void MakeRoom(CXrtGraphData& set, int series, int k);
    void AppendPoint(CXrtGraphData& set, int series, double x, double y);
    void FastUpdate(int set, int series);
    void WidenXExtent(double low, double high);
    void RestyleMarks();

    IOverlayPlotParent* m_plotParent = nullptr;
    int m_slotCount = kSlots;
    double m_vSpan = 2.0;
    double m_vMax = 1.0;
    double m_vMin = -1.0;
    OverlayRange m_vRange;
    OverlayRange m_timeRange = OverlayRange::TimeDefault();
    std::array<std::optional<OverlayRange>, kSlots> m_ranges;
    std::int32_t m_capacity = 1000;
    double m_reservedDouble = 0.01;
    std::unique_ptr<CXrtGraphData> m_traces;
    std::unique_ptr<CXrtGraphData> m_marks;
    std::array<std::vector<std::int32_t>, kSlots> m_alarmFlags;
    std::unique_ptr<CGraphMarker> m_marker;
    bool m_layoutPending = false;
    struct LinePlace {
        tvane::chart::ChartRect area;                // where the lines were placed
        std::vector<tvane::chart::ChartRect> anchor; // the lines placed there
        tvane::chart::ChartRect laidArea;            // the area last laid out in
        std::vector<tvane::chart::ChartRect> laid;   // the lines laid out there
    };
    std::optional<LinePlace> m_linePlace;
    bool m_markerDrawing = false;
    std::uint32_t m_reservedFlag = 0;
    bool m_grid = true;
    std::int32_t m_traceMode = kLines;
    std::int32_t m_traceLine = 2;
    std::int32_t m_traceShape = 1;
    std::int32_t m_eventColour = 0xFFFFFF;
    std::int32_t m_lowColour = 0xFF0000;  // blue
    std::int32_t m_highColour = 0x0000FF; // red
    std::array<std::int32_t, 8> m_pointStyles = {2, 4, 4, 6, 2, 6, 2, 6};
    std::vector<std::string> m_pointStyleNames = {"Circle", "Triangle", "Diamond", "Diamond"};
    CTimeAxisInfo m_axis;
    double m_msPerSecond = 1000.0;
    double m_origin = 0.0;
    bool m_noDataStored = true;
};
