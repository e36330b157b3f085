#pragma once
#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/CLoggerDoc.h"
#include "app/IDocumentInstrument.h"
#include "database/CDataset.h"
#include "database/CDatasetEvent.h"
#include "database/CDatasetStore.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "scan/records/CChannelConfig.h"
#include "scan/records/ReadingRecord.h"
#include "tests/app/LoggerDocFixture.h"

namespace tvane::test {

// An instrument that answers from its fields and records the calls made.
class FakeInstrument final : public IDocumentInstrument {
public:
    std::vector<std::string> calls;
    int interfaceType = 5;
    bool valid = true;
    std::deque<std::pair<std::int16_t, std::string>> errors;
    bool errorQueryFails = false;
    bool endlessErrors = false;
    std::int32_t lastCode = 0;
    std::string lastText;
    std::deque<Alarm> alarms;
    bool endlessAlarms = false;
    std::int32_t readings = 0;
    bool readingsOk = true;
    bool scanning = false;
    bool serialOk = true, dmmInstalled = true, dmmEnabled = true;
    std::vector<std::int16_t> configs;
    std::int16_t failConfig = 0;
    bool configChanged = false;
    std::string scanList;
    std::int16_t monitorChannel = 0;
    bool monitorEnabled = false;
    double monitorValue = 0.0;
    std::int16_t digital = 0;
    double total = 0.0;
    bool actionOk = true;
    std::function<void()> duringAction;

    void Log(const std::string& call) { calls.push_back(call); }
    int Count(const std::string& prefix) const {
        int n = 0;
        for (const auto& c : calls)
            n += c.rfind(prefix, 0) == 0;
        return n;
    }

    int GetInterfaceTypeValue() override { return interfaceType; }
    bool IsValidInterface() override { return valid; }
    bool IsInstrumentError() override {
        Log("IsInstrumentError");
        return endlessErrors || !errors.empty();
    }
    bool GetInstrumentError(std::int16_t& code, std::string& text) override {
        Log("GetInstrumentError");
        if (errorQueryFails)
            return false;
        if (endlessErrors) {
            code = -100;
            text = "Command error";
            return true;
        }
        code = 0;
        text.clear();
        if (!errors.empty()) {
            std::tie(code, text) = errors.front();
            errors.pop_front();
        }
        return true;
    }
    bool GetLastError(std::int32_t& code, std::string& text) override {
        code = lastCode;
        text = lastText;
        return true;
    }
    bool IsAlarmInQue() override { return endlessAlarms || !alarms.empty(); }
    bool GetAlarmInQue(Alarm& alarm) override {
        Log("GetAlarmInQue");
        if (endlessAlarms) {
            alarm.channel = 101;
            return true;
        }
        alarm = Alarm{};
        if (!alarms.empty()) {
            alarm = alarms.front();
            alarms.pop_front();
        }
        return true;
    }
    // The modules of slots 100, 200 and 300; a slot not listed holds a KXQT7101.
    std::map<std::int16_t, std::string> cards;
    bool cardQueryOk = true;
    std::string GetCardInfoInSlot(std::int16_t slot, bool& ok) override {
        Log("GetCardInfoInSlot " + std::to_string(slot));
        ok = cardQueryOk;
        auto it = cards.find(slot);
        return it == cards.end() ? "KXQT7101" : it->second;
    }
    bool GetReadingsCount(std::int32_t& count) override {
        Log("GetReadingsCount");
        count = readings;
        return readingsOk;
    }
    bool Act(const std::string& call) {
        Log(call);
        if (duringAction)
            duringAction();
        return actionOk;
    }
    bool DigitalRead(std::int16_t channel, std::int16_t& value) override {
        value = digital;
        return Act("DigitalRead " + std::to_string(channel));
    }
    bool DigitalWrite(std::int16_t channel, double value) override {
        return Act("DigitalWrite " + std::to_string(channel) + " " +
                   std::to_string(static_cast<int>(value)));
    }
    bool TotalizeRead(std::int16_t channel, double& value, bool reset) override {
        value = total;
        return Act("TotalizeRead " + std::to_string(channel) + (reset ? " reset" : ""));
    }
    bool AnalogWrite(std::int16_t channel, double value) override {
        return Act("AnalogWrite " + std::to_string(channel) + " " + std::to_string(value));
    }
    bool CloseChannel(std::int16_t channel) override {
        return Act("CloseChannel " + std::to_string(channel));
    }
    bool OpenChannel(std::int16_t channel) override {
        return Act("OpenChannel " + std::to_string(channel));
    }
    bool SetMonitorChnl(std::int16_t channel) override {
        Log("SetMonitorChnl " + std::to_string(channel));
        monitorChannel = channel;
        return true;
    }
    bool EnableMonitorChnl(bool enable) override {
        Log(enable ? "EnableMonitorChnl 1" : "EnableMonitorChnl 0");
        monitorEnabled = enable;
        return true;
    }
    bool GetMonitorChannel(std::int16_t& channel) override {
        channel = monitorChannel;
        return true;
    }
    bool IsMonitorChannelEnabled() override { return monitorEnabled; }
    bool ReadMonitorChnl(double& value) override {
        Log("ReadMonitorChnl");
        value = monitorValue;
        return true;
    }
    bool CheckSerialSettings() override { return serialOk; }
    bool IsDMMInstalled() override { return dmmInstalled; }
    bool IsDMMEnabled() override { return dmmEnabled; }
    bool IsInstrumentScanning(bool& value) override {
        value = scanning;
        return readingsOk;
    }
    bool StopMeasurement() override {
        Log("StopMeasurement");
        return true;
    }
    bool ClearScanList() override {
        Log("ClearScanList");
        return true;
    }
    bool DownloadChannelConfig(CChannelConfig& config) override {
        configs.push_back(config.Channel);
        return config.Channel != failConfig;
    }
    bool SetAlarmOutputTracking() override {
        Log("SetAlarmOutputTracking");
        return true;
    }
    bool SetAlarmOutputLatched() override {
        Log("SetAlarmOutputLatched");
        return true;
    }
    bool SetLowAlarmPolarity() override {
        Log("SetLowAlarmPolarity");
        return true;
    }
    bool SetHighAlarmPolarity() override {
        Log("SetHighAlarmPolarity");
        return true;
    }
    bool SetTriggerSource(const std::string& source) override {
        Log("SetTriggerSource " + source);
        return true;
    }
    bool SetScanCount(std::int32_t count) override {
        Log("SetScanCount " + std::to_string(count));
        return true;
    }
    bool SetScanInterval(double) override { return true; }
    bool SetReadingFormat(const std::uint8_t*) override { return true; }
    bool InitInstrument() override {
        Log("InitInstrument");
        return true;
    }
    bool IsConfigChanged() override { return configChanged; }
    std::string GetScanList() override { return scanList; }

