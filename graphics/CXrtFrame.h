#pragma once
#include <memory>

#include "graphics/CGraphFrame.h"
#include "graphics/CRegion.h"
#include "graphics/IChartWindow.h"
#include "platform/chart/ChartGeometry.h"

namespace tvane::chart {
class Chart;
class ChartData;
} // namespace tvane::chart

class CXrtGraphData;

// A frame's rectangles as the chart windows take them, and back.
inline tvane::chart::ChartRect ChartRectOf(const GRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}
inline GRect GRectOf(const tvane::chart::ChartRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// A chart display's child window (plot or control panel): placed by its
// frame, repainted on request.
class IChartChildWindow : public IRegionWindow {
public:
    virtual void Redraw() = 0;
    // The window's rectangle in the frame's client pixels.
    virtual GRect GetRectInFrame() const = 0;
};

// The common base of the display frames drawn as charts (bar, XY, histogram,
// strip chart): a chart data object owned by the frame, which each display
// fills with its own readings or bins, stored with the frame while the document
// holds readings.
class CXrtFrame : public CGraphFrame {
    DECLARE_DYNAMIC(CXrtFrame)
public:
    static constexpr const char* kSourceFile = "Xrtfrm";
    static constexpr int kSerializeLine = 85;

    CXrtFrame();
    ~CXrtFrame() override;

    // The base frame's creation; the displays then make their plot window and
    // their reading data.
    bool CreateFrame(CGraphView* parent) override;
    bool RecreateFrame(CGraphView* parent, int id) override;
    // Printing draws what the clipboard's picture shows.
    int Print(IGraphDC& dc) override;
    // A run (or a reload) that starts clears what the display shows.
    bool OnEventHint(const HintObject& object) override;
    // The base frame's part, then the reading data (class tag and object)
    // unless the no-readings flag is set. A failure is shown to the user and
    // then passed on, so that a document never stores or loads half a frame.
    void Serialize(tvane::CArchive& ar) override;

    // The update rate's gate: n more scans came for the display. True, and
    // the count of scans since the last update back to 0, when the display
    // is due to draw: after every update rate scans during a run, at once
    // while the document shows stored readings.
    bool TakeScans(int n);

    // After the base frame's part was loaded: its channel slots, the scans it
    // keeps and its update rate (1 to 5000, as the pages offer it) are the
    // display's own.
    bool HasOwnShape(std::int32_t channels, std::int32_t retain) const;

    CXrtGraphData* GetReadingData() const { return m_pReadingData.get(); }
    // The displays make their reading data and cache its handle.
    void SetReadingData(std::unique_ptr<CXrtGraphData> data);
    tvane::chart::ChartData* GetReadingHandle() const { return m_hReadingData; }
    void SetReadingHandle(tvane::chart::ChartData* handle) { m_hReadingData = handle; }

protected:
    // The property sheet the display registered for its command.
    bool EditOwnSheet(int displayType);
    // Loading stops with the archive's error; nothing of the frame is used.
    [[noreturn]] static void RejectLoad(const char* what);
    // The plot's window from the display's window maker; child keeps it
    // (the plot owns it). Null while the frame has no window or plot.
    template <class Child, class Windows, class Plot>
    std::unique_ptr<IChartWindow>
    MakeChartWindow(Windows* windows, Plot* plot, tvane::chart::Chart& chart,
                    const tvane::chart::ChartRect& rect, Child*& child) {
        if (!windows || !m_window || !plot)
            return nullptr;
        auto window = windows->CreatePlotWindow(*m_window, *plot, chart, GRectOf(rect));
        child = dynamic_cast<Child*>(window.get());
        return window;
    }
    // The base frame's drawing and the children's; true when either drew.
    template <class DrawChildren>
    bool DrawFrameAnd(IGraphDC& dc, const GRect* rect, DrawChildren drawChildren) {
        const bool base = CGraphFrame::DrawFrame(dc, rect);
        const bool children = drawChildren();
        return base || children;
    }
    // The base frame's setting, then the display's own; a repaint follows.
    template <class SetOwn>
    bool SetAppearanceAnd(int item, const GRAPHITEMPROPS& props, bool repaint, SetOwn setOwn) {
        const bool base = CGraphFrame::SetAppearanceItem(item, props, repaint);
        const bool own = setOwn();
        if (repaint)
            Redraw(true);
        return base || own;
    }

    std::unique_ptr<CXrtGraphData> m_pReadingData;
    // The chart handle of m_pReadingData's data; loading does not set it.
    tvane::chart::ChartData* m_hReadingData = nullptr;
};
