#include "database/DatabaseSetupLookup.h"

#include "database/CRSCardData.h"
#include "database/CRSRange.h"
#include "database/CRSResolution.h"

namespace {

void ReadFunction(const CRSFunction& set, FunctionRow& row) {
    row.Name = set.m_Name;
    row.Type = static_cast<std::uint32_t>(set.m_Type);
    row.AdvSettingsType = static_cast<std::uint32_t>(set.m_AdvSettingsType);
    row.DefaultAdvSettings = set.m_DefaultAdvSettings;
    row.RangeType = set.m_RangeType;
    row.DefaultRange = set.m_DefaultRange;
    row.ResolutionType = set.m_ResolutionType;
    row.DefaultResolution = set.m_DefaultResolution;
    row.DefaultUnits = set.m_DefaultUnits;
}

// The names of an opened type table, each row in turn; the set is closed.
template <class Set>
ISetupLookup::OpenResult ReadNames(Set& set, std::int16_t result, std::vector<std::string>& names) {
    names.clear();
    if (result == RS_ROWS)
        for (set.MoveRecord(RS_MOVE_FIRST); !set.IsEOF(); set.MoveRecord(RS_MOVE_NEXT))
            names.push_back(set.m_Name);
    set.Close();
    return static_cast<ISetupLookup::OpenResult>(result);
}

} // namespace

ISetupLookup::OpenResult DatabaseSetupLookup::OpenGivenCardChannel(const std::string& module,
                                                                   std::int32_t channel,
                                                                   CardDataRow& row) {
    CRSCardData set(m_database);
    const std::int16_t result = set.OpenGivenCardChannel(module, channel, RS_READONLY);
    if (result == RS_ROWS) {
        row.ChannelName = set.m_ChannelName;
        row.ChannelMode = set.m_ChannelMode ? 1 : 0;
        row.Function = set.m_Function;
        row.Range = set.m_Range;
        row.Resolution = set.m_Resolution;
        row.Scaling = set.m_Scaling ? 1 : 0;
        row.Gain = set.m_Gain;
        row.Offset = set.m_Offset;
        row.Units = set.m_Units;
        row.Alarms = set.m_Alarms;
        row.AlarmHi = set.m_AlarmHi;
        row.AlarmLo = set.m_AlarmLo;
        row.AlarmEvent = set.m_AlarmEvent;
        row.Comment = set.m_Comment;
        row.FunctionType = static_cast<std::uint32_t>(set.m_FunctionType);
    }
    set.Close();
    return static_cast<OpenResult>(result);
}

ISetupLookup::OpenResult DatabaseSetupLookup::OpenFunctions() {
    m_functions = std::make_unique<CRSFunction>(m_database);
    return static_cast<OpenResult>(m_functions->OpenAll(RS_READONLY));
}

bool DatabaseSetupLookup::FindFunction(const std::string& name, FunctionRow& row) {
    if (!m_functions || !m_functions->IsOpen() || !m_functions->FindName(name))
        return false;
    ReadFunction(*m_functions, row);
    return true;
}

ISetupLookup::OpenResult
DatabaseSetupLookup::OpenFunctionsGivenType(std::uint32_t type, std::vector<FunctionRow>& rows) {
    rows.clear();
    CRSFunction set(m_database);
    const std::int16_t result = set.OpenGivenType(static_cast<std::int32_t>(type), RS_READONLY);
    if (result == RS_ROWS)
        for (set.MoveRecord(RS_MOVE_FIRST); !set.IsEOF(); set.MoveRecord(RS_MOVE_NEXT))
            ReadFunction(set, rows.emplace_back());
    set.Close();
    return static_cast<OpenResult>(result);
}

ISetupLookup::OpenResult DatabaseSetupLookup::OpenFunctionGivenTypeName(std::uint32_t type,
                                                                        const std::string& name,
                                                                        FunctionRow& row) {
    CRSFunction set(m_database);
    const std::int16_t result =
        set.OpenGivenTypeName(static_cast<std::int32_t>(type), name, RS_READONLY);
    if (result == RS_ROWS)
        ReadFunction(set, row);
    set.Close();
    return static_cast<OpenResult>(result);
}

ISetupLookup::OpenResult DatabaseSetupLookup::OpenRangesGivenType(std::int32_t type,
                                                                  std::vector<std::string>& names) {
    CRSRange set(m_database);
    return ReadNames(set, set.OpenGivenType(type, RS_READONLY), names);
}

ISetupLookup::OpenResult
DatabaseSetupLookup::OpenResolutionsGivenType(std::int32_t type, std::vector<std::string>& names) {
    CRSResolution set(m_database);
    return ReadNames(set, set.OpenGivenType(type, RS_READONLY), names);
}
