#include "database/CRSFunction.h"

#include "database/TableSupport.h"

std::int16_t CRSFunction::OpenAll(std::int16_t options) {
    return OpenTable("VTFunction", options);
}

std::int16_t CRSFunction::OpenGivenType(std::int32_t type, std::int16_t options) {
    m_TypeParam = type;
    return OpenQuery("{CALL Get_VTFunctionGivenType (?)}", options);
}

std::int16_t CRSFunction::OpenGivenTypeName(std::int32_t type, const std::string& name,
                                            std::int16_t options) {
    m_TypeParam = type;
    m_NameParam = name;
    return OpenQuery("{CALL Get_VTFunctionGivenTypeName (?,?)}", options);
}

bool CRSFunction::FindName(const std::string& name) {
    return tvane::FindRow(*this, [&] { return m_Name == name; });
}

void CRSFunction::DoFieldExchange(tvane::FieldExchange& fx) {
    FieldLong(fx, "Id", m_Id);
    FieldLong(fx, "Type", m_Type);
    FieldText(fx, "Name", m_Name);
    FieldLong(fx, "RangeType", m_RangeType);
    FieldText(fx, "DefaultRange", m_DefaultRange);
    FieldLong(fx, "ResolutionType", m_ResolutionType);
    FieldText(fx, "DefaultResolution", m_DefaultResolution);
    FieldText(fx, "DefaultUnits", m_DefaultUnits);
    FieldLong(fx, "AdvSettingsType", m_AdvSettingsType);
    FieldText(fx, "DefaultAdvSettings", m_DefaultAdvSettings);
    FieldDouble(fx, "MinRange", m_MinRange);
    FieldDouble(fx, "MaxRange", m_MaxRange);
}

void CRSFunction::DoParamExchange(tvane::FieldExchange& fx) {
    FieldLong(fx, "Type", m_TypeParam);
    FieldText(fx, "Name", m_NameParam);
}
