#pragma once
#include <cstdint>
#include <string>

#include "database/CRSBase.h"

// Base of the table classes: tracks whether one of its opens succeeded, so Close
// and destruction close only what was opened through them.
class CRSTable : public CRSBase {
public:
    explicit CRSTable(tvane::OdbcDatabase* database) : CRSBase(database) {}
    ~CRSTable() override;

    std::int16_t Close() override;

    std::int32_t m_opened = 0;

protected:
    // Opens the table (or its read-only call) by OpenSQL.
    std::int16_t OpenTable(const std::string& source, std::int16_t options);
    // Opens a stored query whose parameters come from DoParamExchange.
    std::int16_t OpenQuery(const std::string& call, std::int16_t options);
};
