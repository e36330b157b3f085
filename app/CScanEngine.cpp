// The scan engine's state, timers and reading lists; the start, the poll and
// the end of a run are in ScanEngineStart/Poll/End.cpp.
#include "app/CScanEngine.h"

#include "app/CLoggerDoc.h"
#include "app/IDocumentOperations.h"
#include "app/ILoggerApp.h"
#include "app/IScanHost.h"
#include "database/CDataset.h"
#include "platform/core/Clock.h"
#include "platform/ui/TimerService.h"
#include "scan/CFXScan.h"

namespace {

tvane::ITimerService& FrameTimers(ILoggerApp& app) {
    return app.GetMainFrame() ? app.GetMainFrame()->Timers() : tvane::TimerService();
}

} // namespace

CScanEngine::CScanEngine(CLoggerDoc& doc)
    : m_doc(doc), m_dataset(std::make_unique<CDataset>()),
      m_readingBuffer(std::make_unique<ReadingRecord[]>(kReadingBufferCapacity)) {
    m_scanTimer.SetId(kScanTimerId);
    m_startTimer.SetId(kStartTimerId);
}

CScanEngine::~CScanEngine() = default;

void CScanEngine::ResetRunTimes(std::uint32_t now) {
    m_documentTime = tvane::CTime::GetCurrentTime();
    m_startTick = static_cast<double>(now);
    m_secondTick = m_startTick;
    m_pollTick = m_startTick;
}

void CScanEngine::SetRunStart(double startTick, tvane::CTime startTime) {
    m_startTick = startTick;
    m_documentTime = startTime;
}

RunSummary CScanEngine::GetRunSummary() const {
    return {m_startTick, m_secondTick, m_documentTime, m_runWord};
}

void CScanEngine::SetRunSummary(const RunSummary& summary) {
    m_startTick = summary.firstTick;
    m_secondTick = summary.lastTick;
    m_documentTime = summary.startTime;
    m_runWord = summary.runValue;
}

void CScanEngine::BeginRun() {
    m_terminationCode = kTerminationCompleted;
    m_instrumentSilent = false;
    m_state = State::Scanning;
}

void CScanEngine::HaltRun() {
    StopTimers();
    m_state = State::Idle;
    m_instrumentSilent = false;
}

void CScanEngine::SetUpCountdown(std::uint32_t now) {
    m_showCountdown = m_doc.GetScan() && m_doc.GetScan()->m_scanInterval * 1000.0 >= 2000.0;
    if (m_showCountdown)
        m_countdownDisplayTimer.Set(m_countdownDisplayInterval, now);
}

// --- Timers -----------------------------------------------------------------

void CScanEngine::RestartTimers() {
    const std::uint32_t now = tvane::Clock().TickCount();
    m_doc.ScheduleMonitorInRun(now);
    m_autoSaveTimer.Set(m_autoSaveInterval, now);
    m_instrumentCheckTimer.Set(m_instrumentCheckInterval, now);
    if (m_doc.GetScan() && m_doc.GetScan()->m_scanInterval * 1000.0 >= 2000.0) {
        m_showCountdown = true;
        m_countdownStep = 0;
        m_countdownDisplayTimer.Set(m_countdownDisplayInterval, now);
        if (m_doc.GetServices().operations != nullptr)
            m_doc.GetServices().operations->ShowWaitingStatus(m_doc);
    } else {
        m_showCountdown = false;
    }
    StartPollTimer();
}

void CScanEngine::StopTimers() {
    m_doc.HaltMonitorTimers();
    m_countdownDisplayTimer.Reset();
    m_startTimer.Stop();
    m_scanTimer.Stop();
    m_autoSaveTimer.Reset();
    m_instrumentCheckTimer.Reset();
}

void CScanEngine::StartPollTimer() {
    m_scanTimer.SetWindow(&FrameTimers(m_doc.GetApp()));
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
