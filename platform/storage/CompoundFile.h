#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/storage/Storage.h"

namespace tvane::storage_detail {

inline constexpr std::uint32_t kFreeSect = 0xFFFFFFFF;
inline constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
inline constexpr std::uint32_t kFatSect = 0xFFFFFFFD;
inline constexpr std::uint32_t kDifSect = 0xFFFFFFFC;
inline constexpr std::uint32_t kMaxRegSect = 0xFFFFFFFA;
inline constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

inline constexpr std::uint32_t kSectorSize = 512;
inline constexpr std::uint32_t kMiniSectorSize = 64;
inline constexpr std::uint32_t kMiniCutoff = 4096;
inline constexpr std::uint32_t kIdsPerSector = kSectorSize / 4;
inline constexpr std::uint32_t kEntriesPerSector = kSectorSize / 128;
inline constexpr std::uint32_t kHeaderDifat = 109;

inline constexpr std::uint8_t kTypeEmpty = 0;
inline constexpr std::uint8_t kRed = 0;
inline constexpr std::uint8_t kBlack = 1;

struct DirEntry {
    std::u16string name;
    std::uint8_t type = kTypeEmpty;
    std::uint8_t color = kBlack;
    std::uint32_t left = kNoStream;
    std::uint32_t right = kNoStream;
    std::uint32_t child = kNoStream;
    StorageClassId clsid{};
    std::uint32_t stateBits = 0;
    std::uint64_t created = 0;
    std::uint64_t modified = 0;
    std::uint32_t start = kEndOfChain;
    std::uint64_t size = 0;
    // Kept in memory only: the parent inside the sibling tree and the storage
    // whose tree holds the entry.
    std::uint32_t parent = kNoStream;
    std::uint32_t owner = kNoStream;
};

// Sectors (or mini sectors) of one stream, in order, kept as runs of
// consecutive ids: a stream that grows by appending stays one run, so its
// memory does not grow with its length.
class Chain {
public:
    struct Run {
        std::uint64_t first; // index in the chain of its first sector
        std::uint32_t start;
        std::uint32_t count;
    };

    bool mini = false;

    std::size_t Size() const { return m_size; }
    bool Empty() const { return m_size == 0; }
    std::uint32_t Back() const { return m_runs.back().start + m_runs.back().count - 1; }
    void PushBack(std::uint32_t id);
    void PopBack();
    void Clear() {
        m_runs.clear();
        m_size = 0;
    }
    // The sector at index; run gets the number of consecutive sectors from it
    // to the end of its run.
    std::uint32_t At(std::size_t index, std::size_t* run = nullptr) const;
    // Whether any sector appears twice.
    bool HasRepeats() const;
    std::size_t RunCount() const { return m_runs.size(); }

private:
    std::vector<Run> m_runs;
    std::size_t m_size = 0;
};

// A set of sector ids kept as runs [start, end), cheap for the long runs of
// free or new sectors a file has.
class SectorSet {
public:
    bool Empty() const { return m_runs.empty(); }
    bool Contains(std::uint32_t id) const;
    void Insert(std::uint32_t id);
    // False when id was not in the set.
    bool Erase(std::uint32_t id);
    std::uint32_t TakeFirst();
    void InsertAll(const SectorSet& other);
    void Clear() { m_runs.clear(); }
    std::size_t RunCount() const { return m_runs.size(); }

private:
    std::map<std::uint32_t, std::uint32_t> m_runs; // start -> end
};

// A set of indices marked since the last commit, cheap to clear.
struct DirtySet {
    std::vector<std::uint8_t> flag;
    std::vector<std::uint32_t> list;
    void Mark(std::uint32_t i) {
        if (i >= flag.size()) {
            flag.resize(static_cast<std::size_t>(i) + 1 + flag.size() / 2, 0);
        }
        if (!flag[i]) {
            flag[i] = 1;
            list.push_back(i);
        }
    }
    bool Has(std::uint32_t i) const { return i < flag.size() && flag[i]; }
    void Clear() {
        for (std::uint32_t i : list) {
            flag[i] = 0;
        }
        list.clear();
    }
};

// One open compound file: its allocation tables, directory and lock. Storage and
// Stream handles share it; it commits and unlocks when the last one goes.
class CompoundFile {
public:
    static std::shared_ptr<CompoundFile> Create(const std::filesystem::path& path,
                                                StorageMode mode);
    static std::shared_ptr<CompoundFile> Open(const std::filesystem::path& path, StorageMode mode);
    ~CompoundFile();
    CompoundFile(const CompoundFile&) = delete;
    CompoundFile& operator=(const CompoundFile&) = delete;

    bool Writable() const { return m_writable; }
    const std::string& PathText() const { return m_pathText; }

    const DirEntry& Entry(std::uint32_t id) const { return m_entries[id]; }
    void SetClass(std::uint32_t id, const StorageClassId& clsid);

    // Directory.
    std::uint32_t Find(std::uint32_t storage, const std::u16string& name) const;
    std::uint32_t AddEntry(std::uint32_t storage, const std::u16string& name, std::uint8_t type);
    void Destroy(std::uint32_t entry);
    std::vector<std::uint32_t> Children(std::uint32_t storage) const;

    // Elements inside the file are open at most once.
    bool IsOpen(std::uint32_t entry) const { return m_open.count(entry) != 0; }
    bool HoldsOpen(std::uint32_t entry) const;
    void MarkOpen(std::uint32_t entry) { m_open.insert(entry); }
    void MarkClosed(std::uint32_t entry);

