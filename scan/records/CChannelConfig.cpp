#include "scan/records/CChannelConfig.h"

CChannelConfig::CChannelConfig(const CChannelConfig& other) {
    *this = other;
}

CChannelConfig& CChannelConfig::operator=(const CChannelConfig& other) {
    // Appending a record's settings to itself would only duplicate them.
    if (this == &other)
        return *this;
    ModuleType = other.ModuleType;
    Channel = other.Channel;
    InScanList = other.InScanList;
    Function = other.Function;
    SubType = other.SubType;
    RangeLow = other.RangeLow;
    Range = other.Range;
    Resolution = other.Resolution;
    IntegrationCode = other.IntegrationCode;
    ScalingOn = other.ScalingOn;
    Gain = other.Gain;
    Offset = other.Offset;
    Unit = other.Unit;
    AlarmMode = other.AlarmMode;
    AlarmOutput = other.AlarmOutput;
    LowLimit = other.LowLimit;
    HighLimit = other.HighLimit;
    Options.insert(Options.end(), other.Options.begin(), other.Options.end());
    return *this;
}
