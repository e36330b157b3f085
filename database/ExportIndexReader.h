#pragma once
#include <cstdint>
#include <string>
#include <vector>

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

// Reads an export index file ("qmexport.ini") by its full path.
class ExportIndexReader {
public:
    explicit ExportIndexReader(std::string indexPath) : m_path(std::move(indexPath)) {}

    // [DATASETS] Setup; empty when the index names no setup.
    std::string SetupName() const;
    // [DATASETS] Count; 0 when missing (datasets excluded).
    int DatasetCount() const;
    // The numbered key index of [DATASETS]; empty when missing.
    std::string DatasetName(int index) const;
    // The dataset names 0 .. Count - 1, up to the first missing one.
    std::vector<std::string> DatasetNames() const;

    ExportedSetup ReadSetup(const std::string& setupName) const;
    ExportedDataset ReadDataset(const std::string& setupName, const std::string& datasetName) const;

    // Any value, read as the index readers do.
    std::string Value(const std::string& section, const std::string& key) const;

private:
    std::string m_path;
};
