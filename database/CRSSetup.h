#pragma once
#include <cstdint>
#include <string>

#include "database/CRSTable.h"

// Table "Setup". The saved setups: one row per setup, its document file and dataset storage file.
class CRSSetup : public CRSTable {
public:
    explicit CRSSetup(tvane::OdbcDatabase* database) : CRSTable(database) {}

    std::int16_t OpenAll(std::int16_t options);
    std::int16_t OpenGivenSetup(const std::string& name, std::int16_t options);
    // Stops on the first row where "Name" with its trailing blanks removed equals `name`.
    bool FindSetup(const std::string& name);
    // Deletes the current row.
    std::int16_t DeleteRow();

    // Columns, in exchange order.
    std::string m_Name;
    std::int64_t m_DateTime = 0;
    std::string m_User;
    std::string m_Note;
    std::string m_SetupFile;
    std::string m_DatasetFile;
    // Parameters of the stored queries, in marker order.
    std::string m_SetupNameParam;

protected:
    std::string GetDefaultConnect() const override { return "ODBC;DSN=Tvane32;"; }
    std::string GetDefaultSQL() const override { return "Setup"; }
    void DoFieldExchange(tvane::FieldExchange& fx) override;
    void DoParamExchange(tvane::FieldExchange& fx) override;
};
