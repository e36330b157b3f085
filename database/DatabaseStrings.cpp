#include "database/DatabaseStrings.h"

const tvane::StringTable& DatabaseStrings() {
    static const tvane::StringTable table{
        {IDS_RUN_FIX_TOOL, "\nRun Kesterfix.EXE to correct the problem."},
        {IDS_DSN_EMPTY, "Database DSN is empty"},
        {IDS_WORKSPACE_NOT_FOUND, "Can not find Workspace"},
        {IDS_WORKSPACE_READ_ONLY, "Can not update Workspace"},
        {IDS_WORKSPACE_OPEN_FAILED, "Cannot open Workspace"},
        {IDS_NOT_A_WORKSPACE, "Not a Valid Tallyvane Database"},
        // The data source's driver: the SQLite 3 ODBC driver's registered name.
        {IDS_DATA_SOURCE_DRIVER, "SQLite3"},
        {IDS_DATA_SOURCE_NAME, "Tvane32"},
        {IDS_REGISTER_FAILED, "Failed to register 32bit ODBC"},
    };
    return table;
}
