#pragma once
#include <cstdint>
#include <memory>

#include "graphics/CGraphFrame.h"
#include "graphics/CRegion.h"
#include "graphics/displays/datalight/CDataLEDWnd.h"

// The data light display: the bits of digital read channels as lamps, a
// block per channel, up to ten channels; read on request ("Read" button,
// Immediate mode) or following the scan every N scans (Scan mode).
class CDataLEDFrame : public CGraphFrame {
    DECLARE_SERIAL(CDataLEDFrame)
public:
    static constexpr const char* kSourceModule = "ALedfrm";
    static constexpr int kMaxChannels = 10;
    // Kinds offered: whole digital read channels, or their single bits.
    static constexpr std::uint32_t kByteKinds = 0x400;
    static constexpr std::uint32_t kBitKinds = 4;

    CDataLEDFrame();
    ~CDataLEDFrame() override;

    int GetHelpId(int page) const override;
    bool IsDigitalReadDisplay() const override { return true; }
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
    bool OnNewReadings(const HintObject& object) override;
    bool OnActionResult(const CReadingInfo* record) override;
    void OnScanState() override;
    void DestroyWindow() override;

    // The base part, then the window and its region, each with its class tag.
    void Serialize(tvane::CArchive& ar) override;

    // A change of either mode empties every channel slot and starts again
    // with the first channel offered.
    void SetDisplayMode(std::int32_t mode);
    void SetAcquisitionMode(std::int32_t mode);
    std::int32_t GetAcquisitionMode() const;
    CDataLEDWnd* GetLEDWnd() const { return m_wnd.get(); }

private:
    // The kinds offered for the modes, and whether the preference to show
    // every channel is followed (Scan mode) or every channel is offered.
    void UpdateChannelKinds();
    void Restart();

    std::unique_ptr<CDataLEDWnd> m_wnd;
    std::unique_ptr<CRegion> m_region;
};
