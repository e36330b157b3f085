#include "platform/zip/Zip.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <set>
#include <sys/statvfs.h>
#include <unistd.h>

#include <zip.h>

#include "platform/core/CaseInsensitive.h"

namespace fs = std::filesystem;

namespace tvane::zip {

const char* Describe(ZipStatus status) {
    switch (status) {
    case ZipStatus::Ok:
        return "ok";
    case ZipStatus::NothingToDo:
        return "no files named";
    case ZipStatus::DuplicateName:
        return "two files share a name";
    case ZipStatus::InputUnreadable:
        return "a file to add cannot be read";
    case ZipStatus::ArchiveNotFound:
        return "archive not found";
    case ZipStatus::ArchiveUnreadable:
        return "archive cannot be opened";
    case ZipStatus::NotAnArchive:
        return "not a zip archive or damaged";
    case ZipStatus::ArchiveCreateFailed:
        return "archive cannot be created";
    case ZipStatus::ArchiveWriteFailed:
        return "archive write failed";
    case ZipStatus::DiskFull:
        return "disk full";
    case ZipStatus::MemberNotFound:
        return "member not found";
    case ZipStatus::IndexOutOfRange:
        return "member index out of range";
    case ZipStatus::UnsafeName:
        return "member name names no file";
    case ZipStatus::OutputCreateFailed:
        return "output file cannot be created";
    case ZipStatus::OutputWriteFailed:
        return "output file write failed";
    case ZipStatus::BadCrc:
        return "checksum mismatch";
    case ZipStatus::Encrypted:
        return "member is encrypted";
    case ZipStatus::UnsupportedCompression:
        return "unsupported compression method";
    case ZipStatus::OutOfMemory:
        return "out of memory";
    case ZipStatus::TooLarge:
        return "member larger than allowed";
    case ZipStatus::Failed:
        return "zip library failure";
    }
    return "unknown";
}

std::string MemberBaseName(const std::string& name) {
    const std::size_t cut = name.find_last_of("/\\:");
    std::string base = cut == std::string::npos ? name : name.substr(cut + 1);
    if (base == "." || base == "..")
        return {};
    return base;
}

namespace {

// Status of a library error met while reading.
ZipStatus ReadStatus(const zip_error_t* error) {
    switch (zip_error_code_zip(error)) {
    case ZIP_ER_CRC:
        return ZipStatus::BadCrc;
    case ZIP_ER_MEMORY:
        return ZipStatus::OutOfMemory;
    case ZIP_ER_NOZIP:
    case ZIP_ER_INCONS:
    case ZIP_ER_EOF:
    case ZIP_ER_SEEK:
    case ZIP_ER_ZLIB:
    case ZIP_ER_COMPRESSED_DATA:
        return ZipStatus::NotAnArchive;
    case ZIP_ER_COMPNOTSUPP:
        return ZipStatus::UnsupportedCompression;
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        return ZipStatus::Encrypted;
    case ZIP_ER_NOENT:
        return ZipStatus::ArchiveNotFound;
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
        return ZipStatus::ArchiveUnreadable;
    default:
        return ZipStatus::Failed;
    }
}

// Status of a library error met while writing the archive.
ZipStatus WriteStatus(const zip_error_t* error) {
    const int system = zip_error_code_system(error);
    switch (zip_error_code_zip(error)) {
    case ZIP_ER_MEMORY:
        return ZipStatus::OutOfMemory;
    case ZIP_ER_TMPOPEN:
    case ZIP_ER_RENAME:
        return ZipStatus::ArchiveCreateFailed;
    case ZIP_ER_WRITE:
    case ZIP_ER_CLOSE:
        return system == ENOSPC || system == EDQUOT ? ZipStatus::DiskFull
                                                    : ZipStatus::ArchiveWriteFailed;
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
    case ZIP_ER_NOENT:
        return ZipStatus::InputUnreadable;
    default:
        return ZipStatus::Failed;
    }
}

bool Readable(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        return false;
    FILE* f = std::fopen(file.c_str(), "rb");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

// Removes a temporary file unless it was handed over.
struct TempFile {
    std::string path;
    int fd = -1;
    ~TempFile() {
        if (fd >= 0)
            ::close(fd);
        if (!path.empty())
            ::unlink(path.c_str());
    }
};

// A new file beside the target, created exclusively (never through an existing
// name or link) with the mode the user's umask gives ordinary files.
int CreateTemporary(const fs::path& folder, const std::string& base, std::string& path) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = (folder / ("." + base + "." + std::to_string(::getpid()) +
                                                 "." + std::to_string(counter.fetch_add(1))))
                                          .string();
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            path = candidate;
            return fd;
        }
        if (errno != EEXIST)
            break;
    }
    return -1;
}

