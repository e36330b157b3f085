#pragma once
#include <filesystem>
#include <string>

#include "tests/support/TempHome.h"

namespace tvane::test {

// Registers the SQLite 3 ODBC driver in the test's private odbcinst.ini (the
// ODBCSYSINI folder of TempHome), copied from the system's registration. A test
// that needs the driver fails with a clear message when it is not installed.
void InstallWorkspaceDriver(const TempHome& home);

// Runs the sqlite3 command-line shell on a database file and returns what it
// printed (an independent reader of what the layer wrote).
std::string Sqlite3(const std::filesystem::path& database, const std::string& sql);

// Runs one statement with unixODBC's isql through a data source of the test's
// odbc.ini; columns separated by '|'.
std::string Isql(const std::string& dataSource, const std::string& sql);

// A fresh home with the driver registered.
class OdbcTest : public TempHomeTest {
protected:
    void SetUp() override { InstallWorkspaceDriver(home); }
};

} // namespace tvane::test
