#pragma once
#include <string>

// What the main frame asks of the document: its timer handlers, its run state
// and the steps of closing. The program adapts the document to it.
class IFrameDocument {
public:
    virtual ~IFrameDocument() = default;
    virtual void OnScanTimer() = 0;
    virtual void OnStartTimer() = 0;
    virtual void OnMonitorTimer() = 0;
    virtual void StopTimers() = 0;
    virtual void RestartTimers() = 0;
    virtual bool IsSetupLoaded() const = 0;
    virtual bool IsScanning() const = 0;
    // Logs an event with the run's elapsed time.
    virtual void LogEvent(const std::string& text) = 0;
    // Closes the data browser and ends the run.
    virtual void EndRun() = 0;
    // Asks whether to save the changes; false when the user cancels. A setup
    // that was never saved and is not to be kept is marked for discarding.
    virtual bool SaveModified() = 0;
    virtual void SetModifiedFlag(bool modified) = 0;
};

// The instrument's communication interface as power notices need it.
class IFrameInstrument {
public:
    virtual ~IFrameInstrument() = default;
    virtual void CloseInterface() = 0;
    // Opens with the stored communication settings; false on failure.
    virtual bool OpenInterface() = 0;
    // Switches to the simulated interface and applies it.
    virtual void UseSimulatedInterface() = 0;
};
