#pragma once

// Texts of the scan engine, with their string ids.
namespace scantext {
inline constexpr const char* kStartedImmediate = "Test Started - Immediate";                 // 681
inline constexpr const char* kStartedTimed = "Test Started - Timed";                         // 682
inline constexpr const char* kStartedTrigger = "Test Started - External Trigger";            // 683
inline constexpr const char* kStartedOnAlarm = "Test Started - On Alarm";                    // 684
inline constexpr const char* kTerminatedOk = "Test Terminated - Successfully";               // 1071
inline constexpr const char* kTerminatedByUser = "Test Terminated - By User";                // 1072
inline constexpr const char* kTerminatedLimit = "Test Terminated - Limit Failure";           // 1073
inline constexpr const char* kTerminatedInstrument = "Test Terminated - Instrument Failure"; // 1074
inline constexpr const char* kTerminatedReadings = "Test Terminated - Readings Failure";     // 1075
inline constexpr const char* kTerminatedUnknown = "Test Terminated - Unknown Reason";        // 1076
inline constexpr const char* kTerminatedDatasetFull = "Test Terminated - Dataset Full";
inline constexpr const char* kDatasetFull =
    "The dataset is full: it holds the most readings a dataset can.\nThe run has ended and "
    "every reading up to its end is stored.";
inline constexpr const char* kConfigMismatch =
    "Configuration does not match instrument - cannot download setup"; // 571
inline constexpr const char* kValidationFailed =
    "Error occurred during instrument validation - run aborted."; // 4014
inline constexpr const char* kStartFailed =
    "Error occurred initiating the scan - process aborted.";                           // 4025
inline constexpr const char* kStartsInDays = "Test starts in %ld days %02d:%02d:%02d"; // 1065
inline constexpr const char* kStartsIn = "Test starts in %02d:%02d:%02d";              // 1066
inline constexpr const char* kToScanDays = "%ld days %02d:%02d:%02d to Scan";          // 1067
inline constexpr const char* kToScan = "%02d:%02d:%02d to Scan";                       // 1068
inline constexpr const char* kWaitingTrigger = "Waiting for External Trigger";
inline constexpr const char* kWaitingAlarm = "Waiting for Alarm";
inline constexpr const char* kAlarmJournal = "Scan = %ld , Value = %g"; // 577
inline constexpr const char* kOverload = " (OVLD)";
inline constexpr const char* kAlarmOff = "Off";                                        // 3103
inline constexpr const char* kConfirmStop = "Are you sure you want to stop scanning?"; // 570
inline constexpr const char* kUploading = "Uploading Instrument Data";                 // 672
inline constexpr const char* kUploadingReading = "Uploading reading %ld of %ld";       // 1069
inline constexpr const char* kValidKey = "Valid";
inline constexpr const char* kNotAnswering = "The instrument does not answer";
inline constexpr const char* kNoRunDataset =
    "Unable to create a dataset for the run - the run was not started.";
} // namespace scantext
