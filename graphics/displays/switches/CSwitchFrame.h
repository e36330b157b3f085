#pragma once
#include <cstdint>
#include <memory>

#include "graphics/CGraphFrame.h"
#include "graphics/CRegion.h"
#include "graphics/displays/switches/CSwitchWnd.h"

// The switch bank display: toggle switches for relay channels and digital
// output bits (bit display) or for the eight bits of a digital output port
// (byte display), a block per channel, up to ten channels. A flip writes the
// channel; only the document's answers set the switches, never readings.
class CSwitchFrame : public CGraphFrame {
    DECLARE_SERIAL(CSwitchFrame)
public:
    static constexpr const char* kSourceModule = "Switfrm";
    static constexpr int kMaxChannels = 10;
    static constexpr std::uint32_t kByteKinds = 0x800;
    static constexpr std::uint32_t kBitKinds = 0x1D8;

    CSwitchFrame();
    ~CSwitchFrame() override;

    int GetHelpId(int page) const override;
    void SetByteDisplay(bool byteDisplay) override;
    bool IsByteDisplay() const override;
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
    bool OnActionResult(const CReadingInfo* record) override;
    void DestroyWindow() override;

    // The base part, then the window and its region, each with its class tag.
    void Serialize(tvane::CArchive& ar) override;

    CSwitchWnd* GetSwitchWnd() const { return m_wnd.get(); }

private:
    std::unique_ptr<CSwitchWnd> m_wnd;
    std::unique_ptr<CRegion> m_region;
};
