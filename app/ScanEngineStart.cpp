// The start of a run: Start Scan, the countdown to a timed start and the start
// event.
#include <cstdint>
#include <string>

#include "app/CAppPreferences.h"
#include "app/CScanEngine.h"

#include "app/CLoggerDoc.h"
#include "app/DocumentTexts.h"
#include "app/IDocumentOperations.h"
#include "app/ILoggerApp.h"
#include "app/IScanHost.h"
#include "app/IScanInstrument.h"
#include "app/ScanEngineTexts.h"
#include "database/CDataset.h"
#include "database/CDatasetEvent.h"
#include "database/CStateInfo.h"
#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"
#include "scan/CFXScan.h"
#include "scan/CRunRecord.h"

namespace {

tvane::ITimerService& FrameTimers(ILoggerApp& app) {
    return app.GetMainFrame() ? app.GetMainFrame()->Timers() : tvane::TimerService();
}

void SetPane(ILoggerApp& app, int pane, const std::string& text) {
    if (IDocumentFrame* frame = app.GetMainFrame())
        frame->SetPaneText(pane, text);
}

// A message box shows at most 255 characters of an exception's text.
std::string BoxText(const char* what) {
    std::string text = what != nullptr ? what : "";
    if (text.size() > 255)
        text.resize(255);
    return text;
}

} // namespace

const char* CScanEngine::StartText(std::int32_t startMode) {
    switch (startMode) {
    case CFXScan::kStartExternalTrigger:
        return scantext::kStartedTrigger;
    case CFXScan::kStartOnAlarm:
        return scantext::kStartedOnAlarm;
    case CFXScan::kStartTimed:
        return scantext::kStartedTimed;
    default:
        return scantext::kStartedImmediate;
    }
}

