#pragma once
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "graphics/CRegion.h"
#include "graphics/CXrtFrame.h"
#include "graphics/displays/strip/CLegendGrid.h"
#include "graphics/displays/strip/COverlayCtrlPanel.h"
#include "graphics/displays/strip/CTextDisplay.h"
#include "graphics/displays/strip/CXrtOverlayPlot.h"
#include "graphics/displays/strip/LegendRules.h"
#include "graphics/displays/strip/OverlayStaging.h"

class CChannelInfo;
class CRangeInfo;
class CXrtOverlayFrame;
class IGraphDC;
class CReadingQuery;

// A child window of the strip chart frame: placed by its frame, repainted and
// focused on request.
class IStripChildWindow : public IRegionWindow {
public:
    virtual void Redraw() = 0;
    virtual void SetFocus() {}
    virtual bool HasFocus() const { return false; }
    // The window's rectangle in the frame's client pixels.
    virtual GRect GetRectInFrame() const = 0;
};

// Makes the strip chart's child windows inside its frame's window, and draws
// the children into a drawing surface; the windows library installs it
// (displays::Windows<IStripChartWindows>).
class IStripChartWindows {
public:
    virtual ~IStripChartWindows() = default;
    // The returned window is also an IStripChildWindow.
    virtual std::unique_ptr<IChartWindow> CreatePlotWindow(IGraphFrameWindow& frame,
                                                           CXrtOverlayPlot& plot,
                                                           tvane::chart::Chart& chart,
                                                           const GRect& rect) = 0;
    virtual std::unique_ptr<IStripChildWindow>
    CreatePanelWindow(IGraphFrameWindow& frame, COverlayCtrlPanel& panel, const GRect& rect) = 0;
    virtual std::unique_ptr<IStripChildWindow>
    CreateLegendWindow(IGraphFrameWindow& frame, CLegendGrid& legend, const GRect& rect) = 0;
    virtual std::unique_ptr<IStripChildWindow>
    CreateTextWindow(IGraphFrameWindow& frame, CTextDisplay& text, const GRect& rect) = 0;
    // Draws the plot, text display, legend and panel at their places.
    virtual bool DrawChildren(IGraphDC& dc, CXrtOverlayFrame& frame) = 0;
};
// The strip chart display: a chart frame holding the overlay plot, its
// control panel at the bottom, the legend above the panel and a one-row text
// display under the plot. New readings are staged and handed to the plot
// every N scans; the children's messages are relayed between them; the
// legend's top edge is dragged to show 1 to 8 rows.
class CXrtOverlayFrame : public CXrtFrame,
                         public IOverlayPlotParent,
                         public IOverlayPanelParent,
                         public ILegendParent {
    DECLARE_SERIAL(CXrtOverlayFrame)
public:
    static constexpr int kSlots = 8;
    static constexpr int kPanelHeight = 48;

    CXrtOverlayFrame();
    ~CXrtOverlayFrame() override;

    int GetHelpId(int page) const override;
    GRect GetDataRect() const override;
    bool CreateFrame(CGraphView* parent) override;
    bool RecreateFrame(CGraphView* parent, int showCommand) override;
    bool EditProperties() override;
    void Redraw(bool erase) override;
    long OnViewHint(long hint, const HintObject& object) override;
    bool OnChannelChanged(int slot, const CChannelInfo* info) override;
    void SetChannelAt(int index, const CChannelInfo* info) override;
    void RemoveChannelAt(int index) override;
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) override;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) override;
    bool DrawFrame(IGraphDC& dc, const GRect* rect) override;
    int Print(IGraphDC& dc) override;
    void OnRetainHint() override;
    std::string CopyDisplayedData() override;
    bool OnEventHint(const HintObject& object) override;
    bool OnNewReadings(const HintObject& object) override;
    bool OnEventsChanged(const HintObject& object) override;
    bool OnDatasetUpdate(const HintObject& object) override;
    bool OnReading(const HintObject& object) override;
    void OnScanState() override;
    void Serialize(tvane::CArchive& ar) override;
    // The panel and the legend keep to the bottom of the new size, the plot
    // and the text take what is left above them.
    void OnSize(bool changed = true) override;

    // The advanced page's settings.
    int GetMaxScansDisplayed() const;
    bool SetMaxScansDisplayed(int n);
    int GetRelativeReset() const;
    void SetRelativeReset(int percent);
    int GetPlotStyle() const;
    void SetPlotStyle(int style);

    // The legend's top edge: whether y (frame client pixels) shows the
    // sizing cursor, and the drop of the dragged line there.
    bool IsOnLegendEdge(int y) const;
    // Where the drag line of the legend's edge may go (upper < lower).
    bool GetLegendDragLimits(int& upper, int& lower) const;
    void DropLegendEdge(int lineTop);
    int GetLegendRows() const { return m_legendRows; }
    int LegendHeight() const;
    // Lays the panel and the legend out at the bottom (the window's size changed).
    void LayoutChildren();
    // Tab: the focus goes between the panel and the legend.
    void TabFromPanel();
    void TabFromLegend();
    // Tab pressed in the frame's own window: from inside the panel to the
    // legend, from anywhere else to the panel.
    bool OnTabKey() override;

    CXrtOverlayPlot* GetPlot() const { return m_plot.get(); }
    COverlayCtrlPanel* GetPanel() const { return m_panel.get(); }
    CLegendGrid* GetLegend() const { return m_legend.get(); }
    CTextDisplay* GetTextDisplay() const { return m_text.get(); }
    CRegion* GetPlotRegion() const { return m_plotRegion.get(); }
    CRegion* GetTextRegion() const { return m_textRegion.get(); }
    IStripChildWindow* GetPlotWindow() const { return m_plotWindow; }
    IStripChildWindow* GetPanelWindow() const { return m_panelWindow.get(); }
    IStripChildWindow* GetLegendWindow() const { return m_legendWindow.get(); }
    IStripChildWindow* GetTextWindow() const { return m_textWindow.get(); }
    const std::optional<OverlayRange>& GetRange(int slot) const {
        return m_ranges[static_cast<std::size_t>(slot)];
    }
    int ScansSinceUpdate() const { return m_staging.ScansSinceUpdate(); }

    // Conversions between the display records and the plot's.
    static OverlayChannel ToOverlay(const CChannelInfo& info);
    static OverlayRange ToOverlay(const CRangeInfo& range);
    static CRangeInfo ToRangeInfo(const OverlayRange& range);

    // IChartParent
    bool GetDocumentHasReadings() const override { return CGraphFrame::GetDocumentHasReadings(); }
    std::unique_ptr<IChartWindow> CreateChartWindow(tvane::chart::Chart& chart,
                                                    const tvane::chart::ChartRect& rect) override;
    // IOverlayPlotParent
    void OnGraphTimeAxisChange(const CTimeAxisInfo& axis) override;
    void OnChnlRangeInfoChange(int slot, const OverlayRange& range) override;
    void OnPositionEventLog(const CDatasetEvent& event) override;
    void OnObjectSelect() override;
    void OnVertMarkerXValueChange(int marker) override;
    void OnVertMarkerYValueChange(int marker) override;
    void OnPlotInvalidate() override;
    tvane::chart::ChartPoint RestingPlotGrowth() const override;
    // IOverlayPanelParent
    void OnGraphRangeInfoChange(const OverlayRange& timeRange) override;
    void OnAutoScale() override;
    void OnPanelTabOut() override { TabFromPanel(); }
    // ILegendParent
    bool OnChannelRequest(std::vector<OverlayChannel>& channels) override;
    void OnSetChannel(int slot, const OverlayChannel& channel) override;
    void OnRemoveChannel(int slot) override;
    void OnToggleVMarkerState(int marker, int slot, bool on) override;
    void OnLegendRangeChange(int slot, const OverlayRange& range) override {
        OnChnlRangeInfoChange(slot, range);
    }
    void OnLegendTabOut() override { TabFromLegend(); }

