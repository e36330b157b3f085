#include "platform/storage/CompoundFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/storage/StorageNames.h"

namespace tvane::storage_detail {

namespace {

constexpr std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint64_t Get64(const std::uint8_t* p) {
    return Get32(p) | (static_cast<std::uint64_t>(Get32(p + 4)) << 32);
}
void Put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}
void Put64(std::uint8_t* p, std::uint64_t v) {
    Put32(p, static_cast<std::uint32_t>(v));
    Put32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

StorageStatus StatusOfOpenError(int err, bool creating) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return creating ? STG_E_PATHNOTFOUND : STG_E_FILENOTFOUND;
    case EEXIST:
        return STG_E_FILEALREADYEXISTS;
    case ENOSPC:
    case EDQUOT:
        return STG_E_MEDIUMFULL;
    default:
        return STG_E_ACCESSDENIED;
    }
}

StorageStatus StatusOfWriteError(int err) {
    return (err == ENOSPC || err == EDQUOT || err == EFBIG) ? STG_E_MEDIUMFULL : STG_E_WRITEFAULT;
}

void ParseEntry(const std::uint8_t* p, DirEntry& e) {
    e = DirEntry{};
    e.type = p[66];
    if (e.type == kTypeEmpty) {
        return;
    }
    std::uint16_t nameBytes = Get16(p + 64);
    std::size_t chars = (nameBytes >= 2 && nameBytes <= 64) ? nameBytes / 2 - 1 : 0;
    for (std::size_t i = 0; i < chars; ++i) {
        char16_t c = static_cast<char16_t>(Get16(p + 2 * i));
        if (c == 0) {
            break;
        }
        e.name.push_back(c);
    }
    e.color = p[67] == kRed ? kRed : kBlack;
    e.left = Get32(p + 68);
    e.right = Get32(p + 72);
    e.child = Get32(p + 76);
    std::memcpy(e.clsid.data(), p + 80, 16);
    e.stateBits = Get32(p + 96);
    e.created = Get64(p + 100);
    e.modified = Get64(p + 108);
    e.start = Get32(p + 116);
    // Version 3 files keep sizes in the low 32 bits; some writers leave junk above.
    e.size = Get32(p + 120);
}

void SerializeEntry(const DirEntry& e, std::uint8_t* p) {
    std::memset(p, 0, 128);
    if (e.type == kTypeEmpty) {
        Put32(p + 68, kNoStream);
        Put32(p + 72, kNoStream);
        Put32(p + 76, kNoStream);
        return;
    }
    for (std::size_t i = 0; i < e.name.size() && i < 31; ++i) {
        Put16(p + 2 * i, e.name[i]);
    }
    Put16(p + 64, static_cast<std::uint16_t>((std::min<std::size_t>(e.name.size(), 31) + 1) * 2));
    p[66] = e.type;
    p[67] = e.color;
    Put32(p + 68, e.left);
    Put32(p + 72, e.right);
    Put32(p + 76, e.child);
    std::memcpy(p + 80, e.clsid.data(), 16);
    Put32(p + 96, e.stateBits);
    Put64(p + 100, e.created);
    Put64(p + 108, e.modified);
    if (e.type == STGTY_STORAGE) {
        return; // storages have no contents
    }
    Put32(p + 116, e.start);
    Put64(p + 120, e.size);
}

} // namespace

// ---------------------------------------------------------------------------
// Chains and sector sets

void Chain::PushBack(std::uint32_t id) {
    if (!m_runs.empty() && Back() + 1 == id && m_runs.back().count < 0xFFFFFFFFu) {
        ++m_runs.back().count;
    } else {
        m_runs.push_back(Run{m_size, id, 1});
    }
    ++m_size;
}

void Chain::PopBack() {
    if (--m_runs.back().count == 0) {
        m_runs.pop_back();
    }
    --m_size;
}

std::uint32_t Chain::At(std::size_t index, std::size_t* run) const {
    auto it = std::upper_bound(m_runs.begin(), m_runs.end(), static_cast<std::uint64_t>(index),
                               [](std::uint64_t i, const Run& r) { return i < r.first; });
    const Run& r = *(it - 1);
    const std::size_t within = static_cast<std::size_t>(index - r.first);
    if (run) {
        *run = r.count - within;
    }
    return r.start + static_cast<std::uint32_t>(within);
}

bool Chain::HasRepeats() const {
    std::vector<std::pair<std::uint32_t, std::uint64_t>> spans;
    spans.reserve(m_runs.size());
    for (const Run& r : m_runs) {
        spans.emplace_back(r.start, static_cast<std::uint64_t>(r.start) + r.count);
    }
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].first < spans[i - 1].second) {
            return true;
        }
    }
    return false;
}

