#pragma once
#include <string>

#include "app/LoggerDocWorkspace.h"
#include "app/SetupSaver.h"
#include "database/CStateInfo.h"
#include "database/CWorkspace.h"

class CLoggerDoc;

// The document's setups and datasets in the workspace with its save routine:
// the database side of the document's operations, in the form the document
// calls them (IDocumentOperations forwards here).
class DocumentWorkspace {
public:
    DocumentWorkspace(CLoggerDoc& doc, ISaveSetupDialog& propertiesDialog,
                      ISaveSetupAsDialog& conflictDialog)
        : m_host(doc), m_workspace(m_host),
          m_saver(m_host, m_workspace, propertiesDialog, conflictDialog) {}

    bool CreateSetupStorage(CStateInfo& state) { return m_workspace.CreateSetupStorage(state); }
    bool LoadModuleChannels(CStateInfo& state) {
        return m_workspace.LoadModuleChannels(state.m_modules);
    }
    bool SaveDataset(CStateInfo& state) { return m_workspace.SaveDataset(state); }
    bool LoadDatasetFile(CStateInfo& state) { return m_workspace.LoadDatasetFile(state); }
    bool DeleteSetup(const std::string& name) { return m_workspace.DeleteSetup(name); }
    // The state record's dataset, row and storage.
    bool DeleteDataset(CStateInfo& state) {
        return m_workspace.DeleteDataset(state.m_setupName, state.m_datasetName);
    }
    bool SaveSetupAs(CStateInfo& state, int mode) {
        int outcome = SetupSaver::kNothingConfirmed;
        return m_saver.SaveSetupAs(state, mode, outcome);
    }

    CWorkspace& Workspace() { return m_workspace; }
    SetupSaver& Saver() { return m_saver; }

private:
    LoggerDocWorkspace m_host;
    CWorkspace m_workspace;
    SetupSaver m_saver;
};
