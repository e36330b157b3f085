#include "database/DatabaseMeasurementLookup.h"

#include "database/CRSFunction.h"
#include "database/CRSRange.h"
#include "database/CRSResolution.h"

namespace {

// The names of an opened recordset, in the order it returns them.
template <class Recordset>
IMeasurementLookup::Result Names(Recordset& set, std::int16_t result,
                                 std::vector<std::string>& names) {
    names.clear();
    if (result == RS_ROWS)
        for (set.MoveRecord(RS_MOVE_FIRST); !set.IsEOF(); set.MoveRecord(RS_MOVE_NEXT))
            names.push_back(set.m_Name);
    set.Close();
    return static_cast<IMeasurementLookup::Result>(result);
}

} // namespace

IMeasurementLookup::Result DatabaseMeasurementLookup::Functions(std::int32_t channelType,
                                                                std::vector<std::string>& names) {
    CRSFunction set(m_database);
    const std::int16_t result = set.OpenGivenType(channelType, RS_READONLY);
    return Names(set, result, names);
}

IMeasurementLookup::Result DatabaseMeasurementLookup::FindFunction(std::int32_t channelType,
                                                                   const std::string& name,
                                                                   MeasurementFunction& function) {
    CRSFunction set(m_database);
    const std::int16_t result = set.OpenGivenTypeName(channelType, name, RS_READONLY);
    if (result == RS_ROWS) {
        function.Name = set.m_Name;
        function.RangeType = set.m_RangeType;
        function.DefaultRange = set.m_DefaultRange;
        function.ResolutionType = set.m_ResolutionType;
        function.DefaultResolution = set.m_DefaultResolution;
        function.AdvSettingsType = static_cast<std::uint32_t>(set.m_AdvSettingsType);
        function.DefaultAdvSettings = set.m_DefaultAdvSettings;
    }
    set.Close();
    return static_cast<Result>(result);
}

IMeasurementLookup::Result DatabaseMeasurementLookup::Ranges(std::int32_t rangeType,
                                                             std::vector<std::string>& names) {
    CRSRange set(m_database);
    const std::int16_t result = set.OpenGivenType(rangeType, RS_READONLY);
    return Names(set, result, names);
}

IMeasurementLookup::Result DatabaseMeasurementLookup::Resolutions(std::int32_t resolutionType,
                                                                  std::vector<std::string>& names) {
    CRSResolution set(m_database);
    const std::int16_t result = set.OpenGivenType(resolutionType, RS_READONLY);
    return Names(set, result, names);
}
