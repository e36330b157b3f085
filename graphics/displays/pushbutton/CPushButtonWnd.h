#pragma once
#include <cstdint>

#include "graphics/CMfxBrush.h"
#include "graphics/GraphItemProps.h"
#include "graphics/displays/switches/ToggleBank.h"

class IGraphDC;

// The push buttons' window: a row of square toggle buttons, raised when up
// (off) and sunken when down (on), each block captioned with its channel.
class CPushButtonWnd : public CToggleBankWnd {
    DECLARE_SERIAL(CPushButtonWnd)
public:
    static constexpr const char* kSourceModule = "PBtnWnd";
    // Appearance items beside the background (2) and the text (3).
    static constexpr int kItemButtonUp = 8;
    static constexpr int kItemButtonDown = 9;

    CPushButtonWnd();
    ~CPushButtonWnd() override;

    bool Draw(IGraphDC& dc, const GRect& rect);
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) const;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw);
    std::uint32_t GetButtonColor(int state) const { return m_brushes[state ? 1 : 0].GetColor(); }

    // Background, font, button and block counts, blocks, current button and
    // block, display mode, "Button Up" and "Button Down" colours.
    void Serialize(tvane::CArchive& ar) override;

    void Paint(IGraphDC& dc, const GRect& client) override;

protected:
    const char* Module() const override { return kSourceModule; }
    void Flip(CIndicator& element) override;
    GRect StateRect(const CIndicator& element) const override;
    GRect FocusRect(const CIndicator& element) const override;
    const tvane::CRuntimeClass* ElementClass() const override;
    void DrawElement(IGraphDC& dc, const GRect& box, CIndicator& element) override;

private:
    CMfxBrush m_brushes[2]; // "Button Up", "Button Down": the state is the index
};
