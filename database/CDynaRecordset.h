#pragma once
#include <string>

#include "database/OdbcRecordset.h"

// The program's recordset: plain forwards, plus a move relative to the current row.
class CDynaRecordset : public tvane::OdbcRecordset {
public:
    explicit CDynaRecordset(tvane::OdbcDatabase* database) : OdbcRecordset(database) {}

    bool Open(unsigned openType = dynaset, const std::string& sql = {},
              unsigned options = none) override;
    bool Update() override;
    void Delete() override;
    bool Requery() override;
    virtual void MoveRelative(long rows);
};
