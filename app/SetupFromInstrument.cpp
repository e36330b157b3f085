#include "app/SetupFromInstrument.h"

#include "app/CLoggerDoc.h"
#include "app/CUploadDialogModel.h"
#include "app/IDocumentInstrument.h"
#include "app/IDocumentOperations.h"
#include "app/ILoggerApp.h"
#include "app/INewSetupPages.h"
#include "app/SetupSaver.h"
#include "database/CStateInfo.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"

namespace {

constexpr const char* kNoModule = "(None)";
constexpr const char* kNotResponding =
    "Instrument not responding - operation aborted.\n\nChange the instrument communications "
    "setup to Simulated when an instrument is not connected.";
constexpr const char* kNoCards =
    "Uploading data with no cards in the instrument requires an existing setup to be opened.";
constexpr const char* kNoDmm = "DMM not installed in the instrument - upload aborted";
constexpr const char* kDmmDisabled = "DMM not enabled in the instrument - upload aborted";
constexpr const char* kSaveChanges = "Save changes to ";
constexpr const char* kUploading = "Uploading %s...";

void SetPane(CLoggerDoc& doc, const std::string& text) {
    if (IDocumentFrame* frame = doc.GetApp().GetMainFrame())
        frame->SetPaneText(0, text);
}

} // namespace

bool SetupFromInstrument::IsEnabled() {
    return m_doc.IsScanning() == 0 && !m_doc.IsInstrumentOffline();
}

bool SetupFromInstrument::CheckInstrument(std::string (&slots)[3]) {
    IDocumentInstrument* link = m_doc.GetInstrumentLink();
    if (link == nullptr || m_doc.IsInstrumentOffline()) {
        tvane::ShowMessage(kNotResponding);
        return false;
    }
    try {
        if (!link->CheckSerialSettings())
            return false;
        bool empty = true;
        for (int i = 0; i < 3; ++i) {
            bool ok = false;
            slots[i] = m_doc.GetCardInfoInSlot(static_cast<std::int16_t>((i + 1) * 100), ok);
            if (!ok) {
                tvane::ShowMessage(kNotResponding);
                return false;
            }
            if (slots[i].empty())
                slots[i] = kNoModule;
            empty = empty && slots[i] == kNoModule;
        }
        if (empty && m_doc.IsSetupLoaded() == 0) {
            tvane::ShowMessage(kNoCards);
            return false;
        }
        if (!link->IsDMMInstalled()) {
            tvane::ShowMessage(kNoDmm);
            return false;
        }
        if (!link->IsDMMEnabled()) {
            tvane::ShowMessage(kDmmDisabled);
            return false;
        }
    } catch (const tvane::Exception&) {
        m_doc.LogInstrumentError();
        tvane::ShowMessage(kNotResponding);
        return false;
    }
    return true;
}

bool SetupFromInstrument::AskToSave(bool& discard) {
    discard = false;
    if (m_doc.IsSetupLoaded() == 0 || !m_doc.IsModified())
        return true;
    const CStateInfo& state = m_doc.GetApp().GetStateInfo();
    switch (tvane::ShowMessage(kSaveChanges + state.m_setupName, tvane::MsgButtons::YesNoCancel,
                               tvane::MsgIcon::Question)) {
    case tvane::MsgAnswer::Yes:
        m_doc.OnFileSave();
        return true;
    case tvane::MsgAnswer::No:
        discard = m_doc.IsNeverSaved() != 0;
        return true;
    default:
        return false;
    }
}

bool SetupFromInstrument::Run() {
    if (m_doc.IsScanning() != 0)
        return false;
    CStateInfo local;
    m_doc.GetApp().CopyStateInfo(local);
    m_doc.StopMonitor();
    const auto giveUp = [this] {
        m_doc.RestartMonitor();
        return false;
    };

    std::string slots[3];
    if (!CheckInstrument(slots))
        return giveUp();
    CUploadDialogModel model;
    const bool hasSetup = m_doc.IsSetupLoaded() != 0 && !local.m_setupName.empty();
    model.Init(m_doc, hasSetup, false, local.m_setupName);
    if (m_defaultName)
        model.SetName(m_defaultName());
    if (!m_dialog.Run(model))
        return giveUp();
    m_choices.includeData = model.includeData;
    m_choices.keepScanning = model.continueScanning;

    if (!model.newSetup) {
        // The open setup's rows are rebuilt in place.
        const bool ok = m_doc.UploadSetup(m_choices.includeData, m_choices.keepScanning);
        if (ok) {
            m_doc.SetModifiedFlag(true);
            m_doc.RefreshAllViews();
        }
        m_doc.RestartMonitor();
        return ok;
    }

    bool discard = false;
    if (!AskToSave(discard))
        return giveUp();
    const CStateInfo old = m_doc.GetApp().GetStateInfo();

    SetPane(m_doc, tvane::Format(kUploading, model.name.c_str()));
    m_doc.SetSetupLoaded(0);
    // The open setup's displays go with it.
    if (m_pages != nullptr)
        m_pages->ResetPages();
    m_doc.OnNewDocument();
    CStateInfo state;
    m_doc.GetApp().CopyStateInfo(state);
    state.m_setupName = model.name;
    state.m_setupFile.clear();
    state.m_datasetName.clear();
    state.m_datasetKey.clear();
    for (int i = 0; i < 3; ++i)
        state.m_modules[static_cast<std::size_t>(i)] = slots[i];
    m_doc.GetApp().SetStateInfo(state);
    const bool ok = m_doc.CreateNewSetup(state, 1, m_choices.keepScanning);
    if (!ok) {
        tvane::ShowMessage(tvane::Format(SetupSaver::kUnableToCreate, model.name.c_str()));
        state.m_setupName.clear();
        state.m_setupFile.clear();
        state.m_datasetName.clear();
        state.m_datasetKey.clear();
        m_doc.SetSetupLoaded(0);
    }
    m_doc.GetApp().SetStateInfo(state);
    // A setup that was never saved and not kept goes once the new one exists.
    if (ok && discard && !old.m_setupName.empty() && m_doc.GetOperations() != nullptr)
        m_doc.GetOperations()->DeleteSetup(m_doc, old.m_setupName);
    // A new setup starts with a strip chart, unless it took over the
    // instrument's running scan, which ends the operation as it stands.
    if (ok && !m_choices.keepScanning && m_pages != nullptr)
        m_pages->InsertStripChart();
    m_doc.RefreshAllViews();
    SetPane(m_doc, {});
    return ok;
}