bool SectorSet::Contains(std::uint32_t id) const {
    auto it = m_runs.upper_bound(id);
    return it != m_runs.begin() && id < std::prev(it)->second;
}

void SectorSet::Insert(std::uint32_t id) {
    auto next = m_runs.upper_bound(id);
    if (next != m_runs.begin()) {
        auto prev = std::prev(next);
        if (id < prev->second) {
            return; // already in
        }
        if (prev->second == id) {
            prev->second = id + 1;
            if (next != m_runs.end() && next->first == prev->second) {
                prev->second = next->second;
                m_runs.erase(next);
            }
            return;
        }
    }
    if (next != m_runs.end() && next->first == id + 1) {
        const std::uint32_t end = next->second;
        m_runs.erase(next);
        m_runs.emplace(id, end);
        return;
    }
    m_runs.emplace(id, id + 1);
}

bool SectorSet::Erase(std::uint32_t id) {
    auto it = m_runs.upper_bound(id);
    if (it == m_runs.begin()) {
        return false;
    }
    --it;
    const std::uint32_t start = it->first, end = it->second;
    if (id >= end) {
        return false;
    }
    m_runs.erase(it);
    if (start < id) {
        m_runs.emplace(start, id);
    }
    if (id + 1 < end) {
        m_runs.emplace(id + 1, end);
    }
    return true;
}

std::uint32_t SectorSet::TakeFirst() {
    auto it = m_runs.begin();
    const std::uint32_t id = it->first;
    if (it->first + 1 == it->second) {
        m_runs.erase(it);
    } else {
        const std::uint32_t end = it->second;
        m_runs.erase(it);
        m_runs.emplace(id + 1, end);
    }
    return id;
}

void SectorSet::InsertAll(const SectorSet& other) {
    for (const auto& [start, end] : other.m_runs) {
        for (std::uint32_t id = start; id < end; ++id) {
            Insert(id);
        }
    }
}

CompoundFile::~CompoundFile() {
    if (m_fd >= 0) {
        try {
            Commit();
        } catch (const StorageException&) {
            // A destructor cannot report it; Close() is the way to see the failure.
        }
        ::close(m_fd);
    }
}

void CompoundFile::Corrupt(const std::string& detail) const {
    throw StorageException(STG_E_DOCFILECORRUPT, m_pathText, detail);
}

std::shared_ptr<CompoundFile> CompoundFile::Create(const std::filesystem::path& path,
                                                   StorageMode mode) {
    std::string text = std::filesystem::absolute(path).string();
    if ((mode & 3) == 3 || (mode & 3) == STGM_READ) {
        throw StorageException(STG_E_INVALIDFLAG, text, "a new file must be opened for writing");
    }
    int flags = O_RDWR | O_CREAT | O_CLOEXEC;
    if (!(mode & STGM_CREATE)) {
        flags |= O_EXCL;
    }
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        throw StorageException(StatusOfOpenError(errno, true), text, std::strerror(errno));
    }
    // Lock before truncating: a file another opener holds must stay untouched.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        throw StorageException(STG_E_ACCESSDENIED, text, "the file is in use");
    }
    if (::ftruncate(fd, 0) != 0) {
        int err = errno;
        ::close(fd);
        throw StorageException(StatusOfWriteError(err), text, std::strerror(err));
    }
    std::shared_ptr<CompoundFile> file(new CompoundFile);
    file->m_fd = fd;
    file->m_writable = true;
    file->m_pathText = text;
    file->InitEmpty();
    file->Commit();
    return file;
}

