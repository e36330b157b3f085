#pragma once
#include "platform/core/StringTable.h"

// Texts of the workspace database code, by their string ids.
const tvane::StringTable& DatabaseStrings();

enum DatabaseStringId : unsigned {
    IDS_RUN_FIX_TOOL = 175,
    IDS_DSN_EMPTY = 904,
    IDS_WORKSPACE_NOT_FOUND = 905,
    IDS_WORKSPACE_READ_ONLY = 906,
    IDS_WORKSPACE_OPEN_FAILED = 907,
    IDS_NOT_A_WORKSPACE = 908,
    IDS_DATA_SOURCE_DRIVER = 1099,
    IDS_DATA_SOURCE_NAME = 1100,
    IDS_REGISTER_FAILED = 13178,
};
