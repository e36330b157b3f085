#pragma once
#include <memory>
#include <string>

namespace tvane {

class OdbcEnvironment;

// How the connected database names a row's identity; the recordsets update and
// delete rows through it. SQLite has "rowid"; PostgreSQL has "ctid", which moves
// when a row is rewritten, so there the statements hand the new identity back.
struct SqlDialect {
    std::string rowId = "rowid";
    std::string rowIdMatch = "rowid = CAST(? AS INTEGER)";
    // Non-empty: appended to INSERT and UPDATE to read the row's (new) identity.
    std::string returningRowId;
    // Used after an INSERT when returningRowId is empty.
    std::string lastInsertRowId = "SELECT last_insert_rowid()";
};

// One ODBC connection (the class library's database object). Statements run on it
// through OdbcRecordset and ExecuteSQL. Not copyable; closed on destruction.
class OdbcDatabase {
public:
    OdbcDatabase();
    virtual ~OdbcDatabase();
    OdbcDatabase(const OdbcDatabase&) = delete;
    OdbcDatabase& operator=(const OdbcDatabase&) = delete;

    // Connects through the data source `dsn` (may be empty when `connect` names a
    // driver). `connect` may start with "ODBC;" and add attributes ("DSN=...;").
    // False when the driver manager or driver refuses the connection; LastError()
    // then holds its diagnostic. A read-only open gives a set that cannot update.
    virtual bool Open(const std::string& dsn, bool exclusive = false, bool readOnly = false,
                      const std::string& connect = "ODBC;", bool useCursorLib = true);
    virtual void Close();

    bool IsOpen() const { return m_dbc != nullptr; }
    bool CanUpdate() const { return IsOpen() && m_updatable; }
    // The database name the driver reports (SQLite: the file path).
    std::string GetDatabaseName() const;
    // The connect string the driver completed (without any password).
    const std::string& GetConnect() const { return m_connect; }
    const std::string& LastError() const { return m_lastError; }
    const SqlDialect& Dialect() const { return m_dialect; }

    // Runs one statement that returns no rows. Throws DBException on failure.
    void ExecuteSQL(const std::string& sql);
    // Transactions over several statements (the seed creation).
    void BeginTrans();
    void CommitTrans();
    void Rollback();

    // The raw connection handle, for the recordsets.
    void* Handle() const { return m_dbc; }

private:
    std::shared_ptr<OdbcEnvironment> m_env;
    void* m_dbc = nullptr;
    bool m_updatable = false;
    std::string m_connect;
    std::string m_lastError;
    SqlDialect m_dialect;
};

} // namespace tvane
