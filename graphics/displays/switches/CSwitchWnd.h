#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "graphics/CMfxBrush.h"
#include "graphics/GraphItemProps.h"
#include "graphics/displays/switches/ToggleBank.h"

class CSwitch;
class IGraphDC;

// The switch bank's window: toggle switches drawn on a plate, with "On" and
// "Off" written beside the first one.
class CSwitchWnd : public CToggleBankWnd {
    DECLARE_SERIAL(CSwitchWnd)
public:
    static constexpr const char* kSourceModule = "Switwnd";
    // Appearance items beside the background (2) and the text (3).
    static constexpr int kItemPlate = 8;
    static constexpr int kItemOn = 9;
    static constexpr int kItemOff = 10;

    CSwitchWnd();
    ~CSwitchWnd() override;

    // Flips the switch of the current block and writes the block's value.
    void ToggleSwitch(CSwitch& sw, bool update) { Toggle(sw, update); }

    bool Draw(IGraphDC& dc, const GRect& rect);
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) const;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw);

    // Background, font, "Off" and "On" texts, switch and block counts,
    // blocks, current switch and block, display mode, slot and plate brushes,
    // lever colours.
    void Serialize(tvane::CArchive& ar) override;

    void Paint(IGraphDC& dc, const GRect& client) override;

protected:
    const char* Module() const override { return kSourceModule; }
    void Flip(CIndicator& element) override;
    GRect StateRect(const CIndicator& element) const override;
    GRect FocusRect(const CIndicator& element) const override;
    const tvane::CRuntimeClass* ElementClass() const override;
    void DrawElement(IGraphDC& dc, const GRect& body, CIndicator& element) override;

private:
    CMfxBrush m_levers[2]; // "Off", "On"
    std::string m_offText;
    std::string m_onText;
    CMfxBrush m_slotBrush;
    CMfxBrush m_plateBrush;
};
