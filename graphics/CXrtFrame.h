#pragma once
#include <memory>

#include "graphics/CGraphFrame.h"
#include "platform/chart/ChartGeometry.h"

namespace tvane::chart {
class ChartData;
}

class CXrtGraphData;

// A frame's rectangles as the chart windows take them, and back.
inline tvane::chart::ChartRect ChartRectOf(const GRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}
inline GRect GRectOf(const tvane::chart::ChartRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

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
    std::unique_ptr<CXrtGraphData> m_pReadingData;
    // The chart handle of m_pReadingData's data; loading does not set it.
    tvane::chart::ChartData* m_hReadingData = nullptr;
};
