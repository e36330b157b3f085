#include "platform/storage/Storage.h"

#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "platform/storage/CompoundFile.h"
#include "platform/storage/StorageNames.h"

namespace tvane {

using storage_detail::CompoundFile;
using storage_detail::kNoStream;

namespace {

bool WantsWrite(StorageMode mode) {
    return (mode & 3) == STGM_WRITE || (mode & 3) == STGM_READWRITE;
}

void CheckMode(StorageMode mode, const std::string& name) {
    if ((mode & 3) == 3) {
        throw StorageException(STG_E_INVALIDFLAG, name, "unknown access mode");
    }
}

// Releases one handle; when it was the file's last, the final commit's failure is
// reported after the handle is gone.
void ReleaseFile(std::shared_ptr<CompoundFile>& file, std::uint32_t entry, bool report) {
    if (!file) {
        return;
    }
    std::shared_ptr<CompoundFile> held = std::move(file);
    if (entry != 0) {
        held->MarkClosed(entry);
    }
    if (held.use_count() == 1 && report) {
        held->Commit();
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Storage

Storage::Storage() = default;

Storage::~Storage() {
    try {
        ReleaseFile(m_file, m_entry, false);
    } catch (...) {
    }
}

Storage::Storage(Storage&& other) noexcept
    : m_file(std::move(other.m_file)), m_entry(other.m_entry), m_mode(other.m_mode) {}

Storage& Storage::operator=(Storage&& other) noexcept {
    if (this != &other) {
        try {
            ReleaseFile(m_file, m_entry, false);
        } catch (...) {
        }
        m_file = std::move(other.m_file);
        m_entry = other.m_entry;
        m_mode = other.m_mode;
    }
    return *this;
}

void Storage::Close() {
    ReleaseFile(m_file, m_entry, true);
}

namespace {

CompoundFile& Need(const std::shared_ptr<CompoundFile>& file) {
    if (!file) {
        throw StorageException(STG_E_INVALIDHANDLE, {}, "the storage is not open");
    }
    return *file;
}

void NeedWrite(const CompoundFile& file, StorageMode handleMode, const std::string& name) {
    if (!file.Writable() || !WantsWrite(handleMode)) {
        throw StorageException(STG_E_ACCESSDENIED, name, "opened for reading only");
    }
}

// Checks a new element's name and mode, and removes an element it replaces.
std::u16string PrepareCreate(CompoundFile& file, std::uint32_t storage, StorageMode handleMode,
                             const std::string& name, StorageMode mode) {
    CheckMode(mode, name);
    NeedWrite(file, handleMode, name);
    if (!WantsWrite(mode)) {
        throw StorageException(STG_E_INVALIDFLAG, name, "a new element must be writable");
    }
    std::u16string wide = storage_detail::NameFromUtf8(name);
    storage_detail::CheckElementName(wide, name);
    std::uint32_t existing = file.Find(storage, wide);
    if (existing != kNoStream) {
        if (!(mode & STGM_CREATE)) {
            throw StorageException(STG_E_FILEALREADYEXISTS, name);
        }
        if (file.HoldsOpen(existing)) {
            throw StorageException(STG_E_ACCESSDENIED, name, "the element is open");
        }
        file.Destroy(existing);
    }
    return wide;
}

std::uint32_t PrepareOpen(const CompoundFile& file, std::uint32_t storage, StorageMode handleMode,
                          const std::string& name, StorageMode mode, std::uint32_t type) {
    CheckMode(mode, name);
    if (WantsWrite(mode)) {
        NeedWrite(file, handleMode, name);
    }
    std::u16string wide = storage_detail::NameFromUtf8(name);
    std::uint32_t id = file.Find(storage, wide);
    if (id == kNoStream || file.Entry(id).type != type) {
        throw StorageException(STG_E_FILENOTFOUND, name);
    }
    if (file.IsOpen(id)) {
        throw StorageException(STG_E_ACCESSDENIED, name, "the element is already open");
    }
    return id;
}

StatStg StatOf(const CompoundFile& file, std::uint32_t id, StorageMode mode) {
    const storage_detail::DirEntry& e = file.Entry(id);
    StatStg st;
    st.name = id == 0 ? file.PathText() : storage_detail::NameToUtf8(e.name);
    st.type = e.type;
    st.size = e.type == STGTY_STREAM ? e.size : 0;
    st.clsid = e.clsid;
    st.stateBits = e.stateBits;
    st.mode = mode;
    return st;
}

} // namespace

Stream Storage::CreateStream(const std::string& name, StorageMode mode) {
    CompoundFile& file = Need(m_file);
    std::u16string wide = PrepareCreate(file, m_entry, m_mode, name, mode);
    Stream stream;
    stream.m_entry = file.AddEntry(m_entry, wide, STGTY_STREAM);
    file.MarkOpen(stream.m_entry);
    stream.m_file = m_file;
    stream.m_mode = mode;
    return stream;
}

Storage Storage::CreateStorage(const std::string& name, StorageMode mode) {
    CompoundFile& file = Need(m_file);
    std::u16string wide = PrepareCreate(file, m_entry, m_mode, name, mode);
    Storage storage;
    storage.m_entry = file.AddEntry(m_entry, wide, STGTY_STORAGE);
    file.MarkOpen(storage.m_entry);
    storage.m_file = m_file;
    storage.m_mode = mode;
    return storage;
}

Stream Storage::OpenStream(const std::string& name, StorageMode mode) {
    CompoundFile& file = Need(m_file);
    std::uint32_t id = PrepareOpen(file, m_entry, m_mode, name, mode, STGTY_STREAM);
    // A stream whose size its sectors do not back is refused here, before any
    // reader sizes a buffer by it.
    file.CheckChain(id);
    Stream stream;
    file.MarkOpen(id);
    stream.m_file = m_file;
    stream.m_entry = id;
    stream.m_mode = mode;
    return stream;
}

Storage Storage::OpenStorage(const std::string& name, StorageMode mode) {
    CompoundFile& file = Need(m_file);
    std::uint32_t id = PrepareOpen(file, m_entry, m_mode, name, mode, STGTY_STORAGE);
    Storage storage;
    file.MarkOpen(id);
    storage.m_file = m_file;
    storage.m_entry = id;
    storage.m_mode = mode;
    return storage;
}

void Storage::DestroyElement(const std::string& name) {
    CompoundFile& file = Need(m_file);
    NeedWrite(file, m_mode, name);
    std::u16string wide = storage_detail::NameFromUtf8(name);
    std::uint32_t id = file.Find(m_entry, wide);
    if (id == kNoStream) {
        throw StorageException(STG_E_FILENOTFOUND, name);
    }
    if (file.HoldsOpen(id)) {
        throw StorageException(STG_E_ACCESSDENIED, name, "the element is open");
    }
    file.Destroy(id);
}

std::vector<StatStg> Storage::EnumElements() const {
    const CompoundFile& file = Need(m_file);
    std::vector<StatStg> out;
    for (std::uint32_t id : file.Children(m_entry)) {
        out.push_back(StatOf(file, id, 0));
    }
    return out;
}

bool Storage::HasElement(const std::string& name) const {
    const CompoundFile& file = Need(m_file);
    return file.Find(m_entry, storage_detail::NameFromUtf8(name)) != kNoStream;
}

StatStg Storage::Stat() const {
    return StatOf(Need(m_file), m_entry, m_mode);
}

void Storage::SetClass(const StorageClassId& clsid) {
    CompoundFile& file = Need(m_file);
    NeedWrite(file, m_mode, StatOf(file, m_entry, m_mode).name);
    file.SetClass(m_entry, clsid);
}

void Storage::Commit() {
    Need(m_file).Commit();
}

// ---------------------------------------------------------------------------
// Stream

Stream::Stream() = default;

Stream::~Stream() {
    try {
        ReleaseFile(m_file, m_entry, false);
    } catch (...) {
    }
}

Stream::Stream(Stream&& other) noexcept
    : m_file(std::move(other.m_file)), m_entry(other.m_entry), m_mode(other.m_mode),
      m_position(other.m_position) {}

Stream& Stream::operator=(Stream&& other) noexcept {
    if (this != &other) {
        try {
            ReleaseFile(m_file, m_entry, false);
        } catch (...) {
        }
        m_file = std::move(other.m_file);
        m_entry = other.m_entry;
        m_mode = other.m_mode;
        m_position = other.m_position;
    }
    return *this;
}

void Stream::Close() {
    ReleaseFile(m_file, m_entry, true);
    m_position = 0;
}

namespace {
CompoundFile& NeedStream(const std::shared_ptr<CompoundFile>& file) {
    if (!file) {
        throw StorageException(STG_E_INVALIDHANDLE, {}, "the stream is not open");
    }
    return *file;
}
} // namespace

std::size_t Stream::Read(void* buffer, std::size_t count) {
    CompoundFile& file = NeedStream(m_file);
    std::size_t n = file.ReadAt(m_entry, m_position, buffer, count);
    m_position += n;
    return n;
}

void Stream::Write(const void* data, std::size_t count) {
    CompoundFile& file = NeedStream(m_file);
    if (!file.Writable() || !WantsWrite(m_mode)) {
        throw StorageException(STG_E_ACCESSDENIED,
                               storage_detail::NameToUtf8(file.Entry(m_entry).name),
                               "opened for reading only");
    }
    file.WriteAt(m_entry, m_position, data, count);
    m_position += count;
}

std::uint64_t Stream::Seek(std::int64_t offset, int origin) {
    CompoundFile& file = NeedStream(m_file);
    std::int64_t base;
    switch (origin) {
    case STREAM_SEEK_SET:
        base = 0;
        break;
    case STREAM_SEEK_CUR:
        base = static_cast<std::int64_t>(m_position);
        break;
    case STREAM_SEEK_END:
        base = static_cast<std::int64_t>(file.Entry(m_entry).size);
        break;
    default:
        throw StorageException(STG_E_INVALIDFUNCTION, {}, "unknown seek origin");
    }
    if ((offset < 0 && base + offset < 0) ||
        (offset > 0 && offset > std::numeric_limits<std::int64_t>::max() - base)) {
        throw StorageException(STG_E_INVALIDFUNCTION,
                               storage_detail::NameToUtf8(file.Entry(m_entry).name),
                               "seek outside the stream");
    }
    m_position = static_cast<std::uint64_t>(base + offset);
    return m_position;
}

std::uint64_t Stream::Size() const {
    return NeedStream(m_file).Entry(m_entry).size;
}

void Stream::SetSize(std::uint64_t size) {
    CompoundFile& file = NeedStream(m_file);
    std::string name = storage_detail::NameToUtf8(file.Entry(m_entry).name);
    if (!file.Writable() || !WantsWrite(m_mode)) {
        throw StorageException(STG_E_ACCESSDENIED, name, "opened for reading only");
    }
    std::uint64_t old = file.Entry(m_entry).size;
    if (size > kMaxStreamSize) {
        throw StorageException(STG_E_DOCFILETOOLARGE, name,
                               "a stream holds at most 2147483647 bytes");
    }
    if (size > old) {
        file.Grow(m_entry, size); // new bytes read as zeros, whatever the sectors held
    } else {
        file.Resize(m_entry, size);
    }
}

StatStg Stream::Stat() const {
    return StatOf(NeedStream(m_file), m_entry, m_mode);
}

void Stream::Commit() {
    NeedStream(m_file).Commit();
}

// ---------------------------------------------------------------------------
// Files

Storage StgCreateDocfile(const std::filesystem::path& path, StorageMode mode) {
    Storage root;
    root.m_file = CompoundFile::Create(path, mode);
    root.m_entry = 0;
    root.m_mode = mode;
    return root;
}

Storage StgOpenStorage(const std::filesystem::path& path, StorageMode mode) {
    Storage root;
    root.m_file = CompoundFile::Open(path, mode);
    root.m_entry = 0;
    root.m_mode = mode;
    return root;
}

StorageStatus StgIsStorageFile(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT || errno == ENOTDIR ? STG_E_FILENOTFOUND : STG_E_ACCESSDENIED;
    }
    std::uint8_t head[8] = {};
    ssize_t n = ::pread(fd, head, sizeof head, 0);
    ::close(fd);
    static constexpr std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    return n == 8 && std::memcmp(head, kSignature, 8) == 0 ? STG_S_OK : STG_S_FALSE;
}

} // namespace tvane
