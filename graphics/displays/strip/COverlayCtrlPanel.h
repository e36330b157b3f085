#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "graphics/displays/strip/OverlayRange.h"
#include "platform/archive/CObject.h"
#include "shared/CMfxFont.h"

// The strip chart frame as the control panel reports to it.
class IOverlayPanelParent {
public:
    virtual ~IOverlayPanelParent() = default;
    // The time per division was stepped (also at either end of the table).
    virtual void OnGraphRangeInfoChange(const OverlayRange& timeRange) = 0;
    virtual void OnAutoScale() = 0;
    // Tab (or Shift+Tab) left the panel.
    virtual void OnPanelTabOut() = 0;
};

// The strip chart's control panel without its window: the time per division
// it offers and steps, and the marker readouts the frame hands it (each
// marker's channel, time and value and the differences between the two).
// The window shows Text(i) and is told of every change.
class COverlayCtrlPanel : public tvane::CObject {
    DECLARE_SERIAL(COverlayCtrlPanel)
public:
    // The readouts, in the order they are stored.
    enum Readout {
        kY2Channel = 0,
        kY2Value,
        kY1Channel,
        kY1Value,
        kT2Channel,
        kT2Value,
        kT1Channel,
        kT1Value,
        kDeltaY,
        kDeltaT,
        kReadouts
    };
    // Spin codes of a step.
    static constexpr int kSpinUp = 8;
    static constexpr int kSpinDown = 16;
    static constexpr std::int32_t kDefaultColour = 0xC80000; // (0, 0, 200)
    static constexpr double kOverload = 9.9e37;
    // Where the keyboard focus goes.
    enum Focus { kFocusEdit, kFocusButton, kFocusLeave };

    COverlayCtrlPanel();

    void SetParent(IOverlayPanelParent* parent) { m_parent = parent; }
    // Called with the readout (or -1 for the time per division) after a change.
    void SetTextChanged(std::function<void(int)> changed) { m_changed = std::move(changed); }

    const std::string& Text(int readout) const;
    const std::string& TimePerDivisionText() const { return m_timeDivText; }
    const OverlayRange& GetTimeRange() const { return m_timeRange; }
    std::int32_t GetColour() const { return m_colour; }
    CMfxFont& GetFont() { return m_font; }
    const std::string& OffText() const { return m_offText; }

    // The spin button's notification: 8 up, 16 down, other codes step nothing
    // but still show the text and tell the frame.
    void Spin(int code);
    void ClickAutoscale();
    // The focus left the panel by Tab.
    void TabOut() {
        if (m_parent)
            m_parent->OnPanelTabOut();
    }
    // Tab from the edit or the button (shift: backwards), or from elsewhere.
    Focus TabFrom(Focus from, bool shift);

    void SetMarkerChannel(int marker, const OverlayChannel* channel);
    void SetMarkerTimeLabel(int marker, const OverlayChannel* channel);
    void SetMarkerValue(int marker, double value);
    void SetDeltaY(double value);
    void SetMarkerTime(int marker, const std::string& text);
    void SetDeltaTime(const std::string& text);
    // Empties one readout (the frame clears a marker that goes off).
    void ClearText(int readout);
    bool OnChannelChanged(const OverlayChannel& channel);
    // Shows the time per division of the range (after a load).
    void ShowTimePerDivision();

    void Serialize(tvane::CArchive& ar) override;

private:
    void Set(int readout, std::string text);

    IOverlayPanelParent* m_parent = nullptr;
    std::function<void(int)> m_changed;
    std::int32_t m_colour = kDefaultColour;
    std::string m_offText = "(Off)";
    std::array<std::int32_t, 2> m_channel = {-1, -1};
    std::array<std::string, 2> m_units;
    std::array<double, 2> m_value = {0.0, 0.0};
    CMfxFont m_font;
    std::array<std::string, kReadouts> m_texts;
    std::string m_timeDivText;
    OverlayRange m_timeRange = OverlayRange::TimeDefault();
};
