#include "database/OdbcRecordset.h"

#include <cctype>
#include <deque>

#include "database/OdbcSupport.h"
#include "database/StoredQueries.h"
#include "platform/core/Clock.h"

namespace tvane {
namespace {

bool IsTableName(const std::string& text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
            return false;
    return true;
}

bool IsSelect(const std::string& text) {
    std::size_t i = text.find_first_not_of(" \t\r\n");
    if (i == std::string::npos || text.size() - i < 6)
        return false;
    for (std::size_t k = 0; k < 6; ++k)
        if (std::toupper(static_cast<unsigned char>(text[i + k])) != "SELECT"[k])
            return false;
    return true;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t pos = text.find(from); pos != std::string::npos;
         pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
}

SQL_TIMESTAMP_STRUCT ToTimestamp(std::int64_t seconds) {
    LocalTime t = ToLocalTime(seconds);
    SQL_TIMESTAMP_STRUCT ts{};
    ts.year = static_cast<SQLSMALLINT>(t.year);
    ts.month = static_cast<SQLUSMALLINT>(t.month);
    ts.day = static_cast<SQLUSMALLINT>(t.day);
    ts.hour = static_cast<SQLUSMALLINT>(t.hour);
    ts.minute = static_cast<SQLUSMALLINT>(t.minute);
    ts.second = static_cast<SQLUSMALLINT>(t.second);
    return ts;
}

std::int64_t FromTimestamp(const SQL_TIMESTAMP_STRUCT& ts) {
    LocalTime t;
    t.year = ts.year;
    t.month = ts.month;
    t.day = ts.day;
    t.hour = ts.hour;
    t.minute = ts.minute;
    t.second = ts.second;
    return FromLocalTime(t);
}

// One prepared statement with its parameter buffers, freed on destruction.
class Statement {
public:
    explicit Statement(SQLHDBC dbc) {
        Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &m_stmt), SQL_HANDLE_DBC, dbc,
              "cannot allocate a statement");
    }
    ~Statement() { SQLFreeHandle(SQL_HANDLE_STMT, m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void Prepare(const std::string& sql) {
        m_sql = sql;
        Check(SQLPrepare(m_stmt, reinterpret_cast<SQLCHAR*>(m_sql.data()), SQL_NTS),
              SQL_HANDLE_STMT, m_stmt, "prepare failed");
    }

    void Bind(const FieldValue& value, FieldType type) {
        Param& p = m_params.emplace_back();
        const auto number = static_cast<SQLUSMALLINT>(m_params.size());
        SQLSMALLINT cType = SQL_C_CHAR, sqlType = SQL_VARCHAR;
        SQLULEN size = 1;
        SQLSMALLINT digits = 0;
        SQLPOINTER data = nullptr;
        SQLLEN bufferLength = 0;
        switch (type) {
        case FieldType::Text:
            if (auto* s = std::get_if<std::string>(&value))
                p.text = *s;
            cType = SQL_C_CHAR;
            sqlType = SQL_VARCHAR;
            size = p.text.empty() ? 1 : p.text.size();
            data = p.text.data();
            bufferLength = static_cast<SQLLEN>(p.text.size());
            p.indicator = bufferLength;
            break;
        case FieldType::Long:
            if (auto* v = std::get_if<std::int32_t>(&value))
                p.integer = *v;
            cType = SQL_C_SLONG;
            sqlType = SQL_INTEGER;
            size = 10;
            data = &p.integer;
            break;
        case FieldType::Bool:
            if (auto* v = std::get_if<bool>(&value))
                p.bit = *v ? 1 : 0;
            cType = SQL_C_BIT;
            sqlType = SQL_BIT;
            data = &p.bit;
            break;
        case FieldType::Double:
            if (auto* v = std::get_if<double>(&value))
                p.real = *v;
            cType = SQL_C_DOUBLE;
            sqlType = SQL_DOUBLE;
            size = 15;
            data = &p.real;
            break;
        case FieldType::Date:
            if (auto* v = std::get_if<std::int64_t>(&value))
                p.timestamp = ToTimestamp(*v);
            cType = SQL_C_TYPE_TIMESTAMP;
            sqlType = SQL_TYPE_TIMESTAMP;
            size = 19;
            data = &p.timestamp;
            break;
        }
        if (std::holds_alternative<std::monostate>(value))
            p.indicator = SQL_NULL_DATA;
        Check(SQLBindParameter(m_stmt, number, SQL_PARAM_INPUT, cType, sqlType, size, digits, data,
                               bufferLength, &p.indicator),
              SQL_HANDLE_STMT, m_stmt, "cannot bind a parameter");
    }

    void Execute() {
        SQLRETURN rc = SQLExecute(m_stmt);
        if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA)
            throw DiagnosticOf(SQL_HANDLE_STMT, m_stmt, "statement failed");
    }

    SQLLEN RowCount() {
        SQLLEN count = -1;
        SQLRowCount(m_stmt, &count);
        return count;
    }

    bool Fetch() {
        SQLRETURN rc = SQLFetch(m_stmt);
        if (rc == SQL_NO_DATA)
            return false;
        Check(rc, SQL_HANDLE_STMT, m_stmt, "fetch failed");
        return true;
    }

    int ColumnCount() {
        SQLSMALLINT count = 0;
        Check(SQLNumResultCols(m_stmt, &count), SQL_HANDLE_STMT, m_stmt, "no result columns");
        return count;
    }

    // The column as text; false for NULL.
    bool GetText(SQLUSMALLINT column, std::string& text) {
        text.clear();
        char buffer[512];
        for (;;) {
            SQLLEN indicator = 0;
            SQLRETURN rc =
                SQLGetData(m_stmt, column, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
            if (rc == SQL_NO_DATA)
                return true;
            Check(rc, SQL_HANDLE_STMT, m_stmt, "cannot read a column");
            if (indicator == SQL_NULL_DATA)
                return false;
            if (rc == SQL_SUCCESS) {
                text += buffer;
                return true;
            }
            text.append(buffer, sizeof buffer - 1); // truncated: more follows
        }
    }

    FieldValue Get(SQLUSMALLINT column, const FieldColumn& info) {
        SQLLEN indicator = 0;
        switch (info.type) {
        case FieldType::Text: {
            std::string text;
            if (!GetText(column, text))
                return {};
            return CutToCharacters(text, info.maxLength);
        }
        case FieldType::Long: {
            SQLINTEGER v = 0;
            Check(SQLGetData(m_stmt, column, SQL_C_SLONG, &v, 0, &indicator), SQL_HANDLE_STMT,
                  m_stmt, "cannot read a column");
            return indicator == SQL_NULL_DATA ? FieldValue{} : FieldValue{std::int32_t(v)};
        }
        case FieldType::Bool: {
            SQLINTEGER v = 0;
            Check(SQLGetData(m_stmt, column, SQL_C_SLONG, &v, 0, &indicator), SQL_HANDLE_STMT,
                  m_stmt, "cannot read a column");
            return indicator == SQL_NULL_DATA ? FieldValue{} : FieldValue{v != 0};
        }
        case FieldType::Double: {
            double v = 0;
            Check(SQLGetData(m_stmt, column, SQL_C_DOUBLE, &v, 0, &indicator), SQL_HANDLE_STMT,
                  m_stmt, "cannot read a column");
            return indicator == SQL_NULL_DATA ? FieldValue{} : FieldValue{v};
        }
        case FieldType::Date: {
            SQL_TIMESTAMP_STRUCT ts{};
            Check(SQLGetData(m_stmt, column, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &indicator),
                  SQL_HANDLE_STMT, m_stmt, "cannot read a column");
            return indicator == SQL_NULL_DATA ? FieldValue{} : FieldValue{FromTimestamp(ts)};
        }
        }
        return {};
    }

private:
    struct Param {
        std::string text;
        SQLINTEGER integer = 0;
        unsigned char bit = 0;
        double real = 0;
        SQL_TIMESTAMP_STRUCT timestamp{};
        SQLLEN indicator = 0;
    };
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
    std::string m_sql;
    std::deque<Param> m_params; // stable addresses for the bound buffers
};

void CheckLengths(const std::vector<FieldColumn>& columns, const std::vector<FieldValue>& values) {
    for (std::size_t i = 0; i < columns.size() && i < values.size(); ++i) {
        if (columns[i].type != FieldType::Text)
            continue;
        if (auto* s = std::get_if<std::string>(&values[i]);
            s && CountCharacters(*s) > columns[i].maxLength)
            throw DBException("22001", 0,
                              "String data, right truncation: column \"" + columns[i].name + "\"");
    }
}

} // namespace

OdbcRecordset::OdbcRecordset(OdbcDatabase* database) : m_pDatabase(database) {}

OdbcRecordset::~OdbcRecordset() = default;

std::vector<FieldColumn> OdbcRecordset::Columns() {
    std::vector<FieldColumn> columns;
    FieldExchange fx(FieldExchange::Operation::Describe, &columns, nullptr);
    DoFieldExchange(fx);
    return columns;
}

std::string OdbcRecordset::BuildSelect(const std::string& source, int& markers) {
    const SqlDialect& dialect = m_pDatabase->Dialect();
    std::string list;
    for (const auto& column : m_columns)
        list += (list.empty() ? "" : ", ") + QuoteIdentifier(column.name);
    if (list.empty())
        list = "*";
    markers = 0;
    m_table.clear();
    m_hasRowId = false;

    std::string name;
    if (ParseCallText(source, name, markers)) {
        const StoredQuery* query = FindStoredQuery(name);
        if (!query)
            throw DBException("42000", 0, "no stored query named " + name);
        if (query->parameters != markers)
            throw DBException("07002", 0, "wrong number of parameters for " + name);
        std::string sql = "SELECT " + list + " FROM " + QuoteIdentifier(query->table);
        if (*query->where)
            sql += std::string(" WHERE ") + query->where;
        if (*query->orderBy)
            sql += std::string(" ORDER BY ") + query->orderBy;
        ReplaceAll(sql, "{rowid}", dialect.rowId);
        return sql;
    }
    if (IsTableName(source)) {
        m_table = source;
        m_hasRowId = true;
        return "SELECT " + dialect.rowId + ", " + list + " FROM " + QuoteIdentifier(source) +
               " ORDER BY " + dialect.rowId;
    }
    if (IsSelect(source)) {
        for (char c : source)
            markers += c == '?';
        return source;
    }
    throw DBException("42000", 0, "cannot open \"" + source + "\"");
}

bool OdbcRecordset::Open(unsigned /*openType*/, const std::string& sql, unsigned options) {
    Close();
    if (!m_pDatabase || !m_pDatabase->IsOpen())
        return false;
    m_sql = sql.empty() ? GetDefaultSQL() : sql;
    m_columns = Columns();
    m_select = BuildSelect(m_sql, m_markers);
    m_updatable = m_hasRowId && !(options & readOnly) && m_pDatabase->CanUpdate();
    m_open = true;
    try {
        Fetch();
    } catch (...) {
        Close();
        throw;
    }
    return true;
}

void OdbcRecordset::Fetch() {
    std::vector<FieldValue> params;
    std::vector<FieldColumn> paramColumns;
    {
        FieldExchange describe(FieldExchange::Operation::Describe, &paramColumns, nullptr);
        DoParamExchange(describe);
        FieldExchange store(FieldExchange::Operation::Store, nullptr, &params);
        DoParamExchange(store);
    }
    if (paramColumns.size() < static_cast<std::size_t>(m_markers))
        throw DBException("07002", 0, "fewer parameters than markers in " + m_sql);
    Statement stmt(static_cast<SQLHDBC>(m_pDatabase->Handle()));
    stmt.Prepare(m_select);
    for (int i = 0; i < m_markers; ++i)
        stmt.Bind(params[i], paramColumns[i].type);
    stmt.Execute();

    m_rows.clear();
    const int available = stmt.ColumnCount();
    const int first = m_hasRowId ? 2 : 1;
    while (stmt.Fetch()) {
        Row row;
        if (m_hasRowId)
            stmt.GetText(1, row.id);
        row.values.reserve(m_columns.size());
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            const int column = first + static_cast<int>(i);
            row.values.push_back(column <= available
                                     ? stmt.Get(static_cast<SQLUSMALLINT>(column), m_columns[i])
                                     : FieldValue{});
        }
        m_rows.push_back(std::move(row));
    }
    m_editMode = EditMode::None;
    m_pos = -1;
    m_bof = m_eof = m_rows.empty();
    if (!m_rows.empty()) {
        m_pos = 0;
        LoadCurrent();
    }
}

