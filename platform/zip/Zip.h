#pragma once
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace tvane::zip {

// What an archive operation ended with. Callers map these to their own texts.
enum class ZipStatus {
    Ok,
    NothingToDo,            // no file was named
    DuplicateName,          // two files to add share a base name
    InputUnreadable,        // a file to add is missing or cannot be read
    ArchiveNotFound,        // the archive to read does not exist
    ArchiveUnreadable,      // the archive exists but cannot be opened
    NotAnArchive,           // not a zip archive, or its structure is damaged
    ArchiveCreateFailed,    // the archive (or its temporary file) cannot be created
    ArchiveWriteFailed,     // writing the archive failed
    DiskFull,               // no space left while writing
    MemberNotFound,         // no member of that name
    IndexOutOfRange,        // no member at that index
    UnsafeName,             // the member's name names no file inside the folder
    OutputCreateFailed,     // the extracted file cannot be created
    OutputWriteFailed,      // writing the extracted file failed
    BadCrc,                 // the member's data do not match its checksum
    Encrypted,              // the member is encrypted
    UnsupportedCompression, // the member's compression method is unknown
    OutOfMemory,
    TooLarge, // the member is larger than the extraction allows
    Failed,   // anything else the library reports
};

// A short English description, for logs and test output.
const char* Describe(ZipStatus status);

// The last element of a member name, with '/' and '\\' both taken as separators
// and a drive prefix ("C:") dropped; empty when the name names no file
// ("", ".", "..", or a name ending in a separator). Extraction writes a member
// under this name only, so no member can reach outside the target folder.
std::string MemberBaseName(const std::string& name);

// Writes a new archive holding the files, each stored under its base name.
// An existing archive is replaced only when the new one is complete.
ZipStatus CreateArchive(const std::filesystem::path& archive,
                        const std::vector<std::filesystem::path>& files);

// What one extraction may write. A member is refused before anything is
// written when its stated size is above maxBytes, when it is above ratioFloor
// and more than maxRatio times its compressed size, or when the target's file
// system would keep less than reserveBytes free; and while it is written, as
// soon as it grows past its stated size.
struct ExtractLimits {
    std::uint64_t maxBytes = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t ratioFloor = 1u << 20;
    std::uint64_t maxRatio = 200;
    std::uint64_t reserveBytes = 1u << 20;
};

// An archive opened for reading. Member names are reported as stored.
class ZipReader {
public:
    ZipReader();
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    ZipStatus Open(const std::filesystem::path& archive);
    void Close();
    bool IsOpen() const;

    int Count() const;
    // The stored name of member index; empty when out of range.
    std::string Name(int index) const;
    // The member whose base name equals that of name: the first of the same
    // case, else the first that differs only in case; -1 when none.
    int Find(const std::string& name) const;

    // Writes member index into folder (created when missing) under its base
    // name. The data go to a
    // temporary file in the folder first, which replaces any file (or link) of
    // that name only when the data are complete and their checksum is right.
    ZipStatus Extract(int index, const std::filesystem::path& folder,
                      const ExtractLimits& limits = {}) const;
    // Writes member index as the file target, whatever the member's name, in
    // the same way.
    ZipStatus ExtractTo(int index, const std::filesystem::path& target,
                        const ExtractLimits& limits = {}) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

} // namespace tvane::zip
