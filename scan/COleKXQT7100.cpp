#include "scan/COleKXQT7100.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/com/Bstr.h"
#include "platform/com/ComException.h"
#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"
#include "scan/ComUtilities.h"

IMPLEMENT_DYNAMIC(COleKXQT7100, COleInstrument)

COleKXQT7100::~COleKXQT7100() {
    if (m_data) {
        m_data->Release();
        m_data = nullptr;
    }
    m_driver.ReleaseDispatch();
}

BOOL COleKXQT7100::Create(const std::string& progId) {
    if (m_data) {
        m_data->Release();
        m_data = nullptr;
    }
    m_driver.ReleaseDispatch();
    COleInstrument::Create(progId);
    const HRESULT hr =
        m_unknown->QueryInterface(IID_IInstDriverData, reinterpret_cast<void**>(&m_data));
    if (FAILED(hr) || !m_data) {
        m_data = nullptr;
        throw tvane::ComException(FAILED(hr) ? hr : E_NOINTERFACE);
    }
    m_driver.AttachDispatch(m_data->GetIDispatch(), true);
    if (!m_driver.Dispatch()) {
        tvane::ShowMessage(tvane::Format(GetResourceString(168), progId.c_str()),
                           tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
        throw tvane::UserException();
    }
    return TRUE;
}

IInstDriverData& COleKXQT7100::Data() {
    if (!m_data)
        throw tvane::ComException(E_UNEXPECTED, "The instrument driver has not been created.");
    return *m_data;
}

BOOL COleKXQT7100::EditControlProperties() {
    const BOOL ok = m_driver.EditControlProperties();
    if (!ok)
        GetLastCommError();
    return ok;
}

BOOL COleKXQT7100::GetLastError(std::string& text, LONG& code) {
    BOOL result = TRUE;
    if (m_driver.Dispatch()) {
        tvane::Variant message;
        result = m_driver.GetLastError(&message, &code);
        text = message.vt == VT_BSTR ? tvane::Utf8FromBstr(message.bstrVal)
               : message.IsEmpty()   ? std::string()
                                     : message.ToString();
    } else {
        text = m_errorText;
        code = m_errorCode;
    }
    ClearError();
    return result;
}

SHORT COleKXQT7100::GetReading(VARIANT* readings) {
    const SHORT n = m_driver.GetReading(readings);
    if (n < 0)
        GetLastCommError();
    return n;
}

BOOL COleKXQT7100::DigitalWrite(SHORT channel, double value) {
    // Truncated as the value always was, but a value beyond the port's word (or no
    // number at all) must not reach an undefined conversion.
    double whole = std::trunc(value);
    if (std::isnan(whole))
        whole = 0;
    whole = std::clamp(whole, double(std::numeric_limits<SHORT>::min()),
                       double(std::numeric_limits<SHORT>::max()));
    return m_driver.DigitalWrite(channel, static_cast<SHORT>(whole));
}

BOOL COleKXQT7100::ReadMonitorChnl(double* value, BYTE* flag) {
    SHORT wide = 0;
    const BOOL ok = m_driver.ReadMonitorChnl(value, &wide);
    if (flag)
        *flag = static_cast<BYTE>(wide);
    return ok;
}

BOOL COleKXQT7100::TimeOf(BOOL ok, SHORT parts[7], tvane::CTime& time, SHORT& milliseconds) {
    if (!ok) {
        GetLastCommError();
        time = tvane::CTime::GetCurrentTime();
        milliseconds = 0;
        return ok;
    }
    time = tvane::CTime(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]);
    milliseconds = parts[6];
    return ok;
}

BOOL COleKXQT7100::GetScanTime(tvane::CTime& time, SHORT& milliseconds) {
    SHORT p[7] = {};
    const BOOL ok = m_driver.GetScanTime(&p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6]);
    return TimeOf(ok, p, time, milliseconds);
}

BOOL COleKXQT7100::GetInstrumentTime(tvane::CTime& time, SHORT& milliseconds) {
    SHORT p[7] = {};
    const BOOL ok = m_driver.GetInstrumentTime(&p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6]);
    return TimeOf(ok, p, time, milliseconds);
}

std::string COleKXQT7100::GetCardInfoInSlot(SHORT slot, BOOL* ok) {
    BOOL flag = FALSE;
    std::string text = m_driver.GetCardInfoInSlot(slot, &flag);
    if (!flag)
        GetLastCommError();
    if (ok)
        *ok = flag;
    return text;
}

BOOL COleKXQT7100::GetCardInfoInSlot(std::string& slot1, std::string& slot2, std::string& slot3) {
    BOOL ok = FALSE;
    slot1 = GetCardInfoInSlot(100, &ok);
    if (ok)
        slot2 = GetCardInfoInSlot(200, &ok);
    if (ok)
        slot3 = GetCardInfoInSlot(300, &ok);
    return ok;
}

BOOL COleKXQT7100::SetInstrumentDate(const tvane::CTime& date) {
    const tvane::LocalTime t = date.GetLocalTm();
    return SetInstrumentDate(static_cast<SHORT>(t.year), static_cast<SHORT>(t.month),
                             static_cast<SHORT>(t.day));
}

