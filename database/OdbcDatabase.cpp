#include "database/OdbcDatabase.h"

#include <cctype>
#include <mutex>

#include "database/OdbcSupport.h"

namespace tvane {

OdbcEnvironment::OdbcEnvironment() {
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env)))
        throw DBException("HY001", 0, "cannot allocate the ODBC environment");
    SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
}

OdbcEnvironment::~OdbcEnvironment() {
    SQLFreeHandle(SQL_HANDLE_ENV, m_env);
}

std::shared_ptr<OdbcEnvironment> OdbcEnvironment::Get() {
    static std::mutex mutex;
    static std::weak_ptr<OdbcEnvironment> shared;
    std::lock_guard lock(mutex);
    auto env = shared.lock();
    if (!env) {
        env.reset(new OdbcEnvironment);
        shared = env;
    }
    return env;
}

DBException DiagnosticOf(SQLSMALLINT type, SQLHANDLE handle, const std::string& fallback) {
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[1024] = {};
    SQLSMALLINT length = 0;
    if (handle && SQL_SUCCEEDED(SQLGetDiagRec(type, handle, 1, state, &native, message,
                                              sizeof message, &length)))
        return DBException(reinterpret_cast<char*>(state), static_cast<int>(native),
                           reinterpret_cast<char*>(message));
    return DBException("HY000", 0, fallback);
}

std::string ConnectValue(const std::string& value) {
    if (value.find_first_of(";{}=") == std::string::npos)
        return value;
    std::string braced = "{";
    for (char c : value) {
        braced += c;
        if (c == '}')
            braced += '}';
    }
    return braced + "}";
}

std::string QuoteIdentifier(const std::string& name) {
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

namespace {

std::string InfoText(SQLHDBC dbc, SQLUSMALLINT item) {
    SQLCHAR buffer[1024] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(dbc, item, buffer, sizeof buffer, &length)))
        return {};
    return reinterpret_cast<char*>(buffer);
}

// Drops PWD=...; so that the kept connect string never holds a password.
std::string WithoutPassword(const std::string& connect) {
    std::string out;
    std::size_t pos = 0;
    while (pos < connect.size()) {
        std::size_t end = connect.find(';', pos);
        if (end == std::string::npos)
            end = connect.size();
        std::string part = connect.substr(pos, end - pos);
        std::string key = part.substr(0, part.find('='));
        for (auto& c : key)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (key != "PWD" && !part.empty())
            out += part + ";";
        pos = end + 1;
    }
    return out;
}

} // namespace

OdbcDatabase::OdbcDatabase() = default;

OdbcDatabase::~OdbcDatabase() {
    Close();
}

bool OdbcDatabase::Open(const std::string& dsn, bool /*exclusive*/, bool readOnly,
                        const std::string& connect, bool /*useCursorLib*/) {
    Close();
    m_lastError.clear();
    std::string attributes = connect;
    if (attributes.rfind("ODBC;", 0) == 0)
        attributes.erase(0, 5);
    std::string full;
    if (!dsn.empty())
        full = "DSN=" + ConnectValue(dsn) + ";";
    full += attributes;

    m_env = OdbcEnvironment::Get();
    SQLHDBC dbc = SQL_NULL_HDBC;
    Check(SQLAllocHandle(SQL_HANDLE_DBC, m_env->Handle(), &dbc), SQL_HANDLE_ENV, m_env->Handle(),
          "cannot allocate a connection");
    if (readOnly)
        SQLSetConnectAttr(dbc, SQL_ATTR_ACCESS_MODE,
                          reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0);
    SQLCHAR completed[2048] = {};
    SQLSMALLINT completedLength = 0;
    SQLRETURN rc = SQLDriverConnect(
        dbc, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(full.c_str())), SQL_NTS,
        completed, sizeof completed, &completedLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        m_lastError = DiagnosticOf(SQL_HANDLE_DBC, dbc, "connection failed").what();
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        m_env.reset();
        return false;
    }
    m_dbc = dbc;
    m_connect = WithoutPassword(reinterpret_cast<char*>(completed));
    m_updatable = !readOnly && InfoText(dbc, SQL_DATA_SOURCE_READ_ONLY) != "Y";

    m_dialect = SqlDialect{};
    if (InfoText(dbc, SQL_DBMS_NAME) == "PostgreSQL") {
        m_dialect.rowId = "ctid";
        m_dialect.rowIdMatch = "ctid = CAST(? AS tid)";
        m_dialect.returningRowId = " RETURNING ctid";
        m_dialect.lastInsertRowId.clear();
    }
    return true;
}

void OdbcDatabase::Close() {
    if (m_dbc) {
        SQLEndTran(SQL_HANDLE_DBC, m_dbc, SQL_ROLLBACK);
        SQLDisconnect(m_dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        m_dbc = nullptr;
    }
    m_env.reset();
    m_updatable = false;
    m_connect.clear();
}

std::string OdbcDatabase::GetDatabaseName() const {
    return m_dbc ? InfoText(m_dbc, SQL_DATABASE_NAME) : std::string();
}

void OdbcDatabase::ExecuteSQL(const std::string& sql) {
    if (!m_dbc)
        throw DBException("08003", 0, "the database is not open");
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    Check(SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &stmt), SQL_HANDLE_DBC, m_dbc,
          "cannot allocate a statement");
    SQLRETURN rc =
        SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS);
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
        DBException error = DiagnosticOf(SQL_HANDLE_STMT, stmt, "statement failed");
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        throw error;
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
}

void OdbcDatabase::BeginTrans() {
    if (!m_dbc)
        throw DBException("08003", 0, "the database is not open");
    Check(SQLSetConnectAttr(m_dbc, SQL_ATTR_AUTOCOMMIT,
                            reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
          SQL_HANDLE_DBC, m_dbc, "cannot start a transaction");
}

void OdbcDatabase::CommitTrans() {
    if (!m_dbc)
        throw DBException("08003", 0, "the database is not open");
    Check(SQLEndTran(SQL_HANDLE_DBC, m_dbc, SQL_COMMIT), SQL_HANDLE_DBC, m_dbc, "commit failed");
    SQLSetConnectAttr(m_dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                      0);
}

void OdbcDatabase::Rollback() {
    if (!m_dbc)
        return;
    SQLEndTran(SQL_HANDLE_DBC, m_dbc, SQL_ROLLBACK);
    SQLSetConnectAttr(m_dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                      0);
}

} // namespace tvane
