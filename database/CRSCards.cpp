#include "database/CRSCards.h"

#include "database/TableSupport.h"

std::int16_t CRSCards::OpenAll(std::int16_t options) {
    return OpenTable(options != 0 ? "{CALL Get_Cards}" : "Cards", options);
}

std::int16_t CRSCards::OpenGivenCard(const std::string& name, std::int16_t options) {
    m_NameParam = name;
    return OpenQuery("{CALL Get_CardsGivenCard (?)}", options);
}

bool CRSCards::FindCard(const std::string& name) {
    return tvane::FindRow(*this, [&] { return m_Name == name; });
}

void CRSCards::DoFieldExchange(tvane::FieldExchange& fx) {
    FieldText(fx, "Name", m_Name);
    FieldText(fx, "Description", m_Description);
    FieldLong(fx, "Channels", m_Channels);
}

void CRSCards::DoParamExchange(tvane::FieldExchange& fx) {
    FieldText(fx, "Name", m_NameParam);
}
