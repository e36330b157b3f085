#pragma once
#include <memory>

#include "graphics/CGraphFrame.h"
#include "graphics/CRegion.h"
#include "graphics/displays/alarmlight/CLEDWnd.h"

// The alarm light display: a panel of up to ten lamps, one per channel, each
// showing the alarm state of its channel's newest reading every N scans.
class CLEDFrame : public CGraphFrame {
    DECLARE_SERIAL(CLEDFrame)
public:
    static constexpr const char* kSourceModule = "Ledfrm";
    static constexpr int kMaxChannels = 10;

    CLEDFrame();
    ~CLEDFrame() override;

    int GetHelpId(int page) const override;
    bool CreateFrame(CGraphView* parent) override;
    bool RecreateFrame(CGraphView* parent, int showCommand) override;
    bool EditProperties() override;
    void Redraw(bool erase) override;
    bool OnChannelChanged(int index, const CChannelInfo* channel) override;
    void SetChannelAt(int index, const CChannelInfo* channel) override;
    void RemoveChannelAt(int index) override;
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) override;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) override;
    bool DrawFrame(IGraphDC& dc, const GRect* rect) override;
    int Print(IGraphDC& dc) override;
    bool OnNewReadings(const HintObject& object) override;
    void OnScanState() override;
    void DestroyWindow() override;

    // The base part, then the window and its region, each with its class tag.
    void Serialize(tvane::CArchive& ar) override;

    CLEDWnd* GetLEDWnd() const { return m_wnd.get(); }

private:
    std::unique_ptr<CLEDWnd> m_wnd;
    std::unique_ptr<CRegion> m_region;
};
