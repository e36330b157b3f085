#include "database/CRSBase.h"

std::int16_t CRSBase::Close() {
    if (IsOpen())
        OdbcRecordset::Close();
    return 1;
}

std::int16_t CRSBase::CloseIfOpen() {
    if (IsOpen())
        OdbcRecordset::Close();
    return 1;
}

std::int16_t CRSBase::OpenSQL(const std::string& sql, std::int16_t options) {
    // The options widen with their sign, as the open takes them.
    const bool opened = Open(dynaset, sql, static_cast<unsigned>(static_cast<int>(options)));
    if (opened && options == 0 && !CanUpdate()) {
        Close();
        return RS_FAILED;
    }
    if (!opened)
        return RS_FAILED;
    return IsBOF() && IsEOF() ? RS_EMPTY : RS_ROWS;
}

std::int16_t CRSBase::MoveRecord(std::int16_t code) {
    if (IsBOF() && IsEOF())
        return 2;
    switch (code) {
    case RS_MOVE_FIRST:
        MoveFirst();
        break;
    case RS_MOVE_PREV:
        if (!IsBOF())
            MovePrev();
        break;
    case RS_MOVE_NEXT:
        if (!IsEOF())
            MoveNext();
        break;
    case RS_MOVE_LAST:
        MoveLast();
        break;
    default:
        break;
    }
    return 1;
}

std::int16_t CRSBase::AddNewRecord() {
    AddNew();
    return 1;
}

std::int16_t CRSBase::EditRecord() {
    Edit();
    return 1;
}

std::int16_t CRSBase::UpdateRecord() {
    return Update() ? 1 : 0;
}

std::int16_t CRSBase::RequeryRecords() {
    return Requery() ? 1 : 0;
}

std::int32_t CRSBase::CountRecords() {
    if (IsBOF() && IsEOF())
        return 0;
    if (IsCountFinal())
        return static_cast<std::int32_t>(GetRecordCount());
    std::int32_t count = 0;
    for (MoveFirst(); !IsEOF(); MoveNext())
        ++count;
    return count;
}

void CRSBase::FieldText(tvane::FieldExchange& fx, const char* column, std::string& value) {
    fx.Text(column, value, 255);
}

void CRSBase::FieldLong(tvane::FieldExchange& fx, const char* column, std::int32_t& value) {
    fx.Long(column, value);
}

void CRSBase::FieldBool(tvane::FieldExchange& fx, const char* column, bool& value) {
    fx.Bool(column, value);
}

void CRSBase::FieldDouble(tvane::FieldExchange& fx, const char* column, double& value) {
    fx.Double(column, value);
}

void CRSBase::FieldDate(tvane::FieldExchange& fx, const char* column, std::int64_t& value) {
    fx.Date(column, value);
}
