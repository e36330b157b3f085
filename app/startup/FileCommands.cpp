#include "app/startup/FileCommands.h"

#include <exception>

#include "app/CLoggerDoc.h"
#include "app/IDocumentInstrument.h"
#include "app/IDocumentOperations.h"
#include "app/ILoggerApp.h"
#include "app/RecentSetupList.h"
#include "app/SetupSaver.h"
#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "database/CMfxFileException.h"
#include "database/CRSBase.h"
#include "database/CRSDataset.h"
#include "database/CRSSetup.h"
#include "database/CStateInfo.h"
#include "database/CWorkspace.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/storage/Storage.h"
#include "platform/ui/Prompter.h"
#include "shared/DocumentHints.h"

namespace {

// Clears the pending-open names and the opening flag however the command ends.
struct PendingOpen {
    FileCommands& commands;
    ~PendingOpen() {
        commands.m_openSetupName.clear();
        commands.m_openDatasetName.clear();
        commands.m_opening = 0;
    }
};

void Warn(const std::string& text) {
    tvane::ShowMessage(text, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
}

} // namespace

bool FileCommands::IsEnabled() const {
    return m_doc.IsScanning() == 0;
}

void FileCommands::ShowNoSetup() {
    m_doc.SetSetupLoaded(0);
    m_windows.SetTitle(kNoSetupTitle);
    m_doc.RefreshAllViews();
}

void FileCommands::UpdateMainTitle(const CStateInfo& state) {
    std::string name = state.m_setupName;
    if (const auto dup = name.find("~~dup"); dup != std::string::npos)
        name.erase(dup);
    m_recent.Add(name);
    m_windows.SetTitle(state.m_datasetName.empty() ? name : name + " - " + state.m_datasetName);
}

int FileCommands::SaveModifiedSetup(CLoggerDoc& doc, const CStateInfo& open) {
    if (open.m_setupFile.empty() || !open.IsBusy()) {
        doc.SetModifiedFlag(false);
        return kGoOn;
    }
    doc.SetModifiedFlag(true);
    switch (tvane::ShowMessage(kSaveChanges + open.m_setupName, tvane::MsgButtons::YesNoCancel,
                               tvane::MsgIcon::Question)) {
    case tvane::MsgAnswer::Yes:
        // A save that did not happen (it failed, or its window was cancelled,
        // which leaves the document modified) keeps the setup open: nothing is lost.
        if (!doc.OnFileSave() || doc.IsModified())
            return kCancelled;
        return kGoOn;
    case tvane::MsgAnswer::No:
        return doc.IsNeverSaved() != 0 ? kDiscard : kNotSaved;
    default:
        return kCancelled;
    }
}

void FileCommands::Discard(const CStateInfo& old) {
    if (old.m_setupName.empty() || m_doc.GetOperations() == nullptr)
        return;
    m_doc.GetOperations()->DeleteSetup(m_doc, old.m_setupName);
}

bool FileCommands::NewSetup() {
    if (!IsEnabled() || !m_doc.FinishCellEdit())
        return false;
    ILoggerApp& app = m_doc.GetApp();
    CStateInfo local;
    app.CopyStateInfo(local);
    m_doc.StopMonitor();
    const auto giveUp = [&] {
        app.SetStateInfo(local);
        m_doc.RestartMonitor();
        return false;
    };
    IDocumentInstrument* link = m_doc.GetInstrumentLink();
    std::int32_t stored = 0;
    try {
        if (link != nullptr && !link->CheckSerialSettings())
            return giveUp();
    } catch (const tvane::Exception&) {
        m_doc.LogInstrumentError();
    }
    if (!m_doc.GetReadingsCount(stored)) {
        tvane::ShowMessage(NewSetupModel::kNotResponding);
        return giveUp();
    }
    DocumentNewSetupInstrument instrument(m_doc);
    NewSetupModel model(m_newSetupLookups, instrument, tvane::Prompter());
    model.m_name = m_workspace.MakeDefaultSetupName();
    model.m_currentSetup = local.m_setupName;
    if (!m_windows.RunNewSetup(model))
        return giveUp();
    m_windows.SetStatus(tvane::Format(kCreating, model.m_name.c_str()));

    int answer = kGoOn;
    if (m_doc.IsSetupLoaded() != 0) {
        answer = SaveModifiedSetup(app.GetStateInfo());
        if (answer == kCancelled) {
            m_windows.SetStatus({});
            return giveUp();
        }
    }
    const CStateInfo old = app.GetStateInfo();
    m_doc.SetSetupLoaded(0);
    m_windows.ResetPages();
    m_doc.OnNewDocument();
    CStateInfo state;
    app.CopyStateInfo(state);
    state.ClearNames();
    state.m_setupName = model.m_name;
    state.m_modules = model.m_slots;
    app.SetStateInfo(state);
    const bool ok = m_doc.CreateNewSetup(state, 0, false);
    if (!ok) {
        tvane::ShowMessage(tvane::Format(SetupSaver::kUnableToCreate, model.m_name.c_str()));
        state.ClearNames();
    }
    app.SetStateInfo(state);
    if (ok && answer == kDiscard)
        Discard(old);
    if (ok) {
        state.SaveRecentNames();
        UpdateMainTitle(state);
        m_windows.InsertStripChart();
        m_doc.RefreshAllViews();
    } else {
        ShowNoSetup();
    }
    m_windows.SetStatus({});
    return ok;
}

OpenSetupModel FileCommands::MakeOpenModel(int mode) {
    const CStateInfo& state = m_doc.GetApp().GetStateInfo();
    OpenSetupModel model(m_openServices, tvane::Prompter());
    model.m_mode = mode;
    if (m_doc.IsSetupLoaded() != 0) {
        model.m_currentSetup = state.m_setupName;
        model.m_currentDataset = state.m_datasetName;
    }
    model.m_workspace = state.m_dataSourceName;
    return model;
}

bool FileCommands::Open() {
    if ((!IsEnabled() && m_opening == 0) || !m_doc.FinishCellEdit())
        return false;
    ILoggerApp& app = m_doc.GetApp();
    const CStateInfo old = app.GetStateInfo();
    CStateInfo next = old;
    const bool wasLoaded = m_doc.IsSetupLoaded() != 0;
    m_doc.StopMonitor();
    if (m_opening == 0) {
        OpenSetupModel model = MakeOpenModel(OpenSetupModel::OpenMode);
        const int end = m_windows.RunOpen(model);
        if (model.NamesChanged()) {
            // The open setup or dataset was renamed in the dialog.
            next.m_setupName = model.m_currentSetup;
            next.m_datasetName = model.m_currentDataset;
            app.SetStateInfo(next);
            next.SaveRecentNames();
            UpdateMainTitle(next);
        }
        if (end != OpenSetupModel::kEndOpen) {
            m_doc.RestartMonitor();
            return false;
        }
        next.m_setupName = model.SelectedSetup();
        next.m_datasetName = model.SelectedDataset();
    } else {
        next.m_setupName = m_openSetupName;
        next.m_datasetName = m_openDatasetName;
    }
    next.m_setupFile.clear();
    next.m_datasetKey.clear();

    const CStateInfo open = app.GetStateInfo();
    const int answer = wasLoaded ? SaveModifiedSetup(open) : kGoOn;
    if (answer == kCancelled) {
        m_doc.RestartMonitor();
        return false;
    }
    const CStateInfo before = app.GetStateInfo();
    try {
        app.SetStateInfo(next);
        m_doc.SetSetupLoaded(0);
        m_windows.SetTitle(tvane::Format(kOpening, next.m_setupName.c_str()));
        m_doc.RefreshAllViews();
        m_windows.EnableFrame(false);
        if (!OpenSetupDocument(next))
            throw tvane::UserException();
        if (answer == kDiscard)
            Discard(before);
        m_windows.EnableFrame(true);
        m_doc.RestartMonitor();
        m_windows.SetStatus({});
        // A dataset with readings shows them; otherwise the views start empty.
        m_doc.UpdateHasReadings();
        if (m_doc.HasReadings())
            m_doc.LoadStoredReadings();
        else
            m_doc.UpdateAllViews(nullptr, HINT_SCAN_STATE);
        m_doc.SetModifiedFlag(false);
    } catch (...) {
        // The setup that was open stays the document's.
        app.SetStateInfo(before);
        m_doc.SetSetupLoaded(wasLoaded ? 1 : 0);
        m_windows.EnableFrame(true);
        if (wasLoaded)
            UpdateMainTitle(before);
        else
            m_windows.SetTitle(kNoSetupTitle);
        m_doc.RefreshAllViews();
        m_doc.RestartMonitor();
        throw;
    }
    return true;
}

bool FileCommands::OpenSetupDocument(CStateInfo& state) {
    if (state.m_setupName.empty())
        return false;
    tvane::OdbcDatabase* database = state.GetDatabase();
    std::string setupFile, datasetFile, key;
    bool found = false;
    {
        CRSSetup set(database);
        found = set.OpenGivenSetup(state.m_setupName, RS_READONLY) == RS_ROWS;
        if (found) {
            setupFile = set.m_SetupFile;
            datasetFile = set.m_DatasetFile;
        }
        set.Close();
    }
    // The workspace's check also throws for a setup file that is gone.
    if (!found || !m_workspace.SetupExists(state.m_setupName))
        ThrowMfxFileException(tvane::FileException::fileNotFound, 0, state.m_setupName.c_str());
    if (!state.m_datasetName.empty()) {
        CRSDataset set(database);
        if (set.OpenGivenSetupDataset(state.m_setupName, state.m_datasetName, RS_READONLY) ==
            RS_ROWS)
            key = set.m_DatasetKey;
        set.Close();
        if (key.empty())
            ThrowMfxFileException(tvane::FileException::fileNotFound, 0,
                                  state.m_datasetName.c_str());
    }
    state.m_setupFile = setupFile;
    state.m_datasetKey = key;
    // The dataset storage, and the chosen dataset in it, are checked before the
    // document lets go of the open setup: one that is missing or damaged leaves
    // it as it was.
    const std::string companion = CWorkspace::MakeCompanionFileName(setupFile);
    CDatasetStore* store = m_doc.GetDatasetStore();
    const bool reopening = store != nullptr && store->IsOpen() && store->GetPath() == companion;
    const auto checkDataset = [&](tvane::Storage& root) {
        if (key.empty())
            return;
        if (!root.HasElement(key))
            ThrowMfxFileException(tvane::FileException::fileNotFound, 0,
                                  state.m_datasetName.c_str());
        CDataset::CheckStored(root, key);
    };
    try {
        if (reopening) {
            // The document holds the storage open; its open dataset was checked
            // when it was opened.
            const CDataset* open = m_doc.GetDataset();
            if (open == nullptr || !open->IsOpen() || open->GetKey() != key)
                checkDataset(*store->GetRootStorage());
        } else {
            tvane::Storage root =
                tvane::StgOpenStorage(companion, tvane::STGM_READ | tvane::STGM_SHARE_DENY_WRITE);
            checkDataset(root);
        }
    } catch (const tvane::FileException&) {
        throw;
    } catch (const std::exception& e) {
        ThrowMfxFileException(tvane::FileException::invalidFile, 0, companion.c_str(), e.what());
    }
    m_doc.GetApp().SetStateInfo(state);
    m_doc.SetModifiedFlag(false);
    if (!m_doc.OnOpenDocument(setupFile))
        return false;
    CStateInfo opened;
    m_doc.GetApp().CopyStateInfo(opened);
    state = opened;
    UpdateMainTitle(opened);
    return true;
}

void FileCommands::Close() {
    if (!IsEnabled() || !m_doc.FinishCellEdit())
        return;
    ILoggerApp& app = m_doc.GetApp();
    const CStateInfo old = app.GetStateInfo();
    const int answer = m_doc.IsSetupLoaded() != 0 ? SaveModifiedSetup(old) : kGoOn;
    if (answer == kCancelled)
        return;
    m_doc.StopMonitor();
    m_windows.ResetPages();
    m_doc.OnNewDocument();
    CStateInfo state;
    app.CopyStateInfo(state);
    state.ClearNames();
    state.m_flags = {};
    app.SetStateInfo(state);
    // Nothing of the emptied document is to be saved.
    m_doc.SetModifiedFlag(false);
    if (answer == kDiscard)
        Discard(old);
    ShowNoSetup();
}

void FileCommands::ModifyDelete() {
    if (!IsEnabled())
        return;
    OpenSetupModel model = MakeOpenModel(OpenSetupModel::ModifyMode);
    m_windows.RunOpen(model);
    if (model.NamesChanged()) {
        CStateInfo state;
        m_doc.GetApp().CopyStateInfo(state);
        state.m_setupName = model.m_currentSetup;
        state.m_datasetName = model.m_currentDataset;
        m_doc.GetApp().SetStateInfo(state);
        state.SaveRecentNames();
        UpdateMainTitle(state);
    }
}

bool FileCommands::OpenRecent(int index) {
    if (!IsEnabled() || index < 0 || index >= RecentSetupList::kSize)
        return false;
    const std::string entry = m_recent.Entry(index);
    if (entry.empty())
        return false;
    PendingOpen pending{*this};
    m_openSetupName = entry;
    bool exists = false;
    try {
        exists = m_workspace.SetupExists(entry);
    } catch (const std::exception&) {
        exists = false;
    }
    if (exists) {
        m_opening = 1;
        m_openDatasetName.clear();
        return Open();
    }
    const CStateInfo& state = m_doc.GetApp().GetStateInfo();
    if (!(entry == state.m_setupName && !state.m_setupFile.empty()))
        Warn(tvane::Format(kCannotOpenRecent, entry.c_str()));
    return false;
}

void FileCommands::Welcome() {
    ShowNoSetup();
    const int choice = m_windows.RunWelcome(!m_doc.IsInstrumentOffline());
    if (choice == 0)
        NewSetup();
    else if (choice == 1 && m_upload)
        m_upload();
    else if (choice == 2)
        Open();
}

bool FileCommands::RestoreLastSetup(const std::string& setup, const std::string& dataset) {
    PendingOpen pending{*this};
    if (!m_workspace.SetupExists(setup)) {
        Warn(tvane::Format(kLastSetupMissing, setup.c_str()));
        return false;
    }
    m_openSetupName = setup;
    m_openDatasetName = dataset;
    m_opening = 1;
    return Open();
}