void OdbcRecordset::Close() {
    m_open = false;
    m_updatable = false;
    m_rows.clear();
    m_columns.clear();
    m_pos = -1;
    m_bof = m_eof = true;
    m_editMode = EditMode::None;
}

bool OdbcRecordset::Requery() {
    if (!m_open)
        return false;
    Fetch();
    return true;
}

bool OdbcRecordset::OnRow() const {
    return m_open && m_pos >= 0 && m_pos < static_cast<long>(m_rows.size());
}

bool OdbcRecordset::IsDeleted() const {
    return OnRow() && m_rows[m_pos].deleted;
}

long OdbcRecordset::GetRecordCount() const {
    long count = 0;
    for (const auto& row : m_rows)
        count += !row.deleted;
    return count;
}

void OdbcRecordset::LoadCurrent() {
    if (!OnRow())
        return;
    FieldExchange fx(FieldExchange::Operation::Load, nullptr, &m_rows[m_pos].values);
    DoFieldExchange(fx);
}

void OdbcRecordset::MoveToEnd(long from, long step) {
    if (!m_open)
        return;
    m_editMode = EditMode::None;
    for (long i = from; i >= 0 && i < static_cast<long>(m_rows.size()); i += step)
        if (!m_rows[i].deleted) {
            m_pos = i;
            m_bof = m_eof = false;
            LoadCurrent();
            return;
        }
    m_pos = static_cast<long>(m_rows.size());
    m_bof = m_eof = true;
}

