#include <cstdlib>
#include <cstring>

#include "driver/CKXQT7100.h"
#include "driver/DriverStrings.h"
#include "driver/ModuleTable.h"
#include "driver/ReplyNumbers.h"
#include "platform/core/Clock.h"
#include "platform/core/Format.h"

namespace tvane::driver {

bool CKXQT7100::SetMonitorChnl(std::int16_t channel) {
    m_monitorChannel = channel;
    return SendCh(SCPI_ROUT_MON, channel);
}

bool CKXQT7100::EnableMonitorChnl(bool enable) {
    m_monitorEnabled = enable;
    return SendCommand(
        tvane::Format(Cmd(SCPI_ROUT_MON_STAT).c_str(), DriverText(enable ? 1012 : 1013).c_str()));
}

bool CKXQT7100::DigitalWrite(std::int16_t channel, std::int16_t value) {
    return SendIntCh(SCPI_SOUR_DIG_DATA, value, channel);
}

bool CKXQT7100::CloseChannel(std::int16_t channel) {
    return SendCh(SCPI_ROUT_CLOS, channel);
}

bool CKXQT7100::OpenChannel(std::int16_t channel) {
    return SendCh(SCPI_ROUT_OPEN, channel);
}

bool CKXQT7100::IsChannelOpen(std::int16_t channel) {
    int value = 0;
    QueryInt(tvane::Format(Cmd(SCPI_ROUT_OPEN_Q).c_str(), static_cast<int>(channel)), value);
    return value != 0;
}

bool CKXQT7100::IsChannelClosed(std::int16_t channel) {
    return !IsChannelOpen(channel);
}

bool CKXQT7100::ReadMonitorChnl(double* value, std::int16_t* alarm) {
    if (!m_monitorEnabled || m_monitorChannel <= 100)
        return false;
    if (IsSimulated()) {
        const CChannelConfig* c = StoredConfig(m_monitorChannel);
        ReadingRecord record;
        if (!c || !SimulateReading(*c, record))
            return false;
        if (value)
            *value = record.Value;
        if (alarm)
            *alarm = record.AlarmState;
        return true;
    }
    double v = 0.0;
    bool ok = QueryDouble(Cmd(SCPI_ROUT_MON_DATA_Q), v);
    if (v <= -kOverloadValue)
        v = kOverloadValue;
    if (value)
        *value = v;
    if (alarm)
        *alarm = 0;
    return ok;
}

bool CKXQT7100::AnalogWrite(std::int16_t channel, double volts) {
    return SendCommand(
        tvane::Format(Cmd(SCPI_SOUR_VOLT).c_str(), volts, static_cast<int>(channel)));
}

bool CKXQT7100::AnalogRead(std::int16_t channel, double* volts) {
    if (IsSimulated()) {
        if (volts)
            *volts = -10.0 + Draw() * 20.0;
        return true;
    }
    double v = 0.0;
    bool ok =
        QueryDouble(tvane::Format(Cmd(SCPI_SOUR_VOLT_Q).c_str(), static_cast<int>(channel)), v);
    if (volts)
        *volts = v;
    return ok;
}

bool CKXQT7100::ReadDateTime(InstrumentClock& clock, bool scanTime) {
    LocalTime now = Clock().LocalNow();
    clock.year = static_cast<std::int16_t>(now.year);
    clock.month = static_cast<std::int16_t>(now.month);
    clock.day = static_cast<std::int16_t>(now.day);
    clock.hour = static_cast<std::int16_t>(now.hour);
    clock.minute = static_cast<std::int16_t>(now.minute);
    clock.second = static_cast<std::int16_t>(now.second);
    clock.millisecond = 0;
    if (IsSimulated())
        return true;

    // Splits "a,b,c" into exactly three clock fields; false when a field is
    // missing or does not fit one. last keeps the third with its fraction.
    auto three = [](const std::string& text, std::int16_t out[3], double& last) {
        const char* p = text.c_str();
        for (int i = 0; i < 3; ++i) {
            if (i > 0) {
                p = std::strchr(p, ',');
                if (!p)
                    return false;
                ++p;
            }
            last = std::atof(p);
            const auto field = IntegerOf<std::int16_t>(last);
            if (!field)
                return false;
            out[i] = *field;
        }
        return true;
    };
    std::string date, time;
    double seconds = 0.0;
    if (scanTime) {
        if (!QueryString(Cmd(SCPI_SYST_TIME_SCAN_Q), time))
            return true;
    } else {
        if (!QueryString(Cmd(SCPI_SYST_DATE_Q), date) || !QueryString(Cmd(SCPI_SYST_TIME_Q), time))
            return true;
        std::int16_t d[3];
        if (!three(date, d, seconds)) {
            SetError(kMalformedReply);
            return false;
        }
        clock.year = d[0];
        clock.month = d[1];
        clock.day = d[2];
    }
    std::int16_t t[3];
    if (!three(time, t, seconds)) {
        SetError(kMalformedReply);
        return false;
    }
    clock.hour = t[0];
    clock.minute = t[1];
    clock.second = t[2];
    clock.millisecond = static_cast<std::int16_t>((seconds - t[2]) * 1000.0);
    return true;
}

bool CKXQT7100::GetScanTime(InstrumentClock& clock) {
    return ReadDateTime(clock, true);
}

bool CKXQT7100::GetInstrumentTime(InstrumentClock& clock) {
    return ReadDateTime(clock, false);
}

std::string CKXQT7100::GetCardInfoInSlot(std::int16_t slot, bool* ok) {
    std::string answer;
    bool got =
        QueryString(tvane::Format(Cmd(SCPI_SYST_CTYP_Q).c_str(), static_cast<int>(slot)), answer);
    if (ok)
        *ok = got;
    return ParseModuleType(answer).displayName;
}

bool CKXQT7100::SetInstrumentDate(std::int16_t year, std::int16_t month, std::int16_t day) {
    return SendCommand(tvane::Format(Cmd(SCPI_SYST_DATE).c_str(), static_cast<int>(year),
                                     static_cast<int>(month), static_cast<int>(day)));
}

bool CKXQT7100::SetInstrumentTime(std::int16_t hour, std::int16_t minute, std::int16_t second,
                                  std::int16_t millisecond) {
    double seconds = (second * 1000 + millisecond) * 0.001;
    return SendCommand(tvane::Format(Cmd(SCPI_SYST_TIME).c_str(), static_cast<int>(hour),
                                     static_cast<int>(minute), seconds));
}

bool CKXQT7100::DisplayText(const std::string& text) {
    return SendCommand(tvane::Format(Cmd(SCPI_DISP_TEXT).c_str(), text.c_str()));
}

bool CKXQT7100::DisplayToggle(bool on) {
    return SendCommand(tvane::Format(Cmd(SCPI_DISP).c_str(), DriverText(on ? 1012 : 1013).c_str()));
}

bool CKXQT7100::SetChannelDelay(std::int16_t channel, const std::string& seconds) {
    return SendTextCh(SCPI_ROUT_CHAN_DEL, seconds, channel);
}

bool CKXQT7100::SetAutoChannelDelay(std::int16_t channel, bool automatic) {
    return SendIntCh(SCPI_ROUT_CHAN_DEL_AUTO, automatic ? 1 : 0, channel);
}

bool CKXQT7100::GetMonitorChannel(std::int16_t* channel) {
    if (IsSimulated()) {
        if (channel)
            *channel = m_monitorChannel;
        return true;
    }
    std::string answer;
    bool ok = QueryString(Cmd(SCPI_ROUT_MON_Q), answer);
    if (ok) {
        const auto number = ParseInteger<std::int16_t>(StripBlockHeader(answer).c_str());
        if (number) {
            m_monitorChannel = *number;
        } else {
            SetError(kMalformedReply);
            ok = false;
        }
    }
    if (channel)
        *channel = ok ? m_monitorChannel : 0;
    return ok;
}

bool CKXQT7100::IsMonitorChannelEnabled() {
    if (IsSimulated())
        return true;
    int value = 0;
    QueryInt(Cmd(SCPI_ROUT_MON_STAT_Q), value);
    return value != 0;
}

bool CKXQT7100::StoreInstState(std::int16_t state) {
    if (state > m_storedStates)
        return false;
    return SendCommand(tvane::Format(Cmd(SCPI_SAV).c_str(), static_cast<int>(state)));
}

bool CKXQT7100::RecallInstState(std::int16_t state) {
    if (state > m_storedStates)
        return false;
    return SendCommand(tvane::Format(Cmd(SCPI_RCL).c_str(), static_cast<int>(state)));
}

bool CKXQT7100::RenameInstState(std::int16_t state, const std::string& name) {
    if (state > m_storedStates)
        return false;
    return SendCommand(
        tvane::Format(Cmd(SCPI_MEM_STAT_NAME).c_str(), static_cast<int>(state), name.c_str()));
}

bool CKXQT7100::ClearAlarmOutput(std::int16_t output) {
    if (output >= 1 && output <= 4)
        return SendCommand(
            tvane::Format(Cmd(SCPI_OUTP_ALARN_CLE).c_str(), static_cast<int>(output)));
    return SendId(SCPI_OUTP_ALAR_CLE_ALL);
}

bool CKXQT7100::ResetCard(std::int16_t slot) {
    std::string which =
        slot >= 100 && slot <= 300 ? tvane::Format("%d", static_cast<int>(slot)) : DriverText(1025);
    return SendCommand(tvane::Format(Cmd(SCPI_SYST_CPON).c_str(), which.c_str()));
}

bool CKXQT7100::SetHighAlarmPolarity() {
    bool ok = SendCommand(tvane::Format(Cmd(SCPI_OUTP_ALAR_SLOPE).c_str(), "POS"));
    if (ok)
        m_alarmPolarityHigh = true;
    return ok;
}

bool CKXQT7100::SetLowAlarmPolarity() {
    bool ok = SendCommand(tvane::Format(Cmd(SCPI_OUTP_ALAR_SLOPE).c_str(), "NEG"));
    if (ok)
        m_alarmPolarityHigh = false;
    return ok;
}

bool CKXQT7100::SetAlarmOutputTracking() {
    bool ok =
        SendCommand(tvane::Format(Cmd(SCPI_OUTP_ALAR_MODE).c_str(), DriverText(1027).c_str()));
    if (ok)
        m_alarmLatched = false;
    return ok;
}

bool CKXQT7100::SetAlarmOutputLatched() {
    bool ok =
        SendCommand(tvane::Format(Cmd(SCPI_OUTP_ALAR_MODE).c_str(), DriverText(1028).c_str()));
    if (ok)
        m_alarmLatched = true;
    return ok;
}

bool CKXQT7100::IsAlarmOutputTracking() {
    std::string answer;
    QueryString(Cmd(SCPI_OUTP_ALAR_MODE_Q), answer);
    return answer == DriverText(1027);
}

bool CKXQT7100::IsAlarmPolarityLowOnFail() {
    std::string answer;
    QueryString(Cmd(SCPI_OUTP_ALAR_SLOPE_Q), answer);
    return answer == "NEG";
}

bool CKXQT7100::TotalizeRead(std::int16_t channel, double* count, bool reset) {
    double v = 0.0;
    bool ok =
        QueryDouble(tvane::Format(Cmd(SCPI_SENS_TOT_DATA_Q).c_str(), static_cast<int>(channel)), v);
    if (count)
        *count = v;
    if (ok && reset)
        ok = SendCh(SCPI_SENS_TOT_CLEAR_IMM, channel);
    return ok;
}

bool CKXQT7100::WriteDigitalPattern(std::int16_t channel, const std::string& pattern) {
    return SendDigitalPattern(channel, pattern);
}

std::string CKXQT7100::ReadDigitalPattern(std::int16_t channel) {
    std::string pattern;
    ReadPattern(channel, pattern);
    return pattern;
}

bool CKXQT7100::RecallFactoryPreset() {
    return SendId(SCPI_RST);
}

bool CKXQT7100::RecallPreset() {
    return SendId(SCPI_SYST_PRESET);
}

bool CKXQT7100::IsAlarmInQue() {
    std::uint8_t value = 0;
    QueryByte(Cmd(SCPI_STAT_ALAR_COND_Q), value);
    return (value & 16) != 0;
}

std::string CKXQT7100::GetAlarmInQue(AlarmQueueEntry& entry) {
    entry = AlarmQueueEntry();
    std::string answer;
    if (!QueryString(Cmd(SCPI_SYST_ALAR_Q), answer))
        return "";
    if (answer.empty() || answer.find(DriverText(1035)) != std::string::npos)
        return "";
    // The fixed-column form reaches the output field at column 50; a shorter
    // answer is malformed, not an alarm entry.
    constexpr std::size_t kEntryLength = 51;
    if (answer.size() < kEntryLength) {
        SetError(1008);
        return "";
    }
    // The number read here starts 7 characters before the end of the answer
    // with its closing line feed; the transports drop the line feed, so the
    // same characters start 6 before the end of what arrives.
    std::size_t back = answer.back() == '\n' ? 7 : 6;
    const auto marker = ParseInteger<int>(answer.c_str() + answer.size() - back);
    if (!marker) {
        SetError(kMalformedReply);
        return "";
    }
    const auto markerChannel = ParseInteger<std::int16_t>(answer.c_str() + answer.size() - back);
    if (*marker == 0 || (markerChannel && StoredConfig(*markerChannel) != nullptr))
        return "";
    const char* a = answer.c_str();
    bool wellFormed = true;
    auto field = [&](std::size_t column) {
        const auto number = ParseInteger<std::int16_t>(a + column);
        wellFormed = wellFormed && number.has_value();
        return number.value_or(0);
    };
    const double value = std::atof(a);
    std::string unit = answer.substr(16, 3);
    LocalTime t;
    t.year = field(20);
    t.month = field(25);
    t.day = field(28);
    t.hour = field(31);
    t.minute = field(34);
    const double seconds = std::atof(a + 37);
    const auto wholeSeconds = IntegerOf<std::int16_t>(seconds);
    const std::int16_t channel = field(44), limit = field(48), output = field(50);
    // The time in 64 bits first: only a date whose seconds since 1970 fit the 32
    // bits the files keep is an entry.
    std::optional<std::int32_t> time;
    if (wellFormed && wholeSeconds && t.year >= 1900) {
        t.second = *wholeSeconds;
        time = IntegerOf<std::int32_t>(static_cast<double>(FromLocalTime(t)));
    }
    if (!time) {
        SetError(kMalformedReply);
        return "";
    }
    entry.value = value;
    entry.millisecond = static_cast<std::int16_t>((seconds - *wholeSeconds) * 1000.0);
    entry.channel = channel;
    entry.limit = limit;
    entry.output = output;
    entry.time = *time;
    entry.got = true;
    return unit;
}

bool CKXQT7100::IsDigitalWriteMode(std::int16_t channel) {
    int value = 0;
    QueryInt(tvane::Format(Cmd(SCPI_SOUR_DIG_STAT_Q).c_str(), static_cast<int>(channel)), value);
    return value != 0;
}

bool CKXQT7100::DigitalReadState(std::int16_t channel, std::int16_t* value) {
    if (IsSimulated()) {
        if (value)
            *value = static_cast<std::int16_t>(Draw() * 255);
        return true;
    }
    std::int16_t v = 0;
    bool ok =
        QueryShort(tvane::Format(Cmd(SCPI_SOUR_DIG_DATA_Q).c_str(), static_cast<int>(channel)), v);
    if (value)
        *value = v;
    return ok;
}

bool CKXQT7100::DigitalRead(std::int16_t channel, std::int16_t* value) {
    if (IsSimulated()) {
        if (value)
            *value = static_cast<std::int16_t>(Draw() * 255);
        return true;
    }
    double v = 0.0;
    bool ok =
        QueryDouble(tvane::Format(Cmd(SCPI_SENS_DIG_DATA_Q).c_str(), static_cast<int>(channel)), v);
    std::optional<std::int16_t> number = ok ? IntegerOf<std::int16_t>(v) : std::int16_t{0};
    if (!number) {
        SetError(kMalformedReply);
        ok = false;
    }
    if (value)
        *value = number.value_or(0);
    return ok;
}

void CKXQT7100::GetStateNames() {
    m_stateNames.clear();
    m_recallList.clear();
    std::int16_t states = 0;
    if (QueryShort(Cmd(SCPI_MEM_NST_Q), states)) {
        for (int i = 1; i < states; ++i) {
            std::string name;
            QueryString(tvane::Format(Cmd(SCPI_MEM_STAT_NAME_Q).c_str(), i), name, true);
            m_stateNames.push_back(name);
            int used = 0;
            if (!QueryInt(tvane::Format(Cmd(SCPI_MEM_STAT_VAL_Q).c_str(), i), used))
                break;
            m_recallList.push_back(used ? name : std::string());
        }
    }
    m_recallList.push_back("Last Power Down");
    m_recallList.push_back(DriverText(1033));
    m_recallList.push_back(DriverText(1034));
    m_storedStates = static_cast<int>(m_stateNames.size());
}

void CKXQT7100::SetStateName(std::size_t index, const std::string& name) {
    if (index < m_stateNames.size())
        m_stateNames[index] = name;
}

void CKXQT7100::SetRecallEntry(std::size_t index, const std::string& name) {
    if (index < m_recallList.size())
        m_recallList[index] = name;
}

namespace {
// Field n (0-based) of a comma-separated answer; empty when it has fewer fields.
std::string Field(const std::string& text, int n) {
    std::size_t begin = 0;
    for (int i = 0; i < n; ++i) {
        begin = text.find(',', begin);
        if (begin == std::string::npos)
            return "";
        ++begin;
    }
    return text.substr(begin, text.find(',', begin) - begin);
}
} // namespace

std::string CKXQT7100::GetSystemVersion() {
    std::string answer;
    QueryString(Cmd(SCPI_IDN_Q), answer);
    return Field(answer, 3);
}

bool CKXQT7100::GetSlotRevision(int slot, std::string& text) {
    text.clear();
    std::string answer;
    if (!QueryString(tvane::Format(Cmd(SCPI_SYST_CTYP_Q).c_str(), slot), answer))
        return false;
    const std::string model = Field(answer, 1);
    // An answer without a model field (the simulated interface answers nothing)
    // is shown like an empty slot rather than as a bare " REV:".
    if (!model.empty() && model != "0")
        text = model + " REV:" + Field(answer, 3);
    return true;
}

bool CKXQT7100::IsDMMEnabled() {
    if (IsSimulated())
        return true;
    int value = 0;
    if (!QueryInt(Cmd(SCPI_INST_DMM_Q), value))
        return true;
    return value != 0;
}

bool CKXQT7100::IsDMMInstalled() {
    if (IsSimulated())
        return true;
    int value = 0;
    if (!QueryInt(Cmd(SCPI_INST_DMM_INST_Q), value))
        return true;
    return value != 0;
}

} // namespace tvane::driver
