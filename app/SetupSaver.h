#pragma once
#include <string>

#include "app/ISaveDialogs.h"

struct CStateInfo;
class CWorkspace;

// What the save routine needs of the document and the application around it.
class ISaveSetupHost {
public:
    virtual ~ISaveSetupHost() = default;
    // Now in the document's date and time format.
    virtual std::string FormatNow() = 0;
    virtual bool IsNeverSaved() = 0;
    // The current dataset holds readings or events.
    virtual bool DatasetHasContent() = 0;
    virtual void RefreshSetupGrid() = 0;
    virtual void CloseDataBrowser() = 0;
    virtual void UpdateAllViews(long hint) = 0;
    // Writes the document file; false (after its own message) when that failed.
    virtual bool SaveDocumentFile(const std::string& path) = 0;
    // Clears the never-saved and modified flags.
    virtual void MarkSaved() = 0;
    // Puts the state record back into the application and retitles its window.
    virtual void SetAppState(const CStateInfo& state) = 0;
};

// Save, Save As, the save question at exit and the save at the end of a run: the
// names are asked for as the mode requires, the rows and storage written, the
// views told and the new names put into the application.
class SetupSaver {
public:
    enum Mode { SaveAs = 0, Conflict = 1, FirstSave = 2, Save = 3 };
    static constexpr int kNothingConfirmed = 2; // the message-box Cancel
    static constexpr int kConfirmed = 6;        // the message-box Yes
    static constexpr unsigned kUnableToCreateId = 575;
    static constexpr const char* kUnableToCreate = "Unable to create %s";
    static constexpr const char* kUnableToSave =
        "Unable to save setup, check for available disk space.";
    static constexpr const char* kTitleSaveAs = "Save Setup As";
    static constexpr const char* kTitleSave = "Save Setup";
    static constexpr const char* kTitleDataset = "Save Dataset";

    SetupSaver(ISaveSetupHost& host, CWorkspace& workspace, ISaveSetupDialog& propertiesDialog,
               ISaveSetupAsDialog& conflictDialog)
        : m_host(host), m_workspace(workspace), m_properties(propertiesDialog),
          m_conflict(conflictDialog) {}

    // state is the caller's copy of the application's record; outcome becomes 2
    // when nothing was confirmed, 6 otherwise. A cancelled dialog is a success.
    bool SaveSetupAs(CStateInfo& state, int mode, int& outcome);
    // The save step at the end of a run; answer becomes 6.
    bool SaveAfterScan(CStateInfo& state, int& answer);
    // Writes the document file at the state's setup file and, when that worked,
    // marks everything saved and puts the record back into the application.
    bool SaveStateNames(CStateInfo& state);

private:
    bool Run(CStateInfo& state, int mode, int& outcome);
    void ShowUnableToCreate(const std::string& name);

    ISaveSetupHost& m_host;
    CWorkspace& m_workspace;
    ISaveSetupDialog& m_properties;
    ISaveSetupAsDialog& m_conflict;
};
