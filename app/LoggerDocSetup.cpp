// The document's operations on the setup rows for the setup editor and the
// displays, and its small channel utilities.
#include <memory>

#include "app/CLoggerDoc.h"
#include "app/DocumentTexts.h"
#include "app/ILoggerApp.h"
#include "database/CRSBase.h"
#include "database/CRSCards.h"
#include "database/CRSFunction.h"
#include "database/CStateInfo.h"
#include "scan/CChannelArray.h"
#include "scan/CChannelInfo.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetupArray.h"
#include "scan/ChannelCodes.h"
#include "scan/ISetupEditor.h"
#include "scan/ScanTexts.h"
#include "scan/SettingText.h"

namespace {

// Resolutions and the integration times they stand for.
struct ResolutionIntegration {
    const char* resolution;
    const char* integration;
};
constexpr ResolutionIntegration kResolutions[] = {
    {"4.5 digits", "0.02"}, // 3230, 3200
    {"5.5 digits", "1"},    // 3231, 3202
    {"6.5 digits", "10"},   // 3232, 3204
};

const char* IntegrationOf(const std::string& resolution) {
    for (const auto& entry : kResolutions)
        if (resolution == entry.resolution)
            return entry.integration;
    return nullptr;
}

// Module kinds of GetModuleKind.
constexpr std::uint32_t kKindMeasuring = 0x1;
constexpr std::uint32_t kKindTotalizer = 0x2;
constexpr std::uint32_t kKindGeneralSwitch = 0x10;
constexpr std::uint32_t kKindAnalogWrite = 0x20;
constexpr std::uint32_t kKindExclusiveSwitch = 0x40;
constexpr std::uint32_t kKindMatrix = 0x80;
constexpr std::uint32_t kKindSwitching = 0x100;
constexpr std::uint32_t kKindComputed = 0x200;
constexpr std::uint32_t kKindDigitalRead = 0x400;
constexpr std::uint32_t kKindDigitalWrite = 0x800;
// One bit of a digital read or write channel: never a row's kind, only the
// records a digital row is expanded into.
constexpr std::uint32_t kKindReadBit = 0x4;
constexpr std::uint32_t kKindWriteBit = 0x8;

} // namespace

void CLoggerDoc::OnScanSettings() {
    ISetupEditor* editor = m_app.GetSetupEditor();
    if (editor == nullptr || !m_scan)
        return;
    if (editor->EditScanSettings(*m_scan) && !IsScanning()) {
        CStateInfo state;
        m_app.CopyStateInfo(state);
        state.m_flags[1] = 1;
        m_app.SetStateInfo(state);
    }
}

int CLoggerDoc::CountActiveChannels(bool includeComputed) const {
    if (!m_setup)
        return 0;
    int count = 0;
    for (std::int32_t i = 0; i < m_setup->GetSize(); ++i) {
        const CFXSetup* row = m_setup->GetSetup(i);
        if (row == nullptr || row->ChannelMode == 0)
            continue;
        if (!includeComputed && row->IsComputed())
            continue;
        ++count;
    }
    return count;
}

void CLoggerDoc::FillChannelInfo(const CFXSetup& row, CChannelInfo* info,
                                 std::uint32_t kind) const {
    if (info == nullptr)
        return;
    if (row.Range.empty() || row.Range == scantext::kAuto) {
        auto it = m_functionTable.find(row.Function);
        if (it != m_functionTable.end()) {
            info->RangeMin = it->second.minRange;
            info->RangeMax = it->second.maxRange;
        }
    }
    row.FillChannelInfo(info, static_cast<std::int32_t>(kind));
}

bool CLoggerDoc::FillChannelInfoArray(CChannelArray* out, std::uint32_t kindMask,
                                      bool activeOnly) const {
    if (out == nullptr || !m_setup)
        return true;
    for (std::int32_t i = 0; i < m_setup->GetSize(); ++i) {
        const CFXSetup* row = m_setup->GetSetup(i);
        if (row == nullptr || row->IsType5WithAllFlags())
            continue;
        const std::uint32_t kind = GetModuleKind(*row);
        const bool measuredKind = kind == kKindMeasuring || kind == kKindTotalizer ||
                                  kind == kKindReadBit || kind == kKindComputed ||
                                  kind == kKindDigitalRead;
        if (activeOnly && measuredKind && row->ChannelMode == 0)
            continue;
        if (kind & kindMask) {
            auto info = std::make_unique<CChannelInfo>();
            FillChannelInfo(*row, info.get(), kind);
            out->Add(info.release());
        }
        // A display that asks for single bits only (the bit displays) gets
        // them too, not just one that asks for the whole port.
        if (((kind & kKindDigitalRead) && (kindMask & (kKindDigitalRead | kKindReadBit))) ||
            ((kind & kKindDigitalWrite) && (kindMask & (kKindDigitalWrite | kKindWriteBit))))
            row->AddBitChannels(*out, kind);
    }
    return true;
}

void CLoggerDoc::BroadcastChannelEdit(std::int32_t count, std::int32_t first) {
    CChannelArray channels;
    // The records go with the array, whatever a view does with the hint.
    struct Guard {
        CChannelArray& array;
        ~Guard() { array.DeleteAll(); }
    } guard{channels};
    for (std::int32_t i = 0; i < count; ++i) {
        // A row index outside the setup has nothing to tell.
        const CFXSetup* row = GetSetupRow(first + i);
        if (row == nullptr)
            continue;
        auto info = std::make_unique<CChannelInfo>();
        FillChannelInfo(*row, info.get(), GetModuleKind(*row));
        channels.Add(info.release());
    }
    UpdateAllViews(nullptr, HINT_CHANNEL_EDIT, &channels);
}