std::shared_ptr<CompoundFile> CompoundFile::Open(const std::filesystem::path& path,
                                                 StorageMode mode) {
    std::string text = std::filesystem::absolute(path).string();
    StorageMode access = mode & 3;
    if (access == 3) {
        throw StorageException(STG_E_INVALIDFLAG, text, "unknown access mode");
    }
    bool writable = access != STGM_READ;
    int fd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) {
        throw StorageException(StatusOfOpenError(errno, false), text, std::strerror(errno));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw StorageException(STG_E_ACCESSDENIED, text, "not a regular file");
    }
    bool lock = writable || (mode & 0x70) != STGM_SHARE_DENY_NONE;
    if (lock && ::flock(fd, (writable ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        ::close(fd);
        throw StorageException(STG_E_ACCESSDENIED, text, "the file is in use");
    }
    std::shared_ptr<CompoundFile> file(new CompoundFile);
    file->m_fd = fd;
    file->m_writable = writable;
    file->m_pathText = text;
    try {
        file->Load();
    } catch (...) {
        // Nothing was changed; close without a commit.
        ::close(file->m_fd);
        file->m_fd = -1;
        throw;
    }
    return file;
}

void CompoundFile::InitEmpty() {
    m_sectorCount = 2;
    m_fatSectors = {0};
    FatPage& page = m_fatPages[0];
    page.fill(kFreeSect);
    page[0] = kFatSect;
    page[1] = kEndOfChain;
    m_dirSectors = {1};
    m_entries.assign(kEntriesPerSector, DirEntry{});
    DirEntry& root = m_entries[0];
    root.name = u"Root Entry";
    root.type = STGTY_ROOT;
    root.color = kBlack;
    m_dirtyFat.Mark(0);
    for (std::uint32_t i = 0; i < kEntriesPerSector; ++i) {
        m_dirtyEntries.Mark(i);
    }
    m_headerDirty = true;
}

// ---------------------------------------------------------------------------
// Raw access

void CompoundFile::ReadRaw(std::uint64_t offset, void* buffer, std::size_t count) const {
    auto* p = static_cast<std::uint8_t*>(buffer);
    while (count > 0) {
        ssize_t n = ::pread(m_fd, p, count, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw StorageException(STG_E_READFAULT, m_pathText, std::strerror(errno));
        }
        if (n == 0) {
            // Past the end of a short last sector: the format reads it as zeros.
            std::memset(p, 0, count);
            return;
        }
        p += n;
        offset += static_cast<std::uint64_t>(n);
        count -= static_cast<std::size_t>(n);
    }
}

void CompoundFile::WriteRaw(std::uint64_t offset, const void* data, std::size_t count) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    while (count > 0) {
        ssize_t n = ::pwrite(m_fd, p, count, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw StorageException(StatusOfWriteError(errno), m_pathText, std::strerror(errno));
        }
        if (n == 0) {
            throw StorageException(STG_E_WRITEFAULT, m_pathText, "nothing written");
        }
        p += n;
        offset += static_cast<std::uint64_t>(n);
        count -= static_cast<std::size_t>(n);
    }
}

// ---------------------------------------------------------------------------
// Loading

std::vector<std::uint32_t> CompoundFile::WalkFat(std::uint32_t start, const char* what) const {
    std::vector<std::uint32_t> ids;
    std::uint32_t id = start;
    while (id != kEndOfChain) {
        if (id >= m_sectorCount) {
            Corrupt(std::string(what) + ": sector id out of range");
        }
        // No chain holds more sectors than the file: a longer one loops.
        if (ids.size() >= m_sectorCount) {
            Corrupt(std::string(what) + ": chain loops");
        }
        ids.push_back(id);
        id = Fat(id);
    }
    std::vector<std::uint32_t> sorted = ids;
    std::sort(sorted.begin(), sorted.end());
    if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
        Corrupt(std::string(what) + ": chain loops");
    }
    return ids;
}

void CompoundFile::DropCleanPages() const {
    // Pages changed since the last commit stay; the others are on disk.
    std::erase_if(m_fatPages, [this](const auto& p) { return !m_dirtyFat.Has(p.first); });
}

void CompoundFile::ReadPage(std::uint32_t index, FatPage& page) const {
    std::uint8_t buf[kSectorSize];
    ReadRaw(SectorOffset(m_fatSectors[index]), buf, kSectorSize);
    for (std::uint32_t k = 0; k < kIdsPerSector; ++k) {
        page[k] = Get32(buf + 4 * k);
    }
}

const CompoundFile::FatPage& CompoundFile::Page(std::uint32_t index) const {
    auto found = m_fatPages.find(index);
    if (found != m_fatPages.end()) {
        return found->second;
    }
    if (index >= m_fatSectors.size()) {
        Corrupt("allocation table index out of range");
    }
    if (m_fatPages.size() >= kFatCachePages) {
        DropCleanPages();
    }
    FatPage page;
    ReadPage(index, page);
    return m_fatPages.emplace(index, page).first->second;
}

