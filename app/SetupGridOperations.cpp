#include "app/SetupGridOperations.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

#include "app/CLoggerDoc.h"
#include "app/DocumentTexts.h"
#include "app/ILoggerApp.h"
#include "database/CDataset.h"
#include "database/CStateInfo.h"
#include "database/DatabaseSetupLookup.h"
#include "platform/core/CaseInsensitive.h"
#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"
#include "scan/CCompChnl.h"
#include "scan/CCompChnlArray.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "scan/ISetupLookup.h"
#include "scan/ScanTexts.h"
#include "setup/IChannelDetailsSheet.h"
#include "shared/DocumentHints.h"

using tvane::EqualsNoCase;
using tvane::GridRange;

namespace {

constexpr int kFirstDataRow = 2;
constexpr int kLastColumn = 16;

// Messages of the setup grid's operations.
constexpr const char* kInvalidSelection = "Invalid or incompatible selection";             // 550
constexpr const char* kOneCardType = "Copy selection can only be from a single card type"; // 551
constexpr const char* kCopyFailure = "Copy failure";                                       // 552
constexpr const char* kUndoFailure = "Undo failure";                                       // 553
constexpr const char* kInvalidUndo = "Invalid undo buffer";                                // 554
constexpr const char* kRestoreError = "Error restoring defaults";                          // 555
constexpr const char* kRowIncompatible =
    "Function incompatible with channel or incompatible card types";                        // 556
constexpr const char* kInvalidCopy = "Invalid copy buffer";                                 // 557
constexpr const char* kFunctionIncompatible = "Function incompatible with channel";         // 558
constexpr const char* kScaleDisabled = "Scale mode is disabled";                            // 559
constexpr const char* kGainDisabled = "Scale gain is disabled";                             // 560
constexpr const char* kOffsetDisabled = "Scale offset is disabled";                         // 561
constexpr const char* kUnitsDisabled = "Scale units are disabled";                          // 562
constexpr const char* kAlarmDisabled = "Alarm mode is disabled";                            // 563
constexpr const char* kHighDisabled = "Alarm hi limit is disabled";                         // 564
constexpr const char* kLowDisabled = "Alarm low limit is disabled";                         // 565
constexpr const char* kHardwareDisabled = "H/W alarm is disabled";                          // 566
constexpr const char* kChannelDisabled = "Channel is disabled (non-measurement or paired)"; // 567
constexpr const char* kRangeIncompatible = "Incompatible range types";                      // 4012
constexpr const char* kResolutionIncompatible = "Incompatible resolution types";            // 4013
constexpr const char* kScalingTypes = "Incompatible scaling types";
constexpr const char* kAlarmTypes = "Incompatible alarm types";
constexpr const char* kAlarmValues = "Incompatible alarm type values";
constexpr const char* kDeleteAll = "Are you sure you want to delete all the computed channels?";
constexpr const char* kDependentChannel =
    "Channel <%ld> can not be deleted because Channel <%ld> depends on it.\r\nYou must first "
    "delete Channel <%ld>.";
constexpr const char* kPropertiesCaption = "Channel Properties - <%ld> "; // 576
constexpr const char* kAddComputedCaption = "Add Computed Channel";       // 1064

// Texts of the rows.
constexpr const char* kModule7101 = "KXQT7101";
constexpr const char* kModule7102 = "KXQT7102";
constexpr const char* kModule7107 = "KXQT7107";
constexpr const char* kModule7108 = "KXQT7108";
constexpr const char* kDigitalRead = "Digital Read 8bit"; // 2032
constexpr const char* kAnyBits = "XXXXXXXX";              // 3110
constexpr std::uint32_t kComputedFlags = 0x0777;

void Warn(const std::string& text) {
    tvane::ShowMessage(text, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
}

bool IsFourWire(const std::string& function) {
    return EqualsNoCase(function, scantext::kFourWireOhms) ||
           EqualsNoCase(function, scantext::kFourWireRtd);
}

// The multiplexers whose lower and upper channels share their functions.
bool IsMultiplexer(const CFXSetup& row) {
    return row.Name == kModule7101 || row.Name == kModule7102 || row.Name == kModule7108;
}

CSetupRange ToSetupRange(const GridRange& range) {
    CSetupRange out;
    out.type = range.wholeRows ? CSetupRange::kRows : CSetupRange::kCells;
    out.top = range.top;
    out.bottom = range.bottom;
    // Whole rows carry every field: the copy range says so by columns 0 to 0.
    out.left = range.wholeRows ? 0 : range.left;
    out.right = range.wholeRows ? 0 : range.right;
    out.valid = true;
    return out;
}

GridRange ToGridRange(const CSetupRange& range) {
    if (range.type == CSetupRange::kRows)
        return GridRange::Rows(range.top, range.bottom);
    return GridRange::Cells(range.top, range.left, range.bottom, range.right);
}

bool IsSingleColumn(const CSetupRange& range, int col) {
    return range.left == col && range.right == col;
}

// Whether two states of a row differ in what the instrument holds: anything
// but the channel's name and comment.
bool DiffersForInstrument(const CFXSetup& a, const CFXSetup& b) {
    return a.Channel != b.Channel || a.ChannelMode != b.ChannelMode || a.Function != b.Function ||
           a.Range != b.Range || a.Resolution != b.Resolution || a.Scaling != b.Scaling ||
           a.Gain != b.Gain || a.Offset != b.Offset || a.Units != b.Units || a.Alarms != b.Alarms ||
           a.AlarmHi != b.AlarmHi || a.AlarmLo != b.AlarmLo || a.AlarmEvent != b.AlarmEvent ||
           a.AdvSettingsType != b.AdvSettingsType || a.AdvSettings != b.AdvSettings ||
           a.AlarmActions != b.AlarmActions;
}

// Function types 1, 3 and 5 measure alike for the alarms.
std::uint32_t AlarmKind(std::uint32_t type) {
    return type == 1 || type == 3 || type == 5 ? 0 : type;
}

} // namespace

SetupGridOperations::SetupGridOperations(CLoggerDoc& doc) : m_doc(doc) {}

SetupGridOperations::~SetupGridOperations() = default;

// --- Document state -----------------------------------------------------------

CFXSetup* SetupGridOperations::RowAt(int gridRow) const {
    const CFXSetupArray* setup = m_doc.GetSetup();
    if (setup == nullptr || gridRow < kFirstDataRow ||
        gridRow - kFirstDataRow > setup->GetUpperBound())
        return nullptr;
    return setup->GetSetup(gridRow - kFirstDataRow);
}

ISetupLookup* SetupGridOperations::Lookup() {
    if (m_lookup != nullptr)
        return m_lookup;
    tvane::OdbcDatabase* database = m_doc.GetStateInfo().GetDatabase();
    if (database == nullptr)
        return nullptr;
    if (!m_databaseLookup || m_lookupDatabase != database) {
        m_databaseLookup = std::make_unique<DatabaseSetupLookup>(database);
        m_lookupDatabase = database;
        m_functionTypes.clear();
    }
    return m_databaseLookup.get();
}

bool SetupGridOperations::IsSetupLoaded() const {
    return m_doc.IsSetupLoaded() != 0;
}

bool SetupGridOperations::HasSetup() const {
    return IsSetupLoaded() && GetSetupCount() > 0;
}

bool SetupGridOperations::IsScanning() const {
    return m_doc.IsScanning() != 0;
}

int SetupGridOperations::GetSetupCount() const {
    return m_doc.GetSetup() ? m_doc.GetSetup()->GetSize() : 0;
}

bool SetupGridOperations::HasRecordedData() const {
    const CDataset* dataset = m_doc.GetDataset();
    return !m_doc.GetStateInfo().m_datasetName.empty() && dataset != nullptr &&
           dataset->GetReadingCount() > 0;
}

bool SetupGridOperations::SetupDiffersFromData() const {
    return m_doc.GetStateInfo().m_flags[1] != 0 && HasRecordedData();
}

int SetupGridOperations::GetUndoBufferCount() const {
    return m_doc.GetUndo() ? m_doc.GetUndo()->HasUndoItems() : 0;
}

int SetupGridOperations::GetCopyBufferCount() const {
    return m_doc.GetUndo() ? m_doc.GetUndo()->HasCopyItems() : 0;
}

long SetupGridOperations::GetMonitorChannel() const {
    return m_doc.GetMonitorChannel();
}

int SetupGridOperations::GetGridRow(long channel) const {
    return m_doc.GetGridRow(static_cast<std::int32_t>(channel));
}

void SetupGridOperations::UpdateScanStatus() {
    m_doc.UpdateScanStatus(false);
}

void SetupGridOperations::NotifySetupChanged() {
    m_doc.NotifySetupChanged();
}

void SetupGridOperations::MarkOutOfStep() {
    m_doc.SetSetupInInstrument(0);
    SetModified(true);
}

void SetupGridOperations::SetModified(bool changed) {
    CStateInfo state;
    m_doc.GetApp().CopyStateInfo(state);
    state.m_flags[0] = 1;
    if (changed)
        state.m_flags[1] = 1;
    m_doc.GetApp().SetStateInfo(state);
}

void SetupGridOperations::MarkLayoutChanged() {
    if (m_doc.IsSetupLoaded() != 0)
        m_doc.GetStateInfo().m_flags[2] = 1;
}

void SetupGridOperations::MarkRowEdited(int index, bool structural) {
    if (structural || index < 0)
        return;
    std::vector<std::uint32_t>& edited = m_doc.GetEditedRows();
    const auto value = static_cast<std::uint32_t>(index);
    if (std::find(edited.begin(), edited.end(), value) == edited.end())
        edited.push_back(value);
}

// --- Cells ----------------------------------------------------------------------

bool SetupGridOperations::GetSetupCellText(int row, int col, std::string& text) {
    const CFXSetup* r = RowAt(row);
    if (r == nullptr || col < 0 || col > kLastColumn)
        return false;
    switch (col) {
    case 0:
        text = std::to_string(r->Channel);
        break;
    case 1:
        text = r->ChannelMode != 0 ? "1" : "0";
        break;
    case 2:
        text = r->ChannelName;
        break;
    case 3:
        text = r->Function;
        break;
    case 4:
        text = r->Range;
        break;
    case 5:
        text = r->Resolution;
        break;
    case 6:
        if (r->CellFlags == CFXSetup::kCellAll || (r->CellFlags & CFXSetup::kCellAdvanced))
            text.clear();
        else
            text = m_doc.GetResolutionFormat(*r) ? doctext::kDefault : doctext::kAdvanced;
        break;
    case 7:
        text = r->Scaling != 0 ? "1" : "0";
        break;
    case 8:
        text = r->Gain;
        break;
    case 9:
        text = r->Offset;
        break;
    case 10:
        text = EqualsNoCase(r->Units, doctext::kNone) ? std::string() : r->Units;
        break;
    case 11:
        text = r->Alarms;
        break;
    case 12:
        text = r->AlarmHi;
        break;
    case 13:
        text = r->AlarmLo;
        break;
    case 14:
        text = EqualsNoCase(r->AlarmEvent, doctext::kNone) ? std::string() : r->AlarmEvent;
        break;
    case 15:
        if (r->CellFlags == CFXSetup::kCellAll || (r->CellFlags & CFXSetup::kCellAlarmActions))
            text.clear();
        else
            text = r->AlarmActions == scantext::kJournalActions ? doctext::kDefault
                                                                : doctext::kAdvanced;
        break;
    default:
        text = r->Comment;
        break;
    }
    return true;
}

bool SetupGridOperations::GetRowFlags(int row, std::uint32_t& flags) {
    const CFXSetup* r = RowAt(row);
    if (r == nullptr)
        return false;
    flags = r->CellFlags;
    return true;
}

void SetupGridOperations::StoreSetupCellValue(int row, int col, const std::string& text) {
    CFXSetup* r = RowAt(row);
    if (r == nullptr || col < 0 || col > kLastColumn)
        return;
    StoreSetupField(*r, col, text, row - kFirstDataRow);
}

void SetupGridOperations::StoreSetupField(CFXSetup& row, int col, const std::string& text,
                                          int index) {
    bool instrumentEdit = true;
    bool structural = false;
    bool stopMonitor = false;
    const long monitor = m_doc.GetMonitorChannel();
    const bool isMonitor = monitor != 0 && static_cast<long>(row.Channel) == monitor;
    switch (col) {
    case 0:
        row.Channel = static_cast<std::uint32_t>(std::atol(text.c_str()));
        instrumentEdit = false;
        break;
    case 1: {
        row.ChannelMode = EqualsNoCase(text, "0") ? 0 : 1;
        // A slot switched on or off as a whole changes the setup's shape.
        const std::uint32_t before = m_doc.GetModuleKind(row);
        m_doc.CountActiveChannelsPerSlot();
        const std::uint32_t after = m_doc.GetModuleKind(row);
        structural = !((before == 1 || before == 256) && after == before);
        if (isMonitor)
            m_doc.StopMonitor();
        break;
    }
    case 2:
        row.ChannelName = text;
        instrumentEdit = false;
        break;
    case 3:
        stopMonitor = isMonitor && text != row.Function;
        row.Function = text;
        break;
    case 4:
        stopMonitor = isMonitor && text != row.Range;
        row.Range = text;
        break;
    case 5:
        stopMonitor = isMonitor && text != row.Resolution;
        row.Resolution = text;
        m_doc.FormatResolution(row);
        break;
    case 7:
        row.Scaling = !text.empty() && text != "0" ? 1 : 0;
        break;
    case 8:
        row.Gain = text;
        break;
    case 9:
        row.Offset = text;
        break;
    case 10:
        row.Units = EqualsNoCase(text, doctext::kNone) ? std::string() : text;
        break;
    case 11:
        row.Alarms = text;
        row.SetAlarmDefaults();
        break;
    case 12:
        row.AlarmHi = text;
        break;
    case 13:
        row.AlarmLo = text;
        break;
    case 14:
        row.AlarmEvent = EqualsNoCase(text, doctext::kNone) ? std::string() : text;
        break;
    case 16:
        row.Comment = text;
        instrumentEdit = false;
        break;
    default: // 6 and 15 show a summary; their fields change through the sheet
        break;
    }
    if (row.IsComputed())
        instrumentEdit = false;
    if (instrumentEdit)
        m_doc.SetSetupInInstrument(0);
    CStateInfo state;
    m_doc.GetApp().CopyStateInfo(state);
    state.m_flags[0] = 1;
    if (state.m_flags[1] == 0 && instrumentEdit)
        state.m_flags[1] = 1;
    m_doc.GetApp().SetStateInfo(state);
    if (stopMonitor)
        m_doc.StopMonitor();
    MarkRowEdited(index, structural);
    if (structural)
        m_doc.SetStructureChanged();
}

void SetupGridOperations::RecomputeRowFlags(int row) {
    if (CFXSetup* r = RowAt(row))
        r->ComputeFlagWord();
}

// --- Functions, pairing and resolution ----------------------------------------

bool SetupGridOperations::CanChangeFunction(int row, const std::string&) {
    const CFXSetup* r = RowAt(row);
    return r != nullptr && !r->Name.empty();
}

bool SetupGridOperations::ApplyRowChange(int row, int& partnerRow) {
    partnerRow = 0;
    CFXSetup* r = RowAt(row);
    if (r == nullptr)
        return false;
    const int index = row - kFirstDataRow;
    const bool ok = ApplyFunctionDefaults(*r, index, partnerRow, true);
    MarkRowEdited(index, false);
    if (partnerRow != 0)
        MarkRowEdited(partnerRow - kFirstDataRow, false);
    return ok;
}

bool SetupGridOperations::ApplyFunctionDefaults(CFXSetup& row, int index, int& partnerRow,
                                                bool pairing) {
    ISetupLookup* lookup = Lookup();
    FunctionRow function;
    if (row.Function.empty() || lookup == nullptr ||
        lookup->OpenFunctionGivenTypeName(row.FunctionType, row.Function, function) !=
            ISetupLookup::kRows)
        return false;
    row.Range = function.DefaultRange;
    row.Resolution = function.DefaultResolution;
    row.Units = function.DefaultUnits;
    row.AdvSettingsType = function.AdvSettingsType;
    row.AdvSettings = function.DefaultAdvSettings;
    if (pairing)
        ApplyChannelPairing(row, index, partnerRow);
    // The defaults below depend on which cells the new function locks.
    row.ComputeFlagWord();
    row.Alarms = scantext::kAlarmOff;
    row.SetAlarmDefaults();
    row.Scaling = 0;
    row.SetScalingDefaults();
    if (EqualsNoCase(row.Name, kModule7107)) {
        row.AlarmHi = row.Function == kDigitalRead              ? kAnyBits
                      : row.Function == scantext::kDigitalWrite ? ""
                                                                : "0";
        row.AlarmLo.clear();
    } else {
        row.AlarmHi = "0.0";
        row.AlarmLo = "0.0";
    }
    row.AlarmEvent = scantext::kAlarm1;
    row.AlarmActions = scantext::kJournalActions;
    row.ComputeFlagWord();
    return true;
}

int SetupGridOperations::PartnerIndex(const CFXSetup& row, int index) {
    const int offset = row.Name == kModule7101 ? 10 : row.Name == kModule7102 ? 8 : 0;
    if (offset == 0)
        return index;
    std::int64_t channel = row.Channel;
    while (channel > 100)
        channel -= 100;
    if (channel > 2 * offset)
        return index;
    return channel > offset ? index - offset : index + offset;
}

void SetupGridOperations::ApplyChannelPairing(CFXSetup& row, int index, int& partnerRow) {
    partnerRow = 0;
    if (EqualsNoCase(row.Name, kModule7107) && row.Function == scantext::kDigitalWrite)
        row.ChannelMode = 0;
    const int partnerIndex = PartnerIndex(row, index);
    CFXSetup* partner = partnerIndex == index ? nullptr : m_doc.GetSetup()->GetSetup(partnerIndex);
    // Only the very partner channel of the same module pairs: a setup whose
    // rows are not in channel order pairs nothing.
    const long expected = static_cast<long>(row.Channel) + (partnerIndex - index);
    if (partner == nullptr || partner->Name != row.Name ||
        static_cast<long>(partner->Channel) != expected ||
        EqualsNoCase(partner->Function, row.Function)) {
        row.ComputeFlagWord();
        return;
    }
    const bool rowFourWire = IsFourWire(row.Function);
    if (rowFourWire) {
        if (partnerIndex < index) {
            partner->Function = row.Function;
            int unused = 0;
            ApplyFunctionDefaults(*partner, partnerIndex, unused, false);
        } else {
            // The upper channel carries the lower's four-wire sense lines.
            partner->Function = row.Function;
            partner->AdvSettingsType = row.AdvSettingsType;
            partner->AdvSettings = row.AdvSettings;
            partner->CellFlags = row.CellFlags;
            partner->Range.clear();
            partner->Resolution.clear();
            partner->Units.clear();
            partner->Gain.clear();
            partner->Offset.clear();
            partner->Scaling = 0;
            partner->Alarms.clear();
            partner->AlarmHi.clear();
            partner->AlarmLo.clear();
            partner->AlarmEvent.clear();
            partner->ChannelMode = 0;
            // Locked as a whole first, so the alarm defaults empty its alarms.
            partner->ComputeFlagWord();
            partner->SetAlarmDefaults();
        }
        partnerRow = partnerIndex + kFirstDataRow;
        if (m_doc.GetMonitorChannel() != 0 &&
            static_cast<std::int32_t>(partner->Channel) == m_doc.GetMonitorChannel())
            m_doc.ConfigureMonitorChannel(0);
        m_doc.SetPairingChanged();
    } else if (IsFourWire(partner->Function)) {
        ISetupLookup* lookup = Lookup();
        if (lookup != nullptr)
            partner->SetFromCardData(*lookup);
        partner->ComputeFlagWord();
        partnerRow = partnerIndex + kFirstDataRow;
        m_doc.SetPairingChanged();
    }
    row.ComputeFlagWord();
}

bool SetupGridOperations::ApplyResolutionChange(int row, const std::string& text) {
    CFXSetup* r = RowAt(row);
    if (r == nullptr)
        return false;
    r->Resolution = text;
    m_doc.FormatResolution(*r);
    return true;
}

// --- Choice lists ---------------------------------------------------------------

bool SetupGridOperations::FillFunctionList(int row, std::string& list) {
    const CFXSetup* r = RowAt(row);
    ISetupLookup* lookup = Lookup();
    std::vector<FunctionRow> functions;
    if (r == nullptr || r->Name.empty() || lookup == nullptr ||
        lookup->OpenFunctionsGivenType(r->FunctionType, functions) != ISetupLookup::kRows)
        return false;
    list.clear();
    for (const FunctionRow& function : functions)
        list += function.Name + "\n";
    return true;
}

bool SetupGridOperations::FillRangeList(int row, std::string& list) {
    return FillListOfFunction(row, false, list);
}

bool SetupGridOperations::FillResolutionList(int row, std::string& list) {
    return FillListOfFunction(row, true, list);
}

bool SetupGridOperations::FillListOfFunction(int row, bool resolutions, std::string& list) {
    const CFXSetup* r = RowAt(row);
    ISetupLookup* lookup = Lookup();
    FunctionRow function;
    std::vector<std::string> names;
    if (r == nullptr || r->Name.empty() || r->Function.empty() || lookup == nullptr ||
        lookup->OpenFunctionGivenTypeName(r->FunctionType, r->Function, function) !=
            ISetupLookup::kRows)
        return false;
    const ISetupLookup::OpenResult opened =
        resolutions ? lookup->OpenResolutionsGivenType(function.ResolutionType, names)
                    : lookup->OpenRangesGivenType(function.RangeType, names);
    if (opened != ISetupLookup::kRows)
        return false;
    list.clear();
    for (const std::string& name : names)
        list += name + "\n";
    return true;
}

// --- Row tests and navigation -----------------------------------------------------

bool SetupGridOperations::IsMeasurementRow(int row) {
    const CFXSetup* r = RowAt(row);
    return r != nullptr && r->IsMeasurement();
}

bool SetupGridOperations::IsActiveRow(int row) {
    const CFXSetup* r = RowAt(row);
    return r != nullptr && r->ChannelMode != 0;
}

bool SetupGridOperations::IsType5RowAt(int row) {
    const CFXSetup* r = RowAt(row);
    return r != nullptr && r->IsType5WithAllFlags();
}

namespace {

template <class Qualifies> int FindNearest(int row, int count, Qualifies qualifies) {
    if (row - kFirstDataRow > count - 1)
        return 0;
    if (count == 1 && row == kFirstDataRow)
        return 0;
    const int last = count - 1 + kFirstDataRow;
    for (int r = row + 1; r <= last; ++r)
        if (qualifies(r))
            return r;
    for (int r = row - 1; r >= kFirstDataRow; --r)
        if (qualifies(r))
            return r;
    return -1;
}

} // namespace

int SetupGridOperations::FindNearestMeasurementRow(int row) {
    return FindNearest(row, GetSetupCount(), [this](int r) { return IsMeasurementRow(r); });
}

int SetupGridOperations::FindNearestActiveRow(int row) {
    return FindNearest(row, GetSetupCount(), [this](int r) { return IsActiveRow(r); });
}

void SetupGridOperations::GetLastRowPerSlot(int& slot1, int& slot2, int& slot3) {
    int* last[] = {&slot1, &slot2, &slot3};
    const CFXSetupArray* setup = m_doc.GetSetup();
    for (int i = 0; setup != nullptr && i < setup->GetSize(); ++i) {
        const CFXSetup* row = setup->GetSetup(i);
        if (row == nullptr)
            continue;
        const std::uint32_t slot = row->Channel / 100;
        // A grid row, so that a slot whose last row is the setup's first
        // still counts as having rows.
        if (slot >= 1 && slot <= 3)
            *last[slot - 1] = std::max(*last[slot - 1], i + kFirstDataRow);
    }
}

// --- Selections ---------------------------------------------------------------------

bool SetupGridOperations::TestSelection(const GridRange& range) const {
    if (range.RowCount() < 1 || range.top < kFirstDataRow) {
        Warn(kInvalidSelection);
        return false;
    }
    return true;
}

// The two selection tests decide whether commands are enabled, so a range
// without data rows is simply not one for them: no message.
bool SetupGridOperations::SelectionHasComputedRow(const GridRange& range) {
    if (range.RowCount() < 1 || range.top < kFirstDataRow)
        return false;
    for (int row = range.top; row <= range.bottom; ++row)
        if (const CFXSetup* r = RowAt(row); r != nullptr && r->IsComputed())
            return true;
    return false;
}

bool SetupGridOperations::CanDeleteSelection(const GridRange& range) {
    if (range.RowCount() < 1 || range.top < kFirstDataRow)
        return false;
    for (int row = range.top; row <= range.bottom; ++row) {
        const CFXSetup* r = RowAt(row);
        if (r == nullptr || !r->IsComputed())
            return false;
    }
    return true;
}

bool SetupGridOperations::CopySelection(const GridRange& range) {
    if (!TestSelection(range))
        return false;
    std::vector<const CFXSetup*> rows;
    for (int row = range.top; row <= range.bottom; ++row) {
        const CFXSetup* r = RowAt(row);
        if (r == nullptr) {
            Warn(kInvalidSelection);
            return false;
        }
        if (!rows.empty() && r->Channel / 100 != rows.front()->Channel / 100) {
            Warn(kOneCardType);
            return false;
        }
        rows.push_back(r);
    }
    CFXUndo* undo = m_doc.GetUndo();
    if (undo == nullptr || !undo->SaveCopyBuffer(static_cast<std::int32_t>(rows.size()))) {
        Warn(kCopyFailure);
        return false;
    }
    undo->SetCopyRange(ToSetupRange(range));
    for (std::size_t i = 0; i < rows.size(); ++i)
        undo->SetCopyItem(static_cast<std::int32_t>(i), std::make_unique<CFXSetup>(*rows[i]));
    return true;
}

void SetupGridOperations::AddPartner(GridRange& partners, int partnerRow) const {
    if (partnerRow == 0)
        return;
    // One partner makes a range of its own row.
    if (partners.top == 0) {
        partners.top = partners.bottom = partnerRow;
        return;
    }
    partners.top = std::min(partners.top, partnerRow);
    partners.bottom = std::max(partners.bottom, partnerRow);
}

bool SetupGridOperations::PasteRows(const CSetupRange& target, bool fill, GridRange& partners) {
    CFXUndo& undo = *m_doc.GetUndo();
    for (int i = 0; i < target.RowCount(); ++i) {
        const int index = target.top - kFirstDataRow + i;
        CFXSetup* row = m_doc.GetSetup()->GetSetup(index);
        if (row == nullptr)
            continue;
        undo.SetUndoItem(i, std::make_unique<CFXSetup>(*row));
        std::int32_t scanCarried = 0, functionCarried = 0;
        undo.PasteItems(i, *row, fill, scanCarried, functionCarried);
        if (functionCarried) {
            int partner = 0;
            ApplyChannelPairing(*row, index, partner);
            AddPartner(partners, partner);
            row->SetAlarmDefaults();
        }
        if (scanCarried)
            StoreSetupField(*row, 1, row->ChannelMode != 0 ? "1" : "0", index);
        row->ComputeFlagWord();
        MarkRowEdited(index, false);
    }
    return true;
}

bool SetupGridOperations::PasteSelection(const GridRange& range, GridRange& partners) {
    if (!TestSelection(range))
        return false;
    CFXUndo* undo = m_doc.GetUndo();
    if (undo == nullptr || !undo->HasCopyItems()) {
        Warn(kInvalidCopy);
        return false;
    }
    const CSetupRange target = ToSetupRange(range);
    std::int32_t rowsDiffer = 0;
    if (!undo->IsCompatibleCopy(target, rowsDiffer) || RowAt(range.bottom) == nullptr) {
        Warn(kInvalidSelection);
        return false;
    }
    int differ = rowsDiffer;
    if (!CheckPasteCompatibility(range, differ))
        return false;
    if (!undo->SaveUndoBuffer(target.RowCount())) {
        Warn(kUndoFailure);
        return false;
    }
    undo->SetUndoRange(target);
    PasteRows(target, rowsDiffer != 0, partners);
    if (!IsSingleColumn(target, 2) && !IsSingleColumn(target, kLastColumn))
        MarkOutOfStep();
    return true;
}

bool SetupGridOperations::UndoSetupEdit(GridRange& range, GridRange& partners) {
    CFXUndo* undo = m_doc.GetUndo();
    CSetupRange stored;
    if (undo == nullptr || !undo->HasUndoItems()) {
        Warn(kInvalidUndo);
        return false;
    }
    if (!undo->NormalizeUndoRange(stored) || stored.top < kFirstDataRow)
        return false;
    for (int row = stored.top; row <= stored.bottom; ++row)
        if (RowAt(row) == nullptr)
            return false;
    std::int32_t rowsDiffer = 0;
    if (!undo->IsCompatibleUndo(stored, rowsDiffer) || stored.RowCount() < 1) {
        Warn(kInvalidSelection);
        return false;
    }
    if (!undo->SaveCopyBuffer(stored.RowCount())) {
        Warn(kCopyFailure);
        return false;
    }
    undo->SetCopyRange(stored);
    undo->CopyUndoToCopy();
    if (!undo->SaveUndoBuffer(stored.RowCount())) {
        Warn(kUndoFailure);
        return false;
    }
    undo->SetUndoRange(stored);
    // An undo that brings back functions or ranges leaves the instrument
    // holding another setup, just as a paste does.
    std::vector<CFXSetup> before;
    for (int row = stored.top; row <= stored.bottom; ++row)
        before.push_back(*RowAt(row));
    PasteRows(stored, false, partners);
    for (int row = stored.top; row <= stored.bottom; ++row)
        if (DiffersForInstrument(before[static_cast<std::size_t>(row - stored.top)], *RowAt(row))) {
            MarkOutOfStep();
            break;
        }
    range = ToGridRange(stored);
    return true;
}

bool SetupGridOperations::ResetSelectionDefaults(const GridRange& range, GridRange& partners) {
    if (!TestSelection(range))
        return false;
    ISetupLookup* lookup = Lookup();
    bool reported = false;
    bool changed = false;
    for (int gridRow = range.top; gridRow <= range.bottom; ++gridRow) {
        CFXSetup* row = RowAt(gridRow);
        if (row == nullptr || row->IsComputed())
            continue;
        const int index = gridRow - kFirstDataRow;
        const CFXSetup before = *row;
        if (lookup == nullptr || !row->SetFromCardData(*lookup)) {
            // Once per command, however many rows could not be read.
            if (!reported)
                Warn(kRestoreError);
            reported = true;
            continue;
        }
        int partner = 0;
        ApplyChannelPairing(*row, index, partner);
        AddPartner(partners, partner);
        row->SetAlarmDefaults();
        row->ComputeFlagWord();
        MarkRowEdited(index, false);
        changed = changed || partner != 0 || DiffersForInstrument(before, *row);
    }
    if (changed)
        MarkOutOfStep();
    return true;
}

// --- Paste checks ---------------------------------------------------------------------

bool SetupGridOperations::IsFunctionCompatible(const CFXSetup& target,
                                               const CFXSetup& copied) const {
    if (target.FunctionType == copied.FunctionType)
        return true;
    if (IsMultiplexer(target) != IsMultiplexer(copied))
        return false;
    const bool pairTypes = (target.FunctionType == 1 && copied.FunctionType == 5) ||
                           (target.FunctionType == 5 && copied.FunctionType == 1);
    return pairTypes && !IsFourWire(target.Function) && !IsFourWire(copied.Function);
}

void SetupGridOperations::FunctionTypes(const std::string& function, std::int32_t& rangeType,
                                        std::int32_t& resolutionType) {
    rangeType = resolutionType = 0;
    ISetupLookup* lookup = Lookup();
    if (lookup == nullptr)
        return;
    auto it = m_functionTypes.find(function);
    if (it == m_functionTypes.end()) {
        FunctionRow row;
        std::pair<std::int32_t, std::int32_t> types{0, 0};
        if (lookup->OpenFunctions() == ISetupLookup::kRows && lookup->FindFunction(function, row))
            types = {row.RangeType, row.ResolutionType};
        it = m_functionTypes.emplace(function, types).first;
    }
    rangeType = it->second.first;
    resolutionType = it->second.second;
}

bool SetupGridOperations::IsRangeCompatible(const CFXSetup& target, const CFXSetup& copied) {
    std::int32_t targetRange = 0, copiedRange = 0, unused = 0;
    FunctionTypes(target.Function, targetRange, unused);
    FunctionTypes(copied.Function, copiedRange, unused);
    return targetRange == copiedRange;
}

bool SetupGridOperations::IsResolutionCompatible(const CFXSetup& target, const CFXSetup& copied) {
    std::int32_t targetResolution = 0, copiedResolution = 0, unused = 0;
    FunctionTypes(target.Function, unused, targetResolution);
    FunctionTypes(copied.Function, unused, copiedResolution);
    return targetResolution == copiedResolution;
}

bool SetupGridOperations::IsAlarmCompatible(const CFXSetup& target, const CFXSetup& copied) {
    return target.FunctionType == copied.FunctionType ||
           AlarmKind(target.FunctionType) == AlarmKind(copied.FunctionType);
}

bool SetupGridOperations::CheckPasteCompatibility(const GridRange& range, int& rowsDiffer) {
    CFXUndo& undo = *m_doc.GetUndo();
    CSetupRange copy;
    if (!undo.NormalizeCopyRange(copy))
        return false;
    const CSetupRange target = ToSetupRange(range);
    const int left = copy.left, right = copy.right;
    if (left == right && (left == 2 || left == kLastColumn) && IsSingleColumn(target, left))
        return true;
    std::vector<const CFXSetup*> copied, targets;
    for (int i = 0; i < copy.RowCount(); ++i)
        if (const CFXSetup* item = undo.GetCopyItem(i))
            copied.push_back(item);
    for (int row = range.top; row <= range.bottom; ++row)
        if (const CFXSetup* r = RowAt(row))
            targets.push_back(r);
    const auto fail = [](const char* text) {
        Warn(text);
        return false;
    };

    if (left == 0 && right == 0) {
        for (const CFXSetup* t : targets)
            for (const CFXSetup* c : copied)
                if (!IsFunctionCompatible(*t, *c))
                    return fail(kRowIncompatible);
        return true;
    }
    if (left == 7 && right < 11) {
        for (const CFXSetup* t : targets)
            if (t->CellFlags & CFXSetup::kCellScale)
                return fail(kScalingTypes);
        return true;
    }
    if (left == 11 && right < kLastColumn) {
        for (const CFXSetup* t : targets) {
            if (t->CellFlags & CFXSetup::kCellAlarmTest)
                return fail(kAlarmTypes);
            for (const CFXSetup* c : copied)
                if (!IsAlarmCompatible(*t, *c))
                    return fail(kAlarmTypes);
        }
        return true;
    }
    for (const CFXSetup* t : targets) {
        const std::uint32_t flags = t->CellFlags;
        for (const CFXSetup* c : copied) {
            bool function = false;
            for (int col = left; col <= right; ++col) {
                switch (col) {
                case 1:
                    if (flags & CFXSetup::kCellScan)
                        return fail(kChannelDisabled);
                    break;
                case 3:
                    if (!IsFunctionCompatible(*t, *c))
                        return fail(kFunctionIncompatible);
                    function = true;
                    break;
                case 4:
                    if (!function && !IsRangeCompatible(*t, *c))
                        return fail(kRangeIncompatible);
                    break;
                case 5:
                    if (!function && !IsResolutionCompatible(*t, *c))
                        return fail(kResolutionIncompatible);
                    break;
                case 6:
                    if (t->AdvSettingsType != c->AdvSettingsType)
                        return fail(kFunctionIncompatible);
                    break;
                case 7:
                    if (flags & CFXSetup::kCellScale)
                        return fail(kScaleDisabled);
                    break;
                case 8:
                    if (flags & CFXSetup::kCellGain)
                        return fail(kGainDisabled);
                    break;
                case 9:
                    if (flags & CFXSetup::kCellOffset)
                        return fail(kOffsetDisabled);
                    break;
                case 10:
                    if (flags & CFXSetup::kCellUnits)
                        return fail(kUnitsDisabled);
                    break;
                case 11:
                    if (flags & CFXSetup::kCellAlarmTest)
                        return fail(kAlarmDisabled);
                    if (!function && !IsAlarmCompatible(*t, *c))
                        return fail(kAlarmTypes);
                    break;
                case 12:
                    if (flags & CFXSetup::kCellAlarmHigh)
                        return fail(kHighDisabled);
                    if (!function && !IsAlarmCompatible(*t, *c))
                        return fail(kAlarmValues);
                    break;
                case 13:
                    if (flags & CFXSetup::kCellAlarmLow)
                        return fail(kLowDisabled);
                    if (!function && !IsAlarmCompatible(*t, *c))
                        return fail(kAlarmValues);
                    break;
                case 14:
                    if (flags & CFXSetup::kCellHardwareAlarm)
                        return fail(kHardwareDisabled);
                    break;
                case 15:
                    if (!IsAlarmCompatible(*t, *c))
                        return fail(kAlarmTypes);
                    break;
                default: // 0, 2 and 16 carry no instrument setting
                    break;
                }
            }
        }
    }
    (void)rowsDiffer;
    return true;
}

// --- Computed channels ------------------------------------------------------------

bool SetupGridOperations::CanDeleteComputedChannels(const GridRange& range, int rowCount) {
    const CCompChnlArray& computed = *m_doc.GetComputedChannels();
    if (rowCount == computed.GetSize())
        return tvane::ShowMessage(kDeleteAll, tvane::MsgButtons::YesNo, tvane::MsgIcon::Question) ==
               tvane::MsgAnswer::Yes;
    std::set<std::int32_t> deleted;
    for (int row = range.top; row <= range.bottom; ++row)
        if (const CFXSetup* r = RowAt(row))
            deleted.insert(static_cast<std::int32_t>(r->Channel));
    bool refused = false;
    for (std::int32_t channel : deleted) {
        for (std::int32_t i = 0; i < computed.GetSize(); ++i) {
            const CCompChnl* other = computed.GetAt(i);
            // A channel deleted with its operand leaves nothing behind that
            // reads it.
            if (other == nullptr || deleted.count(other->Channel) != 0 ||
                (other->Arg1.Channel != channel && other->Arg2.Channel != channel))
                continue;
            tvane::ShowMessage(tvane::Format(kDependentChannel, static_cast<long>(channel),
                                             static_cast<long>(other->Channel),
                                             static_cast<long>(other->Channel)),
                               tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
            refused = true;
        }
    }
    return !refused;
}

bool SetupGridOperations::DeleteComputedChannels(const GridRange& range) {
    if (!TestSelection(range))
        return false;
    for (int row = range.top; row <= range.bottom; ++row) {
        const CFXSetup* r = RowAt(row);
        if (r == nullptr || !r->IsComputed()) {
            Warn(kInvalidSelection);
            return false;
        }
    }
    if (!CanDeleteComputedChannels(range, range.RowCount()))
        return false;
    CFXSetupArray& setup = *m_doc.GetSetup();
    CCompChnlArray& computed = *m_doc.GetComputedChannels();
    std::vector<std::int32_t> indices;
    for (int row = range.top; row <= range.bottom; ++row) {
        const std::int32_t index = row - kFirstDataRow;
        indices.push_back(index);
        const std::int32_t channel = static_cast<std::int32_t>(setup.GetSetup(index)->Channel);
        for (std::int32_t i = 0; i < computed.GetSize(); ++i)
            if (const CCompChnl* c = computed.GetAt(i); c != nullptr && c->Channel == channel)
                computed.DeleteAt(i);
        setup.DeleteAt(index);
    }
    // Every index above a deleted row falls by the number of deleted rows
    // below it, so the channels and the pending edits keep their rows.
    const auto below = [&indices](std::int64_t index) {
        return static_cast<std::int32_t>(std::count_if(
            indices.begin(), indices.end(), [index](std::int32_t d) { return d < index; }));
    };
    for (std::int32_t i = 0; i < computed.GetSize(); ++i)
        if (CCompChnl* c = computed.GetAt(i))
            c->Group -= below(c->Group);
    std::vector<std::uint32_t>& edited = m_doc.GetEditedRows();
    std::vector<std::uint32_t> kept;
    for (std::uint32_t index : edited)
        if (std::find(indices.begin(), indices.end(), static_cast<std::int32_t>(index)) ==
            indices.end())
            kept.push_back(index - static_cast<std::uint32_t>(below(index)));
    edited = std::move(kept);
    computed.Compact();
    setup.Compact();
    SetModified(false);
    m_doc.UpdateAllViews(nullptr, HINT_SETUP_CHANGED);
    m_doc.GetUndo()->Clear();
    return true;
}

bool SetupGridOperations::AddComputedChannel(int number) {
    if (m_sheet == nullptr)
        return false;
    CCompChnl definition;
    definition.Channel = 0;
    if (!m_sheet->NewComputedChannel(kAddComputedCaption, definition))
        return false;
    CFXSetupArray& setup = *m_doc.GetSetup();
    if (!setup.Append(1))
        return false;
    const std::int32_t index = setup.GetUpperBound();
    auto row = std::make_unique<CFXSetup>();
    row->Name = scantext::kComputed;
    row->Channel = static_cast<std::uint32_t>(number);
    row->ChannelMode = 1;
    row->Function = scantext::kComputed;
    row->Scaling = 0;
    row->Gain = "1.0";
    row->Offset = "0.0";
    row->Alarms = scantext::kAlarmOff;
    row->AlarmHi = "0.0";
    row->AlarmLo = "0.0";
    row->AlarmActions = scantext::kJournalActions;
    row->CellFlags = kComputedFlags;
    setup.SetOwnsRows(1);
    setup.SetSetup(index, row.release());

    CCompChnlArray& computed = *m_doc.GetComputedChannels();
    auto channel = std::make_unique<CCompChnl>();
    channel->Copy(definition);
    channel->Channel = number;
    channel->Group = index;
    computed.SetAt(computed.GetSize(), std::move(channel));

    SetModified(false);
    MarkRowEdited(index, false);
    m_doc.SetComputedChannelsPresent();
    m_doc.GetUndo()->Clear();
    return true;
}

bool SetupGridOperations::GetSelectedComputedChannel(const GridRange& range, CCompChnl& channel) {
    if (!TestSelection(range) || !CanDeleteSelection(range))
        return false;
    const CFXSetup* row = RowAt(range.top);
    const CCompChnl* found =
        m_doc.GetComputedChannels()->FindChannel(static_cast<std::int32_t>(row->Channel));
    if (found == nullptr)
        return false;
    channel.Copy(*found);
    channel.Channel = found->Channel;
    channel.Group = found->Group;
    return true;
}

bool SetupGridOperations::SetSelectedComputedChannel(const GridRange& range,
                                                     const CCompChnl& channel) {
    if (!TestSelection(range) || !CanDeleteSelection(range))
        return false;
    const CFXSetup* row = RowAt(range.top);
    CCompChnl* found =
        m_doc.GetComputedChannels()->FindChannel(static_cast<std::int32_t>(row->Channel));
    if (found == nullptr || found->Channel != channel.Channel)
        return false;
    found->Copy(channel);
    return true;
}

// --- Channel properties -----------------------------------------------------------

bool SetupGridOperations::ShowChannelProperties(const GridRange& range, int startPage,
                                                int& partnerRow) {
    partnerRow = 0;
    if (!TestSelection(range))
        return false;
    CFXSetup* row = RowAt(range.top);
    if (row == nullptr || m_sheet == nullptr)
        return false;
    const int index = range.top - kFirstDataRow;
    const std::int32_t monitor = m_doc.GetMonitorChannel();
    const bool isMonitor = monitor != 0 && static_cast<std::int32_t>(row->Channel) == monitor;
    const std::string caption =
        tvane::Format(kPropertiesCaption, static_cast<long>(row->Channel)) + row->ChannelName;

    CFXSetup copy(*row);
    CCompChnl computed;
    CCompChnl* definition = nullptr;
    CCompChnl* stored =
        row->IsComputed()
            ? m_doc.GetComputedChannels()->FindChannel(static_cast<std::int32_t>(row->Channel))
            : nullptr;
    if (stored != nullptr) {
        computed.Copy(*stored);
        computed.Channel = stored->Channel;
        computed.Group = stored->Group;
        definition = &computed;
    }
    IChannelDetailsSheet::RowResult result;
    result.monitor = isMonitor;
    if (!m_sheet->EditRow(caption, *row, startPage, copy, definition, result))
        return false;

    // Field by field, each change through the store that keeps the record of
    // what changed.
    const auto store = [&](int col, const std::string& now, const std::string& edited) {
        if (now != edited)
            StoreSetupField(*row, col, edited, index);
    };
    const auto flag = [](std::int32_t value) { return std::string(value != 0 ? "1" : "0"); };
    store(2, row->ChannelName, copy.ChannelName);
    store(1, flag(row->ChannelMode), flag(copy.ChannelMode));
    store(3, row->Function, copy.Function);
    store(4, row->Range, copy.Range);
    store(5, row->Resolution, copy.Resolution);
    store(7, flag(row->Scaling), flag(copy.Scaling));
    store(8, row->Gain, copy.Gain);
    store(9, row->Offset, copy.Offset);
    store(10, row->Units, copy.Units);
    store(11, row->Alarms, copy.Alarms);
    store(12, row->AlarmHi, copy.AlarmHi);
    store(13, row->AlarmLo, copy.AlarmLo);
    store(14, row->AlarmEvent, copy.AlarmEvent);
    store(16, row->Comment, copy.Comment);
    if (row->AdvSettings != copy.AdvSettings) {
        row->AdvSettings = copy.AdvSettings;
        StoreSetupField(*row, 6, {}, index);
    }
    if (row->AlarmActions != copy.AlarmActions) {
        row->AlarmActions = copy.AlarmActions;
        StoreSetupField(*row, 15, {}, index);
    }
    if (row->AdvSettingsType != copy.AdvSettingsType)
        row->AdvSettingsType = copy.AdvSettingsType;

    ApplyChannelPairing(*row, index, partnerRow);
    if (partnerRow != 0)
        MarkRowEdited(partnerRow - kFirstDataRow, false);
    row->ComputeFlagWord();
    if (stored != nullptr)
        stored->Copy(computed);

    if (isMonitor) {
        if (!result.monitor)
            m_doc.ConfigureMonitorChannel(0);
        else
            m_doc.StopMonitor();
    } else if (result.monitor) {
        m_doc.ConfigureMonitorChannel(static_cast<std::int32_t>(row->Channel));
    }
    return true;
}