bool WriteAll(int fd, const char* data, std::size_t size, int& error) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

ZipStatus CreateArchive(const fs::path& archive, const std::vector<fs::path>& files) {
    if (files.empty())
        return ZipStatus::NothingToDo;
    std::set<std::string, LessNoCase> names;
    for (const fs::path& file : files) {
        const std::string name = MemberBaseName(file.string());
        if (name.empty())
            return ZipStatus::InputUnreadable;
        // Extraction writes every member under its base name, so two of one
        // name would overwrite each other there.
        if (!names.insert(name).second)
            return ZipStatus::DuplicateName;
        if (!Readable(file))
            return ZipStatus::InputUnreadable;
    }

    int code = 0;
    zip_t* za = zip_open(archive.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!za)
        return code == ZIP_ER_MEMORY ? ZipStatus::OutOfMemory : ZipStatus::ArchiveCreateFailed;
    for (const fs::path& file : files) {
        zip_source_t* source = zip_source_file(za, file.c_str(), 0, -1);
        if (!source) {
            zip_discard(za);
            return ZipStatus::InputUnreadable;
        }
        const std::string name = MemberBaseName(file.string());
        if (zip_file_add(za, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
            const ZipStatus status = WriteStatus(zip_get_error(za));
            zip_source_free(source);
            zip_discard(za);
            return status;
        }
    }
    // libzip writes a temporary file beside the archive and renames it over the
    // archive only when it is complete.
    if (zip_close(za) != 0) {
        const ZipStatus status = WriteStatus(zip_get_error(za));
        zip_discard(za);
        return status;
    }
    return ZipStatus::Ok;
}

struct ZipReader::Impl {
    zip_t* za = nullptr;
};

ZipReader::ZipReader() : m(std::make_unique<Impl>()) {}

ZipReader::~ZipReader() {
    Close();
}

ZipStatus ZipReader::Open(const fs::path& archive) {
    Close();
    std::error_code ec;
    if (!fs::exists(archive, ec))
        return ZipStatus::ArchiveNotFound;
    if (!fs::is_regular_file(archive, ec))
        return ZipStatus::ArchiveUnreadable;
    int code = 0;
    m->za = zip_open(archive.c_str(), ZIP_RDONLY, &code);
    if (!m->za) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const ZipStatus status = ReadStatus(&error);
        zip_error_fini(&error);
        return status;
    }
    return ZipStatus::Ok;
}

void ZipReader::Close() {
    if (m->za)
        zip_discard(m->za);
    m->za = nullptr;
}

bool ZipReader::IsOpen() const {
    return m->za != nullptr;
}

int ZipReader::Count() const {
    if (!m->za)
        return 0;
    const zip_int64_t n = zip_get_num_entries(m->za, 0);
    return n < 0 ? 0 : static_cast<int>(n);
}

std::string ZipReader::Name(int index) const {
    if (!m->za || index < 0 || index >= Count())
        return {};
    const char* name = zip_get_name(m->za, static_cast<zip_uint64_t>(index), 0);
    return name ? name : "";
}

int ZipReader::Find(const std::string& name) const {
    const std::string wanted = MemberBaseName(name);
    if (wanted.empty())
        return -1;
    const int count = Count();
    int other = -1;
    for (int i = 0; i < count; ++i) {
        const std::string base = MemberBaseName(Name(i));
        if (base == wanted)
            return i;
        if (other < 0 && EqualsNoCase(base, wanted))
            other = i;
    }
    return other;
}