private:
    legend::DragGeometry LegendDragGeometry() const;
    void DestroyChildren();
    void ResetStaging();
    void FlushStaging();
    void MakeStaging(int capacity);
    void PlaceLegend(const GRect& panelRect);
    void PlacePanelAndLegend();
    GRect PanelRect() const;
    void UpdateMinTrack();
    void UpdateMarkerReadouts();
    const CChannelInfo* SlotChannel(int slot) const;

    std::int32_t m_legendRows = 2;
    std::int32_t m_plotReserve = 100;
    std::int32_t m_extraReserve = 20;
    std::unique_ptr<COverlayCtrlPanel> m_panel;
    std::unique_ptr<CXrtOverlayPlot> m_plot;
    std::unique_ptr<CLegendGrid> m_legend;
    std::unique_ptr<CTextDisplay> m_text;
    std::unique_ptr<CRegion> m_plotRegion;
    std::unique_ptr<CRegion> m_textRegion;
    std::array<std::optional<OverlayRange>, kSlots> m_ranges;
    std::unique_ptr<IStripChildWindow> m_panelWindow;
    std::unique_ptr<IStripChildWindow> m_legendWindow;
    std::unique_ptr<IStripChildWindow> m_textWindow;
    IStripChildWindow* m_plotWindow = nullptr; // owned by the plot
    OverlayStaging m_staging;
};