void OdbcRecordset::MoveFirst() {
    MoveToEnd(0, 1);
}

void OdbcRecordset::MoveLast() {
    MoveToEnd(static_cast<long>(m_rows.size()) - 1, -1);
}

void OdbcRecordset::MoveNext() {
    if (!m_open || m_eof)
        return;
    m_editMode = EditMode::None;
    for (long i = m_pos + 1; i < static_cast<long>(m_rows.size()); ++i)
        if (!m_rows[i].deleted) {
            m_pos = i;
            m_bof = false;
            LoadCurrent();
            return;
        }
    m_pos = static_cast<long>(m_rows.size());
    m_eof = true;
    m_bof = GetRecordCount() == 0;
}

void OdbcRecordset::MovePrev() {
    if (!m_open || m_bof)
        return;
    m_editMode = EditMode::None;
    for (long i = m_pos - 1; i >= 0; --i)
        if (!m_rows[i].deleted) {
            m_pos = i;
            m_eof = false;
            LoadCurrent();
            return;
        }
    m_pos = -1;
    m_bof = true;
    m_eof = GetRecordCount() == 0;
}

void OdbcRecordset::Move(long rows) {
    if (rows == 0) {
        LoadCurrent();
        return;
    }
    for (; rows > 0 && !m_eof; --rows)
        MoveNext();
    for (; rows < 0 && !m_bof; ++rows)
        MovePrev();
}

