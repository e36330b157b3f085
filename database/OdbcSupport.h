#pragma once
// Internal helpers of the ODBC layer; include only from its .cpp files.
#include <sql.h>
#include <sqlext.h>

#include <memory>
#include <string>

#include "database/DBException.h"

namespace tvane {

// The process's ODBC environment, shared by every open connection and freed with
// the last of them.
class OdbcEnvironment {
public:
    static std::shared_ptr<OdbcEnvironment> Get();
    ~OdbcEnvironment();
    SQLHENV Handle() const { return m_env; }

private:
    OdbcEnvironment();
    SQLHENV m_env = SQL_NULL_HENV;
};

// The first diagnostic record of a handle, as a DBException.
DBException DiagnosticOf(SQLSMALLINT type, SQLHANDLE handle, const std::string& fallback);

// Throws the handle's diagnostic unless rc is a success code.
inline void Check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char* what) {
    if (!SQL_SUCCEEDED(rc))
        throw DiagnosticOf(type, handle, what);
}

// A connect-string attribute value, in braces when it holds a separator, so a
// name or path can never add attributes of its own.
std::string ConnectValue(const std::string& value);

// "Name" -> "\"Name\"", doubling embedded quotes.
std::string QuoteIdentifier(const std::string& name);

} // namespace tvane
