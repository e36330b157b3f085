#include "app/CDocumentInstrumentBinding.h"

#include "platform/archive/CTime.h"
#include "scan/COleKXQT7100.h"
#include "scan/records/CChannelConfig.h"

int CDocumentInstrumentBinding::GetInterfaceTypeValue() {
    return m_binding.GetInterfaceTypeValue();
}
bool CDocumentInstrumentBinding::IsValidInterface() {
    return m_binding.IsValidInterface() != 0;
}
bool CDocumentInstrumentBinding::IsInstrumentError() {
    return m_binding.IsInstrumentError() != 0;
}
bool CDocumentInstrumentBinding::GetInstrumentError(std::int16_t& code, std::string& text) {
    BOOL ok = FALSE;
    SHORT number = 0;
    text = m_binding.GetInstrumentError(&number, &ok);
    code = number;
    return ok != 0;
}
bool CDocumentInstrumentBinding::GetLastError(std::int32_t& code, std::string& text) {
    LONG number = 0;
    const BOOL ok = m_binding.GetLastError(text, number);
    code = number == kNoDriverError ? 0 : number;
    return ok != 0;
}
bool CDocumentInstrumentBinding::IsAlarmInQue() {
    return m_binding.IsAlarmInQue() != 0;
}
bool CDocumentInstrumentBinding::GetAlarmInQue(Alarm& alarm) {
    tvane::CTime time;
    SHORT milliseconds = 0, channel = 0, limit = 0, output = 0;
    BOOL ok = FALSE;
    alarm.units =
        m_binding.GetAlarmInQue(&alarm.value, time, &milliseconds, &channel, &limit, &output, &ok);
    alarm.time = time.GetTime();
    alarm.milliseconds = milliseconds;
    alarm.channel = channel;
    alarm.limit = limit;
    alarm.output = output;
    return ok != 0;
}
std::string CDocumentInstrumentBinding::GetCardInfoInSlot(std::int16_t slot, bool& ok) {
    BOOL result = FALSE;
    std::string text = m_binding.GetCardInfoInSlot(slot, &result);
    ok = result != 0;
    return text;
}
bool CDocumentInstrumentBinding::GetReadingsCount(std::int32_t& count) {
    LONG value = 0;
    const BOOL ok = m_binding.GetReadingsCount(&value);
    count = value;
    return ok != 0;
}
bool CDocumentInstrumentBinding::DigitalRead(std::int16_t channel, std::int16_t& value) {
    SHORT read = 0;
    const BOOL ok = m_binding.DigitalRead(channel, &read);
    value = read;
    return ok != 0;
}
bool CDocumentInstrumentBinding::DigitalWrite(std::int16_t channel, double value) {
    return m_binding.DigitalWrite(channel, value) != 0;
}
bool CDocumentInstrumentBinding::TotalizeRead(std::int16_t channel, double& value, bool reset) {
    return m_binding.TotalizeRead(channel, &value, reset ? TRUE : FALSE) != 0;
}
bool CDocumentInstrumentBinding::AnalogWrite(std::int16_t channel, double value) {
    return m_binding.AnalogWrite(channel, value) != 0;
}
bool CDocumentInstrumentBinding::CloseChannel(std::int16_t channel) {
    return m_binding.CloseChannel(channel) != 0;
}
bool CDocumentInstrumentBinding::OpenChannel(std::int16_t channel) {
    return m_binding.OpenChannel(channel) != 0;
}
bool CDocumentInstrumentBinding::SetMonitorChnl(std::int16_t channel) {
    return m_binding.SetMonitorChnl(channel) != 0;
}
bool CDocumentInstrumentBinding::EnableMonitorChnl(bool enable) {
    return m_binding.EnableMonitorChnl(enable ? TRUE : FALSE) != 0;
}
bool CDocumentInstrumentBinding::GetMonitorChannel(std::int16_t& channel) {
    SHORT value = 0;
    const BOOL ok = m_binding.GetMonitorChannel(&value);
    channel = value;
    return ok != 0;
}
bool CDocumentInstrumentBinding::IsMonitorChannelEnabled() {
    return m_binding.IsMonitorChannelEnabled() != 0;
}
bool CDocumentInstrumentBinding::ReadMonitorChnl(double& value) {
    BYTE flag = 0;
    return m_binding.ReadMonitorChnl(&value, &flag) != 0;
}
bool CDocumentInstrumentBinding::CheckSerialSettings() {
    return m_binding.CheckSerialSettings() != 0;
}
bool CDocumentInstrumentBinding::IsDMMInstalled() {
    return m_binding.IsDMMInstalled() != 0;
}
bool CDocumentInstrumentBinding::IsDMMEnabled() {
    return m_binding.IsDMMEnabled() != 0;
}
bool CDocumentInstrumentBinding::IsInstrumentScanning(bool& scanning) {
    BOOL value = FALSE;
    const BOOL ok = m_binding.IsInstrumentScanning(&value);
    scanning = value != 0;
    return ok != 0;
}
bool CDocumentInstrumentBinding::StopMeasurement() {
    return m_binding.StopMeasurement() != 0;
}
bool CDocumentInstrumentBinding::ClearScanList() {
    return m_binding.ClearScanList() != 0;
}
bool CDocumentInstrumentBinding::DownloadChannelConfig(CChannelConfig& config) {
    return m_binding.DownloadChannelConfig(&config) != 0;
}
bool CDocumentInstrumentBinding::SetAlarmOutputTracking() {
    return m_binding.SetAlarmOutputTracking() != 0;
}
bool CDocumentInstrumentBinding::SetAlarmOutputLatched() {
    return m_binding.SetAlarmOutputLatched() != 0;
}
bool CDocumentInstrumentBinding::SetLowAlarmPolarity() {
    return m_binding.SetLowAlarmPolarity() != 0;
}
bool CDocumentInstrumentBinding::SetHighAlarmPolarity() {
    return m_binding.SetHighAlarmPolarity() != 0;
}
bool CDocumentInstrumentBinding::SetTriggerSource(const std::string& source) {
    return m_binding.SetTriggerSource(source) != 0;
}
bool CDocumentInstrumentBinding::SetScanCount(std::int32_t count) {
    return m_binding.SetScanCount(count) != 0;
}
bool CDocumentInstrumentBinding::SetScanInterval(double seconds) {
    return m_binding.SetScanInterval(seconds) != 0;
}
bool CDocumentInstrumentBinding::SetReadingFormat(const std::uint8_t format[5]) {
    return m_binding.SetReadingFormat(format[0], format[1], format[2], format[3], format[4]) != 0;
}
bool CDocumentInstrumentBinding::InitInstrument() {
    return m_binding.InitInstrument() != 0;
}
bool CDocumentInstrumentBinding::IsConfigChanged() {
    return m_binding.IsConfigChanged() != 0;
}
std::string CDocumentInstrumentBinding::GetScanList() {
    return m_binding.GetScanList();
}
bool CDocumentInstrumentBinding::ConfigureUpload() {
    return m_binding.ConfigureUpload() != 0;
}
std::string CDocumentInstrumentBinding::GetAlarmList(std::int16_t output) {
    return m_binding.GetAlarmList(output);
}
bool CDocumentInstrumentBinding::IsAlarmOutputTracking() {
    return m_binding.IsAlarmOutputTracking() != 0;
}
bool CDocumentInstrumentBinding::IsAlarmPolarityLowOnFail() {
    return m_binding.IsAlarmPolarityLowOnFail() != 0;
}

