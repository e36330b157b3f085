#pragma once
#include <cstdint>
#include <memory>

#include "graphics/CMfxBrush.h"
#include "graphics/GraphItemProps.h"
#include "graphics/displays/indicator/IGaugeWindow.h"
#include "graphics/displays/indicator/IndicatorBlocks.h"
#include "graphics/displays/indicator/ReadButton.h"
#include "scan/CReadingInfo.h"
#include "shared/CMfxFont.h"

class CChannelInfo;
class CGraphFrame;
class IGraphDC;

// The data light panel's window: one block of lamps per channel slot of its
// frame, eight lamps for a whole digital port in the byte display (bit 7 on
// the left) or one lamp for one bit in the bit display. In Immediate mode a
// "Read" button asks the instrument for every block's channel at once; in
// Scan mode the lamps follow the scan's readings.
class CDataLEDWnd : public tvane::CObject, public IGaugeWindowClient {
    DECLARE_SERIAL(CDataLEDWnd)
public:
    static constexpr const char* kSourceModule = "ALedwnd";
    enum Mode : std::int32_t { kImmediate = 0, kScan = 1 };
    enum Display : std::int32_t { kBitDisplay = 0, kByteDisplay = 1 };
    static constexpr std::uint32_t kDigitalRead = 0x400;
    static constexpr std::uint32_t kDigitalReadBit = 4;
    static constexpr std::uint32_t kOffColor = 0x000040;
    static constexpr std::uint32_t kOnColor = 0x0000FF;

    CDataLEDWnd();
    ~CDataLEDWnd() override;

    // A new panel's window with blockSlots empty slots; throws the graphics
    // exception (Create Failed) when the window, font or a brush cannot be made.
    bool Create(CGraphFrame& frame, const GRect& rect, const LOGFONT& font, int blockSlots);
    // A loaded panel's window; then asks the document for every block's value.
    // False when the font or a brush cannot be made again.
    bool Recreate(CGraphFrame& frame, const GRect& rect);
    void DestroyWindow();
    IGaugeWindow* GetWindow() const { return m_window.get(); }

    void SetBlockCount(int n) { m_blocks.SetSlotCount(static_cast<std::size_t>(std::max(n, 0))); }
    void AddBlock(int index, const CChannelInfo& channel);
    bool RemoveBlock(int index);
    // The slot's block made again for channel; asks the document for its value.
    bool ChangeChannel(int index, const CChannelInfo& channel);
    // An answer (or, with none, the blocks' own values) sets the lamps; only
    // the lamps that changed are repainted.
    bool ApplyReading(const CReadingInfo* record);
    IndicatorBlocks& Blocks() { return m_blocks; }
    const IndicatorBlocks& Blocks() const { return m_blocks; }
    const CReadingInfo& GetRequest() const { return m_request; }

    void SetDisplayMode(std::int32_t mode) { m_display = mode; }
    std::int32_t GetDisplayMode() const { return m_display; }
    void SetAcquisitionMode(std::int32_t mode) { m_mode = mode; }
    std::int32_t GetAcquisitionMode() const { return m_mode; }
    const CPushButton& GetReadButton() const { return *m_button; }
    std::uint32_t GetStateColor(int state) const { return m_brushes[state].GetColor(); }

    bool Draw(IGraphDC& dc, const GRect& rect);
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) const;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw);

    // Background, font, lamp and block counts, blocks, current lamp and
    // block, display and acquisition modes, Read button, "Off" and "On"
    // colours. Loaded values are checked: modes out of range, blocks that do
    // not match the display or the counts reject the archive.
    void Serialize(tvane::CArchive& ar) override;
    // After loading, with the frame's channel slots.
    void CheckLoaded(int slots);

    void Paint(IGraphDC& dc, const GRect& client) override;
    void OnMouse(Mouse event, GPoint point) override;

private:
    bool ButtonShown() const;
    void PostRequests(std::int32_t kind);
    void ApplyOutcome(const ReadButtonTracker::Outcome& outcome);

    CReadingInfo m_request;
    IndicatorBlocks m_blocks;
    CMfxBrush m_brushes[2]; // by lamp state: "Off", "On"
    std::uint32_t m_backColor = 0x808000;
    std::unique_ptr<CMfxFont> m_font;
    std::int32_t m_display = kBitDisplay;
    std::int32_t m_mode = kImmediate;
    std::unique_ptr<CPushButton> m_button;

    CGraphFrame* m_frame = nullptr;
    std::unique_ptr<IGaugeWindow> m_window;
};
