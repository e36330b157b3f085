#pragma once
#include <memory>
#include <vector>

#include "graphics/CRegion.h"
#include "graphics/CXrtFrame.h"
#include "graphics/IChartParent.h"
#include "graphics/displays/histogram/CHistogramCtrlPanel.h"
#include "graphics/displays/histogram/CHistogramPlot.h"
#include "graphics/displays/histogram/CHistogramStats.h"
#include "graphics/displays/histogram/HistogramBins.h"

class CHistogramFrame;
class IGraphDC;

// A child window of the histogram frame.
using IHistogramChildWindow = IChartChildWindow;

// The control panel's window: its height is its bar's.
class IHistogramPanelWindow : public IHistogramChildWindow {
public:
    virtual int Height() const = 0;
};

// Makes the histogram's child windows inside its frame's window, and draws
// them into a drawing surface; the windows library registers the program's
// (displays::Windows<IHistogramWindows>).
class IHistogramWindows {
public:
    virtual ~IHistogramWindows() = default;
    // The returned window is also an IHistogramChildWindow.
    virtual std::unique_ptr<IChartWindow> CreatePlotWindow(IGraphFrameWindow& frame,
                                                           CHistogramPlot& plot,
                                                           tvane::chart::Chart& chart,
                                                           const GRect& rect) = 0;
    // Null when the window cannot be made.
    virtual std::unique_ptr<IHistogramPanelWindow>
    CreatePanelWindow(IGraphFrameWindow& frame, CHistogramCtrlPanel& panel, const GRect& rect) = 0;
    // The plot at the plot region's place and the panel at its own, in the
    // frame's client pixels (printing and the clipboard's picture).
    virtual bool DrawChildren(IGraphDC& dc, CHistogramFrame& frame) = 0;
};

// The histogram display: how the readings of one channel fall into equal bins
// between a low and a high limit, in percent of all readings received, with
// the running statistics of the binned ones in a control panel along the
// bottom. The frame bins and counts; its plot draws the bins.
class CHistogramFrame : public CXrtFrame, public IChartParent, public IHistogramPanelParent {
    DECLARE_SERIAL(CHistogramFrame)
public:
    static constexpr const char* kPanelSource = "Histctrl";
    static constexpr int kPanelCreateLine = 92;
    // The scans the document keeps for a histogram's refresh.
    static constexpr std::int32_t kRetainScans = 2000;

    CHistogramFrame();
    ~CHistogramFrame() override;

    int GetHelpId(int page) const override;
    GRect GetDataRect() const override;
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
    void OnSize(bool changed = true) override;
    void Serialize(tvane::CArchive& ar) override;
    // The document sends its readings again to fill bins just emptied (or
    // never filled). Bins that hold counts, binned here or stored with the
    // display, already count those readings: a refresh would count them twice
    // and is left out.
    void RequestRefresh() override;

    // Empties the bins and the statistics; the bins are laid out again over
    // the limits.
    void ResetHistogram();
    // The pages' setters: a value equal to the stored one at ten decimals (or
    // an unchanged count) changes nothing and answers false. A change empties
    // the histogram, whose bins then no longer fit its readings; with refresh
    // the document sends this frame its readings again.
    bool SetLowLimit(double value, bool refresh);
    bool SetHighLimit(double value, bool refresh);
    bool SetBinCount(int n, bool refresh);
    int GetOrientation() const { return m_plot ? m_plot->GetOrientation() : 1; }
    void SetOrientation(int orientation);
    bool GetFrequencyFollow() const { return m_plot && m_plot->GetFrequencyFollow(); }
    void SetFrequencyFollow(bool on);

    double GetLowLimit() const { return m_bins.m_low; }
    double GetHighLimit() const { return m_bins.m_high; }
    int GetBinCount() const { return m_bins.m_binCount; }
    const HistogramBins& GetBins() const { return m_bins; }
    CHistogramPlot* GetPlot() const { return m_plot.get(); }
    CHistogramCtrlPanel* GetPanel() const { return m_panel.get(); }
    CHistogramStats* GetStats() const { return m_stats.get(); }
    CRegion* GetPlotRegion() const { return m_plotRegion.get(); }
    IHistogramChildWindow* GetPlotWindow() const { return m_plotWindow; }
    IHistogramPanelWindow* GetPanelWindow() const { return m_panelWindow.get(); }
    // The panel's place at the bottom of the data area.
    GRect PanelRect() const;

    // IChartParent
    bool GetDocumentHasReadings() const override { return CGraphFrame::GetDocumentHasReadings(); }
    std::unique_ptr<IChartWindow> CreateChartWindow(tvane::chart::Chart& chart,
                                                    const tvane::chart::ChartRect& rect) override;
    // IHistogramPanelParent: the limits become the extremes of the readings
    // seen, and the frequency axis ends at the largest bin.
    void OnAutoScale() override;

private:
    void DestroyChildren();
    bool MakeBinTable(int bins);
    bool MakePanelWindow();

    std::unique_ptr<CHistogramCtrlPanel> m_panel;
    std::unique_ptr<CHistogramPlot> m_plot;
    std::unique_ptr<CRegion> m_plotRegion;
    HistogramBins m_bins;
    std::unique_ptr<CHistogramStats> m_stats;
    std::unique_ptr<IHistogramPanelWindow> m_panelWindow;
    IHistogramChildWindow* m_plotWindow = nullptr; // owned by the plot
    std::vector<double> m_values;                  // one batch's readings
};
