#pragma once
#include <memory>
#include <string>

#include "app/RecentSetupList.h"
#include "app/TransferDocument.h"
#include "app/startup/FileCommands.h"

class CAppPreferences;
class CLoggerDoc;
class CMainFrame;
class CWorkspace;
class CSaveSetupDialog;

// The file commands' windows over the main frame: the New Setup, Open and
// welcome windows, modal over it, and its caption, status pane and pages.
class FrameFileWindows final : public IFileCommandWindows {
public:
    FrameFileWindows(CMainFrame& frame, CLoggerDoc& doc) : m_frame(frame), m_doc(doc) {}
    bool RunNewSetup(NewSetupModel& model) override;
    int RunOpen(OpenSetupModel& model) override;
    int RunWelcome(bool instrumentAvailable) override;
    void SetTitle(const std::string& title) override;
    void SetStatus(const std::string& text) override;
    void EnableFrame(bool enable) override;
    void ResetPages() override;
    void InsertStripChart() override;

private:
    CMainFrame& m_frame;
    CLoggerDoc& m_doc;
};

// The File and Help commands of the application on the main frame: New (Ctrl+N),
// Open (Ctrl+O), Close, Modify/Delete, the recent setups, the welcome command,
// Tip of the Day, About and Toolbars, each with its enable rule.
class FileCommandWiring {
public:
    FileCommandWiring(CLoggerDoc& doc, CWorkspace& workspace, CMainFrame& frame,
                      RecentSetupList& recent, CAppPreferences& preferences,
                      std::string programDirectory);
    ~FileCommandWiring();
    FileCommands& Commands() { return *m_commands; }

    // The Tip of the Day window, at start-up and from the Help menu.
    void ShowTipOfTheDay();

private:
    CLoggerDoc& m_doc;
    CMainFrame& m_frame;
    RecentSetupList& m_recent;
    CAppPreferences& m_preferences;
    std::string m_programDirectory;
    TransferDocument m_transfer;
    std::unique_ptr<FrameFileWindows> m_windows;
    std::unique_ptr<FileCommands> m_commands;
};
