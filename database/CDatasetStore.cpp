#include "database/CDatasetStore.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "database/CDataset.h"
#include "database/DatasetDirEnum.h"
#include "database/DatasetErrors.h"

using namespace tvane;
using dataset_errors::ThrowStorageFailure;
using dataset_errors::ThrowStreamFailure;

namespace {

constexpr std::uint64_t kEntrySize = sizeof(DatasetDirEntry);

bool SameKey(const DatasetDirEntry& entry, const std::string& key) {
    return strcasecmp(entry.GetKey().c_str(), key.c_str()) == 0;
}

// Closes the directory stream when a directory operation ends, however it ends.
struct DirectoryCloser {
    COleStreamFile& stream;
    ~DirectoryCloser() { stream.Abort(); }
};

} // namespace

CDatasetStore::~CDatasetStore() {
    Close();
}

bool CDatasetStore::Create(const std::string& path, StorageMode mode, bool keepOpen) {
    if (m_open)
        ThrowStorageFailure(STG_E_ACCESSDENIED, path);
    try {
        m_root = StgCreateDocfile(path, mode);
    } catch (const StorageException& e) {
        ThrowStorageFailure(e.Status(), path);
    }
    try {
        m_directory.CreateStream(m_root, kDirectoryName, mode);
        m_directory.Close();
        m_root.Commit();
        TakePathFromRoot();
    } catch (...) {
        m_directory.Abort();
        m_root = Storage();
        throw;
    }
    m_open = true;
    if (!keepOpen)
        Close();
    return true;
}

bool CDatasetStore::Open(const std::string& path, StorageMode mode) {
    if (m_open)
        ThrowStorageFailure(STG_E_ACCESSDENIED, path);
    try {
        m_root = StgOpenStorage(path, mode);
    } catch (const StorageException&) {
        ThrowStorageFailure(STG_E_ACCESSDENIED, path);
    }
    try {
        m_directory.OpenStream(m_root, kDirectoryName, mode);
        m_directory.Close();
        TakePathFromRoot();
    } catch (...) {
        m_directory.Abort();
        m_root = Storage();
        throw;
    }
    m_open = true;
    return true;
}

void CDatasetStore::TakePathFromRoot() {
    try {
        m_path = m_root.Stat().name;
    } catch (const StorageException& e) {
        ThrowStorageFailure(e.Status(), m_path);
    }
}

void CDatasetStore::Close() {
    while (!m_openDatasets.empty()) {
        CDataset* dataset = m_openDatasets.begin()->second;
        m_openDatasets.erase(m_openDatasets.begin());
        dataset->Close();
    }
    m_directory.Abort();
    try {
        if (m_root.IsOpen())
            m_root.Close();
    } catch (...) {
        // the file is released all the same; what was committed stays
    }
    m_root = Storage();
    m_open = false;
    m_path.clear();
}

void CDatasetStore::OpenDirectory(StorageMode mode) {
    if (!m_open)
        ThrowStreamFailure(STG_E_INVALIDHANDLE, kDirectoryName);
    m_directory.OpenStream(m_root, kDirectoryName, mode);
}

int CDatasetStore::GetDirCount() {
    OpenDirectory(STGM_READ | STGM_SHARE_EXCLUSIVE);
    DirectoryCloser closer{m_directory};
    return static_cast<int>(m_directory.GetLength() / kEntrySize);
}

int CDatasetStore::ReadDirEntries(int first, int count, DatasetDirEntry* buffer) {
    if (first < 0 || count <= 0)
        return 0;
    OpenDirectory(STGM_READ | STGM_SHARE_EXCLUSIVE);
    DirectoryCloser closer{m_directory};
    m_directory.Seek(static_cast<std::int64_t>(first * kEntrySize), STREAM_SEEK_SET);
    const std::size_t read = m_directory.Read(buffer, count * kEntrySize);
    return static_cast<int>(read / kEntrySize);
}

bool CDatasetStore::FindDataset(const std::string& key, DatasetDirEntry* out) {
    DatasetDirEnum cursor(*this);
    DatasetDirEntry entry;
    for (bool more = cursor.First(&entry); more; more = cursor.Next(&entry)) {
        if (SameKey(entry, key)) {
            if (out)
                *out = entry;
            return true;
        }
    }
    return false;
}

