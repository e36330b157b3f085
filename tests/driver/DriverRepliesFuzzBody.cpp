#include "tests/driver/DriverRepliesFuzzBody.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "driver/CKXQT7100.h"
#include "driver/IInstrumentLink.h"

namespace tvane::driver::test {

namespace {

// The instrument: whatever is asked, the next line of the input answers it.
class ReplayLink final : public IInstrumentLink {
public:
    explicit ReplayLink(std::string_view replies) : m_replies(replies) {}

    bool SendRawMsg(const char*) override { return true; }
    bool RecvRawMsg(char* buffer, std::int32_t size, std::int32_t* count) override {
        *count = 0;
        if (m_replies.empty()) {
            m_error = 1052;
            return false;
        }
        const std::size_t end = std::min(m_replies.find('\n'), m_replies.size());
        const std::string_view line = m_replies.substr(0, end);
        m_replies.remove_prefix(std::min(end + 1, m_replies.size()));
        if (line == "\x01") {
            m_error = 1052;
            return false;
        }
        // As the transports deliver it: the text, then a zero byte in place of the
        // line feed, counted, within the buffer.
        std::size_t n = std::min<std::size_t>(line.size(), static_cast<std::size_t>(size));
        std::memcpy(buffer, line.data(), n);
        if (n < static_cast<std::size_t>(size))
            buffer[n++] = '\0';
        else
            buffer[size - 1] = '\0';
        *count = static_cast<std::int32_t>(n);
        return true;
    }
    int InterfaceType() override { return 4; }
    bool GetCommError(std::string& text, std::int32_t& code) override {
        code = m_error;
        text = m_error ? "time-out" : "No Error";
        m_error = 0;
        return true;
    }
    bool ClearDevice() override { return true; }

private:
    std::string_view m_replies;
    std::int32_t m_error = 0;
};

// Answers from a function of the last command, and keeps them as replay input.
class RecordingLink final : public IInstrumentLink {
public:
    using Answer = std::function<std::optional<std::string>(const std::string&)>;
    explicit RecordingLink(const Answer& answer) : m_answer(answer) {}

    bool SendRawMsg(const char* command) override {
        m_last = command;
        return true;
    }
    bool RecvRawMsg(char* buffer, std::int32_t size, std::int32_t* count) override {
        const std::optional<std::string> text = m_answer(m_last);
        const std::string line = text ? *text : std::string("\x01");
        replay += line + "\n";
        ReplayLink once(line);
        return once.RecvRawMsg(buffer, size, count);
    }
    int InterfaceType() override { return 4; }
    bool GetCommError(std::string& text, std::int32_t& code) override {
        code = 0;
        text = "No Error";
        return true;
    }
    bool ClearDevice() override { return true; }

    std::string replay;

private:
    const Answer& m_answer;
    std::string m_last;
};

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "driver fuzzing: %s\n", what);
        std::abort();
    }
}

CChannelConfig ReplayChannel(int module, int channel) {
    CChannelConfig c;
    c.ModuleType = static_cast<std::uint16_t>(module);
    c.Channel = static_cast<std::int16_t>(channel);
    c.InScanList = 1;
    return c;
}

void RunCalls(IInstrumentLink& link, std::uint8_t format) {
    DriverSettings settings;
    settings.logErrors = 1;
    settings.logRecvBlockData = 1;
    settings.logFile = "/dev/null";
    CKXQT7100 drv(&link, settings);

    drv.SetReadingFormat(format & 1, format & 2, format & 4, format & 8, format & 16);
    drv.DownloadChannelConfig(ReplayChannel(0, 101));
    drv.DownloadChannelConfig(ReplayChannel(6, 301));
    drv.InitInstrument();

    constexpr std::int32_t kCapacity = CKXQT7100::kMaxReadingsPerRequest;
    static ReadingRecord records[kCapacity];
    for (int poll = 0; poll < 3; ++poll) {
        drv.InitMeasurement(kCapacity);
        std::int32_t count = -1;
        drv.GetReadings(records, kCapacity, &count);
        Check(count >= 0 && count <= kCapacity, "GetReadings counted past the buffer");
    }
    std::int32_t count = -1;
    drv.FetchReadings(records, kCapacity, &count);
    Check(count >= 0 && count <= kCapacity, "FetchReadings counted past the buffer");
    std::vector<ReadingRow> rows;
    drv.GetReading(rows);

    drv.ConfigureUpload();
    std::int32_t ok = 0;
    drv.UploadChannelConfig(101, "ORVANTA,QT7101,0,1.0", &ok);
    drv.UploadChannelConfig(301, "ORVANTA,QT7107,0,1.0", &ok);
    drv.UploadChannelConfig(201, "ORVANTA,QT7104,0,1.0", &ok);

    AlarmQueueEntry alarm;
    drv.IsAlarmInQue();
    drv.GetAlarmInQue(alarm);
    drv.GetAlarmInQue(alarm);
    InstrumentClock clock;
    drv.GetInstrumentTime(clock);
    drv.GetScanTime(clock);
    std::int32_t number = 0;
    double value = 0.0;
    std::int16_t small = 0;
    bool flag = false;
    drv.GetScanCount(&number);
    drv.GetScanInterval(&value);
    drv.GetReadingsCount(&number);
    drv.DigitalRead(301, &small);
    drv.DigitalReadState(302, &small);
    drv.GetInstrumentError(&small, &flag);
    drv.GetMonitorChannel(&small);
    drv.IsInstrumentScanning(&flag);
    drv.IsConfigChanged();
    drv.IsInstrumentError();
    drv.IsPowerCycled();
    drv.GetStateNames();
    drv.GetSystemVersion();
    std::string text;
    drv.GetSlotRevision(100, text);
    drv.GetCardInfoInSlot(200, &flag);
    drv.GetScanList();
    drv.GetAlarmList(1);
    drv.TotalizeRead(303, &value, true);
    drv.AnalogRead(304, &value);
    drv.EnableMonitorChnl(true);
    drv.SetMonitorChnl(101);
    drv.ReadMonitorChnl(&value, &small);
    drv.ReadDigitalPattern(301);
    drv.IsDigitalWriteMode(301);
    drv.IsDMMEnabled();
    drv.GetTriggerSource();
    drv.IsAlarmOutputTracking();
    drv.IsAlarmPolarityLowOnFail();
    drv.IsChannelOpen(101);
    std::int32_t code = 0;
    drv.GetLastError(text, code);
}

} // namespace

void ExerciseDriverReplies(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    // The first byte picks the reading format.
    const std::uint8_t format = size > 0 ? data[0] : 0;
    if (size > 0)
        input.remove_prefix(1);
    ReplayLink link(input);
    RunCalls(link, format);
}

std::string RecordDriverReplies(
    std::uint8_t format,
    const std::function<std::optional<std::string>(const std::string& command)>& answer) {
    RecordingLink link(answer);
    RunCalls(link, format);
    return std::string(1, static_cast<char>(format)) + link.replay;
}

} // namespace tvane::driver::test