    // Upload.
    std::map<std::int16_t, CChannelConfig> held; // the instrument's channels
    std::string trigger = "TIM";
    std::int32_t scanCount = 0;
    double interval = 1.0;
    std::vector<ReadingRecord> stored;
    std::size_t storedPos = 0;
    std::int32_t maxRequested = 0;
    int fetchFailures = 0; // the next fetches that fail
    bool ConfigureUpload() override {
        Log("ConfigureUpload");
        return true;
    }
    std::string GetAlarmList(std::int16_t output) override { return output == 2 ? "101,102," : ""; }
    bool tracking = false, polarityLow = true;
    std::function<void()> onSettingsSheet;
    bool IsAlarmOutputTracking() override { return tracking; }
    bool IsAlarmPolarityLowOnFail() override { return polarityLow; }
    bool EditControlProperties() override {
        Log("EditControlProperties");
        if (onSettingsSheet)
            onSettingsSheet();
        return true;
    }
    std::string GetTriggerSource() override { return trigger; }
    bool GetScanCount(std::int32_t& count) override {
        count = scanCount;
        return true;
    }
    bool GetScanInterval(double& seconds) override {
        seconds = interval;
        return true;
    }
    bool UploadChannelConfig(std::int16_t channel, const std::string&,
                             CChannelConfig& config) override {
        Log("UploadChannelConfig " + std::to_string(channel));
        auto it = held.find(channel);
        if (it == held.end())
            return false;
        config = it->second;
        return true;
    }
    bool FetchReadings(ReadingRecord* buffer, std::int32_t requested,
                       std::int32_t& count) override {
        maxRequested = std::max(maxRequested, requested);
        if (fetchFailures > 0) {
            --fetchFailures;
            count = 0;
            return false;
        }
        count = 0;
        while (count < requested && storedPos < stored.size())
            buffer[count++] = stored[storedPos++];
        return true;
    }
    bool GetScanTime(std::int64_t& time, std::int16_t& milliseconds) override {
        time = 1700000100;
        milliseconds = 0;
        return true;
    }
    bool GetStartTickCount(double& tick) override {
        tick = 4242.0;
        return true;
    }
};

class FakeProgress final : public IInstrumentProgress {
public:
    explicit FakeProgress(std::vector<std::string>& texts, int& cancelAfter)
        : m_texts(texts), m_cancelAfter(cancelAfter) {}
    void SetRange(int, int) override {}
    void SetPos(int pos) override { m_texts.push_back("pos " + std::to_string(pos)); }
    void SetText(const std::string& text) override { m_texts.push_back(text); }
    bool CheckCancel() override { return --m_cancelAfter == 0; }

private:
    std::vector<std::string>& m_texts;
    int& m_cancelAfter;
};

class FakeInstrumentUi final : public IInstrumentUi {
public:
    std::vector<std::string> progress;
    int cancelAfter = -1; // Cancel at that check
    bool noticeOk = true;
    bool chooseUpload = false;
    int notices = 0, newSetups = 0;
    CDownloadNotice lastNotice;
    std::vector<std::pair<std::int32_t, bool>> monitorShown;
    std::vector<double> monitorValues;
    std::vector<std::string> monitorUnits;

