#pragma once
#include <cstdint>
#include <string>

#include "platform/grid/GridRange.h"

// What the setup grid's view asks of the document: the setup-grid operations
// under their own names, and the few facts of the document and application
// state the view reads. The view never writes a setup row itself.
//
// Rows are grid rows (setup index + 2); an operation given a row past the
// setup does nothing and returns false (or 0). A selection is one grid range
// (whole rows or cells, rows top to bottom); ranges with no rows are refused
// with "Invalid or incompatible selection". A partner range collects the grid
// rows of four-wire partners changed on the side: its top is set by the first
// partner and its bottom by each further one; a top of 0 means none.
// Operations that run a sheet or dialog parent it to the document's setup view.
class ISetupGridOperations {
public:
    virtual ~ISetupGridOperations() = default;

    // The document and application state.
    virtual bool IsSetupLoaded() const = 0;
    virtual bool HasSetup() const = 0;
    virtual bool IsScanning() const = 0;
    virtual int GetSetupCount() const = 0;
    // The application state names a dataset and the document holds a reading.
    virtual bool HasRecordedData() const = 0;
    // The setup differs from its scan data: the application state's
    // setup-changed flag is set and the document holds a reading.
    virtual bool SetupDiffersFromData() const = 0;
    virtual int GetUndoBufferCount() const = 0;
    virtual int GetCopyBufferCount() const = 0;
    // The monitor channel's number, 0 when none, and the grid row of a channel
    // (0 when no row has it).
    virtual long GetMonitorChannel() const = 0;
    virtual int GetGridRow(long channel) const = 0;
    virtual void UpdateScanStatus() = 0;
    virtual void NotifySetupChanged() = 0;
    // The view's layout kept with the setup (columns, zoom, tab name and
    // colour) changed: the setup is to be saved.
    virtual void MarkLayoutChanged() = 0;

    // Cells and rows.
    virtual bool GetSetupCellText(int row, int col, std::string& text) = 0;
    virtual bool GetRowFlags(int row, std::uint32_t& flags) = 0;
    virtual void StoreSetupCellValue(int row, int col, const std::string& text) = 0;
    virtual void RecomputeRowFlags(int row) = 0;
    virtual bool CanChangeFunction(int row, const std::string& text) = 0;
    virtual bool ApplyRowChange(int row, int& partnerRow) = 0;
    virtual bool ApplyResolutionChange(int row, const std::string& text) = 0;
    // Lists of names, each ended by "\n", in the order the database gives them.
    virtual bool FillFunctionList(int row, std::string& list) = 0;
    virtual bool FillRangeList(int row, std::string& list) = 0;
    virtual bool FillResolutionList(int row, std::string& list) = 0;
    virtual bool IsMeasurementRow(int row) = 0;
    virtual bool IsActiveRow(int row) = 0;
    virtual bool IsType5RowAt(int row) = 0;
    // The nearest qualifying row: below first, then above; -1 when none, 0
    // past the end.
    virtual int FindNearestMeasurementRow(int row) = 0;
    virtual int FindNearestActiveRow(int row) = 0;
    // The last grid row of module slots 1, 2 and 3; 0 for a slot without rows.
    virtual void GetLastRowPerSlot(int& slot1, int& slot2, int& slot3) = 0;

    // Selections.
    virtual bool CopySelection(const tvane::GridRange& range) = 0;
    virtual bool PasteSelection(const tvane::GridRange& range, tvane::GridRange& partners) = 0;
    // The range the undo restored comes back in range.
    virtual bool UndoSetupEdit(tvane::GridRange& range, tvane::GridRange& partners) = 0;
    virtual bool ResetSelectionDefaults(const tvane::GridRange& range,
                                        tvane::GridRange& partners) = 0;
    virtual bool SelectionHasComputedRow(const tvane::GridRange& range) = 0;
    virtual bool CanDeleteSelection(const tvane::GridRange& range) = 0;
    virtual bool DeleteComputedChannels(const tvane::GridRange& range) = 0;
    // Runs the channel details sheet on the range's top row from a start page.
    virtual bool ShowChannelProperties(const tvane::GridRange& range, int startPage,
                                       int& partnerRow) = 0;
    // Runs the sheet of a new computed channel with that number.
    virtual bool AddComputedChannel(int number) = 0;
};
