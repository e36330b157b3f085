#pragma once
#include <string>

#include "database/OdbcDatabase.h"

// The program's database connection; its open forwards unchanged.
class CDynaDatabase : public tvane::OdbcDatabase {
public:
    bool Open(const std::string& dsn, bool exclusive = false, bool readOnly = false,
              const std::string& connect = "ODBC;", bool useCursorLib = true) override;
};
