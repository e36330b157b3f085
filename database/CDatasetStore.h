#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "database/COleStreamFile.h"
#include "database/DatasetDirEntry.h"
#include "platform/core/CaseInsensitive.h"
#include "platform/storage/Storage.h"

class CDataset;

// The open dataset storage file of a setup: a compound file whose root holds the
// directory stream "Datasets" and one storage per dataset, named by its key.
// The file is held with exclusive sharing while open, so a second opener (in this
// process or another) is refused with an access-denied file exception.
//
// Failures are thrown (FileException for file not found, access denied and every
// stream failure; StorageException otherwise); the operations return true
// otherwise, or false where they say so.
class CDatasetStore {
public:
    static constexpr const char* kDirectoryName = "Datasets";

    CDatasetStore() = default;
    ~CDatasetStore();
    CDatasetStore(const CDatasetStore&) = delete;
    CDatasetStore& operator=(const CDatasetStore&) = delete;

    // The document passes STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE.
    bool Create(const std::string& path, tvane::StorageMode mode, bool keepOpen);
    // The document passes STGM_READWRITE | STGM_SHARE_EXCLUSIVE. Any failure to
    // open the file (missing, locked by another opener, damaged) is reported as
    // access denied for the path.
    bool Open(const std::string& path, tvane::StorageMode mode);
    // Closes every open dataset (which writes their headers), then the file.
    void Close();

    bool IsOpen() const { return m_open; }
    // The file's path as the storage reports it; empty when closed.
    const std::string& GetPath() const { return m_path; }

    // The directory entry of key, compared ignoring case.
    bool FindDataset(const std::string& key, DatasetDirEntry* out);
    // Removes a dataset's directory entry and then its storage. An open dataset is
    // refused (access denied for the key); a key the directory does not list
    // leaves the file unchanged.
    bool DestroyDataset(const std::string& key);

    // Directory primitives.
    // False (nothing written) when the key is listed already.
    bool AddDirEntry(const DatasetDirEntry& entry);
    // Overwrites the listed entry of entry's key in place; false when not listed.
    bool UpdateDirEntry(const DatasetDirEntry& entry);
    bool RemoveDirEntry(const std::string& key);
    int GetDirCount();
    // Reads up to count entries from index first; returns the number read.
    int ReadDirEntries(int first, int count, DatasetDirEntry* buffer);

    // The datasets open in this file, by key (not owned).
    void AddOpenDataset(CDataset* dataset);
    void RemoveOpenDataset(CDataset* dataset);
    bool IsDatasetOpen(const std::string& key) const { return m_openDatasets.count(key) != 0; }

    tvane::Storage* GetRootStorage() { return m_open ? &m_root : nullptr; }

private:
    void TakePathFromRoot();
    void OpenDirectory(tvane::StorageMode mode);
    // Index of key in the directory, -1 when not listed.
    int FindDirIndex(const std::string& key);

    bool m_open = false;
    std::string m_path;
    tvane::Storage m_root;
    COleStreamFile m_directory;
    std::map<std::string, CDataset*, tvane::LessNoCase> m_openDatasets;
};
