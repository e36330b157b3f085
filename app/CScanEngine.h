#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/CIntervalTimer.h"
#include "app/CWndTimer.h"
#include "database/IWorkspaceDocument.h"
#include "platform/archive/CTime.h"
#include "scan/records/ReadingRecord.h"

class CDataset;
class CLoggerDoc;

// The run of the document's setup: Start Scan (at once or counting down to a
// timed start), the poll that fetches the instrument's readings and files
// them, and the end of the run with the upload of what the instrument still
// holds. It owns the run's state, its timers and the reading path (the buffer
// the driver fills, the readings of the current batch per channel and each
// channel's newest reading), the run's times and the dataset it writes to; the
// setup and the dataset store are the document's. Without the scan instrument and host of the
// document's services a start does nothing.
class CScanEngine {
public:
    // Where the run is. Only one place changes it: the start, the end and the
    // upload at the end.
    enum class State : std::uint8_t {
        Idle,       // no run
        StartArmed, // a timed start counts down to its start time; counts as scanning
        Scanning,   // the poll fetches the readings
        Uploading,  // the run has stopped; the instrument's remaining readings come in
    };
    // Why the run ended; the Stop event's text says it.
    enum Termination : std::int16_t {
        kTerminationCompleted = 1,
        kTerminationByUser = 2,
        kTerminationLimit = 3,
        kTerminationInstrument = 4,
        kTerminationReadings = 5,
        kTerminationDatasetFull = 6,
    };

    static constexpr std::int16_t kReadingBufferCapacity = 2520;
    static constexpr unsigned kScanTimerId = 3211;
    static constexpr unsigned kStartTimerId = 3212;

    explicit CScanEngine(CLoggerDoc& doc);
    ~CScanEngine();
    CScanEngine(const CScanEngine&) = delete;
    CScanEngine& operator=(const CScanEngine&) = delete;

    // --- The run's state ------------------------------------------------------
    State GetState() const { return m_state; }
    // A run is on, or a timed start counts down to one.
    bool IsScanning() const { return m_state == State::StartArmed || m_state == State::Scanning; }
    bool IsStartArmed() const { return m_state == State::StartArmed; }
    std::int16_t GetTerminationCode() const { return m_terminationCode; }
    // The reason the next end of the run gives, for ends not started here.
    void SetTerminationCode(std::int16_t code) { m_terminationCode = code; }
    // Whether the wait for the next scan is shown (scans 2 s or more apart).
    bool ShowsCountdown() const { return m_showCountdown; }
    // The instrument sent nothing at the run's last request for readings. The run
    // goes on; the poll asks again every kAnswerRetryInterval, each time waiting
    // for one time-out at most, and leaves the instrument alone in between.
    bool IsInstrumentSilent() const { return m_instrumentSilent; }
    static constexpr std::uint32_t kAnswerRetryInterval = 5000;
    // A run the instrument already makes is being taken over: its start sends
    // the instrument nothing and asks the user nothing.
    bool IsResuming() const { return m_resume; }
    void SetResuming(bool on) { m_resume = on; }
    // The last run left readings in its dataset; cleared when a run starts and
    // when the document is emptied.
    bool HasRunData() const { return m_runData; }
    void ClearRunData() { m_runData = false; }

    // The dataset of the current or last run: the one the run writes to, the
    // views and the event log read, and a loaded setup's run is opened in.
    CDataset* GetDataset() const { return m_dataset.get(); }

