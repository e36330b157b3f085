#include "database/CRSSetup.h"

#include "database/TableSupport.h"

std::int16_t CRSSetup::OpenAll(std::int16_t options) {
    return OpenTable(options != 0 ? "{CALL Get_Setup}" : "Setup", options);
}

std::int16_t CRSSetup::OpenGivenSetup(const std::string& name, std::int16_t options) {
    m_SetupNameParam = name;
    return OpenQuery("{CALL Get_SetupGivenSetup (?)}", options);
}

bool CRSSetup::FindSetup(const std::string& name) {
    return tvane::FindRow(*this, [&] {
        tvane::TrimRight(m_Name);
        return m_Name == name;
    });
}

std::int16_t CRSSetup::DeleteRow() {
    Delete();
    return 1;
}

void CRSSetup::DoFieldExchange(tvane::FieldExchange& fx) {
    FieldText(fx, "Name", m_Name);
    FieldDate(fx, "DateTime", m_DateTime);
    FieldText(fx, "User", m_User);
    FieldText(fx, "Note", m_Note);
    FieldText(fx, "SetupFile", m_SetupFile);
    FieldText(fx, "DatasetFile", m_DatasetFile);
}

void CRSSetup::DoParamExchange(tvane::FieldExchange& fx) {
    FieldText(fx, "SetupName", m_SetupNameParam);
}