    // Stream contents.
    std::size_t ReadAt(std::uint32_t entry, std::uint64_t pos, void* buffer, std::size_t count);
    void WriteAt(std::uint32_t entry, std::uint64_t pos, const void* data, std::size_t count);
    void Resize(std::uint32_t entry, std::uint64_t size);
    // Resize to a larger size whose new bytes read as zeros.
    void Grow(std::uint32_t entry, std::uint64_t size);

    void Commit();

    // Opens a stream's chain, refusing (as corrupt) one that its size does not
    // fit: a size is trusted only once the sectors behind it are there.
    void CheckChain(std::uint32_t entry) { GetChain(entry); }

private:
    CompoundFile() = default;
    void InitEmpty();
    void Load();
    void LoadTrees();
    [[noreturn]] void Corrupt(const std::string& detail) const;

    // Raw file access.
    void ReadRaw(std::uint64_t offset, void* buffer, std::size_t count) const;
    void WriteRaw(std::uint64_t offset, const void* data, std::size_t count);
    static std::uint64_t SectorOffset(std::uint32_t id) {
        return (static_cast<std::uint64_t>(id) + 1) * kSectorSize;
    }
    std::vector<std::uint32_t> WalkFat(std::uint32_t start, const char* what) const;

    // The allocation table, read one sector (page) at a time and kept in a
    // small cache; pages changed since the last commit stay until it.
    using FatPage = std::array<std::uint32_t, kIdsPerSector>;
    static constexpr std::size_t kFatCachePages = 64;
    std::uint32_t FatCapacity() const {
        return static_cast<std::uint32_t>(m_fatSectors.size() * kIdsPerSector);
    }
    const FatPage& Page(std::uint32_t index) const;
    // Drops the pages that are on disk as they are (all but the dirty ones).
    void DropCleanPages() const;
    std::uint32_t Fat(std::uint32_t id) const {
        return Page(id / kIdsPerSector)[id % kIdsPerSector];
    }
    void ReadPage(std::uint32_t index, FatPage& page) const;

    // Allocation.
    void SetFat(std::uint32_t id, std::uint32_t value);
    void SetMiniFat(std::uint32_t id, std::uint32_t value);
    std::uint32_t AllocSector(std::uint32_t after);
    std::uint32_t AllocMiniSector(std::uint32_t after);
    void FreeSector(std::uint32_t id);
    void FreeMiniSector(std::uint32_t id);
    void GrowFat();

    // Chains of streams.
    Chain& GetChain(std::uint32_t entry);
    void SetChainLength(std::uint32_t entry, Chain& chain, std::size_t count);
    void IoChain(const Chain& chain, std::uint64_t pos, void* buffer, std::size_t count,
                 bool write);
    void ZeroFill(std::uint32_t entry, std::uint64_t from, std::uint64_t to);

    // Directory tree.
    void MarkEntry(std::uint32_t id) { m_dirtyEntries.Mark(id); }
    std::uint32_t NewEntry();
    std::uint32_t& TreeRoot(std::uint32_t storage) { return m_entries[storage].child; }
    void RotateLeft(std::uint32_t storage, std::uint32_t x);
    void RotateRight(std::uint32_t storage, std::uint32_t x);
    void InsertNode(std::uint32_t storage, std::uint32_t z);
    void RemoveNode(std::uint32_t storage, std::uint32_t z);
    void ReplaceNode(std::uint32_t storage, std::uint32_t u, std::uint32_t v);
    void SetColor(std::uint32_t id, std::uint8_t color) {
        m_entries[id].color = color;
        MarkEntry(id);
    }
    std::uint8_t ColorOf(std::uint32_t id) const {
        return id == kNoStream ? kBlack : m_entries[id].color;
    }
    void RebuildTree(std::uint32_t storage, std::vector<std::uint32_t> sorted);
    std::uint32_t BuildBalanced(const std::vector<std::uint32_t>& sorted, std::size_t lo,
                                std::size_t hi, std::uint32_t parent, std::uint32_t storage,
                                int depth, int redDepth);

    int m_fd = -1;
    bool m_writable = false;
    std::string m_pathText;

    std::uint32_t m_sectorCount = 0;
    mutable std::unordered_map<std::uint32_t, FatPage> m_fatPages;
    std::vector<std::uint32_t> m_fatSectors;
    std::vector<std::uint32_t> m_difatSectors;
    std::vector<std::uint32_t> m_dirSectors;
    std::vector<DirEntry> m_entries;
    std::vector<std::uint32_t> m_miniFat;
    std::vector<std::uint32_t> m_miniFatSectors;
    Chain m_miniChain;             // sectors of the mini stream
    std::uint32_t m_miniCount = 0; // mini sectors in use by the mini stream

    // Free space. A sector freed since the last commit belongs to the committed
    // state and is not reused until the next commit has made it unreachable.
    SectorSet m_free;
    SectorSet m_pendingFree;
    SectorSet m_newSectors;
    SectorSet m_miniFree;
    SectorSet m_pendingMiniFree;
    SectorSet m_newMiniSectors;

    DirtySet m_dirtyFat;
    DirtySet m_dirtyMiniFat;
    DirtySet m_dirtyEntries;
    bool m_difatDirty = false;
    bool m_headerDirty = false;

    std::uint32_t m_entryHint = 1; // no free directory entry below it
    std::set<std::uint32_t> m_open;
    std::unordered_map<std::uint32_t, Chain> m_chains;
};

} // namespace tvane::storage_detail
