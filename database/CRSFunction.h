#pragma once
#include <cstdint>
#include <string>

#include "database/CRSTable.h"

// Table "VTFunction". The measurement functions of each function type, with their defaults.
class CRSFunction : public CRSTable {
public:
    explicit CRSFunction(tvane::OdbcDatabase* database) : CRSTable(database) {}

    std::int16_t OpenAll(std::int16_t options);
    std::int16_t OpenGivenType(std::int32_t type, std::int16_t options);
    std::int16_t OpenGivenTypeName(std::int32_t type, const std::string& name,
                                   std::int16_t options);
    // Stops on the first row where the first row of the function `name`, whatever its type.
    bool FindName(const std::string& name);

    // Columns, in exchange order.
    std::int32_t m_Id = 0;
    std::int32_t m_Type = 0;
    std::string m_Name;
    std::int32_t m_RangeType = 0;
    std::string m_DefaultRange;
    std::int32_t m_ResolutionType = 0;
    std::string m_DefaultResolution;
    std::string m_DefaultUnits;
    std::int32_t m_AdvSettingsType = 0;
    std::string m_DefaultAdvSettings;
    double m_MinRange = 0.0;
    double m_MaxRange = 0.0;
    // Parameters of the stored queries, in marker order.
    std::int32_t m_TypeParam = 0;
    std::string m_NameParam;

protected:
    std::string GetDefaultConnect() const override { return "ODBC;DSN=Tvane32;"; }
    std::string GetDefaultSQL() const override { return "VTFunction"; }
    void DoFieldExchange(tvane::FieldExchange& fx) override;
    void DoParamExchange(tvane::FieldExchange& fx) override;
};
