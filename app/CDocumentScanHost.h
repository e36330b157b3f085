#pragma once
#include "app/IScanHost.h"

class CLoggerDoc;

// The program's run host: the instrument work of the document (connection
// speed, pre-run validation, error reports, alarm queue, monitor, display
// actions) and the preferences. The windows of a run (status dialog, save
// dialog, progress, setup view, tool bars) are the main frame's and stay
// abstract here.
class CDocumentScanHost : public IScanHost {
public:
    CDocumentScanHost(CLoggerDoc& doc, CAppPreferences* preferences)
        : m_doc(doc), m_preferences(preferences) {}

    std::int16_t GetReadingsPerPoll() override;
    bool ValidateInstrumentForRun(bool download, bool check) override;
    // The modules the instrument reports in slots 1 to 3 against those of the
    // setup; an offline instrument always matches.
    bool InstrumentMatchesSetup() override;
    void LogInstrumentError() override;
    bool LogReadingsFailure(bool report) override;
    void ReadAlarmQueue() override;
    void ReadMonitorChannel() override;
    void StopMonitor() override;
    bool DoInstrumentAction(CReadingInfo& request) override;
    CAppPreferences* Preferences() override { return m_preferences; }

protected:
    CLoggerDoc& m_doc;
    CAppPreferences* m_preferences;
};
