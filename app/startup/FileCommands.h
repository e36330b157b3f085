#pragma once
#include <functional>
#include <string>

#include "app/INewSetupPages.h"
#include "app/NewSetupModel.h"
#include "app/OpenSetupModel.h"

struct CStateInfo;
class CLoggerDoc;
class CWorkspace;
class RecentSetupList;

// The windows the file commands show and the parts of the main window they
// change. The program implements it over the main frame; tests script it.
class IFileCommandWindows : public INewSetupPages {
public:
    virtual ~IFileCommandWindows() = default;
    // True for OK.
    virtual bool RunNewSetup(NewSetupModel& model) = 0;
    // The dialog's end code (OpenSetupModel::End).
    virtual int RunOpen(OpenSetupModel& model) = 0;
    // The welcome choice (0 new, 1 new from upload, 2 open), -1 for Cancel.
    virtual int RunWelcome(bool instrumentAvailable) = 0;
    // The document's title, shown in the main window's caption.
    virtual void SetTitle(const std::string& title) = 0;
    // The first status-bar pane.
    virtual void SetStatus(const std::string& text) = 0;
    virtual void EnableFrame(bool enable) = 0;
};

// The commands that change which setup is open: New, Open, Close, Modify/
// Delete, the recent setups, the welcome command and the restore of the last
// setup at start-up. They work on the one document and its application state;
// the workspace says which setups exist.
class FileCommands {
public:
    static constexpr const char* kNoSetupTitle =
        "No setup exists. Please use File Open or File New";                                // 161
    static constexpr const char* kCreating = "Creating %s...";                              // 162
    static constexpr const char* kOpening = "Opening %s...";                                // 164
    static constexpr const char* kSaveChanges = "Save changes to ";                         // 1097
    static constexpr const char* kLastSetupMissing = "Could not open last used setup (%s)"; // 4018
    static constexpr const char* kCannotOpenRecent = "Could not open the setup (%s)";
    // Answers of the save question.
    enum SaveAnswer : int { kGoOn = 6, kNotSaved = 7, kDiscard = 3, kCancelled = 2 };

    FileCommands(CLoggerDoc& doc, CWorkspace& workspace, IFileCommandWindows& windows,
                 RecentSetupList& recent, NewSetupModel::Lookups newSetupLookups,
                 OpenSetupModel::Services openServices)
        : m_doc(doc), m_workspace(workspace), m_windows(windows), m_recent(recent),
          m_newSetupLookups(std::move(newSetupLookups)), m_openServices(std::move(openServices)) {}

    // The new setup from an instrument upload (the welcome's second choice).
    void SetUploadCommand(std::function<bool()> upload) { m_upload = std::move(upload); }

    // New, Open, Close, Modify/Delete and the recent setups: not while scanning.
    bool IsEnabled() const;
    // Each returns true when a setup was made or opened. New, Open and Close
    // first finish the edit of the grid's current cell (and stop when its
    // value is not valid), so the save question sees it.
    bool NewSetup();
    bool Open();
    void Close();
    void ModifyDelete();
    bool OpenRecent(int index);
    // The welcome dialog and the command it chooses.
    void Welcome();
    // Opens the remembered setup and dataset at start-up; false (after saying
    // so) when the workspace has no such setup.
    bool RestoreLastSetup(const std::string& setup, const std::string& dataset);

    // Asked before New, Open and Close replace the open setup, and before the
    // program ends: one question for all of them.
    int SaveModifiedSetup(const CStateInfo& open) { return SaveModifiedSetup(m_doc, open); }
    static int SaveModifiedSetup(CLoggerDoc& doc, const CStateInfo& open);
    // Opens the record's setup (and dataset) into the document; throws the
    // program's file exception when the workspace has no such setup.
    bool OpenSetupDocument(CStateInfo& state);
    void UpdateMainTitle(const CStateInfo& state);
    // The title of a document without a setup.
    void ShowNoSetup();

    // The pending-open names and the opening flag: set while the restore or a
    // recent setup opens without the Open dialog.
    std::string m_openSetupName;
    std::string m_openDatasetName;
    int m_opening = 0;

private:
    // A never-saved setup the user did not keep goes once the command is done.
    void Discard(const CStateInfo& old);
    OpenSetupModel MakeOpenModel(int mode);

    CLoggerDoc& m_doc;
    CWorkspace& m_workspace;
    IFileCommandWindows& m_windows;
    RecentSetupList& m_recent;
    NewSetupModel::Lookups m_newSetupLookups;
    OpenSetupModel::Services m_openServices;
    std::function<bool()> m_upload;
};
