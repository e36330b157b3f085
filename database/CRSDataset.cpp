#include "database/CRSDataset.h"

#include "database/TableSupport.h"

std::int16_t CRSDataset::OpenAll(std::int16_t options) {
    return OpenTable("Dataset", options);
}

std::int16_t CRSDataset::OpenGivenSetup(const std::string& setup, std::int16_t options) {
    m_SetupNameParam = setup;
    return OpenQuery("{CALL Get_DatasetGivenSetup (?)}", options);
}

std::int16_t CRSDataset::OpenGivenSetupDataset(const std::string& setup, const std::string& name,
                                               std::int16_t options) {
    m_SetupNameParam = setup;
    m_NameParam = name;
    return OpenQuery("{CALL Get_DatasetGivenSetupDataset (?,?)}", options);
}

bool CRSDataset::FindSetup(const std::string& setup) {
    return tvane::FindRow(*this, [&] {
        tvane::TrimRight(m_SetupName);
        return m_SetupName == setup;
    });
}

bool CRSDataset::FindDataset(const std::string& setup, const std::string& name) {
    return tvane::FindRow(*this, [&] { return m_SetupName == setup && m_Name == name; });
}

std::int16_t CRSDataset::DeleteRow() {
    Delete();
    return 1;
}

void CRSDataset::DoFieldExchange(tvane::FieldExchange& fx) {
    FieldText(fx, "SetupName", m_SetupName);
    FieldText(fx, "Name", m_Name);
    FieldDate(fx, "DateTime", m_DateTime);
    FieldText(fx, "User", m_User);
    FieldText(fx, "Note", m_Note);
    FieldText(fx, "DatasetKey", m_DatasetKey);
}

void CRSDataset::DoParamExchange(tvane::FieldExchange& fx) {
    FieldText(fx, "SetupName", m_SetupNameParam);
    FieldText(fx, "Name", m_NameParam);
}
