#pragma once
#include <cstdint>
#include <string>

#include "database/CRSTable.h"

// Table "Dataset". The stored scan runs: one row per dataset of a setup.
class CRSDataset : public CRSTable {
public:
    explicit CRSDataset(tvane::OdbcDatabase* database) : CRSTable(database) {}

    std::int16_t OpenAll(std::int16_t options);
    std::int16_t OpenGivenSetup(const std::string& setup, std::int16_t options);
    std::int16_t OpenGivenSetupDataset(const std::string& setup, const std::string& name,
                                       std::int16_t options);
    // Stops on the first row where "SetupName" with its trailing blanks removed equals `setup`.
    bool FindSetup(const std::string& setup);
    // Stops on the first row where both names equal, exactly.
    bool FindDataset(const std::string& setup, const std::string& name);
    // Deletes the current row.
    std::int16_t DeleteRow();

    // Columns, in exchange order.
    std::string m_SetupName;
    std::string m_Name;
    std::int64_t m_DateTime = 0;
    std::string m_User;
    std::string m_Note;
    std::string m_DatasetKey;
    // Parameters of the stored queries, in marker order.
    std::string m_SetupNameParam;
    std::string m_NameParam;

protected:
    std::string GetDefaultConnect() const override { return "ODBC;DSN=Tvane32;"; }
    std::string GetDefaultSQL() const override { return "Dataset"; }
    void DoFieldExchange(tvane::FieldExchange& fx) override;
    void DoParamExchange(tvane::FieldExchange& fx) override;
};
