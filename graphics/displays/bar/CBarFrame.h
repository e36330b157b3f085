#pragma once
#include <memory>

#include "graphics/CRegion.h"
#include "graphics/CXrtFrame.h"
#include "graphics/IChartParent.h"
#include "graphics/displays/bar/CBarPlot.h"

class CBarFrame;
class IGraphDC;

// The bar plot's window: placed by its frame, repainted on request.
class IBarPlotWindow : public IRegionWindow {
public:
    virtual void Redraw() = 0;
};

// Makes the bar meter's plot window inside its frame's window, and draws the
// plot into a drawing surface; the windows library registers the program's
// (displays::Windows<IBarWindows>).
class IBarWindows {
public:
    virtual ~IBarWindows() = default;
    // The returned window is also an IBarPlotWindow.
    virtual std::unique_ptr<IChartWindow> CreatePlotWindow(IGraphFrameWindow& frame, CBarPlot& plot,
                                                           tvane::chart::Chart& chart,
                                                           const GRect& rect) = 0;
    // The plot with its limit lines at its region's place in the frame's
    // client pixels (printing and the clipboard's picture).
    virtual bool DrawPlot(IGraphDC& dc, CBarFrame& frame) = 0;
};

// The bar meter display: the latest reading of one channel as a bar against
// its value axis, coloured by its alarm state, with the channel's alarm
// limits as lines across it. It draws every N scans (its update rate).
class CBarFrame : public CXrtFrame, public IChartParent {
    DECLARE_SERIAL(CBarFrame)
public:
    CBarFrame();
    ~CBarFrame() override;

    int GetHelpId(int page) const override;
    bool CreateFrame(CGraphView* parent) override;
    bool RecreateFrame(CGraphView* parent, int showCommand) override;
    bool EditProperties() override;
    void Redraw(bool erase) override;
    bool OnChannelChanged(int index, const CChannelInfo* info) override;
    void SetChannelAt(int index, const CChannelInfo* info) override;
    void RemoveChannelAt(int index) override;
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) override;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) override;
    bool DrawFrame(IGraphDC& dc, const GRect* rect) override;
    bool OnNewReadings(const HintObject& object) override;
    void OnScanState() override;
    // The region, two spare doubles and the plot. Loading rejects reading
    // data that is not one value of one channel.
    void Serialize(tvane::CArchive& ar) override;

    int GetOrientation() const { return m_plot ? m_plot->GetOrientation() : 1; }
    void SetOrientation(int orientation);
    CBarPlot* GetPlot() const { return m_plot.get(); }
    CRegion* GetPlotRegion() const { return m_region.get(); }
    IBarPlotWindow* GetPlotWindow() const { return m_plotWindow; }

    // IChartParent
    bool GetDocumentHasReadings() const override { return CGraphFrame::GetDocumentHasReadings(); }
    std::unique_ptr<IChartWindow> CreateChartWindow(tvane::chart::Chart& chart,
                                                    const tvane::chart::ChartRect& rect) override;

private:
    void DestroyPlot();
    bool MakeReadingBuffer();

    std::unique_ptr<CBarPlot> m_plot;
    std::unique_ptr<CRegion> m_region;
    double m_spare[2] = {0.0, 1.0};
    IBarPlotWindow* m_plotWindow = nullptr; // owned by the plot
};
