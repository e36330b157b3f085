#include "database/DatabaseSetupLookup.h"

#include "database/CRSCardData.h"

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
    row.Name = m_functions->m_Name;
    row.AdvSettingsType = static_cast<std::uint32_t>(m_functions->m_AdvSettingsType);
    row.DefaultAdvSettings = m_functions->m_DefaultAdvSettings;
    return true;
}
