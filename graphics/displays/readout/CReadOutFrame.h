#pragma once
#include <cstdint>
#include <memory>

#include "graphics/CGraphFrame.h"
#include "graphics/CRegion.h"
#include "graphics/displays/readout/CReadout.h"

// The readout display: a frame whose whole data area is a CReadout showing
// one channel. In Scan mode it hands the readout the newest reading of its
// channel every N scans; in Immediate mode it relays the document's answers
// to the readout's own requests. Its title follows the channel's name.
class CReadOutFrame : public CGraphFrame {
    DECLARE_SERIAL(CReadOutFrame)
public:
    static constexpr const char* kSourceModule = "Readfrm";
    // Kinds offered: Scan measuring, totalizer, computed and digital channels;
    // Immediate totalizers, digital channels and their bits.
    static constexpr std::uint32_t kScanKinds = 0x603;
    static constexpr std::uint32_t kImmediateKinds = 0x406;

    CReadOutFrame();
    ~CReadOutFrame() override;

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
    bool OnActionResult(const CReadingInfo* record) override;
    void OnScanState() override;
    void DestroyWindow() override;

    // The base part, then the readout and its region, each with its class tag.
    void Serialize(tvane::CArchive& ar) override;

    // The page's settings: a mode change drops the channel and takes the
    // first one offered under the new choice.
    std::int32_t GetAcquisitionMode() const;
    void SetAcquisitionMode(std::int32_t mode);
    std::int32_t GetNumberFormat() const;
    void SetNumberFormat(std::int32_t format);

    CReadout* GetReadout() const { return m_readout.get(); }
    const CChannelInfo* GetFirstChannel() const;

private:
    // The kinds offered and whether the preference to show every channel is
    // followed, from the readout's mode.
    void ApplyChannelChoice();
    void RepaintReadout();

    std::unique_ptr<CReadout> m_readout;
    std::unique_ptr<CRegion> m_region;
};
