#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace tvane {

// One file of the seed: the schema, then the rows of the lookup tables.
struct SeedScript {
    const char* name;
    const char* sql;
};

// The seed scripts in the order they run (built into the library from sql/*.sql).
const std::vector<SeedScript>& SeedScripts();

// Splits a script into statements at the semicolons that stand outside quotes
// and comments; comments are dropped and empty statements skipped.
std::vector<std::string> SplitSqlStatements(const std::string& script);

// The ODBC driver the workspace database is created with.
inline constexpr const char* kWorkspaceDriver = "SQLite3";

// Creates the database file `path` from the seed through the ODBC driver
// `driver`. The file is built beside its place and renamed into it when complete,
// so a failure leaves no partial file. Throws DBException (driver failure) or
// tvane::Exception (the file is already there, or cannot be moved into place).
void CreateSeedDatabase(const std::filesystem::path& path,
                        const std::string& driver = kWorkspaceDriver);

} // namespace tvane
