#include "database/CRSCardData.h"

#include "database/TableSupport.h"

std::int16_t CRSCardData::OpenAll(std::int16_t options) {
    return OpenTable("CardData", options);
}

std::int16_t CRSCardData::OpenGivenCard(const std::string& name, std::int16_t options) {
    m_NameParam = name;
    return OpenQuery("{CALL Get_CardDataGivenCard (?)}", options);
}

std::int16_t CRSCardData::OpenGivenCardChannel(const std::string& name, std::int32_t channel,
                                               std::int16_t options) {
    m_NameParam = name;
    m_ChannelIdParam = channel;
    return OpenQuery("{CALL Get_CardDataGivenCardChannel (?,?)}", options);
}

bool CRSCardData::FindCard(const std::string& name) {
    return tvane::FindRow(*this, [&] { return m_Name == name; });
}

void CRSCardData::DoFieldExchange(tvane::FieldExchange& fx) {
    FieldText(fx, "Name", m_Name);
    FieldLong(fx, "ChannelId", m_ChannelId);
    FieldText(fx, "ChannelName", m_ChannelName);
    FieldBool(fx, "ChannelMode", m_ChannelMode);
    FieldText(fx, "Function", m_Function);
    FieldText(fx, "Range", m_Range);
    FieldText(fx, "Resolution", m_Resolution);
    FieldBool(fx, "Scaling", m_Scaling);
    FieldText(fx, "Gain", m_Gain);
    FieldText(fx, "Offset", m_Offset);
    FieldText(fx, "Units", m_Units);
    FieldText(fx, "Alarms", m_Alarms);
    FieldText(fx, "AlarmHi", m_AlarmHi);
    FieldText(fx, "AlarmLo", m_AlarmLo);
    FieldText(fx, "AlarmEvent", m_AlarmEvent);
    FieldText(fx, "Comment", m_Comment);
    FieldLong(fx, "FunctionType", m_FunctionType);
}

void CRSCardData::DoParamExchange(tvane::FieldExchange& fx) {
    FieldText(fx, "Name", m_NameParam);
    FieldLong(fx, "ChannelId", m_ChannelIdParam);
}
