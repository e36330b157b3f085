#pragma once

// The restore utility's texts, exactly as it has always shown and stored them.
namespace restore_texts {

inline constexpr const char* kProgramName = "Kelbrin";
inline constexpr const char* kDataSourceName = "Tvane32";
inline constexpr const char* kCaption = "Tallyvane Database Builder Utility";
inline constexpr const char* kIntroduction =
    "This utility checks the Setups and Datasets in the Tallyvane Database against the actual "
    "Setup and Dataset Files located in the Tallyvane data directory. If any files exist that "
    "are not in the Database, they will be shown in the list below.";
inline constexpr const char* kDatabasePathLabel = "Tallyvane Database Path:";
inline constexpr const char* kMissingListLabel =
    "List of Dataset files that are in the Tallyvane data directory but that are not in the "
    "Tallyvane Database:";
inline constexpr const char* kInstructions =
    "To append the missing data files to the Tallyvane Database, select the Restore button.  To "
    "quit this utility program, select the Exit button.";
inline constexpr const char* kRestoreButton = "&Restore";
inline constexpr const char* kExitButton = "Exit";

inline constexpr const char* kConfirmRestore =
    "Before you restore:\r\n\r\n1. Make sure Tallyvane is not running.\r\n2. It is highly "
    "recommended that you first backup the entire Tallyvane Data directory.\r\n\r\nAre you "
    "sure you want to continue?";
inline constexpr const char* kRestored = "Files Successfully Restored";
// Shown in place of the above when a row could not be added; each failure has
// had its own message.
inline constexpr const char* kNotAllRestored = "Not all files could be restored";

inline constexpr const char* kDbNotFound = "DB Not Found";
inline constexpr const char* kCannotUpdate = "Can not update";
inline constexpr const char* kErrorOpeningDb = "Error opening DB";
inline constexpr const char* kNotStorageFile = "Not a storage file";
inline constexpr const char* kOpenFileFailed = "IDS_STGOPENSTORAGEFAILED";
inline constexpr const char* kEnumElementsFailed = "IDS_ENUMELEMENTSFAILED";
inline constexpr const char* kOpenStorageFailed = "IDS_OPENSTORAGEFAILED";
inline constexpr const char* kOpenStreamFailed = "IDS_OPENSTREAMFAILED";

inline constexpr const char* kSetupAddModeFailed = "Error Setup Add Mode";
inline constexpr const char* kSetupUpdateFailed = "Error Setup Update";
inline constexpr const char* kDatasetAddModeFailed = "Error Dataset Add Mode";
inline constexpr const char* kDatasetUpdateFailed = "Error Dataset Update";

// The rows the utility adds.
inline constexpr const char* kUser = "Kelbrin";
inline constexpr const char* kNote = "Added by DB Util";
inline constexpr const char* kSetupWord = "Setup";
inline constexpr const char* kDataWord = "Data";

} // namespace restore_texts
