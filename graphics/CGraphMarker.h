#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/archive/CObject.h"
#include "platform/chart/ChartGeometry.h"

class CXrtGraph;

// The chart window the marker lines lie over, as the lines report to it.
class IMarkerWindow {
public:
    virtual ~IMarkerWindow() = default;
    // A line moved (orientation 1 vertical, 2 horizontal) to rect.
    virtual void MarkerUpdate(int orientation, const tvane::chart::ChartRect& rect) = 0;
    // A dragged line reached an edge of its bounds: 0 top, 1 left, 2 bottom, 3 right.
    virtual void MarkerBoundHit(int edge) = 0;
    // The readouts of the first two vertical (horizontal) lines changed.
    virtual void VertMarkerXValueChange(int number) = 0;
    virtual void VertMarkerYValueChange(int number) = 0;
    virtual void HorzMarkerXValueChange(int) {}
    virtual void HorzMarkerYValueChange(int) {}
    // The area must be drawn again.
    virtual void InvalidateMarkerRect(const tvane::chart::ChartRect&) {}
};

// Cursor codes of the marker lines: the system's sizing cursors, or a cursor
// resource of the program (a positive id).
enum MarkerCursor : int {
    kCursorNone = 0,
    kCursorSizeWE = -1,
    kCursorSizeNS = -2,
    kCursorSizeAll = -3
};

// A movable line in window pixels: its pen, bounds and hit band.
class CMarker : public tvane::CObject {
    DECLARE_SERIAL(CMarker)
public:
    enum Style : std::uint32_t { kVertical = 1, kHorizontal = 2, kVisible = 4 };
    static constexpr std::int32_t kDefaultColour = 0xC8C800; // (0, 200, 200)

    CMarker() = default;

    virtual bool Create(const tvane::chart::ChartRect& rect, std::uint32_t style);
    virtual bool Reattach();
    void NotifyMoved(IMarkerWindow& window, const tvane::chart::ChartRect& rect) const;
    // The line's rectangle grown by 2 pixels on each side (what to repaint).
    virtual tvane::chart::ChartRect GetLineRect() const;
    virtual void SetBounds(const tvane::chart::ChartRect& rect);
    virtual void SetColour(std::int32_t colour);
    bool HitTest(int x, int y) const;
    void Show(IMarkerWindow* window, bool show);
    void MoveLineTo(int x, int y);

    bool IsVertical() const { return (m_style & kVertical) != 0; }
    bool IsVisible() const { return m_visible; }
    bool IsDragging() const { return m_dragging; }
    std::int32_t GetColour() const { return m_colour; }
    int GetPenWidth() const { return m_penWidth; }
    void SetPenWidth(int width) { m_penWidth = width; }
    int GetTolerance() const { return m_tolerance; }
    int GetCursor() const { return m_cursor; }
    void SetCursor(int cursor) { m_cursor = cursor; }
    const tvane::chart::ChartRect& Line() const { return m_line; }

    void Serialize(tvane::CArchive& ar) override;

    // The drag's steps (the owner of the lines runs them).
    void DragStep(int x, int y, bool release, IMarkerWindow* window);
    void EndDrag();

protected:
    int m_cursor = kCursorNone;
    std::int32_t m_tolerance = 2;
    std::int32_t m_penStyle = 0; // solid
    std::int32_t m_penWidth = 1;
    std::int32_t m_penWidthY = 0;
    std::int32_t m_colour = kDefaultColour;
    std::uint32_t m_style = 0;
    tvane::chart::ChartRect m_line;
    tvane::chart::ChartRect m_previous;
    bool m_visible = false;
    bool m_released = false;
    bool m_reserved = false;
    bool m_drawn = true;
    bool m_dragging = false;
    bool m_tickWhileDragging = false;
    bool m_tickShown = false;
};

// A marker line tied to a chart's data coordinates: a vertical line reads its
// x and the value of the trace it follows there.
class CXrtMarker : public CMarker {
    DECLARE_SERIAL(CXrtMarker)
public:
    static constexpr double kNoValue = 9.9e37;

    CXrtMarker() = default;

    void SetChart(CXrtGraph* chart) { m_chart = chart; }
    bool Reattach() override;
    tvane::chart::ChartRect GetLineRect() const override;
    void SetBounds(const tvane::chart::ChartRect& rect) override;