    // --- The run's times ------------------------------------------------------
    // The instrument's tick at the start of the run (readings are timed from it).
    double GetStartTick() const { return m_startTick; }
    // The start tick during a run; its length in ms once it ended.
    double GetSecondTick() const { return m_secondTick; }
    // The program's tick when the run began; elapsed run times count from it.
    double GetPollTick() const { return m_pollTick; }
    // The instrument's date and time of the run's start, and the word kept with
    // it (the milliseconds at the start, the last scan index at the end).
    tvane::CTime GetDocumentTime() const { return m_documentTime; }
    std::int16_t GetRunWord() const { return m_runWord; }
    // Milliseconds since the run began, by the program's wrapping tick.
    double ElapsedSinceStart(std::uint32_t now) const {
        return static_cast<double>(now - static_cast<std::uint32_t>(m_pollTick));
    }
    // A new document: no run yet, its times start now.
    void ResetRunTimes(std::uint32_t now);
    // The run's elapsed time counts from now.
    void StartRunClock(std::uint32_t now) { m_pollTick = static_cast<double>(now); }
    // The instrument's tick and date and time at the start of its run.
    void SetRunStart(double startTick, tvane::CTime startTime);
    // An opened document: elapsed times count from its stored start tick.
    void CountFromStartTick() { m_pollTick = m_startTick; }
    // The stored run of the current dataset, as the workspace keeps it.
    RunSummary GetRunSummary() const;
    void SetRunSummary(const RunSummary& summary);

    // --- Start ----------------------------------------------------------------
    void OnStartScan();
    void OnStartCountdownTimer();
    // The run is on with the instrument measuring: what a start and the
    // takeover of the instrument's own run come to.
    void BeginRun();
    // The run stops at once: its timers stop and the state is idle. The end of
    // a run starts with it.
    void HaltRun();
    // Shows the wait for the next scan from now when scans are 2 s or more
    // apart.
    void SetUpCountdown(std::uint32_t now);
    void LogTestStarted(double startTick);
    static const char* StartText(std::int32_t startMode);

    // --- Poll -----------------------------------------------------------------
    void OnScanTimer();
    bool ProcessNewReadings(std::int16_t count, bool afterRun);
    bool StoreNewReadings(ReadingRecord* buffer, std::int16_t count);
    void StoreReading(ReadingRecord& record);
    void KeepLatestReading(const ReadingRecord& record);
    // Appends a computed reading behind the batch; false when the buffer is full.
    bool AddComputedReading(const ReadingRecord& reading);
    bool ProcessAlarms(ReadingRecord* buffer, std::int16_t count, bool afterRun);
    bool DoDigitalAlarmAction(std::int16_t channel, const std::string& pattern);
    static std::string GetListField(int n, const std::string& list);
    void RestartCountdown(std::uint32_t now);
    void ShowWaitingStatus();
    void UpdateScanStatus(bool stateOnly);

    // --- End ------------------------------------------------------------------
    void OnStopScan();
    void EndScan(bool offerBrowser);
    bool UploadRemainingReadings();
    void LogTestTerminated(double elapsed);
    static const char* TerminationText(std::int16_t code);

    // --- Timers ---------------------------------------------------------------
    void RestartTimers();
    void StopTimers();
    const CWndTimer& ScanTimer() const { return m_scanTimer; }
    const CWndTimer& StartTimer() const { return m_startTimer; }
    std::uint32_t GetScanPollInterval() const { return m_scanPollInterval; }
    std::uint32_t GetStartCountdownInterval() const { return m_startCountdownInterval; }
    std::uint32_t GetCountdownDisplayInterval() const { return m_countdownDisplayInterval; }
    std::uint32_t GetAutoSaveInterval() const { return m_autoSaveInterval; }
    void SetAutoSaveInterval(std::uint32_t ms) { m_autoSaveInterval = ms; }
    std::uint32_t GetInstrumentCheckInterval() const { return m_instrumentCheckInterval; }
    CIntervalTimer AutoSaveTimer() const { return m_autoSaveTimer; }
    CIntervalTimer InstrumentCheckTimer() const { return m_instrumentCheckTimer; }
    // The poll timer stops while a display's instrument action is served.
    void StopPollTimer() { m_scanTimer.Stop(); }
    void StartPollTimer();

