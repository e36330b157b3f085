#pragma once
#include "scan/records/CChannelSetting.h"

#include <cstdint>
#include <string>
#include <vector>

// The configuration of one channel as the setup download hands it to the
// instrument driver and the upload gets it back. The driver runs in this process
// and uses this very definition.
class CChannelConfig {
public:
    // Module codes of ModuleType.
    static constexpr std::uint16_t kNoModule = 8;
    // Function codes of Function.
    static constexpr std::uint16_t kFunctionTemperature = 6;
    static constexpr std::uint16_t kFunctionUnknown = 18;
    // Temperature sub-types of SubType.
    static constexpr std::uint16_t kSubTypeNone = 13;
    // IntegrationCode: 0 means Resolution holds an aperture; 9 means not set.
    static constexpr std::int32_t kIntegrationAperture = 0;
    static constexpr std::int32_t kIntegrationNone = 9;
    // AlarmOutput: 0..3 are the outputs Alarm1..Alarm4.
    static constexpr std::uint16_t kNoAlarmOutput = 4;

    std::uint16_t ModuleType = kNoModule;
    std::int16_t Channel = 0;
    std::int32_t InScanList = 0;
    std::uint16_t Function = kFunctionUnknown;
    std::uint16_t SubType = kSubTypeNone;
    std::string RangeLow = "Auto";
    std::string Range = "Auto";
    std::string Resolution = "1";
    std::int32_t IntegrationCode = kIntegrationNone;
    std::int32_t ScalingOn = 0;
    std::string Gain = "1.0";
    std::string Offset = "0.0";
    std::string Unit;
    std::uint16_t AlarmMode = 0;
    std::uint16_t AlarmOutput = kNoAlarmOutput;
    std::string LowLimit = "1.0E-35";
    std::string HighLimit = "1.0E35";
    // Owned copies; a record never shares its settings with another.
    std::vector<CChannelSetting> Options;

    CChannelConfig() = default;
    CChannelConfig(const CChannelConfig& other);
    // Copies the scalar and text fields and appends copies of the source's
    // settings after the ones this record already holds; callers assign into
    // freshly constructed records.
    CChannelConfig& operator=(const CChannelConfig& other);
    // No move assignment: assigning a temporary appends like any other source.
    CChannelConfig(CChannelConfig&&) = default;
    ~CChannelConfig() = default;
};
