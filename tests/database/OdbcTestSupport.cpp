#include "tests/database/OdbcTestSupport.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/database/SystemDriverSection.h"

namespace tvane::test {
namespace {

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

} // namespace

void InstallWorkspaceDriver(const TempHome& home) {
    const std::string section = SystemDriverSection();
    ASSERT_NE(section.find("Driver="), std::string::npos)
        << "The SQLite3 ODBC driver is not registered in /etc/odbcinst.ini"
        << "; these tests need the Debian packages unixodbc, odbcinst and libsqliteodbc.";
    std::ofstream(home.Path() / "odbcinst.ini") << section;
}

namespace {

std::string Run(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return "<cannot run sqlite3>";
    std::string output;
    std::array<char, 4096> buffer;
    while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), n);
    const int status = pclose(pipe);
    if (status != 0)
        output += "<exit status " + std::to_string(status) + ">";
    return output;
}

} // namespace

std::string Sqlite3(const std::filesystem::path& database, const std::string& sql) {
    return Run("sqlite3 -batch " + ShellQuote(database.string()) + " " + ShellQuote(sql) + " 2>&1");
}

std::string Isql(const std::string& dataSource, const std::string& sql) {
    return Run("echo " + ShellQuote(sql) + " | isql " + ShellQuote(dataSource) + " -b -d'|' 2>&1");
}

} // namespace tvane::test