    std::unique_ptr<IInstrumentProgress> CreateProgress(const std::string& caption) override {
        progress.push_back(caption);
        return std::make_unique<FakeProgress>(progress, cancelAfter);
    }
    void ShowMonitorChannel(std::int32_t channel, bool monitored) override {
        monitorShown.emplace_back(channel, monitored);
    }
    void ShowMonitorValue(double value, const std::string& units) override {
        monitorValues.push_back(value);
        monitorUnits.push_back(units);
    }
    bool RunDownloadNotice(CDownloadNotice& notice) override {
        ++notices;
        if (noticeOk) {
            notice.continueSelected = !chooseUpload;
            notice.OnOk();
        }
        lastNotice = notice;
        return noticeOk;
    }
    void NewSetupFromUpload(CLoggerDoc&) override { ++newSetups; }
};

// A document with the fake instrument, its windows, a recording view and an
// open dataset, so that its events reach the views.
class InstrumentDocTest : public LoggerDocTest {
protected:
    void SetUp() override {
        CLoggerDoc& d = MakeDocument();
        // The setup's modules are the ones the instrument answers with.
        app.state.m_modules = {"KXQT7101", "KXQT7101", "KXQT7101"};
        services.instrument = &instrument;
        services.instrumentUi = &ui;
        Wire();
        d.AddView(&view);
        // The payloads live only as long as the update: keep copies.
        view.onUpdate = [this](long hint, const HintObject& object) {
            if (hint == 3349 && object.Is<CDatasetEvent>())
                events.push_back(*object.As<CDatasetEvent>());
            if (hint == 3352 && object.Is<CReadingInfo>())
                answers.push_back(*object.As<CReadingInfo>());
        };
        ASSERT_TRUE(store.Create((home.Data() / "Y9.000").string(),
                                 STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, true));
        ASSERT_TRUE(d.GetDataset()->Create(CTime(1700000000), 1, &store, "Data 1", 16384));
    }
    void TearDown() override {
        if (doc) {
            doc->RemoveView(&view);
            doc->GetDataset()->Close();
        }
        store.Close();
    }

    bool MonitorTimerRunning() { return app.frame.timers.IsActive(CLoggerDoc::kMonitorTimerId); }

    CFXSetup* AddRow(std::uint32_t channel, const std::string& module,
                     const std::string& function = "DC volts", std::int32_t mode = 1) {
        auto* row = new CFXSetup;
        row->Name = module;
        row->Channel = channel;
        row->Function = function;
        row->ChannelMode = mode;
        if (module == "KXQT7101" || module == "KXQT7102" || module == "KXQT7108")
            row->FunctionType = CFXSetup::kKindMeasurement;
        CFXSetupArray& setup = *doc->GetSetup();
        setup.SetOwnsRows(1);
        setup.SetSetup(setup.GetSize(), row);
        return row;
    }
    std::vector<std::string> EventTexts() const {
        std::vector<std::string> texts;
        for (const auto& e : events)
            texts.push_back(e.m_text);
        return texts;
    }

    FakeInstrument instrument;
    FakeInstrumentUi ui;
    RecordingView view;
    CDatasetStore store;
    std::vector<CDatasetEvent> events;
    std::vector<CReadingInfo> answers;
};

} // namespace tvane::test
