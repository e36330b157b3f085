// The end of a run: Stop Scan, the upload of what the instrument still holds,
// the end event and the offers to save and export.
#include <algorithm>
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
#include "platform/ui/Prompter.h"
#include "scan/CFXScan.h"
#include "scan/CRunRecord.h"
#include "scan/ValueFormat.h"

const char* CScanEngine::TerminationText(std::int16_t code) {
    switch (code) {
    case 1:
        return scantext::kTerminatedOk;
    case 2:
        return scantext::kTerminatedByUser;
    case 3:
        return scantext::kTerminatedLimit;
    case 4:
        return scantext::kTerminatedInstrument;
    case 5:
        return scantext::kTerminatedReadings;
    case kTerminationDatasetFull:
        return scantext::kTerminatedDatasetFull;
    default:
        return scantext::kTerminatedUnknown;
    }
}

void CScanEngine::OnStopScan() {
    if (m_doc.GetScan() && m_doc.GetScan()->m_stopMode != CFXScan::kStopByUser) {
        if (tvane::ShowMessage(scantext::kConfirmStop, tvane::MsgButtons::YesNo,
                               tvane::MsgIcon::Question) != tvane::MsgAnswer::Yes)
            return;
    }
    if (IsScanning()) {
        m_terminationCode = kTerminationByUser;
        m_scanTimer.Stop();
        EndScan(true);
    }
}

void CScanEngine::EndScan(bool offerBrowser) {
    EndRun(offerBrowser, false);
}

void CScanEngine::EndRun(bool offerBrowser, bool leaveScanningForRun) {
    IScanHost* host = m_doc.GetServices().scanHost;
    IScanInstrument* instrument = m_doc.GetServices().scanInstrument;
    // The user's choice, or this run's own when the poll could no longer
    // trust the instrument.
    const bool leaveScanning =
        leaveScanningForRun || (m_doc.GetScan() && m_doc.GetScan()->m_leaveScanning != 0);
    try {
        HaltRun();
        if (!leaveScanning && instrument != nullptr && !instrument->StopMeasurement())
            instrument->StopMeasurement();

        m_secondTick = ElapsedSinceStart(tvane::Clock().TickCount());
        if (m_dataset)
            m_dataset->SetLastTick(m_secondTick);

        try {
            // A full dataset has no room for what the instrument still holds.
            if (!leaveScanning && m_terminationCode != kTerminationDatasetFull)
                UploadRemainingReadings();
            // The data views of the stored run open at its end.
            if (m_dataset && m_dataset->IsOpen()) {
                m_dataset->SetBrowsePosition(m_secondTick);
                m_dataset->WriteHeader();
                m_dataset->SetBrowseScan(std::max(m_dataset->GetScanCount() - 1, 0));
            }
        } catch (const tvane::UserException&) {
            m_state = State::Idle;
        } catch (const tvane::Exception& e) {
            m_state = State::Idle;
            // The end of the run did not reach the file (a full disk): the user
            // hears of it before being asked to name the run.
            std::string text = e.what();
            if (text.size() > 255)
                text.resize(255);
            tvane::ShowMessage(text);
        }
        // The stop is logged even when the file could not take the end of the
        // run (a full disk): the event log shows how the run ended.
        try {
            LogTestTerminated(m_secondTick);
            // The Stop event is in the file before anything else can go wrong.
            if (m_dataset && m_dataset->IsOpen()) {
                m_dataset->WriteHeader();
                m_dataset->FlushReadings();
            }
        } catch (const tvane::Exception&) {
            m_state = State::Idle;
        }

        if (host != nullptr) {
            host->EnableSetupView(true);
            host->RefreshToolBars();
            host->StopMonitor();
            host->GoToLocal();
        }
        if (m_dataset && m_dataset->IsOpen())
            StoreLastScanIndex();

        if (host != nullptr && m_dataset && m_dataset->GetReadingCount() > 0) {
            CStateInfo state;
            m_doc.GetApp().CopyStateInfo(state);
            CTextExport& textExport = m_doc.GetExport();
            const bool saveWord = textExport.ExportsAfterDialog();
            textExport.SetExportAfterDialog(false);
            const IScanHost::SaveAnswer answer = host->ShowSaveScanData(
                state, m_doc.GetScan() ? m_doc.GetScan()->m_exportOnPostScan : 0);
            textExport.SetExportAfterDialog(saveWord);
            if (!answer.ok) {
                bool saved = false;
                try {
                    saved = m_doc.GetServices().operations != nullptr &&
                            m_doc.GetServices().operations->SaveDataset(m_doc, state);
                } catch (const tvane::Exception&) {
                    saved = false;
                }
                if (saved && host->OpenSavedDataset(state)) {
                    m_runData = false;
                } else {
                    host->CloseDataset();
                    if (m_doc.GetServices().operations != nullptr)
                        m_doc.GetServices().operations->LoadDatasetFile(m_doc, state);
                }
                offerBrowser = false;
                m_doc.UpdateAllViews(nullptr, HINT_SCAN_STATE);
            } else {
                if (answer.applyNames)
                    host->ApplySaveNames();
                if (m_doc.GetScan())
                    m_doc.GetScan()->m_exportOnPostScan = answer.exportChoice;
                if (answer.exportChoice == 1) {
                    const bool exportWord = textExport.SkipsDialog();
                    textExport.SetSkipDialog(true);
                    host->ExportReadings();
                    textExport.SetSkipDialog(exportWord);
                    textExport.GetRequest().m_fileName = m_doc.MakeExportFileName("csv");
                }
            }
            m_doc.GetApp().SetStateInfo(state);
            host->RefreshTitle();
        }
    } catch (const tvane::Exception&) {
        if (m_dataset && m_dataset->IsOpen())
            StoreLastScanIndex();
        if (host != nullptr)
            host->RefreshToolBars();
        m_state = State::Idle;
    }

    // What the views show from now on is the stored run.
    m_doc.UpdateHasReadings();
    if (offerBrowser) {
        int showBrowser = 1;
        if (host != nullptr) {
            if (CAppPreferences* prefs = host->Preferences())
                prefs->GetPrefValue(CAppPreferences::kDataBrowserWindow, showBrowser);
            if (showBrowser != 0)
                host->CreateDataBrowser();
        }
    }
    UpdateScanStatus(false);
    if (host != nullptr)
        host->LogInstrumentError();
    if (m_terminationCode == kTerminationDatasetFull)
        tvane::ShowMessage(scantext::kDatasetFull);
}

