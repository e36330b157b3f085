#pragma once
#include <cstdint>
#include <string>

#include "database/CRSTable.h"

// Table "Cards". The module models: one row per model with its channel count.
class CRSCards : public CRSTable {
public:
    explicit CRSCards(tvane::OdbcDatabase* database) : CRSTable(database) {}

    std::int16_t OpenAll(std::int16_t options);
    std::int16_t OpenGivenCard(const std::string& name, std::int16_t options);
    // Stops on the first row where "Name" equals `name`.
    bool FindCard(const std::string& name);

    // Columns, in exchange order.
    std::string m_Name;
    std::string m_Description;
    std::int32_t m_Channels = 0;
    // Parameters of the stored queries, in marker order.
    std::string m_NameParam;

protected:
    std::string GetDefaultConnect() const override { return "ODBC;DSN=Tvane32;"; }
    std::string GetDefaultSQL() const override { return "Cards"; }
    void DoFieldExchange(tvane::FieldExchange& fx) override;
    void DoParamExchange(tvane::FieldExchange& fx) override;
};
