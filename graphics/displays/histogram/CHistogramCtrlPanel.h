#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "shared/CMfxFont.h"
#include "platform/archive/CObject.h"

class CChannelInfo;
class CHistogramStats;

// The histogram frame as its control panel reports to it.
class IHistogramPanelParent {
public:
    virtual ~IHistogramPanelParent() = default;
    // The Autoscale button was pressed.
    virtual void OnAutoScale() = 0;
};

// The strip along the bottom of a histogram, without its window: the plotted
// channel and the statistics as texts, and the Autoscale button. The window
// shows Text(field) and is told of every change.
class CHistogramCtrlPanel : public tvane::CObject {
    DECLARE_SERIAL(CHistogramCtrlPanel)
public:
    // The fields, in the order they are stored.
    enum Field { kChannel = 0, kMin, kMax, kReadings, kStdDev, kMean, kOutOfRange, kFields };
    static constexpr std::int32_t kDefaultColour = 0xC80000; // (0, 0, 200)
    static constexpr double kOverload = 9.9e37;
    static constexpr int kValueDigits = 8;

    CHistogramCtrlPanel();

    void SetParent(IHistogramPanelParent* parent) { m_parent = parent; }
    // Called with the field after a change of its text.
    void SetTextChanged(std::function<void(int)> changed) { m_changed = std::move(changed); }

    const std::string& Text(int field) const;
    std::int32_t GetColour() const { return m_colour; }
    const std::string& GetUnits() const { return m_units; }
    CMfxFont& GetFont() { return m_font; }
    const CMfxFont& GetFont() const { return m_font; }

    // "(Off)" without a channel, else its number as "(101)"; the channel's
    // units format the values from then on.
    void SetChannel(const CChannelInfo* channel);
    void ShowStats(const CHistogramStats& stats);
    // The six value fields become empty.
    void ClearStats();
    void ClickAutoscale();

    // The reserved word, the seven texts, the colour, the font (with its class
    // tag) and the units.
    void Serialize(tvane::CArchive& ar) override;

private:
    void Set(int field, std::string text);

    IHistogramPanelParent* m_parent = nullptr;
    std::function<void(int)> m_changed;
    std::int32_t m_colour = kDefaultColour;
    std::string m_units;
    std::int32_t m_reserved = 0;
    std::array<std::string, kFields> m_texts;
    CMfxFont m_font;
};
