// The scan engine's state, timers and reading lists; the start, the poll and
// the end of a run are in ScanEngineStart/Poll/End.cpp.
#include "app/CScanEngine.h"

#include "app/CLoggerDoc.h"
#include "app/IDocumentOperations.h"
#include "app/ILoggerApp.h"
#include "app/IScanHost.h"
#include "platform/core/Clock.h"
#include "platform/ui/TimerService.h"
#include "scan/CFXScan.h"

namespace {

tvane::ITimerService& FrameTimers(ILoggerApp& app) {
    return app.GetMainFrame() ? app.GetMainFrame()->Timers() : tvane::TimerService();
}

} // namespace

CScanEngine::CScanEngine(CLoggerDoc& doc)
    : m_doc(doc), m_readingBuffer(std::make_unique<ReadingRecord[]>(kReadingBufferCapacity)) {
    m_scanTimer.SetId(kScanTimerId);
    m_startTimer.SetId(kStartTimerId);
}

void CScanEngine::BeginRun() {
    m_terminationCode = kTerminationCompleted;
    m_instrumentSilent = false;
    m_state = State::Scanning;
}

void CScanEngine::HaltRun() {
    StopTimers();
    // Display requests queued during the run are not served any more.
    if (m_doc.m_services.scanHost != nullptr)
        m_doc.m_services.scanHost->DropDisplayRequests();
    m_state = State::Idle;
    m_instrumentSilent = false;
}

void CScanEngine::SetUpCountdown(std::uint32_t now) {
    m_showCountdown = m_doc.m_scan && m_doc.m_scan->m_scanInterval * 1000.0 >= 2000.0;
    if (m_showCountdown)
        m_countdownDisplayTimer.Set(m_countdownDisplayInterval, now);
}

// --- Timers -----------------------------------------------------------------

void CScanEngine::RestartTimers() {
    const std::uint32_t now = tvane::Clock().TickCount();
    m_doc.m_monitorTimer.Stop();
    m_doc.m_monitorIntervalTimer.Set(m_doc.m_monitorInterval, now);
    m_autoSaveTimer.Set(m_autoSaveInterval, now);
    m_instrumentCheckTimer.Set(m_instrumentCheckInterval, now);
    if (m_doc.m_scan && m_doc.m_scan->m_scanInterval * 1000.0 >= 2000.0) {
        m_showCountdown = true;
        m_countdownStep = 0;
        m_countdownDisplayTimer.Set(m_countdownDisplayInterval, now);
        if (m_doc.m_services.operations != nullptr)
            m_doc.m_services.operations->ShowWaitingStatus(m_doc);
    } else {
        m_showCountdown = false;
    }
    StartPollTimer();
}

void CScanEngine::StopTimers() {
    m_doc.m_monitorTimer.Stop();
    m_doc.m_monitorIntervalTimer.Reset();
    m_countdownDisplayTimer.Reset();
    m_startTimer.Stop();
    m_scanTimer.Stop();
    m_autoSaveTimer.Reset();
    m_instrumentCheckTimer.Reset();
}

void CScanEngine::StartPollTimer() {
    m_scanTimer.SetWindow(&FrameTimers(m_doc.m_app));
    m_scanTimer.Start(m_scanPollInterval);
}

// --- Reading lists ----------------------------------------------------------

void CScanEngine::DeleteReadingLists() {
    m_readingStore.clear();
    m_bufferWord = 0;
}

void CScanEngine::DeleteLatestReadings() {
    m_latestReadings.clear();
}
