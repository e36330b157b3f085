#pragma once
#include <cstdint>
#include <string>

// The index "qmexport.ini" of a setup export file: sections, keys and the
// one-line form of notes. A setup export file is a zip archive of the index,
// the setup document file and (unless datasets are excluded) the setup's
// dataset storage file, each stored under its file name.
namespace export_index {

inline constexpr const char* kIndexFileName = "qmexport.ini";
inline constexpr const char* kExportExtension = "qmx";

inline constexpr const char* kDatasetsSection = "DATASETS";
inline constexpr const char* kCountKey = "Count";
inline constexpr const char* kSetupKey = "Setup";

inline constexpr const char* kDateTimeKey = "DateTime";
inline constexpr const char* kDateTimeExKey = "DateTimeEx";
inline constexpr const char* kUserKey = "User";
inline constexpr const char* kNoteKey = "Note";
inline constexpr const char* kSetupFileKey = "SetupFile";
inline constexpr const char* kDatasetFileKey = "DatasetFile";
inline constexpr const char* kSetupNameKey = "SetupName";
inline constexpr const char* kDatasetKeyKey = "DatasetKey";
inline constexpr const char* kScansKey = "Scans";
inline constexpr const char* kEventsKey = "Events";
inline constexpr const char* kDurationKey = "Duration";

// Values are read into buffers of this many characters (the terminator included).
inline constexpr std::size_t kValueBuffer = 255;

// A note on one line: CR (13) becomes byte 30 and LF (10) byte 31; no other
// character changes. DecodeNote reverses it.
std::string EncodeNote(const std::string& note);
std::string DecodeNote(const std::string& text);

// The section that describes a dataset: "<setup>-<dataset>".
std::string DatasetSection(const std::string& setupName, const std::string& datasetName);

// A decimal number the way atol reads it: leading blanks, a sign, digits up
// to the first other character; 0 when there are none.
std::int64_t ParseLong(const std::string& text);

} // namespace export_index