BOOL COleKXQT7100::SetInstrumentTime(const tvane::CTime& time, SHORT milliseconds) {
    const tvane::LocalTime t = time.GetLocalTm();
    return SetInstrumentTime(static_cast<SHORT>(t.hour), static_cast<SHORT>(t.minute),
                             static_cast<SHORT>(t.second), milliseconds);
}

std::string COleKXQT7100::GetInstrumentError(SHORT* code, BOOL* ok) {
    BOOL flag = FALSE;
    std::string text = m_driver.GetInstrumentError(code, &flag);
    if (!flag)
        GetLastCommError();
    if (ok)
        *ok = flag;
    return text;
}

BOOL COleKXQT7100::GetInstrumentError(std::vector<std::string>& numbers,
                                      std::vector<std::string>& texts, int& count) {
    numbers.clear();
    texts.clear();
    count = 0;
    for (;;) {
        SHORT code = 0;
        BOOL ok = FALSE;
        std::string text = m_driver.GetInstrumentError(&code, &ok);
        if (!ok) {
            GetLastCommError();
            return FALSE;
        }
        if (code == 0)
            return TRUE;
        numbers.push_back(tvane::Format("%d", code));
        texts.push_back(std::move(text));
        ++count;
    }
}

std::string COleKXQT7100::GetAlarmInQue(double* value, tvane::CTime& time, SHORT* milliseconds,
                                        SHORT* channel, SHORT* limit, SHORT* output, BOOL* ok) {
    LONG seconds = 0;
    std::string text =
        m_driver.GetAlarmInQue(value, &seconds, milliseconds, channel, limit, output, ok);
    time = tvane::CTime(seconds);
    return text;
}

BOOL COleKXQT7100::GetReadings(ReadingRecord* buffer, LONG capacity, LONG* count) {
    return Data().GetReadings(buffer, capacity, count);
}

BOOL COleKXQT7100::FetchReadings(ReadingRecord* buffer, LONG requested, LONG* count) {
    return Data().FetchReadings(buffer, requested, count);
}

BOOL COleKXQT7100::DownloadChannelConfig(CChannelConfig* config) {
    const BOOL ok = Data().DownloadChannelConfig(config);
    if (!ok)
        GetLastCommError();
    return ok;
}

CChannelConfig* COleKXQT7100::UploadChannelConfig(SHORT channel, const char* moduleText, LONG* ok) {
    return Data().UploadChannelConfig(channel, moduleText, ok);
}

namespace {

// The instrument's answer for each handshake name the control reports.
const char* InstrumentHandshake(const std::string& configured) {
    static const std::pair<const char*, const char*> names[] = {
        {"RTSRTS", "RTS"}, {"DTRDTR", "DTR"}, {"XONXON", "XON"}, {"NONNON", "NONE"}};
    for (const auto& [control, instrument] : names)
        if (configured == control)
            return instrument;
    return nullptr;
}

void Refuse(const char* text) {
    tvane::ShowMessage(text, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
}

} // namespace

BOOL COleKXQT7100::CheckSerialSettings() {
    if (m_settings.InterfaceType != 3)
        return TRUE;
    if (!Comm().IsInstrumentResponding()) {
        Refuse("Instrument not responding or communication settings are invalid - operation "
               "aborted.");
        return FALSE;
    }
    // In and out: the control replaces a text only when it has one.
    BSTR settings[3] = {tvane::BstrFromUtf8("Unk"), tvane::BstrFromUtf8("Unk"),
                        tvane::BstrFromUtf8("Unk")};
    BOOL result = Comm().GetSerialSettings(&settings[0], &settings[1], &settings[2]);
    const tvane::Bstr baud = tvane::Bstr::Attach(settings[0]);
    const tvane::Bstr parity = tvane::Bstr::Attach(settings[1]);
    const tvane::Bstr handshake = tvane::Bstr::Attach(settings[2]);

    // One query; false when its send or receive failed (the comparison is skipped).
    auto query = [&](const char* command, std::string& reply) {
        char buffer[100] = {};
        LONG count = 0;
        if (!SendRawMsg(command) || !RecvRawMsg(buffer, sizeof buffer, &count))
            return false;
        reply.assign(buffer, ::strnlen(buffer, sizeof buffer));
        return true;
    };
    std::string reply;
    if (result && query("SYST:COMM:SER:BAUD?", reply)) {
        // The numeric reply starts with its sign.
        if (reply.empty() || reply.substr(1) != baud.Utf8()) {
            Refuse("Baud rate mismatch detected - operation aborted.");
            result = FALSE;
        }
    }
    if (result && query("SYST:COMM:SER:PAR?", reply)) {
        if (reply != parity.Utf8()) {
            Refuse("Parity mismatch detected - operation aborted.");
            result = FALSE;
        }
    }
    if (result && query("SYST:COMM:SER:HAND?", reply)) {
        const char* expected = InstrumentHandshake(handshake.Utf8());
        if (!expected || reply != expected) {
            Refuse("Handshake mismatch detected - operation aborted.");
            result = FALSE;
        }
    }
    return result;
}
