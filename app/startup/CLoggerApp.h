#pragma once
#include <string>
#include <vector>

#include "database/CStateInfo.h"

class IAppHost;

// The application object: the start-up order from the command line to a main
// window, the clean-exit marker that drives the restore question at the next
// start, and the shutdown that closes the database and keeps a backup of it.
class CLoggerApp {
public:
    static constexpr unsigned kRequiredDiskBytes = 50000;

    CLoggerApp(IAppHost& host, std::string programDirectory);

    // False ends the program; ExitInstance runs in either case. arguments exclude
    // the program name. registeredOnly is set when the run was "-r".
    bool InitInstance(const std::vector<std::string>& arguments);
    int ExitInstance(int exitCode = 0);

    bool RegisteredOnly() const { return m_registeredOnly; }
    CStateInfo& GetStateInfo() { return m_state; }
    const std::string& ProgramDirectory() const { return m_programDirectory; }

    // The restore question and the restore itself; true when a setup was opened.
    bool RestoreStep();

    // The pending-open names and the opening flag the file commands read while
    // the last setup is restored.
    std::string m_openSetupName;
    std::string m_openDatasetName;
    int m_opening = 0;

private:
    bool StartUp();
    void RunWelcome();

    IAppHost& m_host;
    std::string m_programDirectory;
    CStateInfo m_state;
    bool m_registeredOnly = false;
    // Set once no other instance was found.
    bool m_onlyInstance = false;
    // Set once the workspace is open: only such an instance owns the clean-exit
    // marker and the backup, so a second instance or a failed start leaves a
    // running instance's marker and a good backup alone.
    bool m_ownsWorkspace = false;
};

// The state of the previous run: [Settings] "Valid", 0 after an abnormal end.
bool PreviousRunEndedCleanly();
void WriteCleanExitMarker(bool clean);
