#include "driver/CKXQT7100.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "driver/DriverStrings.h"
#include "driver/ReplyNumbers.h"
#include "platform/core/Clock.h"
#include "platform/core/Format.h"

namespace tvane::driver {

namespace {
std::string NowText() {
    LocalTime t = Clock().LocalNow();
    return tvane::Format("%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                         t.second);
}
} // namespace

CKXQT7100::CKXQT7100(IInstrumentLink* link, const DriverSettings& settings)
    : CInstDriver(link), m_settings(settings) {
    m_name = LoadDriverString(2003);
    m_fileName = LoadDriverString(2004);
    m_version = LoadDriverString(2005);
    const unsigned sources[] = {2014,
                                2015,
                                2016,
                                2017,
                                SCPI_WORD_ALARM1,
                                SCPI_WORD_ALARM2,
                                SCPI_WORD_ALARM3,
                                SCPI_WORD_ALARM4};
    for (unsigned id : sources) {
        if (!m_triggerSources.empty())
            m_triggerSources += ",";
        m_triggerSources += LoadDriverString(id);
    }
    m_log.Open(LogFilePath(m_settings.logFile), NowText());
}

CKXQT7100::~CKXQT7100() = default;

// --- Logging ---

void CKXQT7100::WriteLog(const std::string& text) {
    if (m_settings.logErrors && text.size() <= 98)
        m_log.WriteText(text + "\n");
}

void CKXQT7100::WriteLogAlways(const std::string& text) {
    m_log.WriteText(text);
}

void CKXQT7100::WriteLogId(unsigned id) {
    m_log.WriteText(DriverText(id) + "\n");
}

// --- Command helpers ---

std::string CKXQT7100::Cmd(ScpiTemplate id) const {
    return LoadDriverString(id);
}

bool CKXQT7100::SendId(ScpiTemplate id) {
    return SendCommand(Cmd(id));
}

bool CKXQT7100::SendCh(ScpiTemplate id, int channel) {
    return SendCommand(tvane::Format(Cmd(id).c_str(), channel));
}

bool CKXQT7100::SendTextCh(ScpiTemplate id, const std::string& text, int channel) {
    return SendCommand(tvane::Format(Cmd(id).c_str(), text.c_str(), channel));
}

bool CKXQT7100::SendIntCh(ScpiTemplate id, int value, int channel) {
    return SendCommand(tvane::Format(Cmd(id).c_str(), value, channel));
}

const CChannelConfig* CKXQT7100::StoredConfig(std::int16_t channel) const {
    auto it = m_configs.find(channel);
    return it == m_configs.end() ? nullptr : it->second.get();
}

bool CKXQT7100::IsMeasuring(const CChannelConfig& c) {
    return c.ModuleType == 0 || c.ModuleType == 1 || c.ModuleType == 7 ||
           (c.ModuleType == 6 && c.Channel % 100 < 4);
}

const CChannelSetting* CKXQT7100::FindOption(const CChannelConfig& c, std::int32_t id) {
    for (const CChannelSetting& o : c.Options)
        if (o.Id == id)
            return &o;
    return nullptr;
}

std::string CKXQT7100::StripBlockHeader(const std::string& answer) {
    if (answer.empty() || answer[0] != '#')
        return answer;
    // "#", the digit count n, n length digits, then the data. The data is taken by
    // its declared length, so a closing line feed (present or already dropped by
    // the transport) never costs a data character.
    std::size_t n = answer.size() > 1 && std::isdigit(static_cast<unsigned char>(answer[1]))
                        ? static_cast<std::size_t>(answer[1] - '0')
                        : 0;
    std::size_t start = std::min(answer.size(), 2 + n);
    std::size_t length = 0;
    bool declared = n > 0;
    for (std::size_t i = 2; i < start; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(answer[i]))) {
            declared = false;
            break;
        }
        length = length * 10 + static_cast<std::size_t>(answer[i] - '0');
    }
    std::string data = answer.substr(start);
    if (declared)
        return data.substr(0, std::min(length, data.size()));
    if (!data.empty() && data.back() == '\n')
        data.pop_back();
    return data;
}

void CKXQT7100::ResetReadingState() {
    m_scanCounter = 0;
    m_lowestChannel = 0;
    m_previousChannel = 0;
    m_firstReading = true;
    m_lowestConfigured = 0x7fff;
    m_highestConfigured = 0;
    m_requestPending = true;
}

// --- Measurement sequence ---

bool CKXQT7100::InitInstrument() {
    ResetReadingState();
    m_totalizer = 0;
    bool ok = SendId(SCPI_CLS) && SendId(SCPI_ESE_1) && SendId(SCPI_SRE_48);
    std::string list;
    for (const auto& [channel, config] : m_configs) {
        if (!config->InScanList)
            continue;
        list += tvane::Format("%d,", channel);
        m_lowestConfigured = std::min(m_lowestConfigured, channel);
        m_highestConfigured = std::max(m_highestConfigured, channel);
    }
    if (ok)
        ok = SendCommand(tvane::Format(Cmd(SCPI_ROUT_SCAN).c_str(), list.c_str()));
    m_channelArray.clear();
    for (const auto& entry : m_configs)
        m_channelArray.push_back(entry.first);
    return ok;
}

bool CKXQT7100::ClearScanList() {
    m_configs.clear();
    m_channelArray.clear();
    return true;
}

