#pragma once

// Texts of the document's instrument work, with their string ids.
namespace insttext {
inline constexpr const char* kAlarmEvent = "Value = %g %s, Alarm = %d";                      // 1079
inline constexpr const char* kTriggerImmediate = "TIM";                                      // 1080
inline constexpr const char* kTriggerExternal = "EXT";                                       // 1081
inline constexpr const char* kTriggerAlarm = "ALARM%d";                                      // 1082
inline constexpr const char* kDownloadEvent = " - Setup download";                           // 1083
inline constexpr const char* kDownloadCancelled = "Download cancelled by user";              // 1084
inline constexpr const char* kNoChannels = "No channels turned on - Download not completed"; // 572
inline constexpr const char* kDownloadCaption = "Downloading Channel Configurations";        // 667
inline constexpr const char* kDownloadingChannel = "Downloading channel %d (%d of %d)";      // 573
inline constexpr const char* kDownloadError =
    "Error occurred while downloading setup - operation aborted."; // 4019
inline constexpr const char* kNotResponding = "Instrument not responding - operation aborted.";
inline constexpr const char* kDmmDownload =
    "DMM is either not installed or disabled in the instrument - download aborted";
inline constexpr const char* kDmmRun =
    "DMM is either not installed or disabled in the instrument - run aborted";
inline constexpr unsigned kDownloadHelp = 13181;

inline constexpr const char* kMonitorNotInScan =
    "Unable to configure channel for monitoring.\nChannel is not enabled for scan.\nPlease stop "
    "the current scan and add channel to scan list and download setup to instrument.";
inline constexpr const char* kMonitorNotEnabled =
    "Unable to configure channel for monitoring.\nChannel is not enabled for scan.\nPlease add "
    "channel to scan list and download setup to instrument.";
inline constexpr const char* kMonitorNotSame =
    "Unable to configure channel for monitoring.\nSoftware setup may not be the same as the "
    "instrument setup.\nPlease download setup to instrument.";

inline constexpr const char* kAskDownload =
    "Unable to perform action with instrument.\nSoftware setup may not be the same as the "
    "instrument setup.\nWould you like to download the setup now ?"; // 674
inline constexpr const char* kDioRead = "DIO Read: %d";              // 675
inline constexpr const char* kDioWrite = "DIO Write: %d";            // 676
inline constexpr const char* kTotalizeRead = "Totalize Read: %ld";   // 677
inline constexpr const char* kDacWrite = "DAC Write: %.2lf";         // 678
inline constexpr const char* kSwitchClose = "Switch Close";          // 679
inline constexpr const char* kSwitchOpen = "Switch Open";            // 680
inline constexpr const char* kActionError =
    "Error occurred performing an immediate control operation."; // 4015
} // namespace insttext

namespace insttext {
inline constexpr const char* kUploadFailed =
    "Upload Setup - Failed to Upload setup from instrument";                         // 13182
inline constexpr const char* kUploadCaption = "Uploading Channel Configurations";    // 668
inline constexpr const char* kUploadingChannel = "Uploading channel %ld (%d of %d)"; // 574
inline constexpr const char* kMismatch =
    "A mismatch between the setup and data was detected.\nDo you want to continue?"; // 1085
inline constexpr const char* kUploadEvent = " - Instrument upload";                  // 1086
inline constexpr const char* kUploadCancelled = "Upload cancelled by user";          // 1087
inline constexpr const char* kTriggerAlarmPrefix = "ALAR";                           // 1088
inline constexpr const char* kUploadChannelFailed =
    "Failed to upload setup from instrument.\nError occurred reading channel %ld.";
inline constexpr const char* kDataCaption = "Uploading Instrument Data";         // 672
inline constexpr const char* kUploadingReading = "Uploading reading %ld of %ld"; // 1069
inline constexpr const char* kContinueUploading =
    "Instrument error occured - continue uploading?";                                   // 4020
inline constexpr const char* kUploadProcessed = "Upload processed %ld of %ld readings"; // 4016
inline constexpr unsigned kUploadHelp = 13182;
inline constexpr const char* kLinkwellIni = "linkwell.ini";
inline constexpr const char* kConnectSpeed = "ConnectSpeed";
} // namespace insttext
