#pragma once
#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/CAppPreferences.h"
#include "app/IScanHost.h"
#include "app/IScanInstrument.h"
#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "platform/core/Exception.h"
#include "scan/CFXScan.h"
#include "scan/CReadingInfo.h"
#include "tests/app/LoggerDocFixture.h"

namespace tvane::test {

// The instrument of a run: batches of readings handed out one per poll, the
// readings still held for the upload, and a log of the calls.
class FakeScanInstrument final : public IScanInstrument {
public:
    std::vector<std::string> calls;
    std::deque<std::vector<ReadingRecord>> batches;
    bool start = true, scanTime = true, readings = true, scanning = true;
    int stopFailures = 0;
    std::int32_t stored = 0;          // readings left for the upload
    std::int32_t fetchOverreport = 0; // added to the count the fetch reports
    std::int32_t storedScan = 1000;
    std::int16_t digitalState = 0;
    std::int32_t lastAsked = 0;
    std::int32_t overreport = 0; // added to the count GetReadings reports
    bool throwOnRead = false;
    bool throwOnFetch = false;

    bool StartMeasurement() override { return Log("StartMeasurement"), start; }
    bool StopMeasurement() override {
        Log("StopMeasurement");
        return stopFailures-- <= 0;
    }
    bool GetStartTickCount(double& tick) override {
        tick = 0.0;
        return true;
    }
    bool GetScanTime(CTime& time, std::int16_t& ms) override {
        time = CTime(1700000000);
        ms = 0;
        return scanTime;
    }
    bool InitMeasurement(std::int32_t) override { return true; }
    int reads = 0; // GetReadings calls
    bool GetReadings(ReadingRecord* buffer, std::int32_t most, std::int32_t& count) override {
        ++reads;
        lastAsked = most;
        count = 0;
        if (throwOnRead)
            throw Exception("link dropped");
        if (batches.empty())
            return readings;
        const auto& batch = batches.front();
        for (const auto& r : batch)
            if (count < most)
                buffer[count++] = r;
        batches.pop_front();
        count += overreport;
        return readings;
    }
    bool FetchReadings(ReadingRecord* buffer, std::int32_t most, std::int32_t& count) override {
        Log("FetchReadings");
        if (throwOnFetch)
            throw Exception("link dropped");
        count = std::min(most, stored);
        for (std::int32_t i = 0; i < count; ++i) {
            buffer[i] = ReadingRecord{};
            buffer[i].ScanNumber = storedScan++;
            buffer[i].Channel = 101;
            buffer[i].Value = 1.0;
        }
        stored -= count;
        count += fetchOverreport;
        return true;
    }
    bool GetReadingsCount(std::int32_t& count) override {
        count = stored;
        return true;
    }
    bool IsInstrumentScanning(bool& s) override {
        Log("IsInstrumentScanning");
        s = scanning;
        return true;
    }
    bool DigitalReadState(std::int16_t, std::int16_t& value) override {
        value = digitalState;
        return true;
    }
    int Count(const std::string& call) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }

private:
    void Log(const char* call) { calls.push_back(call); }
};

// The windows and neighbours of a run, scripted.
class FakeScanHost final : public IScanHost {
public:
    std::vector<std::string> calls;
    std::vector<CReadingInfo> actions;
    bool validate = true, matches = true, statusStart = true, dontShowAgain = false;
    bool saveBeforeRun = true, cancelUpload = false;
    int cancelAfter = -1; // progress updates before Cancel is pressed
    int statusShown = 0;
    SaveAnswer saveAnswer;
    CAppPreferences* prefs = nullptr;
    std::vector<int> progress;
    bool progressShown = false;