void CompoundFile::Load() {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) {
        throw StorageException(STG_E_READFAULT, m_pathText, std::strerror(errno));
    }
    std::uint64_t fileSize = static_cast<std::uint64_t>(st.st_size);
    std::uint8_t h[kSectorSize];
    if (fileSize < kSectorSize) {
        if (fileSize >= 8) {
            ReadRaw(0, h, 8);
            if (std::memcmp(h, kSignature, 8) == 0) {
                Corrupt("truncated header");
            }
        }
        throw StorageException(STG_E_INVALIDHEADER, m_pathText, "not a compound file");
    }
    ReadRaw(0, h, kSectorSize);
    if (std::memcmp(h, kSignature, 8) != 0) {
        throw StorageException(STG_E_INVALIDHEADER, m_pathText, "not a compound file");
    }
    if (Get16(h + 28) != 0xFFFE) {
        Corrupt("bad byte order mark");
    }
    if (Get16(h + 26) != 3 || Get16(h + 30) != 9 || Get16(h + 32) != 6) {
        throw StorageException(STG_E_INVALIDHEADER, m_pathText,
                               "only version 3 files with 512-byte sectors are supported");
    }
    if (Get32(h + 56) != kMiniCutoff) {
        Corrupt("bad mini stream cutoff");
    }
    std::uint64_t sectorsInFile = (fileSize - kSectorSize + kSectorSize - 1) / kSectorSize;
    std::uint32_t numFat = Get32(h + 44);
    std::uint32_t firstDir = Get32(h + 48);
    std::uint32_t firstMiniFat = Get32(h + 60);
    std::uint32_t firstDifat = Get32(h + 68);
    std::uint32_t numDifat = Get32(h + 72);
    if (sectorsInFile > kMaxRegSect) {
        sectorsInFile = kMaxRegSect;
    }
    if (numFat == 0 || numFat > sectorsInFile) {
        Corrupt("bad allocation table size");
    }
    if (numDifat > sectorsInFile) {
        Corrupt("bad DIFAT size");
    }
    m_sectorCount = static_cast<std::uint32_t>(sectorsInFile);

    // Allocation table sectors: 109 in the header, the rest in the DIFAT chain.
    for (std::uint32_t i = 0; i < kHeaderDifat && m_fatSectors.size() < numFat; ++i) {
        m_fatSectors.push_back(Get32(h + 76 + 4 * i));
    }
    std::uint32_t difat = firstDifat;
    std::vector<std::uint8_t> buf(kSectorSize);
    for (std::uint32_t n = 0; m_fatSectors.size() < numFat; ++n) {
        if (n >= numDifat || difat >= m_sectorCount) {
            Corrupt("DIFAT chain too short or out of range");
        }
        if (std::find(m_difatSectors.begin(), m_difatSectors.end(), difat) !=
            m_difatSectors.end()) {
            Corrupt("DIFAT chain loops");
        }
        m_difatSectors.push_back(difat);
        ReadRaw(SectorOffset(difat), buf.data(), kSectorSize);
        for (std::uint32_t i = 0; i < kIdsPerSector - 1 && m_fatSectors.size() < numFat; ++i) {
            m_fatSectors.push_back(Get32(buf.data() + 4 * i));
        }
        difat = Get32(buf.data() + kSectorSize - 4);
    }
    for (std::uint32_t s : m_fatSectors) {
        if (s >= m_sectorCount) {
            Corrupt("allocation table sector out of range");
        }
    }
    // Sectors the table does not describe are trailing bytes; new sectors overwrite them.
    if (m_sectorCount > FatCapacity()) {
        m_sectorCount = FatCapacity();
    }
    for (std::uint32_t s : m_fatSectors) {
        if (s >= m_sectorCount) {
            Corrupt("allocation table sector out of range");
        }
    }
    for (std::uint32_t s : m_difatSectors) {
        if (s >= m_sectorCount) {
            Corrupt("DIFAT sector out of range");
        }
    }

    // Directory.
    m_dirSectors = WalkFat(firstDir, "directory");
    if (m_dirSectors.empty()) {
        Corrupt("no directory");
    }
    m_entries.resize(m_dirSectors.size() * kEntriesPerSector);
    for (std::size_t i = 0; i < m_dirSectors.size(); ++i) {
        ReadRaw(SectorOffset(m_dirSectors[i]), buf.data(), kSectorSize);
        for (std::uint32_t k = 0; k < kEntriesPerSector; ++k) {
            ParseEntry(buf.data() + 128 * k, m_entries[i * kEntriesPerSector + k]);
        }
    }
    if (m_entries[0].type != STGTY_ROOT) {
        Corrupt("the first directory entry is not the root");
    }

    // Mini stream and its table.
    m_miniFatSectors = firstMiniFat == kEndOfChain || firstMiniFat == kFreeSect
                           ? std::vector<std::uint32_t>{}
                           : WalkFat(firstMiniFat, "mini allocation table");
    m_miniFat.resize(m_miniFatSectors.size() * kIdsPerSector);
    for (std::size_t i = 0; i < m_miniFatSectors.size(); ++i) {
        ReadRaw(SectorOffset(m_miniFatSectors[i]), buf.data(), kSectorSize);
        for (std::uint32_t k = 0; k < kIdsPerSector; ++k) {
            m_miniFat[i * kIdsPerSector + k] = Get32(buf.data() + 4 * k);
        }
    }
    DirEntry& root = m_entries[0];
    if (root.size > 0) {
        for (std::uint32_t id : WalkFat(root.start, "mini stream")) {
            m_miniChain.PushBack(id);
        }
        if (static_cast<std::uint64_t>(m_miniChain.Size()) * kSectorSize < root.size) {
            Corrupt("mini stream shorter than its size");
        }
    }
    m_miniCount = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(root.size / kMiniSectorSize, m_miniFat.size()));
    if (!m_writable) {
        LoadTrees();
        return;
    }
    // Space that can be handed out again, read page by page past the cache.
    FatPage page;
    for (std::uint32_t index = 0; index * kIdsPerSector < m_sectorCount; ++index) {
        ReadPage(index, page);
        for (std::uint32_t k = 0; k < kIdsPerSector; ++k) {
            std::uint32_t s = index * kIdsPerSector + k;
            if (s < m_sectorCount && page[k] == kFreeSect) {
                m_free.Insert(s);
            }
        }
    }
    for (std::uint32_t s = 0; s < m_miniCount; ++s) {
        if (m_miniFat[s] == kFreeSect) {
            m_miniFree.Insert(s);
        }
    }
    // The mini stream's sectors beyond the used mini sectors are kept, not grown into
    // again; round its recorded size to whole mini sectors.
    if (root.size != static_cast<std::uint64_t>(m_miniCount) * kMiniSectorSize) {
        root.size = static_cast<std::uint64_t>(m_miniCount) * kMiniSectorSize;
        MarkEntry(0);
    }
    LoadTrees();
}