bool CScanEngine::UploadRemainingReadings() {
    if (m_doc.GetServices().scanInstrument == nullptr)
        return false;
    IScanInstrument& instrument = *m_doc.GetServices().scanInstrument;
    std::int32_t count = 0;
    if (!instrument.GetReadingsCount(count))
        return false;
    if (count <= 0)
        return true;
    // Back to the state before once done, also when the upload fails.
    struct StateGuard {
        State& state;
        State before;
        ~StateGuard() { state = before; }
    } guard{m_state, m_state};
    m_state = State::Uploading;
    const std::int32_t perPoll =
        std::clamp<std::int32_t>(m_readingsPerPoll, 1, m_readingBufferCapacity);
    const bool showProgress = count > perPoll && m_doc.GetServices().scanHost != nullptr;
    if (showProgress) {
        m_doc.GetServices().scanHost->ShowProgress(scantext::kUploading);
        m_doc.GetServices().scanHost->SetProgress(2, {});
    }
    bool result = true;
    std::int32_t remaining = count;
    std::int32_t done = 0;
    while (result && remaining > 0) {
        std::int32_t got = 0;
        result = instrument.FetchReadings(m_readingBuffer.get(), perPoll, got);
        if (got <= 0) {
            result = false;
            break;
        }
        // A driver that reports more than it was asked for is held to the buffer.
        got = std::min(got, perPoll);
        if (result) {
            result = ProcessNewReadings(static_cast<std::int16_t>(got), true);
            remaining -= got;
            done += got;
        }
        if (showProgress) {
            if (m_doc.GetServices().scanHost->IsProgressCancelled())
                break;
            m_doc.GetServices().scanHost->SetProgress(
                static_cast<int>(static_cast<double>(done) / count * 100.0),
                tvane::Format(scantext::kUploadingReading, static_cast<long>(done),
                              static_cast<long>(count)));
        }
    }
    if (showProgress)
        m_doc.GetServices().scanHost->CloseProgress();
    return result;
}

void CScanEngine::LogTestTerminated(double elapsed) {
    CDatasetEvent event(CDatasetEvent::Stop, 0, elapsed, TerminationText(m_terminationCode));
    m_doc.UpdateAllViews(nullptr, HINT_READING, &event);
    CRunRecord run;
    run.m_kind = CRunRecord::kEnd;
    run.m_time = elapsed;
    run.m_startTime = m_documentTime;
    m_runData = m_dataset && m_dataset->GetReadingCount() > 0;
    m_doc.UpdateAllViews(nullptr, HINT_EVENT, &run);
}

void CScanEngine::UpdateScanStatus(bool stateOnly) {
    IDocumentFrame* frame = m_doc.GetApp().GetMainFrame();
    if (frame == nullptr)
        return;
    if (stateOnly || !m_dataset || !m_dataset->IsOpen()) {
        m_doc.ShowModuleTexts(m_doc.GetStateInfo());
        return;
    }
    char elapsed[64] = {0};
    if (IsScanning() || m_state == State::Uploading) {
        frame->SetPaneText(1, tvane::Format(doctext::kScans, static_cast<long>(m_lastScanNumber)));
        if (m_state == State::Uploading) {
            frame->SetPaneText(2, {});
            return;
        }
        const double ms = IsStartArmed() ? 0.0 : ElapsedSinceStart(tvane::Clock().TickCount());
        FormatTimeIntervalText(ms, elapsed, sizeof elapsed);
        frame->SetPaneText(2, elapsed);
        return;
    }
    frame->SetPaneText(0, {});
    frame->SetPaneText(
        1, tvane::Format(doctext::kScans, static_cast<long>(m_dataset->GetScanCount())));
    FormatTimeIntervalText(m_dataset->GetLastTick() - m_dataset->GetFirstTick(), elapsed,
                           sizeof elapsed);
    frame->SetPaneText(2, elapsed);
    m_doc.LogEvent();
}
