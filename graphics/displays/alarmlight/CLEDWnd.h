#pragma once
#include <cstdint>
#include <memory>

#include "graphics/CMfxBrush.h"
#include "graphics/GraphItemProps.h"
#include "graphics/displays/indicator/CIndicatorArray.h"
#include "graphics/displays/indicator/IGaugeWindow.h"
#include "shared/CMfxFont.h"

class CChannelInfo;
class CGraphFrame;
class IGraphDC;

// The alarm light panel's window: up to ten round lamps side by side, one
// per channel slot of its frame, each labelled with its channel's name and
// coloured by the alarm state of the channel's newest reading (0 no alarm,
// 1 low limit, 2 high limit). The lamps are passive: clicks only reach the
// frame.
class CLEDWnd : public tvane::CObject, public IGaugeWindowClient {
    DECLARE_SERIAL(CLEDWnd)
public:
    static constexpr const char* kSourceModule = "Ledwnd";
    static constexpr int kStates = 3;
    static constexpr std::uint32_t kDefaultColors[kStates] = {0x00FF00, 0xFF0000, 0x0000FF};

    CLEDWnd();
    ~CLEDWnd() override;

    // A new panel's window with lampSlots empty slots; throws the graphics
    // exception (Create Failed) when the window, font or a brush cannot be made.
    bool Create(CGraphFrame& frame, const GRect& rect, const LOGFONT& font, int lampSlots);
    // A loaded panel's window, font and brushes.
    bool Recreate(CGraphFrame& frame, const GRect& rect);
    void DestroyWindow();
    IGaugeWindow* GetWindow() const { return m_window.get(); }

    void SetLightCount(int n);
    // A new lamp in an empty slot (an occupied one stays).
    void AddLight(int index);
    bool RemoveLight(int index);
    // The lamp's label: the channel's name, or its number label.
    void SetLightLabel(int index, const CChannelInfo& channel);
    CIndicatorArray& GetLights() { return *m_lamps; }
    const CIndicatorArray& GetLights() const { return *m_lamps; }
    std::uint16_t GetLightCount() const { return m_lampCount; }
    // The lamp's new state; its rectangle is repainted when it changed.
    void SetLightState(int index, std::int32_t state);
    // Repaints what changed, soon.
    void Update();
    std::uint32_t GetStateColor(int state) const { return m_brushes[state].GetColor(); }

    bool Draw(IGraphDC& dc, const GRect& rect);
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) const;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw);

    // Background, font, lamp count, lamps, the "No Alarm" and "Low Alarm
    // Limit" colours (the "High Alarm Limit" colour is not kept).
    void Serialize(tvane::CArchive& ar) override;
    // After loading: throws the archive's error unless there are at most
    // slots lamp slots holding alarm lamps of known states, as many as the
    // lamp count says. Fewer slots grow to slots.
    void CheckLoaded(int slots);

    void Paint(IGraphDC& dc, const GRect& client) override;
    void OnMouse(Mouse, GPoint) override {}

private:
    void Repaint(const GRect* rect, bool erase);

    CMfxBrush m_brushes[kStates];
    std::uint32_t m_backColor = 0xC0C0C0;
    std::unique_ptr<CMfxFont> m_font;
    std::unique_ptr<CIndicatorArray> m_lamps; // never null
    std::uint16_t m_lampCount = 0;
    std::unique_ptr<IGaugeWindow> m_window;
};
