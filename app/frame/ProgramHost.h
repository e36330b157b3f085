#pragma once
#include <memory>

#include "app/CAppPreferences.h"
#include "app/CInstrumentConnection.h"
#include "app/RecentSetupList.h"
#include "app/startup/IAppHost.h"

class CMainFrame;
class DocumentWiring;
class FileCommandWiring;
class LogindPowerMonitor;
class SingleInstance;

// The program's own start-up and shutdown steps: the desktop, the main frame,
// the instrument connection, the workspace and the file commands.
class ProgramHost final : public IAppHost, private CInstrumentConnection::IHost {
public:
    explicit ProgramHost(std::string programDirectory = {});
    ~ProgramHost() override;

    CMainFrame* Frame() const { return m_frame.get(); }
    // The program's one document; null before the database opened.
    CLoggerDoc* Document() const;

    // The file commands; null before the document exists.
    FileCommandWiring* Files() const { return m_files.get(); }
    RecentSetupList& Recent() { return m_recent; }

    std::optional<double> FreeDiskBytes(std::string& error) override;
    void ShowSplash() override;
    void CloseSplash() override;
    void LoadSettings() override;
    bool RaiseRunningInstance() override;
    bool RegisterDataSource() override;
    void CreateInstrument(const std::string& driverName) override;
    bool OpenDatabase(CStateInfo& state) override;
    bool CreateDocument() override;
    bool CreateEventLog() override;
    int SavedWindowState() override;
    void ShowMainWindow(int state) override;
    void LoadPreferences() override;
    std::optional<bool> Preference(int id) override;
    bool RestoreLastSetup(const std::string& setup, const std::string& dataset) override;
    void ConnectInstrument() override;
    void ShowTipOfTheDay() override;
    void Welcome() override;
    void DeleteInstrument() override;
    void CloseDatabase(CStateInfo& state) override;
    void EmptyClipboardIfOurs() override;
    void SaveSettings() override;

    // The clipboard format of the program's displays.
    static constexpr const char* kClipboardFormat = "application/x-tallyvane-graphic";

private:
    void SetInterfacePane(const std::string& text) override;
    CLoggerDoc* GetActiveDocument() override { return Document(); }
    // Preferences command: the sheet, and the document told when "Show All
    // Channels in Graphics" changed.
    void OnPreferences();

    std::unique_ptr<CInstrumentConnection> m_connection;
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<CMainFrame> m_frame;
    CStateInfo* m_state = nullptr; // the application's, set when the database opens
    std::unique_ptr<DocumentWiring> m_document;
    std::unique_ptr<FileCommandWiring> m_files;
    RecentSetupList m_recent;
    std::unique_ptr<LogindPowerMonitor> m_power;
    CAppPreferences m_preferences;
    std::string m_programDirectory;
};

// A yes/no preference from the profile's "PREFERENCES" section: "Y" is yes; a
// missing key reads "N" for 10004 and "Y" for the others.
bool ReadYesNoPreference(int id);