void OdbcRecordset::AddNew() {
    if (!CanUpdate())
        throw DBException("HY000", 0, "the recordset is read-only");
    m_posBeforeAdd = m_pos;
    std::vector<FieldValue> unused;
    FieldExchange fx(FieldExchange::Operation::SetDefault, nullptr, &unused);
    DoFieldExchange(fx);
    m_editMode = EditMode::Add;
}

void OdbcRecordset::Edit() {
    if (!CanUpdate())
        throw DBException("HY000", 0, "the recordset is read-only");
    if (!OnRow() || m_rows[m_pos].deleted)
        throw DBException("HY109", 0, "no current row to edit");
    m_editMode = EditMode::Edit;
}

void OdbcRecordset::CancelUpdate() {
    if (m_editMode == EditMode::Add)
        RestoreAfterAdd();
    m_editMode = EditMode::None;
    LoadCurrent();
}

// As after an add in a dynaset: back on the row that was current before, or
// still before the first or past the last row.
void OdbcRecordset::RestoreAfterAdd() {
    if (m_eof)
        m_pos = static_cast<long>(m_rows.size());
    else if (m_bof)
        m_pos = -1;
    else
        m_pos = m_posBeforeAdd;
    LoadCurrent();
}

std::string OdbcRecordset::InsertRow(const std::vector<FieldValue>& values) {
    const SqlDialect& dialect = m_pDatabase->Dialect();
    std::string names, markers;
    for (const auto& column : m_columns) {
        names += (names.empty() ? "" : ", ") + QuoteIdentifier(column.name);
        markers += markers.empty() ? "?" : ", ?";
    }
    std::string sql = "INSERT INTO " + QuoteIdentifier(m_table) + " (" + names + ") VALUES (" +
                      markers + ")" + dialect.returningRowId;
    auto dbc = static_cast<SQLHDBC>(m_pDatabase->Handle());
    Statement stmt(dbc);
    stmt.Prepare(sql);
    for (std::size_t i = 0; i < m_columns.size(); ++i)
        stmt.Bind(values[i], m_columns[i].type);
    stmt.Execute();
    std::string id;
    if (!dialect.returningRowId.empty()) {
        if (stmt.Fetch())
            stmt.GetText(1, id);
        return id;
    }
    Statement last(dbc);
    last.Prepare(dialect.lastInsertRowId);
    last.Execute();
    if (last.Fetch())
        last.GetText(1, id);
    return id;
}