    std::int16_t GetReadingsPerPoll() override { return 100; }
    bool ValidateInstrumentForRun(bool download, bool check) override {
        calls.push_back(std::string("Validate ") + (download ? "1" : "0") + (check ? "1" : "0"));
        return validate;
    }
    bool InstrumentMatchesSetup() override { return matches; }
    void LogInstrumentError() override {}
    // Whether a failed read of readings came with an answer (a bad block).
    bool answers = true;
    bool LogReadingsFailure(bool report) override {
        calls.push_back(std::string("LogReadingsFailure ") + (report ? "1" : "0"));
        return answers;
    }
    void ReadAlarmQueue() override {}
    void ReadMonitorChannel() override { calls.push_back("ReadMonitorChannel"); }
    void StopMonitor() override {}
    void GoToLocal() override {}
    bool DoInstrumentAction(CReadingInfo& request) override {
        actions.push_back(request);
        return true;
    }
    bool SaveBeforeRun(CStateInfo&) override { return saveBeforeRun; }
    bool saveDataset = true;
    bool SaveDatasetIfAny(CStateInfo&) override { return saveDataset; }
    void CreateDataBrowser() override { calls.push_back("CreateDataBrowser"); }
    std::function<void()> onSaveScanData;
    SaveAnswer ShowSaveScanData(CStateInfo&, std::int32_t) override {
        calls.push_back("ShowSaveScanData");
        if (onSaveScanData)
            onSaveScanData();
        return saveAnswer;
    }
    bool OpenSavedDataset(CStateInfo&) override { return true; }
    void CloseDataset() override {}
    void ApplySaveNames() override {}
    void ExportReadings() override { calls.push_back("ExportReadings"); }
    bool ShowScanStatus(bool, bool& dont) override {
        ++statusShown;
        dont = dontShowAgain;
        return statusStart;
    }
    CAppPreferences* Preferences() override { return prefs; }
    bool setupViewEnabled = true;
    void EnableSetupView(bool enable) override { setupViewEnabled = enable; }
    void RefreshToolBars() override {}
    void ActivateGraphView() override {}
    void RefreshTitle() override {}
    void ShowProgress(const std::string&) override { progressShown = true; }
    bool IsProgressCancelled() override {
        return cancelAfter == 0 || (cancelAfter > 0 && !--cancelAfter);
    }
    void SetProgress(int position, const std::string&) override { progress.push_back(position); }
    void CloseProgress() override {}
};

inline ReadingRecord Reading(std::int32_t scan, std::int16_t channel, double value,
                             std::uint8_t alarm = 0) {
    ReadingRecord r;
    r.ScanNumber = scan;
    r.Channel = channel;
    r.Value = value;
    r.AlarmState = alarm;
    r.Time = scan * 1000.0 + 0.75;
    return r;
}

// A document with a setup of channels 101..103, an open dataset and the fakes
// of a run wired in.
class ScanEngineTest : public LoggerDocTest {
protected:
    void SetUp() override {
        CLoggerDoc& d = MakeDocument();
        services.scanInstrument = &instrument;
        services.scanHost = &host;
        Wire();
        d.GetSetup()->SetSize(4); // the array owns its rows; slot 3 for a computed row
        for (std::uint32_t ch : {101u, 102u, 103u}) {
            auto* row = new CFXSetup;
            row->Name = "KXQT7101";
            row->Channel = ch;
            row->ChannelMode = 1;
            row->FunctionType = 1;
            row->Alarms = "Off";
            d.GetSetup()->SetSetup(static_cast<std::int32_t>(ch - 101), row);
        }
        d.GetScan()->m_scanInterval = 1.0;
        const std::string path = (home.Data() / "Ydata.stg").string();
        ASSERT_TRUE(d.GetDatasetStore()->Create(
            path, STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE, true));
        ASSERT_TRUE(d.GetDataset()->Create(CTime(1700000000), 3, d.GetDatasetStore(), "Run1",
                                           CDataset::kDefaultBufferBytes));
        d.AddView(&view);
        // Hint objects live only during the call: keep their texts.
        view.onUpdate = [this](long hint, const HintObject& object) {
            if (hint == HINT_READING)
                if (auto* e = object.As<CDatasetEvent>())
                    eventTexts.push_back(e->m_text);
        };
        sink.doc = &d;
        app.frame.timers.SetSink(&sink);
        d.SetSetupInInstrument(true);
        CLoggerDoc::s_eventLogFullReported = false;
    }
    void TearDown() override {
        if (doc)
            doc->RemoveView(&view);
    }

    // Texts of the events broadcast with hint 3349.
    std::vector<std::string> EventTexts() const { return eventTexts; }
    bool PollTimerRunning() { return app.frame.timers.IsActive(CLoggerDoc::kScanTimerId); }
    void Poll() { doc->OnScanTimer(); }

    FakeScanInstrument instrument;
    FakeScanHost host;
    RecordingView view;
    std::vector<std::string> eventTexts;
    // The main frame's forwarding of the document's timers.
    struct Sink final : ITimerSink {
        CLoggerDoc* doc = nullptr;
        void OnTimer(unsigned id) override {
            if (id == CLoggerDoc::kScanTimerId)
                doc->OnScanTimer();
            else if (id == CLoggerDoc::kStartTimerId)
                doc->OnStartCountdownTimer();
        }
    } sink;
};

} // namespace tvane::test
