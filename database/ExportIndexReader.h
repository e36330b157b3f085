#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/core/CaseInsensitive.h"

// The setup section of an export index, as read back. A missing key reads as
// the empty string (and a missing time as 0).
struct ExportedSetup {
    std::string name;
    std::string dateTime;  // display text only
    std::int64_t time = 0; // seconds since 1970, from DateTimeEx
    std::string user;
    std::string note; // decoded
    std::string setupFile;
    std::string datasetFile; // empty when the export holds no datasets
};

// A dataset section of an export index, as read back.
struct ExportedDataset {
    std::string name;
    std::string setupName;
    std::string dateTime;
    std::int64_t time = 0;
    std::string user;
    std::string note; // decoded
    std::string datasetKey;
    std::string scans;
    std::string events;
    std::string duration;
};

// An export index file ("qmexport.ini") read once, by its full path: every
// lookup after the constructor is in memory, however large Count claims to
// be. A file above kMaxIndexBytes is not read and reads as empty.
class ExportIndexReader {
public:
    // Far above the index of any real setup (about half a kilobyte per dataset).
    static constexpr std::uintmax_t kMaxIndexBytes = 4u << 20;

    explicit ExportIndexReader(const std::string& indexPath);

    // False when the file was too large to be read.
    bool Readable() const { return m_readable; }

    // [DATASETS] Setup; empty when the index names no setup.
    std::string SetupName() const;
    // [DATASETS] Count; 0 when missing (datasets excluded).
    int DatasetCount() const;
    // The numbered key index of [DATASETS]; empty when missing.
    std::string DatasetName(int index) const;
    // The dataset names 0 .. Count - 1, up to the first missing one.
    std::vector<std::string> DatasetNames() const;
    // Every numbered key below Count that is present and not empty, in the
    // order of the numbers.
    std::vector<std::string> PresentDatasetNames() const;

    ExportedSetup ReadSetup(const std::string& setupName) const;
    ExportedDataset ReadDataset(const std::string& setupName, const std::string& datasetName) const;

    // Any value, read as the index readers do: cut to the value buffer.
    std::string Value(const std::string& section, const std::string& key) const;
    // The whole value; nullptr when the section or key is missing.
    const std::string* Find(const std::string& section, const std::string& key) const;

private:
    using Keys = std::map<std::string, std::string, tvane::LessNoCase>;
    std::map<std::string, Keys, tvane::LessNoCase> m_sections;
    bool m_readable = true;
};