    void UpdateValue(bool noSeries);
    // Puts the line at a data point, across the whole plot area (a vertical
    // line of a chart with swapped axes stands at the point's y).
    void SetDataPosition(double x, double y);
    // Maps the stored values back to pixels and keeps the line in bounds.
    void Relayout(const tvane::chart::ChartRect& bounds);

    int GetFollowedSeries() const { return m_series; }
    void SetFollowedSeries(int series) { m_series = series; }
    double GetXValue() const { return m_x; }
    double GetYValue() const { return m_y; }
    bool TickShown() const { return m_tickShown; }
    int TickHalfWidth() const { return m_tickHalfWidth; }
    void SetTickWhileDragging(bool on) { m_tickWhileDragging = on; }

    void Serialize(tvane::CArchive& ar) override;

private:
    CXrtGraph* m_chart = nullptr;
    std::int32_t m_series = -1;
    double m_x = kNoValue;
    double m_y = kNoValue;
    tvane::chart::ChartRect m_saved;
    std::int32_t m_tickHalfWidth = 5;
};

// The marker lines of one chart window: vertical lines first, numbered from 1
// within their orientation. Dragging is a press, moves and a release handed
// in by the window; the lines report every move to the window as it happens.
class CGraphMarker : public tvane::CObject {
    DECLARE_SERIAL(CGraphMarker)
public:
    CGraphMarker() = default;
    ~CGraphMarker() override;

    bool Create(CXrtGraph* chart, const tvane::chart::ChartRect& rect, int horizontal, int vertical,
                std::uint32_t flags);
    void Reattach(CXrtGraph* chart);
    void SetCursor(int n, int resource);
    void LayoutEvenly(const tvane::chart::ChartRect& rect);
    void Relayout(const tvane::chart::ChartRect& bounds);
    void UpdateMarkers(IMarkerWindow& window, bool noSeries);
    // The cursor over the point (client area), or kCursorNone.
    int CursorAt(int x, int y);
    void Move(const tvane::chart::ChartRect* vertical, const tvane::chart::ChartRect* horizontal);
    bool HitTest(int x, int y);

    // The drag: Press after a successful HitTest; every Move and the Release
    // move the hit lines. Release ends it and answers whether the mouse moved.
    bool BeginTrack(const tvane::chart::ChartRect* clip);
    void TrackMove(int x, int y, IMarkerWindow& window);
    bool TrackRelease(int x, int y, IMarkerWindow& window);
    bool IsTracking() const { return m_tracking; }

    void SetLineColour(int index, std::int32_t colour);
    std::int32_t GetLineColour(int index) const;
    void SetPenWidth(int index, int width);
    void FollowSeries(int n, int series, bool vertical = true);
    // False when the n-th vertical line follows no series.
    bool GetFollowedSeries(int n, int& series) const;
    bool IsVisible(int n, bool vertical = true) const;
    void Show(int n, IMarkerWindow* window, bool show, bool vertical = true);
    void Recolour(int n, IMarkerWindow* window, std::int32_t colour);
    double GetXValue(int n, bool vertical = true) const;
    double GetYValue(int n, bool vertical = true) const;
    bool AnyVisible() const;
    void SetTickWhileDragging(bool on);
    void Place(int n, double x, double y);
    void PlaceAll();

    // The lines, for drawing.
    int Count() const { return static_cast<int>(m_lines.size()); }
    const CXrtMarker& LineAt(int index) const { return *m_lines[static_cast<std::size_t>(index)]; }
    CXrtMarker& LineAt(int index) { return *m_lines[static_cast<std::size_t>(index)]; }
    CXrtMarker* Vertical(int n) const { return Nth(n, true); }

    void Serialize(tvane::CArchive& ar) override;

private:
    CXrtMarker* Nth(int n, bool vertical) const;
    CXrtMarker* AtIndex(int index) const;
    void Step(int x, int y, bool release, IMarkerWindow& window);

    std::vector<std::unique_ptr<CXrtMarker>> m_lines;
    std::vector<CXrtMarker*> m_hits;
    bool m_tracking = false;
    bool m_moved = false;
    bool m_hasClip = false;
    tvane::chart::ChartRect m_clip;
};