// ---------------------------------------------------------------------------
// Allocation

void CompoundFile::SetFat(std::uint32_t id, std::uint32_t value) {
    // Marked first: a dirty page is never dropped from the cache.
    const std::uint32_t index = id / kIdsPerSector;
    Page(index);
    m_dirtyFat.Mark(index);
    m_fatPages[index][id % kIdsPerSector] = value;
}

void CompoundFile::SetMiniFat(std::uint32_t id, std::uint32_t value) {
    m_miniFat[id] = value;
    m_dirtyMiniFat.Mark(id / kIdsPerSector);
}

void CompoundFile::GrowFat() {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> marks;
    // The table grows by up to an eighth at a time: a stream appended for days
    // then runs into a table sector only every few megabytes, and its chain
    // stays a few runs of consecutive sectors.
    std::size_t batch = 0;
    while (m_sectorCount > FatCapacity() || batch > 0) {
        if (batch == 0) {
            batch = std::clamp<std::size_t>(m_fatSectors.size() / 8, 1, 64);
        }
        --batch;
        std::uint32_t fs = m_sectorCount++;
        const auto index = static_cast<std::uint32_t>(m_fatSectors.size());
        m_fatSectors.push_back(fs);
        // A new page is not on disk yet: it stays in the cache until written.
        if (m_fatPages.size() >= kFatCachePages) {
            DropCleanPages();
        }
        m_dirtyFat.Mark(index);
        m_fatPages[index].fill(kFreeSect);
        marks.emplace_back(fs, kFatSect);
        if (m_fatSectors.size() > kHeaderDifat) {
            std::size_t need =
                (m_fatSectors.size() - kHeaderDifat + kIdsPerSector - 2) / (kIdsPerSector - 1);
            while (m_difatSectors.size() < need) {
                std::uint32_t ds = m_sectorCount++;
                m_difatSectors.push_back(ds);
                marks.emplace_back(ds, kDifSect);
            }
        }
        m_difatDirty = true;
        m_headerDirty = true;
    }
    for (auto [id, value] : marks) {
        SetFat(id, value);
        m_newSectors.Insert(id);
    }
}

std::uint32_t CompoundFile::AllocSector(std::uint32_t after) {
    std::uint32_t id;
    if (after != kNoStream && m_free.Erase(after + 1)) {
        id = after + 1;
    } else if (!m_free.Empty()) {
        id = m_free.TakeFirst();
    } else {
        if (m_sectorCount >= kMaxRegSect - 1024) {
            throw StorageException(STG_E_DOCFILETOOLARGE, m_pathText, "no sector ids left");
        }
        id = m_sectorCount++;
        GrowFat();
    }
    m_newSectors.Insert(id);
    SetFat(id, kEndOfChain);
    return id;
}

void CompoundFile::FreeSector(std::uint32_t id) {
    SetFat(id, kFreeSect);
    if (m_newSectors.Contains(id)) {
        m_free.Insert(id);
    } else {
        m_pendingFree.Insert(id);
    }
}

