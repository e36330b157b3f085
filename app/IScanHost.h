#pragma once
#include <cstdint>
#include <string>

struct CStateInfo;
class CAppPreferences;
class CReadingInfo;

// What a run needs around the document: the instrument connection's checks and
// reports, the windows that show its state and the dialogs that ask the user.
// The program wires the connection work and the main frame in; tests script it.
class IScanHost {
public:
    // Answers of the Save Scan Data dialog.
    struct SaveAnswer {
        bool ok = false; // false: closed without OK (the run is saved under a default name)
        bool applyNames = false;
        std::int32_t exportChoice = 0;
    };

    virtual ~IScanHost() = default;

    // Readings per poll from the control's connection speed.
    virtual std::int16_t GetReadingsPerPoll() = 0;
    // The pre-run validation; download sends the setup first. Shows its own messages.
    virtual bool ValidateInstrumentForRun(bool download, bool check) = 0;
    // The instrument holds the setup: its modules and its scan list.
    virtual bool InstrumentMatchesSetup() = 0;
    // Shows and logs the driver's last error when it reports one.
    virtual void LogInstrumentError() = 0;
    // After the poll's readings failed: logs why, and says whether the instrument
    // answered at all (a bad block) or sent nothing (a time-out, a lost link); the
    // second is logged only when report is set.
    virtual bool LogReadingsFailure(bool report) = 0;
    virtual void ReadAlarmQueue() = 0;
    virtual void ReadMonitorChannel() = 0;
    virtual void StopMonitor() = 0;
    virtual void GoToLocal() = 0;
    // A write or read of a display's kind; false when the instrument refused it.
    virtual bool DoInstrumentAction(CReadingInfo& request) = 0;

    // The save-before-run step: false when the user declined or the save failed.
    virtual bool SaveBeforeRun(CStateInfo& state) = 0;
    // Saves the current dataset when it holds readings or events.
    virtual bool SaveDatasetIfAny(CStateInfo& state) = 0;
    virtual void CreateDataBrowser() = 0;
    virtual SaveAnswer ShowSaveScanData(CStateInfo& state, std::int32_t exportFlag) = 0;
    // After a save under the default name: makes it the current dataset.
    virtual bool OpenSavedDataset(CStateInfo& state) = 0;
    // Copies the run summary into the open dataset and closes it.
    virtual void CloseDataset() = 0;
    virtual void ApplySaveNames() = 0;
    // The Export Data step and the export of the run's readings.
    virtual void ExportReadings() = 0;

    // The Start Scanning - Scan Status dialog: true for Start; dontShowAgain is
    // set when its check box was ticked.
    virtual bool ShowScanStatus(bool setupInInstrument, bool& dontShowAgain) = 0;

    // Null while the application has none: every preference reads as its default.
    virtual CAppPreferences* Preferences() = 0;

    virtual void EnableSetupView(bool enable) = 0;
    virtual void RefreshToolBars() = 0;
    virtual void ActivateGraphView() = 0;
    virtual void RefreshTitle() = 0;

    // The upload's progress dialog: shown with a range of 0..100.
    virtual void ShowProgress(const std::string& title) = 0;
    virtual bool IsProgressCancelled() = 0;
    virtual void SetProgress(int position, const std::string& text) = 0;
    virtual void CloseProgress() = 0;
};
