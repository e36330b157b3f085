#pragma once
#include <memory>
#include <string>

#include "platform/grid/GridRange.h"
#include "platform/grid/GridStyle.h"
#include "platform/ui/MessageBus.h"
#include "setup/RowStyling.h"

namespace tvane {
class CArchive;
class CGridParam;
class GridCore;
} // namespace tvane

class ISetupGridOperations;
class ISetupGridWindow;

// The setup grid view's logic: it lays the grid out, styles each row from its
// flag word, gives each cell the document's text, passes every stored cell
// value to the document, and handles the registered messages of the cell
// controls (a function, resolution or setting change reshapes the row; a list
// is filled when its cell becomes current; ID cells are coloured for rows
// edited after data was recorded and for the monitor channel). It works on the
// grid core and a small window interface, so it runs without a window.
class SetupGridController {
public:
    // Silver: the colour every page tab starts with.
    static constexpr tvane::ColorRef kDefaultTabColour = tvane::Rgb(192, 192, 192);
    // The view's state kept with the document.
    struct State {
        bool updating = true;
        bool showAll = true;
        bool showActive = false;
        bool showMeasurement = false;
        int lastRow = 1; // data rows are 2 to lastRow
        int lastCol = 16;
        int frozenCols = 2;
        std::string tabName = "Scan Setup";
        int nextComputed = 900;
        tvane::ColorRef tabColour = kDefaultTabColour;
    };
    // The keys the view handles itself.
    enum class Key { Tab, Enter, Delete };

    SetupGridController(tvane::GridCore& grid, ISetupGridWindow& window,
                        ISetupGridOperations& operations);
    ~SetupGridController();
    SetupGridController(const SetupGridController&) = delete;
    SetupGridController& operator=(const SetupGridController&) = delete;

    State& GetState() { return m_state; }
    const State& GetState() const { return m_state; }
    tvane::GridCore& Grid() { return m_grid; }
    ISetupGridOperations& Operations() { return m_ops; }
    ISetupGridWindow& Window() { return m_window; }

    // A new or opened setup is shown (or the empty view when none is loaded);
    // an opened one keeps the layout its file brought.
    void InitialUpdate(bool opened);
    void InitGrid(bool rebuild);
    // The view's part of the document file: the grid layout (as an object),
    // the updating and show flags (16 bits each), last row, last column,
    // frozen columns (32 bits each), the tab name, the next computed
    // channel number and the tab colour (32 bits each; a part without the
    // colour leaves it silver). A loaded layout waits for InitialUpdate.
    void Serialize(tvane::CArchive& ar);

    // The grid's hooks.
    void CellStyle(int row, int col, tvane::GridStyle& style);
    bool StoreCell(int row, int col, const std::string& value);
    void CurrentCellMoved(int row, int col);

    // Registered messages; 0 for those not handled here.
    long OnMessage(const tvane::Message& message);
    long OnFuncChanged(int row, const std::string& function);
    long OnResChanged(int row, const std::string& resolution);
    long OnSettingChanged(int row);
    long OnFillComboBox(int row, int col);
    long OnOutOfSync(int row, bool outOfSync);
    // Before a download: false (after telling the user) when the current
    // cell's edit is not valid. Nothing to validate is valid.
    bool OnValidateExternal();

    // The current cell's edit is validated and stored, or dropped when it is
    // not valid; then its control is activated or not.
    void CommitCurrentCell(bool activate);
    void RefreshRow(int row, bool force);
    void RedrawRows(const tvane::GridRange& range, bool wholeRows);
    void RefreshCurrentCell(bool reinit);
    void ShowMonitorChannel(long channel, bool on);
    bool HasRecordedData() const;
    void Activate(bool active);
    // Tab, Enter and Delete; true when the key was taken.
    bool OnKey(Key key, bool shift);

    bool IsDataRow(int row) const { return row >= 2 && row <= m_state.lastRow; }
    // Posts OUTOFSYNC to the view.
    void PostOutOfSync(int row, bool outOfSync);
    // Rebuilds a list cell's choice list now (the restore commands).
    void RequestFill(int row, int col);

private:
    void ResetState();
    void MoveByTab(bool back);
    // The number the next computed channel gets in a setup shown anew.
    int NextComputedChannel();

    tvane::GridCore& m_grid;
    ISetupGridWindow& m_window;
    ISetupGridOperations& m_ops;
    State m_state;
    std::unique_ptr<tvane::CGridParam> m_loadedParam;
    setupgrid::SlotRows m_lastRows{};
    bool m_fillPending = false;
    bool m_hasData = false;
};
