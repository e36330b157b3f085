#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/storage/StorageError.h"

namespace tvane {

// A compound file (structured storage, version 3 with 512-byte sectors) holds a tree
// of storages (folders) and streams (files). Writes go straight to the file; the
// tables that describe them (allocation table, directory, header) are written at
// each Commit and when the root's last handle goes, in that order and followed by
// fsync, so a crash between two commits leaves the last committed state readable.
//
// All failures throw StorageException. Handles are single-threaded. Every handle
// keeps the file open: it is closed (committed, unlocked) when the last storage or
// stream handle of it is closed or destroyed.

using StorageMode = std::uint32_t;
// Access.
inline constexpr StorageMode STGM_READ = 0x00000000;
inline constexpr StorageMode STGM_WRITE = 0x00000001;
inline constexpr StorageMode STGM_READWRITE = 0x00000002;
// Sharing. An open of a file for writing takes an exclusive lock (any second
// opener is refused with STG_E_ACCESSDENIED); a read-only open takes a shared
// lock unless it asks for STGM_SHARE_DENY_NONE. Elements inside a file are always
// opened exclusively: a second open of an open element is refused.
inline constexpr StorageMode STGM_SHARE_DENY_NONE = 0x00000040;
inline constexpr StorageMode STGM_SHARE_DENY_READ = 0x00000030;
inline constexpr StorageMode STGM_SHARE_DENY_WRITE = 0x00000020;
inline constexpr StorageMode STGM_SHARE_EXCLUSIVE = 0x00000010;
// Creation: replace an existing file or element instead of failing on it.
inline constexpr StorageMode STGM_CREATE = 0x00001000;
inline constexpr StorageMode STGM_FAILIFTHERE = 0x00000000;
// Accepted for compatibility; every open works directly on the file and Commit
// makes the changes durable.
inline constexpr StorageMode STGM_DIRECT = 0x00000000;
inline constexpr StorageMode STGM_TRANSACTED = 0x00010000;

// Element types as the format stores them.
inline constexpr std::uint32_t STGTY_STORAGE = 1;
inline constexpr std::uint32_t STGTY_STREAM = 2;
inline constexpr std::uint32_t STGTY_ROOT = 5;

// Seek origins.
inline constexpr int STREAM_SEEK_SET = 0;
inline constexpr int STREAM_SEEK_CUR = 1;
inline constexpr int STREAM_SEEK_END = 2;

// A stream never exceeds this size.
inline constexpr std::uint64_t kMaxStreamSize = 0x7FFFFFFF;

using StorageClassId = std::array<std::uint8_t, 16>;

struct StatStg {
    std::string name;       // UTF-8; the root reports the file's path
    std::uint32_t type = 0; // STGTY_*
    std::uint64_t size = 0; // streams only
    StorageClassId clsid{};
    std::uint32_t stateBits = 0;
    StorageMode mode = 0; // the mode of the handle (for Stat of an open handle)
};

namespace storage_detail {
class CompoundFile;
}

class Stream {
public:
    Stream();
    ~Stream();
    Stream(Stream&&) noexcept;
    Stream& operator=(Stream&&) noexcept;
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    explicit operator bool() const { return IsOpen(); }

    // Reads up to count bytes at the seek position; fewer at the end of the stream.
    std::size_t Read(void* buffer, std::size_t count);
    // Writes all count bytes at the seek position, growing the stream as needed.
    void Write(const void* data, std::size_t count);
    // Moves the seek position; returns the new position. Beyond the end is allowed
    // (a later write fills the gap with zeros); before the start is refused.
    std::uint64_t Seek(std::int64_t offset, int origin);
    std::uint64_t Position() const { return m_position; }
    std::uint64_t Size() const;
    // Grows (with zeros) or shrinks the stream; freed sectors are reused.
    void SetSize(std::uint64_t size);
    StatStg Stat() const;
    // Makes everything written so far durable (commits the whole file).
    void Commit();
    // Releases the handle. Throws when the release was the file's last handle and
    // its final commit failed; the handle is released all the same.
    void Close();

private:
    friend class storage_detail::CompoundFile;
    friend class Storage;
    std::shared_ptr<storage_detail::CompoundFile> m_file;
    std::uint32_t m_entry = 0;
    StorageMode m_mode = 0;
    std::uint64_t m_position = 0;
};

class Storage {
public:
    Storage();
    ~Storage();
    Storage(Storage&&) noexcept;
    Storage& operator=(Storage&&) noexcept;
    Storage(const Storage&) = delete;
    Storage& operator=(const Storage&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    explicit operator bool() const { return IsOpen(); }

    // Creates a stream or storage; an existing element of the name is an error
    // (STG_E_FILEALREADYEXISTS) unless the mode has STGM_CREATE, which replaces it.
    Stream CreateStream(const std::string& name, StorageMode mode);
    Storage CreateStorage(const std::string& name, StorageMode mode);
    // Opens an element; STG_E_FILENOTFOUND when there is none of that name and type.
    Stream OpenStream(const std::string& name, StorageMode mode);
    Storage OpenStorage(const std::string& name, StorageMode mode);
    // Removes an element, a storage with everything in it. An element that is
    // open (or holds an open element) is refused with STG_E_ACCESSDENIED.
    void DestroyElement(const std::string& name);
    // The elements directly inside this storage, in the format's name order.
    std::vector<StatStg> EnumElements() const;
    bool HasElement(const std::string& name) const;
    StatStg Stat() const;
    void SetClass(const StorageClassId& clsid);
    // Makes everything written so far durable (commits the whole file).
    void Commit();
    // Releases the handle; see Stream::Close.
    void Close();

private:
    friend class storage_detail::CompoundFile;
    friend Storage StgCreateDocfile(const std::filesystem::path&, StorageMode);
    friend Storage StgOpenStorage(const std::filesystem::path&, StorageMode);
    std::shared_ptr<storage_detail::CompoundFile> m_file;
    std::uint32_t m_entry = 0;
    StorageMode m_mode = 0;
};

// Creates a compound file. Without STGM_CREATE an existing file is an error
// (STG_E_FILEALREADYEXISTS); with it the file is replaced once it is locked.
// The mode must ask for write access.
Storage StgCreateDocfile(const std::filesystem::path& path, StorageMode mode);
// Opens an existing compound file: STG_E_FILENOTFOUND when it is missing,
// STG_E_ACCESSDENIED when it cannot be opened or locked, STG_E_INVALIDHEADER when it
// is not a compound file, STG_E_DOCFILECORRUPT when its structure is damaged.
Storage StgOpenStorage(const std::filesystem::path& path, StorageMode mode);
// STG_S_OK when the file is a compound file, STG_S_FALSE when it is not,
// STG_E_FILENOTFOUND when it is missing, STG_E_ACCESSDENIED when it cannot be read.
StorageStatus StgIsStorageFile(const std::filesystem::path& path);

} // namespace tvane