ZipStatus ZipReader::Extract(int index, const fs::path& folder, const ExtractLimits& limits) const {
    if (!m->za)
        return ZipStatus::ArchiveUnreadable;
    if (index < 0 || index >= Count())
        return ZipStatus::IndexOutOfRange;
    const std::string base = MemberBaseName(Name(index));
    if (base.empty())
        return ZipStatus::UnsafeName;
    std::error_code ec;
    fs::create_directories(folder, ec);
    return ExtractTo(index, folder / base, limits);
}

ZipStatus ZipReader::ExtractTo(int index, const fs::path& target,
                               const ExtractLimits& limits) const {
    if (!m->za)
        return ZipStatus::ArchiveUnreadable;
    if (index < 0 || index >= Count())
        return ZipStatus::IndexOutOfRange;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string base = target.filename().string();
    if (base.empty() || base == "." || base == "..")
        return ZipStatus::UnsafeName;

    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m->za, static_cast<zip_uint64_t>(index), 0, &stat) != 0)
        return ReadStatus(zip_get_error(m->za));
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
        return ZipStatus::Encrypted;
    if ((stat.valid & ZIP_STAT_COMP_METHOD) &&
        !zip_compression_method_supported(static_cast<zip_int32_t>(stat.comp_method), 0))
        return ZipStatus::UnsupportedCompression;

    // The stated sizes decide before anything is written; the data may not
    // grow past them afterwards.
    if (!(stat.valid & ZIP_STAT_SIZE))
        return ZipStatus::NotAnArchive;
    const std::uint64_t size = stat.size;
    if (size > limits.maxBytes)
        return ZipStatus::TooLarge;
    if (size > limits.ratioFloor) {
        const std::uint64_t packed = (stat.valid & ZIP_STAT_COMP_SIZE) ? stat.comp_size : 0;
        if (packed == 0 || size / packed >= limits.maxRatio)
            return ZipStatus::TooLarge;
    }
    struct statvfs space {};
    if (::statvfs(folder.c_str(), &space) == 0) {
        const std::uint64_t available =
            static_cast<std::uint64_t>(space.f_bavail) * static_cast<std::uint64_t>(space.f_frsize);
        if (available < size || available - size < limits.reserveBytes)
            return ZipStatus::DiskFull;
    }

    zip_file_t* in = zip_fopen_index(m->za, static_cast<zip_uint64_t>(index), 0);
    if (!in)
        return ReadStatus(zip_get_error(m->za));

    TempFile temp;
    temp.fd = CreateTemporary(folder, base, temp.path);
    if (temp.fd < 0) {
        zip_fclose(in);
        return ZipStatus::OutputCreateFailed;
    }

    ZipStatus status = ZipStatus::Ok;
    char buffer[65536];
    std::uint64_t written = 0;
    for (;;) {
        const zip_int64_t n = zip_fread(in, buffer, sizeof(buffer));
        if (n < 0) {
            status = ReadStatus(zip_file_get_error(in));
            break;
        }
        if (n == 0)
            break;
        written += static_cast<std::uint64_t>(n);
        if (written > size) {
            status = ZipStatus::TooLarge;
            break;
        }
        int error = 0;
        if (!WriteAll(temp.fd, buffer, static_cast<std::size_t>(n), error)) {
            status = error == ENOSPC || error == EDQUOT ? ZipStatus::DiskFull
                                                        : ZipStatus::OutputWriteFailed;
            break;
        }
    }
    zip_fclose(in);
    if (status != ZipStatus::Ok)
        return status;
    if (::fsync(temp.fd) != 0)
        return errno == ENOSPC || errno == EDQUOT ? ZipStatus::DiskFull
                                                  : ZipStatus::OutputWriteFailed;
    ::close(temp.fd);
    temp.fd = -1;
    // rename replaces a link of that name instead of writing through it.
    if (std::rename(temp.path.c_str(), target.c_str()) != 0)
        return ZipStatus::OutputCreateFailed;
    temp.path.clear();
    return ZipStatus::Ok;
}

} // namespace tvane::zip