int CDatasetStore::FindDirIndex(const std::string& key) {
    DatasetDirEnum cursor(*this);
    DatasetDirEntry entry;
    int index = 0;
    for (bool more = cursor.First(&entry); more; more = cursor.Next(&entry), ++index) {
        if (SameKey(entry, key))
            return index;
    }
    return -1;
}

bool CDatasetStore::AddDirEntry(const DatasetDirEntry& entry) {
    if (FindDataset(entry.GetKey(), nullptr))
        return false;
    OpenDirectory(STGM_WRITE | STGM_SHARE_EXCLUSIVE);
    DirectoryCloser closer{m_directory};
    m_directory.SeekToEnd();
    m_directory.Write(&entry, kEntrySize);
    m_directory.Close();
    return true;
}

bool CDatasetStore::UpdateDirEntry(const DatasetDirEntry& entry) {
    const int index = FindDirIndex(entry.GetKey());
    if (index < 0)
        return false;
    OpenDirectory(STGM_READWRITE | STGM_SHARE_EXCLUSIVE);
    DirectoryCloser closer{m_directory};
    DatasetDirEntry stored;
    m_directory.Seek(static_cast<std::int64_t>(index * kEntrySize), STREAM_SEEK_SET);
    if (m_directory.Read(&stored, kEntrySize) != kEntrySize)
        return false;
    // The key keeps the spelling it was listed with.
    DatasetDirEntry updated = entry;
    std::memcpy(updated.Key, stored.Key, sizeof(updated.Key));
    if (std::memcmp(&stored, &updated, kEntrySize) == 0)
        return true; // already current
    m_directory.Seek(static_cast<std::int64_t>(index * kEntrySize), STREAM_SEEK_SET);
    m_directory.Write(&updated, kEntrySize);
    m_directory.Close();
    return true;
}

bool CDatasetStore::RemoveDirEntry(const std::string& key) {
    const int count = GetDirCount();
    if (count == 0)
        return false;
    OpenDirectory(STGM_READWRITE | STGM_SHARE_EXCLUSIVE);
    DirectoryCloser closer{m_directory};
    DatasetDirEntry entry;
    int index = 0;
    for (; index < count; ++index) {
        if (m_directory.Read(&entry, kEntrySize) != kEntrySize)
            return false;
        if (SameKey(entry, key))
            break;
    }
    if (index == count)
        return false;
    // Close the gap in blocks rather than entry by entry.
    std::vector<DatasetDirEntry> block;
    for (int from = index + 1; from < count;) {
        const int n = std::min(count - from, DatasetDirEnum::kBlockEntries);
        block.resize(n);
        m_directory.Seek(static_cast<std::int64_t>(from * kEntrySize), STREAM_SEEK_SET);
        m_directory.Read(block.data(), n * kEntrySize);
        m_directory.Seek(static_cast<std::int64_t>((from - 1) * kEntrySize), STREAM_SEEK_SET);
        m_directory.Write(block.data(), n * kEntrySize);
        from += n;
    }
    m_directory.SetLength((count - 1) * kEntrySize);
    m_directory.Close();
    return true;
}

bool CDatasetStore::DestroyDataset(const std::string& key) {
    if (IsDatasetOpen(key))
        ThrowStorageFailure(STG_E_ACCESSDENIED, key);
    if (RemoveDirEntry(key)) {
        try {
            m_root.DestroyElement(key);
            m_root.Commit();
        } catch (const StorageException& e) {
            ThrowStorageFailure(e.Status(), key);
        }
    }
    return true;
}

void CDatasetStore::AddOpenDataset(CDataset* dataset) {
    if (dataset)
        m_openDatasets[dataset->GetKey()] = dataset;
}

void CDatasetStore::RemoveOpenDataset(CDataset* dataset) {
    if (!dataset)
        return;
    const auto it = m_openDatasets.find(dataset->GetKey());
    if (it != m_openDatasets.end() && it->second == dataset)
        m_openDatasets.erase(it);
}
