#include "database/CRSSetup.h"

#include "database/TableSupport.h"

CRSSetup::~CRSSetup() {
    if (m_opened) {
        CloseIfOpen();
        m_opened = 0;
    }
}

std::int16_t CRSSetup::Close() {
    m_opened = 0;
    return CRSBase::Close();
}

std::int16_t CRSSetup::OpenTable(const std::string& source, std::int16_t options) {
    const std::int16_t result = OpenSQL(source, options);
    if (result != RS_FAILED)
        m_opened = 1;
    return result;
}

std::int16_t CRSSetup::OpenQuery(const std::string& call, std::int16_t options) {
    if (!Open(dynaset, call, static_cast<unsigned>(static_cast<int>(options))))
        return RS_FAILED;
    if (options == 0 && !CanUpdate())
        return RS_FAILED; // stays open until Close or destruction
    m_opened = 1;
    return IsBOF() && IsEOF() ? RS_EMPTY : RS_ROWS;
}

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
