#pragma once
#include <cstdint>
#include <string>

#include "database/CRSTable.h"

// Table "VTRange". The range texts offered for one range type.
class CRSRange : public CRSTable {
public:
    explicit CRSRange(tvane::OdbcDatabase* database) : CRSTable(database) {}

    std::int16_t OpenAll(std::int16_t options);
    std::int16_t OpenGivenType(std::int32_t type, std::int16_t options);

    // Columns, in exchange order.
    std::int32_t m_Id = 0;
    std::int32_t m_Type = 0;
    std::string m_Name;
    // Parameters of the stored queries, in marker order.
    std::int32_t m_TypeParam = 0;

protected:
    std::string GetDefaultConnect() const override { return "ODBC;DSN=Tvane32;"; }
    std::string GetDefaultSQL() const override { return "VTRange"; }
    void DoFieldExchange(tvane::FieldExchange& fx) override;
    void DoParamExchange(tvane::FieldExchange& fx) override;
};