void OdbcRecordset::UpdateRow(Row& row, const std::vector<FieldValue>& values) {
    const SqlDialect& dialect = m_pDatabase->Dialect();
    std::string assignments;
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        if (i < row.values.size() && row.values[i] == values[i])
            continue;
        changed.push_back(i);
        assignments +=
            (assignments.empty() ? "" : ", ") + QuoteIdentifier(m_columns[i].name) + " = ?";
    }
    std::string sql = "UPDATE " + QuoteIdentifier(m_table) + " SET " + assignments + " WHERE " +
                      dialect.rowIdMatch + dialect.returningRowId;
    Statement stmt(static_cast<SQLHDBC>(m_pDatabase->Handle()));
    stmt.Prepare(sql);
    for (std::size_t i : changed)
        stmt.Bind(values[i], m_columns[i].type);
    stmt.Bind(row.id, FieldType::Text);
    stmt.Execute();
    if (!dialect.returningRowId.empty()) {
        if (!stmt.Fetch())
            throw DBException("HY000", 0, "the row to update no longer exists");
        stmt.GetText(1, row.id);
    } else if (stmt.RowCount() != 1) {
        throw DBException("HY000", 0, "the row to update no longer exists");
    }
    row.values = values;
}

bool OdbcRecordset::Update() {
    if (m_editMode == EditMode::None)
        throw DBException("HY010", 0, "Update without AddNew or Edit");
    std::vector<FieldValue> values;
    FieldExchange fx(FieldExchange::Operation::Store, nullptr, &values);
    DoFieldExchange(fx);
    values.resize(m_columns.size());
    CheckLengths(m_columns, values);

    if (m_editMode == EditMode::Add) {
        Row row;
        row.id = InsertRow(values);
        row.values = std::move(values);
        m_rows.push_back(std::move(row));
        m_editMode = EditMode::None;
        RestoreAfterAdd();
        return true;
    }

    Row& row = m_rows[m_pos];
    if (row.values == values) {
        m_editMode = EditMode::None;
        return false;
    }
    UpdateRow(row, values);
    m_editMode = EditMode::None;
    return true;
}

void OdbcRecordset::Delete() {
    if (!CanUpdate())
        throw DBException("HY000", 0, "the recordset is read-only");
    if (!OnRow() || m_rows[m_pos].deleted)
        throw DBException("HY109", 0, "no current row to delete");
    Row& row = m_rows[m_pos];
    Statement stmt(static_cast<SQLHDBC>(m_pDatabase->Handle()));
    stmt.Prepare("DELETE FROM " + QuoteIdentifier(m_table) + " WHERE " +
                 m_pDatabase->Dialect().rowIdMatch);
    stmt.Bind(row.id, FieldType::Text);
    stmt.Execute();
    if (stmt.RowCount() != 1)
        throw DBException("HY000", 0, "the row to delete no longer exists");
    row.deleted = true;
    m_editMode = EditMode::None;
}

} // namespace tvane
