#include "database/CRSRange.h"

#include "database/TableSupport.h"

CRSRange::~CRSRange() {
    if (m_opened) {
        CloseIfOpen();
        m_opened = 0;
    }
}

std::int16_t CRSRange::Close() {
    m_opened = 0;
    return CRSBase::Close();
}

std::int16_t CRSRange::OpenTable(const std::string& source, std::int16_t options) {
    const std::int16_t result = OpenSQL(source, options);
    if (result != RS_FAILED)
        m_opened = 1;
    return result;
}

std::int16_t CRSRange::OpenQuery(const std::string& call, std::int16_t options) {
    if (!Open(dynaset, call, static_cast<unsigned>(static_cast<int>(options))))
        return RS_FAILED;
    if (options == 0 && !CanUpdate())
        return RS_FAILED; // stays open until Close or destruction
    m_opened = 1;
    return IsBOF() && IsEOF() ? RS_EMPTY : RS_ROWS;
}

std::int16_t CRSRange::OpenAll(std::int16_t options) {
    return OpenTable("VTRange", options);
}

std::int16_t CRSRange::OpenGivenType(std::int32_t type, std::int16_t options) {
    m_TypeParam = type;
    return OpenQuery("{CALL Get_VTRangeGivenType (?)}", options);
}

void CRSRange::DoFieldExchange(tvane::FieldExchange& fx) {
    FieldLong(fx, "Id", m_Id);
    FieldLong(fx, "Type", m_Type);
    FieldText(fx, "Name", m_Name);
}

void CRSRange::DoParamExchange(tvane::FieldExchange& fx) {
    FieldLong(fx, "Type", m_TypeParam);
}
