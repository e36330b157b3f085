#pragma once

// Texts of the setup editor's sheets, by their string ids where they have one.
namespace sheettext {
// Channel details.
inline constexpr const char* kComputed = "Computed"; // 524
inline constexpr const char* kChannelGroup = "Channel <%ld>";
inline constexpr const char* kChannelLabel = "<%ld>";                         // 236
inline constexpr const char* kChannelCaption = "Channel Properties - <%ld> "; // 576

// Measurement page.
inline constexpr const char* kMeasurementTitle = "Measurement";
inline constexpr const char* kBadAperture =
    "Invalid Aperture value. Valid range is 400usec to 4secs";
inline constexpr const char* kBadR0 = "Invalid R0 value. Valid range is 49.0 to 2100.0";
inline constexpr const char* kBadDelay = "Invalid Channel Delay value. Valid range is 0.0 to 60.0";
inline constexpr const char* kBadTemperature =
    "Invalid Reference Junction Temperature. Valid range is -20.0 to 80.0";
inline constexpr const char* kNotNumber = "Please enter a number.";
inline constexpr const char* kDefaultResolution = "5.5 digits"; // 3231
inline constexpr const char* kAlarmOff = "Off";                 // 3103
inline constexpr const char* kNoAdvanced = "No Advanced Settings";
inline constexpr const char* kLookupFailed =
    "The measurement functions of this channel could not be read from the database.";

// Scaling page.
inline constexpr const char* kOn = "On";   // 208
inline constexpr const char* kOff = "Off"; // 209

// Alarm limits page.
inline constexpr const char* kAlarmTitle = "Alarm Limits";
inline constexpr const char* kLowAboveHigh = "High Limit can not be less than Low Limit";
inline constexpr const char* kNoCloseChannel = "Close Actuator Channel - No channel selected";
inline constexpr const char* kNoOpenChannel = "Open Actuator Channel - No channel selected";
inline constexpr const char* kNoBitPattern = "Send Bit Pattern - No bit pattern";
inline constexpr const char* kNoPort =
    "Send Bit Pattern to Digital Port - No digital port selected";
inline constexpr const char* kNoActions = ";;;;;";       // 3300
inline constexpr const char* kDefaultActions = "4;;;;;"; // 3301
inline constexpr const char* kEmptyPattern = "XXXXXXXX"; // 3110
inline constexpr const char* kAlarm1 = "Alarm1";

// Computed channel page.
inline constexpr const char* kBothConstants = "Both arguments can not be constants";
inline constexpr const char* kComputedTitle = "Computed Channel";

// Scan settings.
inline constexpr const char* kScanSettings = "Scan Settings"; // 118
inline constexpr const char* kStartBeforeNow = "Scan start time is less than the current time.";
inline constexpr const char* kStopBeforeNow = "Scan stop time is less than the current time.";
inline constexpr const char* kStopBeforeStart = "Scan stop time is less than scan start time.";
inline constexpr const char* kIntervalFormat = "%i:%M:%S.%l";

// Monitor sheet.
inline constexpr const char* kMonitorCaption = "Monitor Channel Properties"; // 1094
inline constexpr const char* kNone = "<None>";                               // 2000
inline constexpr const char* kBackground = "Background";                     // 203
inline constexpr const char* kText = "Text";                                 // 205
inline constexpr const char* kRefreshRange = "Please enter an integer between 1 and 1800.";

// Setup options sheet.
inline constexpr const char* kOptionsCaption = "Scan Setup View Properties"; // 173
} // namespace sheettext
