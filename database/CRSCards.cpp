#include "database/CRSCards.h"

#include "database/TableSupport.h"

CRSCards::~CRSCards() {
    if (m_opened) {
        CloseIfOpen();
        m_opened = 0;
    }
}

std::int16_t CRSCards::Close() {
    m_opened = 0;
    return CRSBase::Close();
}

std::int16_t CRSCards::OpenTable(const std::string& source, std::int16_t options) {
    const std::int16_t result = OpenSQL(source, options);
    if (result != RS_FAILED)
        m_opened = 1;
    return result;
}

std::int16_t CRSCards::OpenQuery(const std::string& call, std::int16_t options) {
    if (!Open(dynaset, call, static_cast<unsigned>(static_cast<int>(options))))
        return RS_FAILED;
    if (options == 0 && !CanUpdate())
        return RS_FAILED; // stays open until Close or destruction
    m_opened = 1;
    return IsBOF() && IsEOF() ? RS_EMPTY : RS_ROWS;
}

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
