#pragma once
#include <cstdint>
#include <string>

#include "database/CDynaRecordset.h"

// Open results of OpenSQL and every table open.
inline constexpr std::int16_t RS_FAILED = 0;
inline constexpr std::int16_t RS_ROWS = 1;
inline constexpr std::int16_t RS_EMPTY = 2;
// Options of the opens: 0 asks for an updatable set.
inline constexpr std::int16_t RS_UPDATABLE = 0;
inline constexpr std::int16_t RS_READONLY = 4;
// Move codes of MoveRecord.
inline constexpr std::int16_t RS_MOVE_FIRST = 1;
inline constexpr std::int16_t RS_MOVE_PREV = 2;
inline constexpr std::int16_t RS_MOVE_NEXT = 3;
inline constexpr std::int16_t RS_MOVE_LAST = 4;

// Common base of the table recordsets: opens by SQL text with fixed result
// codes, moves by code, and the column exchange every table class uses. Database
// exceptions pass through unchanged.
class CRSBase : public CDynaRecordset {
public:
    explicit CRSBase(tvane::OdbcDatabase* database) : CDynaRecordset(database) {}

    virtual std::int16_t Close();
    virtual std::int16_t CloseIfOpen();
    // 0 not opened (or not updatable when options 0 asked for it), 1 rows, 2 empty.
    virtual std::int16_t OpenSQL(const std::string& sql, std::int16_t options);
    // 2 on an empty set (no move), else 1.
    virtual std::int16_t MoveRecord(std::int16_t code);
    virtual std::int16_t AddNewRecord();
    virtual std::int16_t EditRecord();
    virtual std::int16_t UpdateRecord();
    virtual std::int16_t RequeryRecords();
    virtual std::int32_t CountRecords();

protected:
    std::string GetDefaultConnect() const override { return "ODBC;"; }
    std::string GetDefaultSQL() const override { return {}; }
    void DoFieldExchange(tvane::FieldExchange& /*fx*/) override {}

    static void FieldText(tvane::FieldExchange& fx, const char* column, std::string& value);
    static void FieldLong(tvane::FieldExchange& fx, const char* column, std::int32_t& value);
    static void FieldBool(tvane::FieldExchange& fx, const char* column, bool& value);
    static void FieldDouble(tvane::FieldExchange& fx, const char* column, double& value);
    // Seconds since 1970; a time before 1970 is stored as 0.
    static void FieldDate(tvane::FieldExchange& fx, const char* column, std::int64_t& value);
};
