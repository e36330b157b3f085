#include "database/CRSRange.h"

#include "database/TableSupport.h"

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
