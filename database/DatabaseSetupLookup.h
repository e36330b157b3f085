#pragma once
#include <memory>

#include "database/CRSFunction.h"
#include "scan/ISetupLookup.h"

// The setup model's lookup tables over the workspace: CardData rows by model and
// channel, and VTFunction rows by name. The function table stays open from
// OpenFunctions until the next OpenFunctions or destruction.
class DatabaseSetupLookup final : public ISetupLookup {
public:
    explicit DatabaseSetupLookup(tvane::OdbcDatabase* database) : m_database(database) {}

    OpenResult OpenGivenCardChannel(const std::string& module, std::int32_t channel,
                                    CardDataRow& row) override;
    OpenResult OpenFunctions() override;
    bool FindFunction(const std::string& name, FunctionRow& row) override;

private:
    tvane::OdbcDatabase* m_database;
    std::unique_ptr<CRSFunction> m_functions;
};
