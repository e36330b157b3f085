#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "database/FieldExchange.h"
#include "database/OdbcDatabase.h"

namespace tvane {

// A recordset over one connection (the class library's recordset). Open runs one
// plain statement and keeps every row in a client-side cache; moves walk the
// cache. A set opened on a table name is updatable: AddNew/Edit then Update, and
// Delete, run INSERT/UPDATE/DELETE by the row's identity. A set opened on a
// stored-query call ("{CALL name (?)}") or a SELECT text is read-only. Every
// value goes in as a bound parameter. Failures of the driver throw DBException.
class OdbcRecordset {
public:
    enum OpenType : unsigned { dynaset = 0, snapshot = 1, forwardOnly = 2 };
    enum Options : unsigned { none = 0x0, readOnly = 0x4 };

    explicit OdbcRecordset(OdbcDatabase* database);
    virtual ~OdbcRecordset();
    OdbcRecordset(const OdbcRecordset&) = delete;
    OdbcRecordset& operator=(const OdbcRecordset&) = delete;

    // `sql`: a table name, a call text, a SELECT, or empty for GetDefaultSQL().
    // False when the database is not open.
    virtual bool Open(unsigned openType = dynaset, const std::string& sql = {},
                      unsigned options = none);
    void Close();
    virtual bool Requery();

    bool IsOpen() const { return m_open; }
    bool IsBOF() const { return m_bof; }
    bool IsEOF() const { return m_eof; }
    bool CanUpdate() const { return m_open && m_updatable; }
    bool CanAppend() const { return CanUpdate(); }
    bool IsDeleted() const;
    // Rows seen so far, and whether that is all of them; the cache always holds
    // the whole result, so the count is final once the set is open.
    long GetRecordCount() const;
    bool IsCountFinal() const { return m_open; }

    void MoveFirst();
    void MoveNext();
    void MovePrev();
    void MoveLast();
    // Moves `rows` rows from the current one (0 reloads the current row).
    virtual void Move(long rows);

    virtual void AddNew();
    virtual void Edit();
    // Writes the new or edited row; false when an edit changed nothing.
    virtual bool Update();
    virtual void Delete();
    // Leaves AddNew/Edit without writing; the members get the current row back.
    void CancelUpdate();

    const std::string& GetSQL() const { return m_sql; }
    OdbcDatabase* Database() const { return m_pDatabase; }

protected:
    virtual std::string GetDefaultConnect() const { return "ODBC;"; }
    virtual std::string GetDefaultSQL() const { return {}; }
    // The bound columns, in exchange order.
    virtual void DoFieldExchange(FieldExchange& /*fx*/) {}
    // The parameters, in the order of the "?" markers.
    virtual void DoParamExchange(FieldExchange& /*fx*/) {}

    OdbcDatabase* m_pDatabase;

private:
    struct Row {
        std::string id;
        std::vector<FieldValue> values;
        bool deleted = false;
    };
    enum class EditMode { None, Edit, Add };

    std::vector<FieldColumn> Columns();
    std::string BuildSelect(const std::string& source, int& markers);
    void Fetch();
    void LoadCurrent();
    // Moves to the first live row from `from` in steps of `step`; past the end when none.
    void MoveToEnd(long from, long step);
    void RestoreAfterAdd();
    bool OnRow() const;
    std::string InsertRow(const std::vector<FieldValue>& values);
    void UpdateRow(Row& row, const std::vector<FieldValue>& values);

    bool m_open = false;
    bool m_updatable = false;
    bool m_bof = true;
    bool m_eof = true;
    bool m_hasRowId = false;
    std::string m_sql;    // what Open was given
    std::string m_select; // the statement run
    std::string m_table;  // set when opened on a table
    int m_markers = 0;    // parameter markers of the statement
    std::vector<FieldColumn> m_columns;
    std::vector<Row> m_rows;
    long m_pos = -1;
    EditMode m_editMode = EditMode::None;
    long m_posBeforeAdd = -1;
};

} // namespace tvane
