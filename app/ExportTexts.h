#pragma once

// The text export's own strings, exactly as the user sees them.
namespace exporttext {

inline constexpr unsigned kCopyingDataId = 269;
inline constexpr unsigned kExportScanDataId = 669;
inline constexpr const char* kCopyingData = "Copying Data";
inline constexpr const char* kExportScanData = "Export Scan Data";
inline constexpr const char* kExportSuccessful = "Export successful to %s";
inline constexpr const char* kClipboard = "Clipboard";
inline constexpr const char* kTimeStamp = "Time stamp";
inline constexpr const char* kSeconds = "Seconds";
inline constexpr const char* kChannelId = "Channel ID";
inline constexpr const char* kAlarm = "Alarm";
inline constexpr const char* kValue = "Value";
inline constexpr const char* kUnits = "Units";
inline constexpr const char* kEventHeader = "Date/Time%cEventType%cChannelID%cDescription\r\n";
inline constexpr const char* kSetupHeader =
    "ChannelID%cInScan%cChannelName%cFunction%cRange%cResolution%cScaling%cGain%cOffset%cLabel%"
    "cAlarms%cHighLimit%cLowLimit%cH//WAlarm%cComment%cCardType%cAdvSettings%cAlrmAdvSettings\r\n";
inline constexpr const char* kSetupLine = "%ld%c%s%c%s%c%s%c%s%c%s%c%s%c%s%c%s%c%s%c%s%c%s%c%s%c%"
                                          "s%c%s%c%s%c%s%c%s\r\n";
inline constexpr const char* kEventLine = "%s%c%s%c%ld%c%s\r\n";
inline constexpr const char* kNoReadings = "No readings found between Start and Stop times.";
inline constexpr const char* kProcessing = "Processing %ld of %ld scans";
inline constexpr const char* kUserCancelled = "User cancelled action before all data was exported";
inline constexpr const char* kClipboardOpened =
    "Unsuccessful copy to the clipboard - Clipboard already opened";
inline constexpr unsigned kClipboardOpenedId = 13198;
inline constexpr const char* kYes = "Yes";
inline constexpr const char* kNo = "No";

} // namespace exporttext
