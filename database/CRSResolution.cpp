#include "database/CRSResolution.h"

#include "database/TableSupport.h"

std::int16_t CRSResolution::OpenAll(std::int16_t options) {
    return OpenTable("VTResolution", options);
}

std::int16_t CRSResolution::OpenGivenType(std::int32_t type, std::int16_t options) {
    m_TypeParam = type;
    return OpenQuery("{CALL Get_VTResolutionGivenType (?)}", options);
}

void CRSResolution::DoFieldExchange(tvane::FieldExchange& fx) {
    FieldLong(fx, "Id", m_Id);
    FieldLong(fx, "Type", m_Type);
    FieldText(fx, "Name", m_Name);
}

void CRSResolution::DoParamExchange(tvane::FieldExchange& fx) {
    FieldLong(fx, "Type", m_TypeParam);
}
