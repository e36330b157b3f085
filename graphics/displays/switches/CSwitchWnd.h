#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "graphics/CMfxBrush.h"
#include "graphics/GraphItemProps.h"
#include "graphics/displays/indicator/IGaugeWindow.h"
#include "graphics/displays/indicator/IndicatorBlocks.h"
#include "scan/CReadingInfo.h"
#include "shared/CMfxFont.h"

class CChannelInfo;
class CGraphFrame;
class CSwitch;
class IGraphDC;

// The switch bank's window: a block of toggle switches per channel slot of
// its frame, eight for a whole digital output port in the byte display (bit 7
// on the left) or one for a relay channel or one output bit in the bit
// display. A flip writes the channel's whole value; the document's answer
// sets every switch of that channel.
class CSwitchWnd : public tvane::CObject, public IGaugeWindowClient {
    DECLARE_SERIAL(CSwitchWnd)
public:
    static constexpr const char* kSourceModule = "Switwnd";
    enum Display : std::int32_t { kBitDisplay = 0, kByteDisplay = 1 };
    // Appearance items beside the background (2) and the text (3).
    static constexpr int kItemPlate = 8;
    static constexpr int kItemOn = 9;
    static constexpr int kItemOff = 10;

    CSwitchWnd();
    ~CSwitchWnd() override;

    // A new bank's window with blockSlots empty slots; throws the graphics
    // exception (Create Failed) when the window or the font cannot be made.
    bool Create(CGraphFrame& frame, const GRect& rect, const LOGFONT& font, int blockSlots);
    // A loaded bank's window; then asks the document for every block's value.
    bool Recreate(CGraphFrame& frame, const GRect& rect);
    void DestroyWindow();
    IGaugeWindow* GetWindow() const { return m_window.get(); }

    void SetBlockCount(int n) { m_blocks.SetSlotCount(static_cast<std::size_t>(std::max(n, 0))); }
    void AddBlock(int index, const CChannelInfo& channel);
    bool RemoveBlock(int index);
    // The slot's block made again for channel; asks the document for its value.
    bool SetChannelAt(int index, const CChannelInfo& channel);
    // Flips the switch of the current block and writes the block's value.
    void ToggleSwitch(CSwitch& sw, bool update);
    // An answer sets every switch of its channel.
    bool OnActionResult(const CReadingInfo& record);

    IndicatorBlocks& Blocks() { return m_blocks; }
    const IndicatorBlocks& Blocks() const { return m_blocks; }
    void SetDisplayMode(std::int32_t mode) { m_display = mode; }
    std::int32_t GetDisplayMode() const { return m_display; }
    std::uint32_t GetBackColor() const { return m_backColor; }

    bool Draw(IGraphDC& dc, const GRect& rect);
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) const;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw);

    // Background, font, "Off" and "On" texts, switch and block counts,
    // blocks, current switch and block, display mode, slot and plate brushes,
    // lever colours.
    void Serialize(tvane::CArchive& ar) override;
    // After loading, with the frame's channel slots: blocks that do not match
    // the display or the counts reject the archive.
    void CheckLoaded(int slots);

    void Paint(IGraphDC& dc, const GRect& client) override;
    void OnMouse(Mouse event, GPoint point) override;
    bool OnKey(int key, bool shift) override;

private:
    void DrawSwitch(IGraphDC& dc, const GRect& body, CSwitch& sw) const;
    void InvalidateFocus();
    bool IsOn(std::uint32_t value, std::uint32_t mask) const;

    CReadingInfo m_request;
    CMfxBrush m_levers[2]; // "Off", "On"
    std::string m_offText;
    std::string m_onText;
    CMfxBrush m_slotBrush;
    CMfxBrush m_plateBrush;
    std::uint32_t m_backColor = 0x808000;
    std::unique_ptr<CMfxFont> m_font;
    IndicatorBlocks m_blocks;
    std::int32_t m_display = kBitDisplay;

    CGraphFrame* m_frame = nullptr;
    std::unique_ptr<IGaugeWindow> m_window;
};