void CLoggerDoc::NotifySetupChanged() {
    if (m_structureChanged || m_pairingChanged) {
        UpdateAllViews(nullptr, HINT_SETUP_CHANGED);
        m_structureChanged = false;
        m_pairingChanged = false;
    } else {
        // A view may add to the list while it is told; work on what is pending now.
        const std::vector<std::uint32_t> pending = std::move(m_editedRows);
        m_editedRows.clear();
        for (std::uint32_t index : pending)
            BroadcastChannelEdit(1, static_cast<std::int32_t>(index));
    }
    m_editedRows.clear();
}

void CLoggerDoc::LoadFunctionTable(tvane::OdbcDatabase* database) {
    if (database == nullptr || !database->IsOpen())
        return;
    CRSFunction functions(database);
    if (functions.OpenAll(RS_READONLY) != RS_ROWS) {
        functions.Close();
        return;
    }
    for (functions.MoveRecord(RS_MOVE_FIRST); !functions.IsEOF();
         functions.MoveRecord(RS_MOVE_NEXT)) {
        if (m_functionTable.count(functions.m_Name) != 0)
            continue;
        FunctionDefaults& entry = m_functionTable[functions.m_Name];
        entry.minRange = functions.m_MinRange;
        entry.maxRange = functions.m_MaxRange;
        entry.advSettingsType = static_cast<std::uint32_t>(functions.m_AdvSettingsType);
        entry.defaultAdvSettings = functions.m_DefaultAdvSettings;
    }
    functions.Close();
}

std::int32_t CLoggerDoc::LoadModuleCards(const CStateInfo& state) {
    tvane::OdbcDatabase* database = state.GetDatabase();
    if (database == nullptr || !database->IsOpen())
        return 0;
    CRSCards cards(database);
    if (cards.OpenAll(RS_READONLY) != RS_ROWS) {
        cards.Close();
        return 0;
    }
    std::int32_t total = 0;
    for (const std::string& module : state.m_modules) {
        if (module.empty() || module == doctext::kNoModule)
            continue;
        if (cards.FindCard(module))
            total += cards.m_Channels;
    }
    cards.Close();
    return total;
}

void CLoggerDoc::FormatResolution(CFXSetup& row) {
    if (row.AdvSettingsType == 0 || (row.CellFlags & CFXSetup::kCellResolution))
        return;
    if (row.AdvSettingsType & kSetIntegration) {
        const char* integration = IntegrationOf(row.Resolution);
        SetSettingField(2, row.AdvSettings, integration ? integration : "1");
    }
}

bool CLoggerDoc::GetResolutionFormat(const CFXSetup& row) const {
    if (row.AdvSettingsType == 0)
        return true;
    auto it = m_functionTable.find(row.Function);
    if (it == m_functionTable.end())
        return false;
    const std::string& defaults = it->second.defaultAdvSettings;
    if (row.AdvSettings == defaults)
        return true;
    const char* integration = IntegrationOf(row.Resolution);
    if (integration == nullptr)
        return false;
    std::string expected = defaults;
    SetSettingField(2, expected, integration);
    return row.AdvSettings == expected;
}

// --- Channel utilities ----------------------------------------------------------

void CLoggerDoc::CountActiveChannelsPerSlot() {
    m_slotActive[0] = m_slotActive[1] = m_slotActive[2] = 0;
    if (!m_setup)
        return;
    for (std::int32_t i = 0; i < m_setup->GetSize(); ++i) {
        const CFXSetup* row = m_setup->GetSetup(i);
        if (row == nullptr)
            continue;
        const std::uint32_t slot = row->Channel / 100;
        if (slot > 3)
            break;
        if (slot >= 1 && row->ChannelMode == 1)
            ++m_slotActive[slot - 1];
    }
}

bool CLoggerDoc::IsSlotActive(const CFXSetup& row) const {
    const std::uint32_t slot = row.Channel / 100;
    return slot >= 1 && slot <= 3 && m_slotActive[slot - 1] != 0;
}

std::uint32_t CLoggerDoc::GetModuleKind(const CFXSetup& row) const {
    const std::string& module = row.Name;
    if (module == "KXQT7101" || module == "KXQT7102" || module == "KXQT7108")
        return IsSlotActive(row) ? kKindMeasuring : kKindSwitching;
    if (module == "KXQT7103")
        return kKindGeneralSwitch;
    if (module == "KXQT7104")
        return kKindMatrix;
    if (module == "KXQT7105" || module == "KXQT7106")
        return kKindExclusiveSwitch;
    if (row.IsComputed())
        return kKindComputed;
    if (module == "KXQT7107") {
        switch (FunctionCode(row.Function)) {
        case kFnDigitalRead:
            return kKindDigitalRead;
        case kFnDigitalWrite:
            return kKindDigitalWrite;
        case kFnTotalize:
        case kFnTotalizeReset:
            return kKindTotalizer;
        case kFnDacWrite:
            return kKindAnalogWrite;
        default:
            return 0;
        }
    }
    return 0;
}
