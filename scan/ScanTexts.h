#pragma once
#include "platform/core/StringTable.h"

// Texts of the scan setup model, by their string ids.
const tvane::StringTable& ScanStrings();

// Words the model compares against; the same texts as the string table's.
namespace scantext {
inline constexpr const char* kComputed = "Computed";     // 524
inline constexpr const char* kAuto = "Auto";             // 2002
inline constexpr const char* kNone = "<None>";           // 2000
inline constexpr const char* kChannelLabel = "<%ld>";    // 236
inline constexpr const char* kBitName = "Bit %d";        // 237
inline constexpr const char* kNoActions = ";;;;;";       // 3300
inline constexpr const char* kJournalActions = "4;;;;;"; // 3301
inline constexpr const char* kAlarmOff = "Off";
inline constexpr const char* kAlarm1 = "Alarm1"; // 3104
inline constexpr const char* kDigitalWrite = "Digital Write 8bit";
inline constexpr const char* kFourWireOhms = "4w ohms";
inline constexpr const char* kFourWireRtd = "Temp 4w RTD";
inline constexpr const char* kCustom = "Custom";
inline constexpr const char* kSeconds = "seconds";
} // namespace scantext
