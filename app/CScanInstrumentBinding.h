#pragma once
#include "app/IScanInstrument.h"

class COleKXQT7100;

// The run's instrument calls on the application's binding to the driver.
class CScanInstrumentBinding final : public IScanInstrument {
public:
    explicit CScanInstrumentBinding(COleKXQT7100& binding) : m_binding(binding) {}

    bool StartMeasurement() override;
    bool StopMeasurement() override;
    bool GetStartTickCount(double& tick) override;
    bool GetScanTime(tvane::CTime& time, std::int16_t& milliseconds) override;
    bool InitMeasurement(std::int32_t most) override;
    bool GetReadings(ReadingRecord* buffer, std::int32_t most, std::int32_t& count) override;
    bool FetchReadings(ReadingRecord* buffer, std::int32_t most, std::int32_t& count) override;
    bool GetReadingsCount(std::int32_t& count) override;
    bool IsInstrumentScanning(bool& scanning) override;
    bool DigitalReadState(std::int16_t channel, std::int16_t& value) override;

private:
    COleKXQT7100& m_binding;
};