std::uint32_t CompoundFile::AllocMiniSector(std::uint32_t after) {
    std::uint32_t id;
    if (after != kNoStream && m_miniFree.Erase(after + 1)) {
        id = after + 1;
    } else if (!m_miniFree.Empty()) {
        id = m_miniFree.TakeFirst();
    } else {
        id = m_miniCount;
        if (id >= m_miniFat.size()) {
            std::uint32_t last = m_miniFatSectors.empty() ? kNoStream : m_miniFatSectors.back();
            std::uint32_t s = AllocSector(last);
            if (last != kNoStream) {
                SetFat(last, s);
            } else {
                m_headerDirty = true;
            }
            m_miniFatSectors.push_back(s);
            m_miniFat.resize(m_miniFat.size() + kIdsPerSector, kFreeSect);
            m_dirtyMiniFat.Mark(static_cast<std::uint32_t>(m_miniFatSectors.size() - 1));
            m_headerDirty = true;
        }
        std::uint64_t needBytes = (static_cast<std::uint64_t>(id) + 1) * kMiniSectorSize;
        if (needBytes > static_cast<std::uint64_t>(m_miniChain.Size()) * kSectorSize) {
            std::uint32_t last = m_miniChain.Empty() ? kNoStream : m_miniChain.Back();
            std::uint32_t s = AllocSector(last);
            if (last != kNoStream) {
                SetFat(last, s);
            } else {
                m_entries[0].start = s;
            }
            m_miniChain.PushBack(s);
        }
        ++m_miniCount;
        m_entries[0].size = static_cast<std::uint64_t>(m_miniCount) * kMiniSectorSize;
        MarkEntry(0);
    }
    m_newMiniSectors.Insert(id);
    SetMiniFat(id, kEndOfChain);
    return id;
}

void CompoundFile::FreeMiniSector(std::uint32_t id) {
    SetMiniFat(id, kFreeSect);
    if (m_newMiniSectors.Contains(id)) {
        m_miniFree.Insert(id);
    } else {
        m_pendingMiniFree.Insert(id);
    }
}

// ---------------------------------------------------------------------------
// Stream contents

Chain& CompoundFile::GetChain(std::uint32_t entry) {
    auto found = m_chains.find(entry);
    if (found != m_chains.end()) {
        return found->second;
    }
    const DirEntry& d = m_entries[entry];
    Chain chain;
    chain.mini = d.size < kMiniCutoff;
    std::uint32_t unit = chain.mini ? kMiniSectorSize : kSectorSize;
    std::size_t count = static_cast<std::size_t>((d.size + unit - 1) / unit);
    std::uint32_t limit = chain.mini ? m_miniCount : m_sectorCount;
    // The size is checked against the file before anything is sized by it.
    if (count > limit) {
        Corrupt("stream larger than the file");
    }
    std::uint32_t id = d.start;
    for (std::size_t i = 0; i < count; ++i) {
        if (id >= limit) {
            Corrupt("stream chain shorter than its size or out of range");
        }
        chain.PushBack(id);
        id = chain.mini ? m_miniFat[id] : Fat(id);
    }
    // Even the last sector must be one a chain may hold, not a table's own sector.
    if (count > 0 && (id == kFreeSect || id == kFatSect || id == kDifSect)) {
        Corrupt("stream chain runs into unallocated or table sectors");
    }
    if (chain.HasRepeats()) {
        Corrupt("stream chain loops");
    }
    return m_chains.emplace(entry, std::move(chain)).first->second;
}

void CompoundFile::SetChainLength(std::uint32_t entry, Chain& chain, std::size_t count) {
    DirEntry& d = m_entries[entry];
    while (chain.Size() > count) {
        std::uint32_t id = chain.Back();
        chain.PopBack();
        if (chain.mini) {
            FreeMiniSector(id);
        } else {
            FreeSector(id);
        }
    }
    if (!chain.Empty()) {
        if (chain.mini) {
            SetMiniFat(chain.Back(), kEndOfChain);
        } else {
            SetFat(chain.Back(), kEndOfChain);
        }
    }
    while (chain.Size() < count) {
        std::uint32_t last = chain.Empty() ? kNoStream : chain.Back();
        std::uint32_t id = chain.mini ? AllocMiniSector(last) : AllocSector(last);
        if (last == kNoStream) {
            d.start = id;
        } else if (chain.mini) {
            SetMiniFat(last, id);
        } else {
            SetFat(last, id);
        }
        chain.PushBack(id);
    }
    if (chain.Empty()) {
        d.start = kEndOfChain;
    }
    MarkEntry(entry);
}

void CompoundFile::IoChain(const Chain& chain, std::uint64_t pos, void* buffer, std::size_t count,
                           bool write) {
    auto* p = static_cast<std::uint8_t*>(buffer);
    std::uint32_t unit = chain.mini ? kMiniSectorSize : kSectorSize;
    while (count > 0) {
        std::size_t index = static_cast<std::size_t>(pos / unit);
        std::size_t within = static_cast<std::size_t>(pos % unit);
        std::size_t take = std::min<std::size_t>(count, unit - within);
        std::uint64_t offset;
        if (chain.mini) {
            std::uint64_t m =
                static_cast<std::uint64_t>(chain.At(index)) * kMiniSectorSize + within;
            offset = SectorOffset(m_miniChain.At(static_cast<std::size_t>(m / kSectorSize))) +
                     m % kSectorSize;
        } else {
            std::size_t run = 0;
            offset = SectorOffset(chain.At(index, &run)) + within;
            // One system call for a run of consecutive sectors.
            const std::uint64_t runBytes = static_cast<std::uint64_t>(run) * kSectorSize - within;
            take = static_cast<std::size_t>(std::min<std::uint64_t>(count, runBytes));
        }
        if (write) {
            WriteRaw(offset, p, take);
        } else {
            ReadRaw(offset, p, take);
        }
        p += take;
        pos += take;
        count -= take;
    }
}