void CScanEngine::OnStartScan() {
    IScanHost* host = m_doc.GetServices().scanHost;
    IScanInstrument* instrument = m_doc.GetServices().scanInstrument;
    if (host == nullptr || instrument == nullptr || !m_doc.GetScan())
        return;
    // A second start would restart the instrument and split the run in two;
    // only the countdown of a timed start may start while the flag is set.
    if (m_state != State::Idle && m_state != State::StartArmed)
        return;
    try {
        m_readingsPerPoll = host->GetReadingsPerPoll();
        if (m_readingsPerPoll <= 0 || m_readingsPerPoll > kReadingBufferCapacity)
            m_readingsPerPoll = 100;
        m_scanTimer.SetWindow(&FrameTimers(m_doc.GetApp()));

        if (m_state == State::StartArmed) {
            // Counting as scanning from here, as while armed.
            m_state = State::Scanning;
            m_startTimer.Stop();
            if (!host->ValidateInstrumentForRun(false, false))
                return;
        } else {
            // The value being typed into the grid is part of the setup the run
            // measures with; the grid is closed to edits for the run.
            if (!m_doc.FinishCellEdit())
                return;
            int showDialog = 1;
            if (CAppPreferences* prefs = host->Preferences())
                prefs->GetPrefValue(CAppPreferences::kStartScanningWindow, showDialog);
            if (showDialog != 0 && !m_resume) {
                bool dontShowAgain = false;
                if (!host->ShowScanStatus(m_doc.IsSetupInInstrument(), dontShowAgain))
                    return;
                if (dontShowAgain)
                    if (CAppPreferences* prefs = host->Preferences())
                        prefs->SetPrefValue(CAppPreferences::kStartScanningWindow, "N");
            }
            for (int pane = 1; pane <= 3; ++pane)
                SetPane(m_doc.GetApp(), pane, {});
            StartRunClock(tvane::Clock().TickCount());

            DeleteLatestReadings();
            m_doc.CloseDataBrowser();
            // The views show the run from now on, not stored data.
            m_doc.ClearHasReadings();
            m_doc.UpdateAllViews(nullptr, HINT_SCAN_STATE);

            CStateInfo state;
            m_doc.GetApp().CopyStateInfo(state);
            if (!host->SaveBeforeRun(state))
                return;
            if (!host->SaveDatasetIfAny(state)) {
                tvane::ShowMessage(scantext::kNoRunDataset);
                return;
            }

            m_doc.StopMonitorTimer();
            m_doc.GetApp().SetStateInfo(state);
            // A run cut off is restored by these names: they name the run's own
            // dataset from its start, not the one before.
            state.SaveRecentNames();
            host->RefreshTitle();

            m_doc.UpdateAllViews(nullptr, HINT_SCAN_STARTING);
            host->EnableSetupView(false);

            if (!m_resume) {
                // A run that does not start gives the grid back to the user.
                const bool inInstrument = m_doc.IsSetupInInstrument();
                if (!host->ValidateInstrumentForRun(!inInstrument, true)) {
                    host->EnableSetupView(true);
                    return;
                }
                if (inInstrument) {
                    if (!host->InstrumentMatchesSetup()) {
                        if (m_dataset && m_dataset->IsOpen()) {
                            CDatasetEvent event(0, 0, 0.0, scantext::kConfigMismatch);
                            m_dataset->AppendEvent(event);
                        }
                        tvane::ShowMessage(scantext::kValidationFailed);
                        host->EnableSetupView(true);
                        host->LogInstrumentError();
                        m_doc.SetSetupInInstrument(false);
                        return;
                    }
                }
            }

            if (m_doc.GetScan()->m_startMode == CFXScan::kStartTimed) {
                m_startTimer.SetWindow(&FrameTimers(m_doc.GetApp()));
                m_startTimer.Start(m_startCountdownInterval);
                m_state = State::StartArmed;
                m_lastScanNumber = 0;
                StartRunClock(tvane::Clock().TickCount());
                UpdateScanStatus(false);
                return;
            }
        }

        // The measurement itself.
        const std::uint32_t now = tvane::Clock().TickCount();
        m_doc.ScheduleMonitorInRun(now);
        m_autoSaveTimer.Set(m_autoSaveInterval, now);
        m_instrumentCheckTimer.Set(m_instrumentCheckInterval, now);
        m_startTimer.Stop();

        if (!m_resume && !instrument->StartMeasurement()) {
            m_terminationCode = kTerminationInstrument;
            EndScan(false);
            host->LogInstrumentError();
            tvane::ShowMessage(scantext::kStartFailed);
            return;
        }

        if (m_doc.GetScan()->m_scanInterval * 1000.0 >= 2000.0) {
            m_showCountdown = true;
            m_countdownStep = 0;
            m_countdownDisplayTimer.Set(m_countdownDisplayInterval, now);
            ShowWaitingStatus();
        } else {
            m_showCountdown = false;
        }

        double startTick = 0.0;
        instrument->GetStartTickCount(startTick);
        m_startTick = startTick;
        StartRunClock(tvane::Clock().TickCount());

        std::int16_t milliseconds = 0;
        const bool scanTimeRead = instrument->GetScanTime(m_documentTime, milliseconds);
        m_runWord = milliseconds;

        if (m_dataset) {
            m_dataset->SetFirstTick(m_startTick);
            m_dataset->SetChannelCount(static_cast<std::int16_t>(m_doc.CountActiveChannels(false)));
        }
        m_secondTick = m_startTick;
        host->LogInstrumentError();
        if (m_dataset && m_dataset->IsOpen())
            m_dataset->WriteHeader();

        host->ActivateGraphView();
        LogTestStarted(m_startTick);

        m_lastScanNumber = 0;
        BeginRun();
        m_lastScanChannel = m_doc.GetServices().operations != nullptr
                                ? m_doc.GetServices().operations->GetLastScanMaxChannel(m_doc)
                                : 0;
        if (scanTimeRead)
            m_graphicsFlag = 0;

        host->RefreshToolBars();
        tvane::WritePrivateProfileString(doctext::kSettingsSection, scantext::kValidKey,
                                         std::string("0"), doctext::kIniFile);
        m_doc.NotifySetupChanged();

        if (scanTimeRead) {
            m_scanTimer.SetWindow(&FrameTimers(m_doc.GetApp()));
            m_scanTimer.Start(m_scanPollInterval);
        } else {
            // Without the scan's start time the run's readings cannot be placed
            // in time: it ended because of the instrument.
            m_terminationCode = kTerminationInstrument;
            tvane::ShowMessage(scantext::kStartFailed);
            EndScan(false);
        }
    } catch (const tvane::UserException&) {
        host->EnableSetupView(true);
        host->RefreshToolBars();
    } catch (const tvane::Exception& e) {
        host->EnableSetupView(true);
        host->RefreshToolBars();
        tvane::ShowMessage(BoxText(e.what()));
    }
}

void CScanEngine::LogTestStarted(double startTick) {
    const char* text = StartText(m_doc.GetScan() ? m_doc.GetScan()->m_startMode : 0);
    CRunRecord run;
    run.m_kind = CRunRecord::kStart;
    run.m_time = startTick;
    run.m_startTime = m_documentTime;
    m_runData = false;
    m_doc.UpdateAllViews(nullptr, HINT_EVENT, &run);
    CDatasetEvent event(CDatasetEvent::Start, 0, startTick, text);
    m_doc.UpdateAllViews(nullptr, HINT_READING, &event);
}

void CScanEngine::OnStartCountdownTimer() {
    if (!m_doc.GetScan())
        return;
    const tvane::CTime now = tvane::CTime::GetCurrentTime();
    if (now.GetTime() >= m_doc.GetScan()->m_startTime.GetTime()) {
        OnStartScan();
        return;
    }
    const std::int64_t span = m_doc.GetScan()->m_startTime - now;
    const long days = static_cast<long>(span / 86400);
    const int hours = static_cast<int>(span / 3600 % 24);
    const int minutes = static_cast<int>(span / 60 % 60);
    const int seconds = static_cast<int>(span % 60);
    SetPane(m_doc.GetApp(), 0,
            days > 0 ? tvane::Format(scantext::kStartsInDays, days, hours, minutes, seconds)
                     : tvane::Format(scantext::kStartsIn, hours, minutes, seconds));
}