    // --- The reading path -----------------------------------------------------
    ReadingRecord* GetReadingBuffer() const { return m_readingBuffer.get(); }
    std::int16_t GetReadingBufferCapacity() const { return m_readingBufferCapacity; }
    std::int16_t GetReadingBufferCount() const { return m_readingBufferCount; }
    void SetReadingBufferCount(std::int16_t count) { m_readingBufferCount = count; }
    // Readings of the current batch, those of the buffer filed so far.
    std::int16_t GetBatchCount() const { return m_bufferWord; }
    void SetBatchCount(std::int16_t count) { m_bufferWord = count; }
    std::int16_t GetReadingsPerPoll() const { return m_readingsPerPoll; }
    void SetReadingsPerPoll(std::int16_t count) { m_readingsPerPoll = count; }
    std::int32_t GetLastScanNumber() const { return m_lastScanNumber; }
    // The highest channel of a scan: its reading completes the scan, so the
    // computed channels are evaluated then.
    std::int32_t GetLastScanChannel() const { return m_lastScanChannel; }
    void SetLastScanChannel(std::int32_t channel) { m_lastScanChannel = channel; }
    // Set once a batch went through completely; cleared at every poll.
    bool IsBatchDone() const { return m_graphicsFlag; }
    std::int32_t GetMissingReadings() const { return m_missingReadings; }
    void AddReadingToStore(ReadingRecord* record);
    std::int16_t GetChannelReadings(std::int32_t channel, std::vector<ReadingRecord*>& out) const;
    std::int16_t GetAlignedChannelReadings(std::int32_t channel, std::vector<ReadingRecord*>& out,
                                           std::int32_t n, std::int32_t firstScan);
    const ReadingRecord* GetLatestReading(std::int32_t channel) const;
    void DeleteReadingLists();
    void DeleteLatestReadings();

private:
    // The end of the run; leaveScanning keeps the instrument measuring for this
    // run alone, whatever the user chose.
    void EndRun(bool offerBrowser, bool leaveScanning);
    // The run's last scan index (scan count - 1) into the open dataset's header
    // values and the document's copy of them.
    void StoreLastScanIndex();
    // The autosave's header write of the run's dataset.
    void WriteRunHeader();
    // Asks the instrument for the readings it holds: false when it sent nothing.
    bool FetchPollReadings(std::uint32_t now);
    void SetInstrumentSilent(bool silent, std::uint32_t now);

    CLoggerDoc& m_doc;
    State m_state = State::Idle;
    std::unique_ptr<CDataset> m_dataset;
    double m_startTick = 0.0;
    double m_secondTick = 0.0;
    double m_pollTick = 0.0;
    tvane::CTime m_documentTime = tvane::CTime::GetCurrentTime();
    std::int16_t m_runWord = 0;
    std::int16_t m_terminationCode = kTerminationByUser;
    bool m_resume = false;
    bool m_runData = false;
    bool m_showCountdown = false;
    bool m_instrumentSilent = false;
    CIntervalTimer m_answerRetryTimer;

    // Timers; the window timers belong to the main frame.
    CWndTimer m_scanTimer;
    std::uint32_t m_scanPollInterval = 155;
    CWndTimer m_startTimer;
    std::uint32_t m_startCountdownInterval = 1000;
    CIntervalTimer m_countdownDisplayTimer;
    std::uint32_t m_countdownDisplayInterval = 1000;
    std::int32_t m_countdownStep = 0;
    CIntervalTimer m_autoSaveTimer;
    std::uint32_t m_autoSaveInterval = 14000;
    CIntervalTimer m_instrumentCheckTimer;
    std::uint32_t m_instrumentCheckInterval = 8600;

    // The reading path.
    std::unique_ptr<ReadingRecord[]> m_readingBuffer;
    std::int16_t m_readingBufferCapacity = kReadingBufferCapacity;
    std::int16_t m_readingBufferCount = 0;
    std::int16_t m_bufferWord = 0;
    std::int16_t m_readingsPerPoll = 100;
    std::int32_t m_lastScanNumber = 0;
    std::int32_t m_lastScanChannel = 0;
    bool m_graphicsFlag = false;
    std::int32_t m_missingReadings = 0;
    // Channel number to the readings of the current batch (pointers into the
    // reading buffer, valid until the next batch).
    std::map<std::uint16_t, std::vector<ReadingRecord*>> m_readingStore;
    // Channel number to a copy of its newest reading (kept for computed channels).
    std::map<std::uint16_t, ReadingRecord> m_latestReadings;
};