std::size_t CompoundFile::ReadAt(std::uint32_t entry, std::uint64_t pos, void* buffer,
                                 std::size_t count) {
    const DirEntry& d = m_entries[entry];
    if (pos >= d.size) {
        return 0;
    }
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, d.size - pos));
    IoChain(GetChain(entry), pos, buffer, count, false);
    return count;
}

void CompoundFile::ZeroFill(std::uint32_t entry, std::uint64_t from, std::uint64_t to) {
    static const std::vector<std::uint8_t> zeros(64 * 1024, 0);
    Chain& chain = GetChain(entry);
    while (from < to) {
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(zeros.size(), to - from));
        IoChain(chain, from, const_cast<std::uint8_t*>(zeros.data()), n, true);
        from += n;
    }
}

void CompoundFile::WriteAt(std::uint32_t entry, std::uint64_t pos, const void* data,
                           std::size_t count) {
    if (count == 0) {
        return;
    }
    if (pos > kMaxStreamSize || count > kMaxStreamSize - pos) {
        throw StorageException(STG_E_DOCFILETOOLARGE, NameToUtf8(m_entries[entry].name),
                               "a stream holds at most 2147483647 bytes");
    }
    std::uint64_t old = m_entries[entry].size;
    try {
        if (pos + count > old) {
            Resize(entry, pos + count);
            if (pos > old) {
                ZeroFill(entry, old, pos);
            }
        }
        IoChain(GetChain(entry), pos, const_cast<void*>(data), count, true);
    } catch (const StorageException&) {
        // A stream never claims bytes that did not reach the file.
        if (m_entries[entry].size > old) {
            Resize(entry, old);
        }
        throw;
    }
}

void CompoundFile::Grow(std::uint32_t entry, std::uint64_t size) {
    std::uint64_t old = m_entries[entry].size;
    try {
        Resize(entry, size);
        ZeroFill(entry, old, size);
    } catch (const StorageException&) {
        if (m_entries[entry].size > old) {
            Resize(entry, old);
        }
        throw;
    }
}

void CompoundFile::Resize(std::uint32_t entry, std::uint64_t size) {
    if (size > kMaxStreamSize) {
        throw StorageException(STG_E_DOCFILETOOLARGE, NameToUtf8(m_entries[entry].name),
                               "a stream holds at most 2147483647 bytes");
    }
    Chain& chain = GetChain(entry);
    DirEntry& d = m_entries[entry];
    std::uint64_t old = d.size;
    if (size == old) {
        return;
    }
    bool mini = size < kMiniCutoff;
    if (mini != chain.mini) {
        // Crossing the cutoff moves the contents between the mini stream and
        // whole sectors, as the format requires of every stream.
        std::vector<std::uint8_t> keep(static_cast<std::size_t>(std::min(old, size)));
        IoChain(chain, 0, keep.data(), keep.size(), false);
        SetChainLength(entry, chain, 0);
        chain.mini = mini;
        std::uint32_t unit = mini ? kMiniSectorSize : kSectorSize;
        SetChainLength(entry, chain, static_cast<std::size_t>((size + unit - 1) / unit));
        d.size = size;
        IoChain(chain, 0, keep.data(), keep.size(), true);
        MarkEntry(entry);
        return;
    }
    std::uint32_t unit = mini ? kMiniSectorSize : kSectorSize;
    SetChainLength(entry, chain, static_cast<std::size_t>((size + unit - 1) / unit));
    d.size = size;
    MarkEntry(entry);
}

// ---------------------------------------------------------------------------
// Commit: data is already in place; then the tables, the directory, and last the
// header, so the previous header describes a whole state until the new one lands.

