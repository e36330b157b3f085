#pragma once
#include "app/IDocumentInstrument.h"

class COleKXQT7100;

// The application's instrument binding as the document drives it. Calls that
// fail to reach the driver object throw out of the binding unchanged.
class CDocumentInstrumentBinding final : public IDocumentInstrument {
public:
    // The driver's "no error" code of its last-error record.
    static constexpr std::int32_t kNoDriverError = 1000;

    explicit CDocumentInstrumentBinding(COleKXQT7100& binding) : m_binding(binding) {}

    int GetInterfaceTypeValue() override;
    bool IsValidInterface() override;
    bool IsInstrumentError() override;
    bool GetInstrumentError(std::int16_t& code, std::string& text) override;
    // The driver's "no error" comes back as code 0.
    bool GetLastError(std::int32_t& code, std::string& text) override;
    bool IsAlarmInQue() override;
    bool GetAlarmInQue(Alarm& alarm) override;
    std::string GetCardInfoInSlot(std::int16_t slot, bool& ok) override;
    bool GetReadingsCount(std::int32_t& count) override;
    bool DigitalRead(std::int16_t channel, std::int16_t& value) override;
    bool DigitalWrite(std::int16_t channel, double value) override;
    bool TotalizeRead(std::int16_t channel, double& value, bool reset) override;
    bool AnalogWrite(std::int16_t channel, double value) override;
    bool CloseChannel(std::int16_t channel) override;
    bool OpenChannel(std::int16_t channel) override;
    bool SetMonitorChnl(std::int16_t channel) override;
    bool EnableMonitorChnl(bool enable) override;
    bool GetMonitorChannel(std::int16_t& channel) override;
    bool IsMonitorChannelEnabled() override;
    bool ReadMonitorChnl(double& value) override;
    bool CheckSerialSettings() override;
    bool IsDMMInstalled() override;
    bool IsDMMEnabled() override;
    bool IsInstrumentScanning(bool& scanning) override;
    bool StopMeasurement() override;
    bool ClearScanList() override;
    bool DownloadChannelConfig(CChannelConfig& config) override;
    bool SetAlarmOutputTracking() override;
    bool SetAlarmOutputLatched() override;
    bool SetLowAlarmPolarity() override;
    bool SetHighAlarmPolarity() override;
    bool SetTriggerSource(const std::string& source) override;
    bool SetScanCount(std::int32_t count) override;
    bool SetScanInterval(double seconds) override;
    bool SetReadingFormat(const std::uint8_t format[5]) override;
    bool InitInstrument() override;
    bool IsConfigChanged() override;
    std::string GetScanList() override;
    bool ConfigureUpload() override;
    std::string GetAlarmList(std::int16_t output) override;
    bool IsAlarmOutputTracking() override;
    bool IsAlarmPolarityLowOnFail() override;
    bool EditControlProperties() override;
    std::string GetTriggerSource() override;
    bool GetScanCount(std::int32_t& count) override;
    bool GetScanInterval(double& seconds) override;
    bool UploadChannelConfig(std::int16_t channel, const std::string& moduleText,
                             CChannelConfig& config) override;
    bool FetchReadings(ReadingRecord* buffer, std::int32_t requested, std::int32_t& count) override;
    bool GetScanTime(std::int64_t& time, std::int16_t& milliseconds) override;
    bool GetStartTickCount(double& tick) override;

private:
    COleKXQT7100& m_binding;
};
