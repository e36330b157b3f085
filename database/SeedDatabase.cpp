#include "database/SeedDatabase.h"

#include <cctype>

#include "database/DBException.h"
#include "database/OdbcDatabase.h"
#include "database/OdbcSupport.h"
#include "platform/core/Exception.h"

namespace tvane {
namespace {

bool IsBlank(const std::string& text) {
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c)))
            return false;
    return true;
}

} // namespace

std::vector<std::string> SplitSqlStatements(const std::string& script) {
    std::vector<std::string> statements;
    std::string current;
    auto finish = [&] {
        if (!IsBlank(current))
            statements.push_back(current);
        current.clear();
    };
    const std::size_t n = script.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = script[i];
        if (c == '-' && i + 1 < n && script[i + 1] == '-') {
            while (i < n && script[i] != '\n')
                ++i;
            current += '\n';
        } else if (c == '/' && i + 1 < n && script[i + 1] == '*') {
            std::size_t end = script.find("*/", i + 2);
            i = end == std::string::npos ? n : end + 1;
            current += ' ';
        } else if (c == '\'' || c == '"') {
            // A quoted text or identifier; a doubled quote stays inside it.
            current += c;
            for (++i; i < n; ++i) {
                current += script[i];
                if (script[i] == c) {
                    if (i + 1 < n && script[i + 1] == c)
                        current += script[++i];
                    else
                        break;
                }
            }
        } else if (c == ';') {
            finish();
        } else {
            current += c;
        }
    }
    finish();
    return statements;
}

void CreateSeedDatabase(const std::filesystem::path& path, const std::string& driver) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec))
        throw Exception("the database " + path.string() + " already exists");
    std::filesystem::path building = path;
    building += ".new";
    std::filesystem::remove(building, ec);

    try {
        OdbcDatabase db;
        const std::string connect =
            "Driver=" + ConnectValue(driver) + ";Database=" + ConnectValue(building.string()) + ";";
        if (!db.Open({}, false, false, connect))
            throw DBException("08001", 0, db.LastError());
        db.BeginTrans();
        for (const auto& script : SeedScripts())
            for (const auto& statement : SplitSqlStatements(script.sql))
                db.ExecuteSQL(statement);
        db.CommitTrans();
        db.Close();
        std::filesystem::rename(building, path, ec);
        if (ec)
            throw Exception("cannot move the new database into " + path.string() + ": " +
                            ec.message());
    } catch (...) {
        std::filesystem::remove(building, ec);
        std::filesystem::remove(building.string() + "-journal", ec);
        throw;
    }
}

} // namespace tvane
