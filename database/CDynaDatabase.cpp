#include "database/CDynaDatabase.h"

bool CDynaDatabase::Open(const std::string& dsn, bool exclusive, bool readOnly,
                         const std::string& connect, bool useCursorLib) {
    return OdbcDatabase::Open(dsn, exclusive, readOnly, connect, useCursorLib);
}
