#include "app/CScanInstrumentBinding.h"

#include "scan/COleKXQT7100.h"

bool CScanInstrumentBinding::StartMeasurement() {
    return m_binding.StartMeasurement() != 0;
}

bool CScanInstrumentBinding::StopMeasurement() {
    return m_binding.StopMeasurement() != 0;
}

bool CScanInstrumentBinding::GetStartTickCount(double& tick) {
    return m_binding.GetStartTickCount(&tick) != 0;
}

bool CScanInstrumentBinding::GetScanTime(tvane::CTime& time, std::int16_t& milliseconds) {
    SHORT ms = 0;
    const bool ok = m_binding.GetScanTime(time, ms) != 0;
    milliseconds = ms;
    return ok;
}

bool CScanInstrumentBinding::InitMeasurement(std::int32_t most) {
    return m_binding.InitMeasurement(most) != 0;
}

bool CScanInstrumentBinding::GetReadings(ReadingRecord* buffer, std::int32_t most,
                                         std::int32_t& count) {
    LONG got = 0;
    const bool ok = m_binding.GetReadings(buffer, most, &got) != 0;
    count = static_cast<std::int32_t>(got);
    return ok;
}

bool CScanInstrumentBinding::FetchReadings(ReadingRecord* buffer, std::int32_t most,
                                           std::int32_t& count) {
    LONG got = 0;
    const bool ok = m_binding.FetchReadings(buffer, most, &got) != 0;
    count = static_cast<std::int32_t>(got);
    return ok;
}

bool CScanInstrumentBinding::GetReadingsCount(std::int32_t& count) {
    LONG value = 0;
    const bool ok = m_binding.GetReadingsCount(&value) != 0;
    count = static_cast<std::int32_t>(value);
    return ok;
}

bool CScanInstrumentBinding::IsInstrumentScanning(bool& scanning) {
    BOOL value = TRUE;
    const bool ok = m_binding.IsInstrumentScanning(&value) != 0;
    scanning = value != 0;
    return ok;
}

bool CScanInstrumentBinding::DigitalReadState(std::int16_t channel, std::int16_t& value) {
    SHORT state = 0;
    const bool ok = m_binding.DigitalReadState(channel, &state) != 0;
    value = state;
    return ok;
}
