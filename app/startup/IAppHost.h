#pragma once
#include <optional>
#include <string>

struct CStateInfo;

// The steps of start-up and shutdown that reach outside the application object:
// windows, the instrument, the database and the desktop. The program supplies
// the real ones; tests record the order in which they are called.
class IAppHost {
public:
    virtual ~IAppHost() = default;

    // Free bytes where the program keeps its data; no value (and the system's
    // text in error) when the query fails.
    virtual std::optional<double> FreeDiskBytes(std::string& error) = 0;
    // True when another instance runs; it has been asked to come to the front.
    virtual bool RaiseRunningInstance() = 0;
    // The splash picture while the program starts; closed by the start-up
    // steps that follow or by its own timer.
    virtual void ShowSplash() = 0;
    virtual void CloseSplash() = 0;
    // The saved settings: the recent setups and the preview page count.
    virtual void LoadSettings() = 0;
    // The user data source of the workspace.
    virtual bool RegisterDataSource() = 0;
    // The instrument binding, named by the driver's name.
    virtual void CreateInstrument(const std::string& driverName) = 0;
    virtual bool OpenDatabase(CStateInfo& state) = 0;
    // The document with its main frame and first view, hidden.
    virtual bool CreateDocument() = 0;
    virtual bool CreateEventLog() = 0;
    // The main frame's saved window state: 1 normal, 2 minimised, 3 maximised.
    virtual int SavedWindowState() = 0;
    virtual void ShowMainWindow(int state) = 0;
    virtual void LoadPreferences() = 0;
    // A yes/no preference; no value when it cannot be read.
    virtual std::optional<bool> Preference(int id) = 0;
    // Opens the remembered setup and dataset; false when it could not.
    virtual bool RestoreLastSetup(const std::string& setup, const std::string& dataset) = 0;
    virtual void ConnectInstrument() = 0;
    virtual void ShowTipOfTheDay() = 0;
    // The welcome command; throws tvane::UserException when the user cancels a
    // step that is to be offered again.
    virtual void Welcome() = 0;

    virtual void DeleteInstrument() = 0;
    virtual void CloseDatabase(CStateInfo& state) = 0;
    virtual void EmptyClipboardIfOurs() = 0;
    virtual void SaveSettings() = 0;
};
