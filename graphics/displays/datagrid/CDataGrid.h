#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "graphics/GraphGeometry.h"
#include "graphics/GraphItemProps.h"
#include "graphics/displays/datagrid/DataGridRows.h"
#include "platform/archive/CObject.h"
#include "platform/grid/CGridParam.h"
#include "platform/grid/GridStyle.h"
#include "scan/CChannelInfo.h"

namespace tvane {
class GridCore;
}

// The data grid's frame as its grid reports to it.
class IDataGridParent {
public:
    virtual ~IDataGridParent() = default;
    // The channels the display can show; false when there is no list.
    virtual bool OnChannelRequest(std::vector<CChannelInfo>& channels) = 0;
    virtual void OnSetChannel(int slot, const CChannelInfo& channel) = 0;
    virtual void OnRemoveChannel(int slot) = 0;
};

// The data grid without its window: per channel slot a row with a row header
// coloured by the reading's alarm state, the channel chosen from a list, the
// newest reading with its unit and its time. Row i + 1 is slot i; columns 0
// (row header) to 3.
//
// Every cell's style is kept resolved here and made again only when its row
// changes (a reading shown, a channel set or removed, a colour changed); the
// grid core and its window read the styles in place.
class CDataGrid : public tvane::CObject {
    DECLARE_SERIAL(CDataGrid)
public:
    enum Column { kHeaderCol = 0, kChannelCol = 1, kReadingCol = 2, kTimeCol = 3 };
    static constexpr int kColumns = 3;
    static constexpr int kChannelListId = 1000;
    static constexpr int kRowPixels = 22;
    static constexpr std::uint32_t kSilver = 0xC0C0C0;
    // Appearance items of the grid.
    enum Item { kBackgroundItem = 2, kTextItem = 3, kNoAlarmItem = 4, kHighItem = 5, kLowItem = 6 };

    CDataGrid();
    ~CDataGrid() override;

    // Lays the grid out in the core of its window (columns, header, heights,
    // the resolved styles); the core must outlive the grid's use of it.
    void Attach(tvane::GridCore& core);
    void Detach();
    tvane::GridCore* Core() const { return m_core; }
    void SetParent(IDataGridParent* parent) { m_parent = parent; }
    // Told when cells changed (the window repaints, coalesced).
    void SetChanged(std::function<void()> changed) { m_changedHook = std::move(changed); }

    // A new grid of that many rows; false when the frame gives no channels.
    bool Create(int rows);
    // A loaded grid; false when the frame gives no channels.
    bool Recreate();
    // The list of channels asked of the frame again.
    bool RequestChannelList();
    // "<None>" and then every channel's label and name.
    std::vector<std::string> ChoiceTexts() const;

    // The channel (or "<None>" when null) in the channel cell of row index + 1.
    bool ShowChannel(int index, const CChannelInfo* channel);
    // Row index + 1 made ready for a channel: reading and time empty, the
    // row header grey, a record made when it has none.
    void AssignRow(int index);
    // Row index + 1 freed: its record deleted, reading and time empty, grey.
    bool ClearRow(int index);
    // Every record shown in its row.
    bool RefreshRows();
    CGridDataArray& GetRows() { return m_rows; }

    // The user chose list entry index (0 "<None>") in the row's channel list.
    void ChoiceEnded(int row, int index);

    // The largest multiple of the data row height that fits in the height.
    int GetFittingHeight(int height) const;
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) const;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint);

    // Contents, for the window and the tests.
    int RowCount() const { return m_rowCount; }
    std::string Text(int row, int col) const;
    // The style of a cell: header row 0 and data rows 1 .. RowCount().
    const tvane::GridStyle* CellStyle(int row, int col) const;
    std::uint32_t GetBackground() const { return m_background; }
    std::uint32_t GetTextColor() const { return m_textColor; }
    std::uint32_t GetAlarmColor(int state) const {
        return m_alarmColors[static_cast<std::size_t>(state >= 0 && state <= 2 ? state : 0)];
    }
    int ColWidth(int col) const;
    // The layout kept in the file (the window's when it has one).
    const tvane::CGridParam& GetParam() const;

    // The rows, row count, the layout, the cells, the background and text
    // colours and the three alarm colours.
    void Serialize(tvane::CArchive& ar) override;

private:
    struct Row {
        std::string channel = datagridtext::kNone;
        std::string reading;
        std::string time;
        std::uint32_t header = kSilver;
    };
    void Format();
    void ApplyToCore();
    void Restyle(int row);
    void RestyleAll();
    void Changed() {
        if (m_changedHook)
            m_changedHook();
    }
    Row* RowAt(int row);

    tvane::GridCore* m_core = nullptr;
    IDataGridParent* m_parent = nullptr;
    std::function<void()> m_changedHook;
    CGridDataArray m_rows;
    std::int32_t m_rowCount = 1;
    std::vector<CChannelInfo> m_channels;
    std::vector<Row> m_cells;
    tvane::CGridParam m_param;
    std::uint32_t m_background = 0xFFFFFF;
    std::uint32_t m_textColor = 0x000000;
    std::array<std::uint32_t, 3> m_alarmColors{kSilver, 0xFF0000, 0x0000FF};
    // The resolved styles: row 0 the header, then one per data row.
    std::vector<std::array<tvane::GridStyle, kColumns + 1>> m_styles;
};