bool CKXQT7100::SetTriggerSource(const std::string& source) {
    std::string upper = Upper(source);
    if (m_triggerSources.find(upper) == std::string::npos) {
        SetError(1004);
        return false;
    }
    return SendCommand(Cmd(SCPI_TRIG_SOUR) + upper);
}

std::string CKXQT7100::GetTriggerSource() {
    std::string answer;
    QueryString(Cmd(SCPI_TRIG_SOUR_Q), answer);
    return answer;
}

bool CKXQT7100::SetScanCount(std::int32_t count) {
    if (count <= 0)
        return SendId(SCPI_TRIG_COUN_INF);
    m_scanCountLimit = count;
    return SendCommand(tvane::Format(Cmd(SCPI_TRIG_COUN).c_str(), static_cast<long>(count)));
}

bool CKXQT7100::GetScanCount(std::int32_t* count) {
    double value = 0.0;
    bool ok = QueryDouble(Cmd(SCPI_TRIG_COUN_Q), value);
    std::int32_t scans = 0;
    if (ok && value >= 9.9e37) {
        scans = -1; // no limit
    } else if (ok) {
        const std::optional<std::int32_t> n = IntegerOf<std::int32_t>(value);
        if (n) {
            scans = *n;
        } else {
            SetError(kMalformedReply);
            ok = false;
        }
    }
    if (count)
        *count = scans;
    return ok;
}

bool CKXQT7100::SetScanInterval(double seconds) {
    double ms = seconds * 1000.0;
    m_scanInterval = ms > 0 && ms < 4294967295.0 ? static_cast<std::uint32_t>(ms) : 0;
    return SendCommand(tvane::Format(Cmd(SCPI_TRIG_TIMER).c_str(), seconds));
}

bool CKXQT7100::GetScanInterval(double* seconds) {
    double value = 0.0;
    bool ok = QueryDouble(Cmd(SCPI_TRIG_TIMER_Q), value);
    if (seconds)
        *seconds = value;
    return ok;
}

bool CKXQT7100::StartMeasurement() {
    bool ok = SendId(SCPI_INIT);
    if (ok) {
        m_scanning = true;
        m_timer.Start(m_scanInterval, Clock().TickCount());
    }
    return ok;
}

bool CKXQT7100::StopMeasurement() {
    m_scanning = false;
    m_timer.ResetStart();
    m_scanCountLimit = -1;
    return SendId(SCPI_ABORT);
}

bool CKXQT7100::InitMeasurement(std::int32_t count) {
    m_requestPending = false;
    if (IsSimulated())
        return true;
    long n = std::min<long>(kMaxReadingsPerRequest, count);
    return SendCommand(tvane::Format(Cmd(SCPI_R_Q).c_str(), n));
}

bool CKXQT7100::GetReadingsCount(std::int32_t* count) {
    std::int32_t value = 0;
    bool ok = QueryLong(Cmd(SCPI_DATA_POIN_Q), value);
    if (count)
        *count = value;
    return ok;
}

bool CKXQT7100::IsInstrumentScanning(bool* scanning) {
    if (IsSimulated()) {
        if (scanning)
            *scanning = m_scanning;
        return true;
    }
    std::string answer;
    if (!QueryString(Cmd(SCPI_STAT_OPER_COND_Q), answer)) {
        if (scanning)
            *scanning = true;
        return false;
    }
    bool value = true;
    if (answer.size() >= 2 && answer.size() <= 6 &&
        std::isdigit(static_cast<unsigned char>(answer[1])))
        value = (std::atoi(answer.c_str()) & 16) != 0;
    if (scanning)
        *scanning = value;
    return true;
}

bool CKXQT7100::IsConfigChanged() {
    if (IsSimulated())
        return false;
    std::uint16_t value = 0;
    QueryUShort(Cmd(SCPI_STAT_OPER_COND_Q), value);
    return (value & 256) != 0;
}

bool CKXQT7100::IsInstrumentError() {
    std::uint8_t value = 0;
    QueryByte(Cmd(SCPI_ESR_Q), value);
    return (value & 0x3C) != 0;
}

bool CKXQT7100::IsPowerCycled() {
    std::uint8_t value = 0;
    QueryByte(Cmd(SCPI_ESR_Q), value);
    return (value & 1) != 0;
}

std::string CKXQT7100::GetInstrumentError(std::int16_t* code, bool* has) {
    if (code)
        *code = 0;
    if (has)
        *has = false;
    std::string answer;
    if (!QueryString(Cmd(SCPI_SYST_ERR_Q), answer))
        return "";
    const std::optional<std::int16_t> number = ParseInteger<std::int16_t>(answer.c_str());
    if (!number) {
        SetError(kMalformedReply);
        return "";
    }
    if (code)
        *code = *number;
    std::size_t quote = answer.find('"');
    if (quote == std::string::npos)
        return "";
    std::string message = answer.substr(quote + 1);
    if (!message.empty())
        message.pop_back();
    if (has)
        *has = true;
    return message;
}

std::string CKXQT7100::GetScanList() {
    std::string answer;
    if (!QueryString(Cmd(SCPI_ROUT_SCAN_Q), answer))
        return "";
    return StripBlockHeader(answer);
}

std::string CKXQT7100::GetAlarmList(std::int16_t output) {
    std::string answer;
    if (!QueryString(tvane::Format(Cmd(SCPI_OUTP_ALARN_SOUR_Q).c_str(), static_cast<int>(output)),
                     answer))
        return "";
    return StripBlockHeader(answer);
}

} // namespace tvane::driver
