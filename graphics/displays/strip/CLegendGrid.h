#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "graphics/displays/strip/LegendRules.h"
#include "graphics/displays/strip/OverlayRange.h"
#include "platform/archive/CObject.h"

namespace tvane {
class GridCore;
}

// The strip chart frame as its legend reports to it.
class ILegendParent {
public:
    virtual ~ILegendParent() = default;
    // The channels the display can show; false when there is no list.
    virtual bool OnChannelRequest(std::vector<OverlayChannel>& channels) = 0;
    virtual void OnSetChannel(int slot, const OverlayChannel& channel) = 0;
    virtual void OnRemoveChannel(int slot) = 0;
    virtual void OnToggleVMarkerState(int marker, int slot, bool on) = 0;
    // A cell edit changed the slot's range (units per division or reference).
    virtual void OnLegendRangeChange(int slot, const OverlayRange& range) = 0;
    // Tab left the legend.
    virtual void OnLegendTabOut() = 0;
};

// The strip chart's legend without its window: one row per slot over a grid
// core, with the channel chosen from a list, the trace's units per division
// and reference (edited with spin buttons, the reference also typed), and
// the two marker switches. Row i + 1 is slot i; columns 1 to 7.
class CLegendGrid : public tvane::CObject {
    DECLARE_SERIAL(CLegendGrid)
public:
    enum Column {
        kNumberCol = 1,
        kChannelCol = 2,
        kUnitsCol = 3,
        kReferenceCol = 4,
        kMarker1Col = 5,
        kMarker2Col = 6,
        kFillerCol = 7
    };
    static constexpr int kColumns = 7;
    static constexpr int kChannelListId = 1000;
    static constexpr int kUnitsEditId = 303;
    static constexpr int kReferenceEditId = 304;
    static constexpr int kRowPixels = 22;
    static constexpr std::int32_t kSilver = 0xC0C0C0;
    static constexpr std::int32_t kWhite = 0xFFFFFF;

    CLegendGrid();
    ~CLegendGrid() override;

    // Lays the legend out in the grid core (columns, headers, controls by id,
    // texts and colours through the core's hooks). The core must outlive the
    // legend's use of it.
    void Attach(tvane::GridCore& core);
    tvane::GridCore* Core() const { return m_core; }
    void SetParent(ILegendParent* parent) { m_parent = parent; }
    ILegendParent* GetParent() const { return m_parent; }
    // Told after the legend's texts or colours changed (its window redraws).
    void SetChanged(std::function<void()> changed) { m_changedHook = std::move(changed); }

    // A new legend of that many rows; false when the frame gives no channels.
    bool Create(int rows);
    // A loaded legend; false when the frame gives no channels.
    bool Recreate();
    bool RequestChannels();
    // "<None>" and then every channel's label and name.
    std::vector<std::string> ChoiceTexts() const;

    bool SetChannelAt(int slot);
    bool UpdateChannelRow(int slot, const OverlayChannel& channel, std::int32_t colour);
    bool UpdateRangeInfo(int slot, const OverlayRange& range);
    bool RemoveChannelAt(int slot);
    void ClearRow(int slot);

    // The user's actions.
    void ClickCell(int row, int col);
    // The channel list closed on item index (-1 none).
    void ChoiceEnded(int row, int index);
    // Tab (shift: backwards) with the current cell, inside the legend or not:
    // the new current cell, or false when the focus leaves for the frame.
    bool Tab(bool shift, bool inside, int& row, int& col);

    // The number cells' spin buttons and the typed reference.
    void SpinPress(int row, int col, bool up);
    // One tick of a held button: the next repeat interval.
    int SpinTick();
    void SpinRelease();
    bool IsSpinHeld() const { return m_held; }
    int RepeatInterval() const { return m_repeat.Interval(); }
    // A typed reference; false (warning set) when it is not a number in range.
    bool StoreReference(int row, const std::string& text, std::string& warning);
    // The reference cell's text while it is edited: the bare number.
    std::string EditText(int row, int col) const;

    // Contents.
    int RowCount() const { return m_rows; }
    std::string Text(int row, int col) const;
    std::int32_t TextColour(int row, int col) const;
    std::int32_t GetBackground() const { return m_background; }
    void SetBackground(std::int32_t colour);
    void SetRowColour(int slot, std::int32_t colour);
    const std::optional<OverlayRange>& Range(int slot) const;
    int RowHeight() const { return m_rowHeight; }
    int HeaderHeight() const { return m_headerHeight; }
    void SetHeights(int row, int header) {
        m_rowHeight = row;
        m_headerHeight = header;
    }

    void Serialize(tvane::CArchive& ar) override;

private:
    struct Cell {
        std::string text;
        std::int32_t colour = kWhite;
    };
    Cell& At(int row, int col);
    const Cell* Find(int row, int col) const;
    void Format();
    void SwitchMarkerOff(int row, int col);
    void Step();
    void SendWorking(int slot);
    void Changed() {
        if (m_changedHook)
            m_changedHook();
    }

    tvane::GridCore* m_core = nullptr;
    ILegendParent* m_parent = nullptr;
    std::function<void()> m_changedHook;
    std::int32_t m_rows = 0;
    std::int32_t m_background = 0;
    std::vector<std::optional<OverlayRange>> m_ranges;
    std::vector<OverlayChannel> m_choices;
    std::vector<std::array<Cell, kColumns + 1>> m_cells;
    std::int32_t m_rowHeight = kRowPixels;
    std::int32_t m_headerHeight = kRowPixels;
    // The cell edit's working range and its held spin button.
    OverlayRange m_working;
    int m_spinRow = 0;
    int m_spinCol = 0;
    bool m_spinUp = true;
    bool m_held = false;
    legend::SpinRepeat m_repeat;
};
