#include "app/CUploadDialogModel.h"

#include "app/CLoggerDoc.h"
#include "app/IDocumentInstrument.h"
#include "app/ISaveDialogs.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/NameText.h"
#include "platform/ui/Prompter.h"

namespace {
constexpr const char* kNoModule = "(None)";                     // 507
constexpr const char* kEnterName = "Please enter a setup name"; // 925
} // namespace

void CUploadDialogModel::Init(CLoggerDoc& document, bool hasSetup, bool allowCurrent,
                              const std::string& currentName) {
    m_currentName = currentName;
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        slotTexts[i] = document.GetCardInfoInSlot(static_cast<std::int16_t>((i + 1) * 100), ok);
        if (!ok || slotTexts[i].empty())
            slotTexts[i] = kNoModule;
    }
    readings = -1;
    document.GetReadingsCount(readings);
    readingsText = tvane::Format("%ld", static_cast<long>(readings));
    scanning = false;
    if (IDocumentInstrument* link = document.GetInstrumentLink()) {
        try {
            link->IsInstrumentScanning(scanning);
        } catch (const tvane::Exception&) {
            scanning = false;
        }
    }
    scanningText = scanning ? "Yes" : "No";
    if (scanning) {
        stopEnabled = continueEnabled = true;
        continueSelected = true;
        includeData = true;
        includeDataEnabled = false;
    } else {
        stopEnabled = continueEnabled = false;
        continueSelected = false;
        includeData = readings != 0;
        includeDataEnabled = readings != 0;
    }
    newSetupSelected = newSetupEnabled = true;
    nameEnabled = true;
    if (hasSetup && allowCurrent) {
        newSetupSelected = newSetupEnabled = false;
        name = currentName;
        nameEnabled = false;
    }
    currentSetupEnabled = hasSetup && (readings > 0 || scanning);
}

void CUploadDialogModel::OnContinueScanning() {
    if (!scanning)
        return;
    continueSelected = true;
    includeData = true;
    includeDataEnabled = false;
}

void CUploadDialogModel::OnStopScanning() {
    if (!scanning)
        return;
    continueSelected = false;
    includeDataEnabled = true;
}

void CUploadDialogModel::OnNewSetup() {
    newSetupSelected = true;
    nameEnabled = true;
    name = m_typedName;
}

void CUploadDialogModel::OnCurrentSetup() {
    newSetupSelected = false;
    name = m_currentName;
    nameEnabled = false;
}

void CUploadDialogModel::SetName(const std::string& text) {
    name = tvane::CutUtf8(text, kMaxNameLength);
    if (newSetupSelected)
        m_typedName = name;
}

bool CUploadDialogModel::OnOk() {
    if (name.empty()) {
        tvane::ShowMessage(kEnterName, tvane::MsgButtons::Ok, tvane::MsgIcon::Error);
        return false;
    }
    // The new setup's name goes into the workspace and the program's ini file.
    if (newSetupSelected && tvane::HasControlCharacter(name)) {
        tvane::ShowMessage(kNameHasControlCharacter, tvane::MsgButtons::Ok,
                           tvane::MsgIcon::Warning);
        return false;
    }
    continueScanning = scanning && continueSelected;
    newSetup = newSetupSelected;
    return true;
}
