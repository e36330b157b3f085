#pragma once
#include "scan/IMeasurementLookup.h"

namespace tvane {
class OdbcDatabase;
}

// The Measurement page's lists over the workspace's tables VTFunction, VTRange
// and VTResolution, each opened read-only for one question.
class DatabaseMeasurementLookup final : public IMeasurementLookup {
public:
    explicit DatabaseMeasurementLookup(tvane::OdbcDatabase* database) : m_database(database) {}

    Result Functions(std::int32_t channelType, std::vector<std::string>& names) override;
    Result FindFunction(std::int32_t channelType, const std::string& name,
                        MeasurementFunction& function) override;
    Result Ranges(std::int32_t rangeType, std::vector<std::string>& names) override;
    Result Resolutions(std::int32_t resolutionType, std::vector<std::string>& names) override;

private:
    tvane::OdbcDatabase* m_database;
};
