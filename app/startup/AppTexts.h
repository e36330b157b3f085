#pragma once
#include "platform/core/StringTable.h"

// The texts of the application object, by string id.
namespace apptext {
inline constexpr unsigned kOleInitFailed = 100;
inline constexpr unsigned kExitingApplication = 172;
inline constexpr unsigned kDriverName = 3001;
inline constexpr unsigned kRegOleInitFailed = 4005;
inline constexpr unsigned kRegLoadFailed = 4006;
inline constexpr unsigned kRegNoEntryNotLibrary = 4007;
inline constexpr unsigned kRegNoEntryLibrary = 4008;
inline constexpr unsigned kRegCallFailed = 4009;
inline constexpr unsigned kRegSucceeded = 4010;
inline constexpr unsigned kAbnormalEnd = 4011;
inline constexpr unsigned kLastSetupMissing = 4018;
inline constexpr unsigned kNoInstallPath = 13175;
inline constexpr unsigned kNoCommDllName = 13176;
inline constexpr unsigned kNoDriverDllName = 13177;
inline constexpr unsigned kOdbcFailed = 13178;
} // namespace apptext

const tvane::StringTable& AppTexts();

// The application's name, the caption of its message boxes.
inline constexpr const char* kAppName = "Tvane";
