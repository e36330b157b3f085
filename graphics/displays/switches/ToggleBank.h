#pragma once
#include <algorithm>
#include <cstdint>
#include <memory>

#include "graphics/GraphItemProps.h"
#include "graphics/displays/indicator/BlockRow.h"
#include "graphics/displays/indicator/IGaugeWindow.h"
#include "graphics/displays/indicator/IndicatorBlocks.h"
#include "platform/archive/CObject.h"
#include "scan/CReadingInfo.h"
#include "shared/CMfxFont.h"

class CChannelInfo;
class CGraphFrame;
class IGraphDC;

// The window part the switch bank and the push buttons share: a block of
// toggle elements per channel slot of the frame, eight for a whole digital
// output port in the byte display (bit 7 on the left) or one for a relay
// channel or an output bit in the bit display. A flip writes the channel's
// whole value as one request; the document's answer sets every element of
// that channel, so the display ends showing what the instrument holds.
class CToggleBankWnd : public tvane::CObject, public IGaugeWindowClient {
public:
    enum Display : std::int32_t { kBitDisplay = 0, kByteDisplay = 1 };

    // elementMaker makes the display's element (a switch, a button).
    explicit CToggleBankWnd(IndicatorBlocks::ElementMaker elementMaker);
    ~CToggleBankWnd() override;

    // A new display's window with blockSlots empty slots; throws the graphics
    // exception (Create Failed) naming module when the window or the font
    // cannot be made.
    bool Create(CGraphFrame& frame, const GRect& rect, const LOGFONT& font, int blockSlots);
    // A loaded display's window; then asks the document for every block's value.
    bool Recreate(CGraphFrame& frame, const GRect& rect);
    void DestroyWindow();
    IGaugeWindow* GetWindow() const { return m_window.get(); }

    void SetBlockCount(int n) { m_blocks.SetSlotCount(static_cast<std::size_t>(std::max(n, 0))); }
    void AddBlock(int index, const CChannelInfo& channel);
    bool RemoveBlock(int index);
    // The slot's block made again for channel; asks the document for its value.
    bool SetChannelAt(int index, const CChannelInfo& channel);
    // Flips the element of the current block and writes the block's value.
    void Toggle(CIndicator& element, bool update);
    // An answer sets every element of its channel.
    bool OnActionResult(const CReadingInfo& record);

    IndicatorBlocks& Blocks() { return m_blocks; }
    const IndicatorBlocks& Blocks() const { return m_blocks; }
    void SetDisplayMode(std::int32_t mode) { m_display = mode; }
    std::int32_t GetDisplayMode() const { return m_display; }
    std::uint32_t GetBackColor() const { return m_backColor; }
    const CReadingInfo& GetRequest() const { return m_request; }

    // After loading, with the frame's channel slots: blocks that do not match
    // the display or the counts reject the archive.
    void CheckLoaded(int slots);

    void OnMouse(Mouse event, GPoint point) override;
    bool OnKey(int key, bool shift) override;

protected:
    // The source module named by the exceptions of window creation.
    virtual const char* Module() const = 0;
    // The element's new state on a flip.
    virtual void Flip(CIndicator& element) = 0;
    // Where the element shows its state and where its focus frame goes, as
    // last drawn.
    virtual GRect StateRect(const CIndicator& element) const = 0;
    virtual GRect FocusRect(const CIndicator& element) const = 0;
    virtual const tvane::CRuntimeClass* ElementClass() const = 0;
    // Draws the element in box and keeps where its state and focus frame went.
    virtual void DrawElement(IGraphDC& dc, const GRect& box, CIndicator& element) = 0;

    // The background and text items; true when item is one of them.
    bool GetBackTextItem(int item, GRAPHITEMPROPS& props, std::uint32_t& supported) const;
    bool SetBackTextItem(int item, const GRAPHITEMPROPS& props, std::uint32_t& supported);
    // Invalidates and updates the whole window when redraw is set.
    void RedrawIf(bool redraw);
    bool IsOn(std::uint32_t value, std::uint32_t mask) const;
    // Starts a drawing: the background filled, the font chosen. False when
    // nothing more is drawn (no slots, or "No connection" shown).
    bool BeginDraw(IGraphDC& dc, const GRect& rect, const std::string& noConnection);
    // Every populated block in its place of layout: each element with its
    // label (when labels fit), the block's caption (its short caption when
    // the caption does not fit), then the current element's focus frame,
    // drawn whether or not the window has the focus.
    void DrawBlocks(IGraphDC& dc, const BlockRowLayout& layout);
    std::uint32_t TextColor() const { return m_font ? m_font->GetColor() : 0xFFFFFF; }

    CReadingInfo m_request;
    std::uint32_t m_backColor = 0x808000;
    std::unique_ptr<CMfxFont> m_font;
    IndicatorBlocks m_blocks;
    std::int32_t m_display = kBitDisplay;

private:
    void MakeWindow(CGraphFrame& frame, const GRect& rect);
    void InvalidateFocus();

    CGraphFrame* m_frame = nullptr;
    std::unique_ptr<IGaugeWindow> m_window;
};
