#include "database/CDynaRecordset.h"

bool CDynaRecordset::Open(unsigned openType, const std::string& sql, unsigned options) {
    return OdbcRecordset::Open(openType, sql, options);
}

bool CDynaRecordset::Update() {
    return OdbcRecordset::Update();
}

void CDynaRecordset::Delete() {
    OdbcRecordset::Delete();
}

bool CDynaRecordset::Requery() {
    return OdbcRecordset::Requery();
}

void CDynaRecordset::MoveRelative(long rows) {
    Move(rows);
}