bool CDocumentInstrumentBinding::EditControlProperties() {
    return m_binding.EditControlProperties() != 0;
}
std::string CDocumentInstrumentBinding::GetTriggerSource() {
    return m_binding.GetTriggerSource();
}
bool CDocumentInstrumentBinding::GetScanCount(std::int32_t& count) {
    LONG value = 0;
    const BOOL ok = m_binding.GetScanCount(&value);
    count = value;
    return ok != 0;
}
bool CDocumentInstrumentBinding::GetScanInterval(double& seconds) {
    return m_binding.GetScanInterval(&seconds) != 0;
}
bool CDocumentInstrumentBinding::UploadChannelConfig(std::int16_t channel,
                                                     const std::string& moduleText,
                                                     CChannelConfig& config) {
    LONG ok = 0;
    // The driver keeps its record; the document takes a copy.
    const CChannelConfig* held = m_binding.UploadChannelConfig(channel, moduleText.c_str(), &ok);
    if (ok == 0 || held == nullptr)
        return false;
    config = CChannelConfig(*held);
    return true;
}
bool CDocumentInstrumentBinding::FetchReadings(ReadingRecord* buffer, std::int32_t requested,
                                               std::int32_t& count) {
    LONG got = 0;
    const BOOL ok = m_binding.FetchReadings(buffer, requested, &got);
    count = got;
    return ok != 0;
}
bool CDocumentInstrumentBinding::GetScanTime(std::int64_t& time, std::int16_t& milliseconds) {
    tvane::CTime when;
    SHORT ms = 0;
    const BOOL ok = m_binding.GetScanTime(when, ms);
    time = when.GetTime();
    milliseconds = ms;
    return ok != 0;
}
bool CDocumentInstrumentBinding::GetStartTickCount(double& tick) {
    return m_binding.GetStartTickCount(&tick) != 0;
}
