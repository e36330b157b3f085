#pragma once
#include <memory>

#include "database/CRSFunction.h"
#include "scan/ISetupLookup.h"

// The setup model's lookup tables over the workspace: CardData rows by model and
// channel, VTFunction rows by name or type, and the range and resolution texts
// by type (each list in the order of its stored query). The function table stays open from
// OpenFunctions until the next OpenFunctions or destruction.
class DatabaseSetupLookup final : public ISetupLookup {
public:
    explicit DatabaseSetupLookup(tvane::OdbcDatabase* database) : m_database(database) {}

    OpenResult OpenGivenCardChannel(const std::string& module, std::int32_t channel,
                                    CardDataRow& row) override;
    OpenResult OpenFunctions() override;
    bool FindFunction(const std::string& name, FunctionRow& row) override;
    OpenResult OpenFunctionsGivenType(std::uint32_t type, std::vector<FunctionRow>& rows) override;
    OpenResult OpenFunctionGivenTypeName(std::uint32_t type, const std::string& name,
                                         FunctionRow& row) override;
    OpenResult OpenRangesGivenType(std::int32_t type, std::vector<std::string>& names) override;
    OpenResult OpenResolutionsGivenType(std::int32_t type,
                                        std::vector<std::string>& names) override;

private:
    tvane::OdbcDatabase* m_database;
    std::unique_ptr<CRSFunction> m_functions;
};
