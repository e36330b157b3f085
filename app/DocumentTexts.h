#pragma once

// Texts of the document, with their string ids.
namespace doctext {
inline constexpr const char* kDefault = "Default";   // 1062
inline constexpr const char* kNone = "(none)";       // 183
inline constexpr const char* kAdvanced = "Advanced"; // 1063
inline constexpr const char* kScans = "Scans %ld";   // 578
inline constexpr const char* kNoModule = "(None)";   // 507
inline constexpr const char* kBeforeScan = "Before Scan";
inline constexpr const char* kAfterScan = "After Scan";
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kIniFile = "Tvane.ini";
inline constexpr const char* kMaxEventLogEntries = "MaxEventLogEntries";
inline constexpr const char* kAutoSaveIntervalSeconds = "AutoSaveIntervalSeconds";
// The stream of the document file that holds the archive.
inline constexpr const char* kContentsStream = "Contents";
} // namespace doctext
