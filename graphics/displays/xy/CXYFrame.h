#pragma once
#include <memory>

#include "graphics/CRegion.h"
#include "graphics/CXrtFrame.h"
#include "graphics/displays/xy/CXYCtrlPanel.h"
#include "graphics/displays/xy/CXYPlot.h"
#include "graphics/displays/xy/XYPairing.h"

class CXYFrame;
class IGraphDC;

// A child window of the XY frame.
class IXYChildWindow : public IChartChildWindow {
public:
    // The height the window wants for its font (0: the panel's default).
    virtual int PreferredHeight() const { return 0; }
};

// Makes the XY display's child windows inside its frame's window and draws
// its plot into a drawing surface; the windows library installs it.
class IXYWindows {
public:
    virtual ~IXYWindows() = default;
    // The returned window is also an IXYChildWindow.
    virtual std::unique_ptr<IChartWindow> CreatePlotWindow(IGraphFrameWindow& frame, CXYPlot& plot,
                                                           tvane::chart::Chart& chart,
                                                           const GRect& rect) = 0;
    virtual std::unique_ptr<IXYChildWindow>
    CreatePanelWindow(IGraphFrameWindow& frame, CXYCtrlPanel& panel, const GRect& rect) = 0;
    // Draws the plot with its marker into rect of the surface.
    virtual bool DrawPlot(IGraphDC& dc, CXYPlot& plot, const GRect& rect) = 0;
};

// The XY plot display: channel 0 gives the X value and channel 1 the Y value
// of each point. The frame pairs the readings scan by scan, keeps them in its
// reading buffer until the update rate is reached, hands them to the plot, and
// relays the plot's and the control panel's messages between the two. The
// panel lies along the bottom of the frame, the plot fills the rest.
class CXYFrame : public CXrtFrame, public IXYPlotParent, public IXYPanelParent {
    DECLARE_SERIAL(CXYFrame)
public:
    static constexpr int kXChannel = 0;
    static constexpr int kYChannel = 1;
    static constexpr int kMaxUpdateRate = 5000;

    CXYFrame();
    ~CXYFrame() override;

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

    // The maximum scans displayed: a new capacity of the plot and the buffer.
    // False when unchanged or when the data cannot be made.
    bool SetPointCount(int count);
    int GetPointCount() const;

    CXYPlot* GetPlot() const { return m_plot.get(); }
    CXYCtrlPanel* GetPanel() const { return m_panel.get(); }
    CRegion* GetRegion() const { return m_region.get(); }
    IXYChildWindow* GetPlotWindow() const { return m_plotWindow; }
    IXYChildWindow* GetPanelWindow() const { return m_panelWindow.get(); }
    double GetScanCounter() const { return m_scanCounter; }
    const XYPairing& GetPairing() const { return m_pairing; }
    // The panel's place: the bottom strip of the frame's data area.
    GRect PanelRect() const;
    int PanelHeight() const;

    // IChartParent
    bool GetDocumentHasReadings() const override { return CGraphFrame::GetDocumentHasReadings(); }
    std::unique_ptr<IChartWindow> CreateChartWindow(tvane::chart::Chart& chart,
                                                    const tvane::chart::ChartRect& rect) override;
    // IXYPlotParent
    void OnVertMarkerXValueChange() override;
    void OnHorzMarkerYValueChange() override;
    void OnGainValueChange() override;
    void OnOffsetValueChange() override;
    void OnObjectSelect() override { OnLButtonDown(); }
    void OnPlotInvalidate() override;
    // IXYPanelParent
    void OnAutoScale() override;
    void OnToggleVMarkerState(bool on) override;
    void OnToggleLeastSquares(bool on) override;

private:
    void DestroyChildren();
    bool MakeBuffer(int capacity);
    void UseBuffer();
    void HandOver();
    void ClearBuffer();
    void PlacePanel();
    const CChannelInfo* ChannelAt(int index) const;

    std::unique_ptr<CXYCtrlPanel> m_panel;
    std::unique_ptr<CRegion> m_region;
    double m_scanCounter = 0.0;
    std::unique_ptr<CXYPlot> m_plot;
    std::unique_ptr<IXYChildWindow> m_panelWindow;
    IXYChildWindow* m_plotWindow = nullptr; // owned by the plot
    XYPairing m_pairing;
    std::vector<double> m_handX;
    std::vector<double> m_handY;
};
