#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "app/CFXUndo.h"
#include "setup/ISetupGridOperations.h"

class CCompChnl;
class CFXSetup;
class CLoggerDoc;
class DatabaseSetupLookup;
class IChannelDetailsSheet;
class ISetupLookup;

// The document's operations on its setup rows for the setup grid: cell texts
// and stores, choice lists, copy, paste and one-level undo, restore of
// defaults, four-wire pairing, deletion and creation of computed channels and
// the merge of the channel details sheet. They keep the document's record of
// what changed (the in-step flag, the edited rows, the structure flags and the
// application state's modified and changed flags). The document owns one and
// the setup view reaches it as ISetupGridOperations.
//
// Failures are told in an exclamation box and give false; rows already done
// keep their changes. Choice lists come from the lookup tables in the order
// the database returns them.
class SetupGridOperations final : public ISetupGridOperations {
public:
    explicit SetupGridOperations(CLoggerDoc& doc);
    ~SetupGridOperations() override;
    SetupGridOperations(const SetupGridOperations&) = delete;
    SetupGridOperations& operator=(const SetupGridOperations&) = delete;

    // The lookup tables; without one set, the workspace database's.
    void SetLookup(ISetupLookup* lookup) { m_lookup = lookup; }
    // The channel details sheet; without one, Channel Properties and Add
    // Computed Channel do nothing.
    void SetChannelDetailsSheet(IChannelDetailsSheet* sheet) { m_sheet = sheet; }
    bool HasChannelDetailsSheet() const { return m_sheet != nullptr; }

    // --- ISetupGridOperations ------------------------------------------------
    bool IsSetupLoaded() const override;
    bool HasSetup() const override;
    bool IsScanning() const override;
    int GetSetupCount() const override;
    bool HasRecordedData() const override;
    bool SetupDiffersFromData() const override;
    int GetUndoBufferCount() const override;
    int GetCopyBufferCount() const override;
    long GetMonitorChannel() const override;
    int GetGridRow(long channel) const override;
    void UpdateScanStatus() override;
    void NotifySetupChanged() override;
    void MarkLayoutChanged() override;

    bool GetSetupCellText(int row, int col, std::string& text) override;
    bool GetRowFlags(int row, std::uint32_t& flags) override;
    void StoreSetupCellValue(int row, int col, const std::string& text) override;
    void RecomputeRowFlags(int row) override;
    bool CanChangeFunction(int row, const std::string& text) override;
    bool ApplyRowChange(int row, int& partnerRow) override;
    bool ApplyResolutionChange(int row, const std::string& text) override;
    bool FillFunctionList(int row, std::string& list) override;
    bool FillRangeList(int row, std::string& list) override;
    bool FillResolutionList(int row, std::string& list) override;
    bool IsMeasurementRow(int row) override;
    bool IsActiveRow(int row) override;
    bool IsType5RowAt(int row) override;
    int FindNearestMeasurementRow(int row) override;
    int FindNearestActiveRow(int row) override;
    void GetLastRowPerSlot(int& slot1, int& slot2, int& slot3) override;

    bool CopySelection(const tvane::GridRange& range) override;
    bool PasteSelection(const tvane::GridRange& range, tvane::GridRange& partners) override;
    bool UndoSetupEdit(tvane::GridRange& range, tvane::GridRange& partners) override;
    bool ResetSelectionDefaults(const tvane::GridRange& range, tvane::GridRange& partners) override;
    bool SelectionHasComputedRow(const tvane::GridRange& range) override;
    bool CanDeleteSelection(const tvane::GridRange& range) override;
    bool DeleteComputedChannels(const tvane::GridRange& range) override;
    bool ShowChannelProperties(const tvane::GridRange& range, int startPage,
                               int& partnerRow) override;
    bool AddComputedChannel(int number) override;

    // --- The operations behind them ------------------------------------------
    // Stores one field of the row (setup index) from its column's text and
    // updates the record of what changed.
    void StoreSetupField(CFXSetup& row, int col, const std::string& text, int index);
    // Adds the index to the edited rows unless present or the edit is structural.
    void MarkRowEdited(int index, bool structural);
    bool ApplyFunctionDefaults(CFXSetup& row, int index, int& partnerRow, bool pairing);
    // Keeps a four-wire pair consistent; partnerRow is the partner's grid row
    // when it changed, else 0.
    void ApplyChannelPairing(CFXSetup& row, int index, int& partnerRow);
    bool CanDeleteComputedChannels(const tvane::GridRange& range, int rowCount);
    bool CheckPasteCompatibility(const tvane::GridRange& range, int& rowsDiffer);
    bool IsFunctionCompatible(const CFXSetup& target, const CFXSetup& copied) const;
    bool IsRangeCompatible(const CFXSetup& target, const CFXSetup& copied);
    bool IsResolutionCompatible(const CFXSetup& target, const CFXSetup& copied);
    static bool IsAlarmCompatible(const CFXSetup& target, const CFXSetup& copied);
    bool GetSelectedComputedChannel(const tvane::GridRange& range, CCompChnl& channel);
    bool SetSelectedComputedChannel(const tvane::GridRange& range, const CCompChnl& channel);
    // The setup index of the four-wire partner of a row (the row's own index
    // when it has none).
    static int PartnerIndex(const CFXSetup& row, int index);

private:
    CFXSetup* RowAt(int gridRow) const;
    // The range or resolution names of the row's function, in table order.
    bool FillListOfFunction(int row, bool resolutions, std::string& list);
    ISetupLookup* Lookup();
    // A valid range with at least one row; else message 550 and false.
    bool TestSelection(const tvane::GridRange& range) const;
    // Pastes the copy buffer onto the rows of the target; the undo buffer
    // takes the rows as they were.
    bool PasteRows(const CSetupRange& target, bool fill, tvane::GridRange& partners);
    void AddPartner(tvane::GridRange& partners, int partnerRow) const;
    // The setup now differs from what the instrument holds.
    void MarkOutOfStep();
    void SetModified(bool changed);
    // Range and resolution types of a function by its name; 0 when unknown.
    void FunctionTypes(const std::string& function, std::int32_t& rangeType,
                       std::int32_t& resolutionType);

    CLoggerDoc& m_doc;
    ISetupLookup* m_lookup = nullptr;
    std::unique_ptr<DatabaseSetupLookup> m_databaseLookup;
    const void* m_lookupDatabase = nullptr;
    IChannelDetailsSheet* m_sheet = nullptr;
    // Range and resolution types by function name, read once per lookup.
    std::map<std::string, std::pair<std::int32_t, std::int32_t>> m_functionTypes;
};
