#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A measurement function of a channel type as the lookup tables give it (a
// VTFunction row).
struct MeasurementFunction {
    std::string Name;
    std::int32_t RangeType = 0;
    std::string DefaultRange;
    std::int32_t ResolutionType = 0;
    std::string DefaultResolution;
    std::uint32_t AdvSettingsType = 0;
    std::string DefaultAdvSettings;
};

// The lists of the channel sheet's Measurement page: the functions of a
// channel type and the ranges and resolutions of a function, in the order the
// database gives them. The database layer implements it; tests use a fake.
class IMeasurementLookup {
public:
    // The open results of the recordset layer.
    enum Result { kFailed = 0, kRows = 1, kEmpty = 2 };

    virtual ~IMeasurementLookup() = default;
    virtual Result Functions(std::int32_t channelType, std::vector<std::string>& names) = 0;
    // kRows with the function of that type and name.
    virtual Result FindFunction(std::int32_t channelType, const std::string& name,
                                MeasurementFunction& function) = 0;
    virtual Result Ranges(std::int32_t rangeType, std::vector<std::string>& names) = 0;
    virtual Result Resolutions(std::int32_t resolutionType, std::vector<std::string>& names) = 0;
};
