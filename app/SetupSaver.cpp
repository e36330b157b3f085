#include "app/SetupSaver.h"

#include <exception>

#include "database/CStateInfo.h"
#include "database/CWorkspace.h"
#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"
#include "shared/DocumentHints.h"

bool SetupSaver::SaveSetupAs(CStateInfo& state, int mode, int& outcome) {
    outcome = kNothingConfirmed;
    try {
        return Run(state, mode, outcome);
    } catch (const std::exception&) {
        tvane::ShowMessage(kUnableToSave, tvane::MsgButtons::Ok, tvane::MsgIcon::Error);
        return false;
    }
}

bool SetupSaver::Run(CStateInfo& state, int mode, int& outcome) {
    bool success = true;
    const std::string setupName = state.m_setupName;
    const std::string datasetName = state.m_datasetName;
    const std::string timeText = m_host.FormatNow();
    bool createSetup = false;
    std::string user, note;

    switch (mode) {
    case SaveAs: {
        SavePropertiesFields fields{
            kTitleSaveAs, m_workspace.MakeUniqueSetupName(setupName), timeText, {}, {}};
        if (!m_properties.Run(fields))
            return true;
        outcome = kConfirmed;
        state.m_setupName = fields.name;
        user = fields.user;
        note = fields.note;
        createSetup = true;
        break;
    }
    case Conflict: {
        SaveSetupAsFields fields;
        fields.existingName = setupName;
        fields.newName = m_workspace.MakeUniqueSetupName(setupName);
        fields.lastModified = timeText;
        if (!m_conflict.Run(fields))
            return true;
        outcome = kConfirmed;
        state.m_setupName = fields.name;
        user = fields.user;
        note = fields.description;
        if (fields.createNew == 0) {
            m_workspace.CloseDataset();
            success =
                m_workspace.DeleteDatasetsOfSetup(setupName) && m_workspace.SaveDataset(state);
        } else {
            createSetup = true;
        }
        break;
    }
    case FirstSave: {
        SavePropertiesFields fields{kTitleSave, setupName, timeText, {}, {}};
        if (!m_properties.Run(fields))
            return true;
        outcome = kConfirmed;
        // A row that could not be renamed leaves the setup under its old name.
        if (m_workspace.UpdateSetupRecord(setupName, {fields.name, fields.user, fields.note}))
            state.m_setupName = fields.name;
        else
            success = false;
        if (m_host.DatasetHasContent()) {
            SavePropertiesFields dataset{kTitleDataset, datasetName, timeText, {}, {}};
            // Its new name must be free among the datasets of its setup.
            dataset.kind = 2;
            dataset.setupName = state.m_setupName;
            m_properties.Run(dataset);
            if (m_workspace.UpdateDatasetRecord(state.m_setupName, datasetName,
                                                {dataset.name, dataset.user, dataset.note}))
                state.m_datasetName = dataset.name;
            else
                success = false;
        }
        break;
    }
    case Save:
        success = m_workspace.SetSetupDateTime(setupName, tvane::CTime::GetCurrentTime());
        outcome = kConfirmed;
        break;
    default:
        return false;
    }

    if (createSetup) {
        if (!m_workspace.CreateSetupStorage(state) || !m_workspace.SaveDataset(state)) {
            ShowUnableToCreate(state.m_setupName);
            success = false;
        } else if (!m_workspace.SetSetupUserNote(state.m_setupName, user, note)) {
            success = false;
        }
    }

    if (mode != Save) {
        m_host.RefreshSetupGrid();
        m_host.CloseDataBrowser();
        m_host.UpdateAllViews(HINT_SCAN_STARTING);
        m_host.UpdateAllViews(HINT_SCAN_STATE);
    }

    if (success)
        success = SaveStateNames(state);
    return success;
}

bool SetupSaver::SaveAfterScan(CStateInfo& state, int& answer) {
    answer = kConfirmed;
    if (m_host.IsNeverSaved())
        return SaveStateNames(state);
    int outcome = kNothingConfirmed;
    if (state.m_flags[1] != 0)
        return SaveSetupAs(state, Conflict, outcome);
    if (state.m_flags[0] != 0 || state.m_flags[2] != 0)
        return SaveSetupAs(state, Save, outcome);
    return true;
}

bool SetupSaver::SaveStateNames(CStateInfo& state) {
    if (!m_host.SaveDocumentFile(state.m_setupFile))
        return false;
    m_host.MarkSaved();
    state.m_flags = {0, 0, 0, 0};
    m_host.SetAppState(state);
    state.SaveRecentNames();
    return true;
}

void SetupSaver::ShowUnableToCreate(const std::string& name) {
    tvane::ShowMessage(tvane::Format(kUnableToCreate, name.c_str()), tvane::MsgButtons::Ok,
                       tvane::MsgIcon::Error, kUnableToCreateId);
}
