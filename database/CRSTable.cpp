#include "database/CRSTable.h"

CRSTable::~CRSTable() {
    if (m_opened) {
        CloseIfOpen();
        m_opened = 0;
    }
}

std::int16_t CRSTable::Close() {
    m_opened = 0;
    return CRSBase::Close();
}

std::int16_t CRSTable::OpenTable(const std::string& source, std::int16_t options) {
    const std::int16_t result = OpenSQL(source, options);
    if (result != RS_FAILED)
        m_opened = 1;
    return result;
}

std::int16_t CRSTable::OpenQuery(const std::string& call, std::int16_t options) {
    if (!Open(dynaset, call, static_cast<unsigned>(static_cast<int>(options))))
        return RS_FAILED;
    if (options == 0 && !CanUpdate())
        return RS_FAILED; // stays open until Close or destruction
    m_opened = 1;
    return IsBOF() && IsEOF() ? RS_EMPTY : RS_ROWS;
}