void CompoundFile::Commit() {
    if (!m_writable || m_fd < 0) {
        return;
    }
    if (m_dirtyFat.list.empty() && m_dirtyMiniFat.list.empty() && m_dirtyEntries.list.empty() &&
        !m_difatDirty && !m_headerDirty) {
        // Only contents were overwritten in place: make them durable.
        if (::fdatasync(m_fd) != 0) {
            throw StorageException(StatusOfWriteError(errno), m_pathText, std::strerror(errno));
        }
        return;
    }
    std::uint8_t buf[kSectorSize];
    // Free sectors at the end (left by shrinking, or by a write that failed) are
    // cut off; no state refers to them. The file then holds every sector exactly.
    while (m_sectorCount > 0 && Fat(m_sectorCount - 1) == kFreeSect &&
           m_free.Erase(m_sectorCount - 1)) {
        --m_sectorCount;
    }
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) {
        throw StorageException(STG_E_WRITEFAULT, m_pathText, std::strerror(errno));
    }
    std::uint64_t wanted = SectorOffset(m_sectorCount);
    if (static_cast<std::uint64_t>(st.st_size) != wanted &&
        ::ftruncate(m_fd, static_cast<off_t>(wanted)) != 0) {
        throw StorageException(StatusOfWriteError(errno), m_pathText, std::strerror(errno));
    }
    for (std::uint32_t i : m_dirtyMiniFat.list) {
        for (std::uint32_t k = 0; k < kIdsPerSector; ++k) {
            Put32(buf + 4 * k, m_miniFat[i * kIdsPerSector + k]);
        }
        WriteRaw(SectorOffset(m_miniFatSectors[i]), buf, kSectorSize);
    }
    for (std::uint32_t i : m_dirtyFat.list) {
        const FatPage& page = m_fatPages.at(i);
        for (std::uint32_t k = 0; k < kIdsPerSector; ++k) {
            Put32(buf + 4 * k, page[k]);
        }
        WriteRaw(SectorOffset(m_fatSectors[i]), buf, kSectorSize);
    }
    if (m_difatDirty) {
        std::size_t next = kHeaderDifat;
        for (std::size_t d = 0; d < m_difatSectors.size(); ++d) {
            for (std::uint32_t k = 0; k < kIdsPerSector - 1; ++k, ++next) {
                Put32(buf + 4 * k, next < m_fatSectors.size() ? m_fatSectors[next] : kFreeSect);
            }
            Put32(buf + kSectorSize - 4,
                  d + 1 < m_difatSectors.size() ? m_difatSectors[d + 1] : kEndOfChain);
            WriteRaw(SectorOffset(m_difatSectors[d]), buf, kSectorSize);
        }
    }
    std::vector<std::uint32_t> dirSectors;
    for (std::uint32_t e : m_dirtyEntries.list) {
        dirSectors.push_back(e / kEntriesPerSector);
    }
    std::sort(dirSectors.begin(), dirSectors.end());
    dirSectors.erase(std::unique(dirSectors.begin(), dirSectors.end()), dirSectors.end());
    for (std::uint32_t s : dirSectors) {
        for (std::uint32_t k = 0; k < kEntriesPerSector; ++k) {
            SerializeEntry(m_entries[s * kEntriesPerSector + k], buf + 128 * k);
        }
        WriteRaw(SectorOffset(m_dirSectors[s]), buf, kSectorSize);
    }
    if (::fdatasync(m_fd) != 0) {
        throw StorageException(StatusOfWriteError(errno), m_pathText, std::strerror(errno));
    }

    std::memset(buf, 0, sizeof buf);
    std::memcpy(buf, kSignature, 8);
    Put16(buf + 24, 0x003E);
    Put16(buf + 26, 3);
    Put16(buf + 28, 0xFFFE);
    Put16(buf + 30, 9);
    Put16(buf + 32, 6);
    Put32(buf + 40, 0);
    Put32(buf + 44, static_cast<std::uint32_t>(m_fatSectors.size()));
    Put32(buf + 48, m_dirSectors[0]);
    Put32(buf + 52, 0);
    Put32(buf + 56, kMiniCutoff);
    Put32(buf + 60, m_miniFatSectors.empty() ? kEndOfChain : m_miniFatSectors[0]);
    Put32(buf + 64, static_cast<std::uint32_t>(m_miniFatSectors.size()));
    Put32(buf + 68, m_difatSectors.empty() ? kEndOfChain : m_difatSectors[0]);
    Put32(buf + 72, static_cast<std::uint32_t>(m_difatSectors.size()));
    for (std::uint32_t i = 0; i < kHeaderDifat; ++i) {
        Put32(buf + 76 + 4 * i, i < m_fatSectors.size() ? m_fatSectors[i] : kFreeSect);
    }
    WriteRaw(0, buf, kSectorSize);
    if (::fdatasync(m_fd) != 0) {
        throw StorageException(StatusOfWriteError(errno), m_pathText, std::strerror(errno));
    }

    m_dirtyFat.Clear();
    m_dirtyMiniFat.Clear();
    m_dirtyEntries.Clear();
    m_difatDirty = false;
    m_headerDirty = false;
    // What the new state no longer uses can now be handed out again.
    m_free.InsertAll(m_pendingFree);
    m_pendingFree.Clear();
    m_miniFree.InsertAll(m_pendingMiniFree);
    m_pendingMiniFree.Clear();
    m_newSectors.Clear();
    m_newMiniSectors.Clear();
    // A long run commits often: its table stays on disk between the commits.
    DropCleanPages();
}

} // namespace tvane::storage_detail
