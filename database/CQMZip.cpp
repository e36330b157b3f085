#include "database/CQMZip.h"

#include <cstddef>
#include <filesystem>
#include <system_error>
#include <vector>

#include <sys/stat.h>

#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"
#include "platform/zip/Zip.h"

namespace fs = std::filesystem;
using tvane::zip::ZipStatus;

namespace {

// Error codes of the archive writer, 0 to 21.
const char* const kZipErrors[] = {
    nullptr,
    "Busy, can't enter now",
    "Unexpected end of ZIP file",
    "ZIP file structure invalid",
    "Out of memory",
    "Internal logic error",
    "Entry too big to split",
    "Invalid comment format",
    "ZIP file invalid or insufficient memory",
    "Application canceled operation",
    "Temporary file failure",
    "Input file read failure",
    "Nothing to do - check for proper file list delimiter(space) and\nensure quotes are used to "
    "separate file names",
    "Missing or empty ZIP file",
    "Output file write failure, possible disk full or read-only file",
    "Could not create output file - possibly in use by another application",
    "Invalid combination of control parameters",
    "Could not complete operation",
    "File not found or no read permission",
    "Media error, disk not ready, or hardware error",
    "Invalid combination of multi-volume control parameters",
    "Improper use of a multi-volume ZIP file",
};

struct CodeText {
    int code;
    const char* text;
};

// Error codes of the archive reader; the codes between have no description.
const CodeText kUnzipErrors[] = {
    {2, "Unexpected end of ZIP file"},
    {3, "Zip file structure invalid"},
    {4, "Out of memory"},
    {5, "Out of memory"},
    {9, "File not found"},
    {11, "No files to test, extract, etc"},
    {12, "Same volume used as both source and destination\nduring extraction from multi-volume "
         "ZIP file"},
    {25, "Index out of bounds"},
    {28, "Error creating output file"},
    {29, "Error opening archive"},
    {39, "Bad CRC"},
    {40, "Application cancelled operation"},
    {41, "File skipped, encrypted"},
    {42, "File skipped, unknown compression method"},
    {44, "Bad or missing decrypt code"},
    {45, "Busy, can't enter now"},
    {46, "Can't extract a Volume ID item"},
    {47, "Bad command structure"},
    {48, "Operation cancelled"},
    {49, "Operation skipped"},
    {50, "Disk full"},
};

constexpr int kZipWriteError = 14;
constexpr const char* kZipWriteErrorText =
    "Export write error - make sure destination disk is writable and not full";

int ZipErrorCode(ZipStatus status) {
    switch (status) {
    case ZipStatus::Ok:
        return 0;
    case ZipStatus::NothingToDo:
        return 12;
    case ZipStatus::DuplicateName:
        return 16;
    case ZipStatus::InputUnreadable:
        return 18;
    case ZipStatus::ArchiveCreateFailed:
        return 15;
    case ZipStatus::ArchiveWriteFailed:
    case ZipStatus::DiskFull:
        return kZipWriteError;
    case ZipStatus::OutOfMemory:
        return 4;
    default:
        return 17;
    }
}

int UnzipErrorCode(ZipStatus status) {
    switch (status) {
    case ZipStatus::Ok:
        return 0;
    case ZipStatus::ArchiveNotFound:
        return 9;
    case ZipStatus::NotAnArchive:
        return 3;
    case ZipStatus::MemberNotFound:
        return 11;
    case ZipStatus::IndexOutOfRange:
        return 25;
    case ZipStatus::UnsafeName:
    case ZipStatus::OutputCreateFailed:
    case ZipStatus::OutputWriteFailed:
        return 28;
    case ZipStatus::DiskFull:
        return 50;
    case ZipStatus::BadCrc:
        return 39;
    case ZipStatus::Encrypted:
        return 41;
    case ZipStatus::UnsupportedCompression:
        return 42;
    case ZipStatus::OutOfMemory:
        return 4;
    default:
        return 29;
    }
}

// The paths of an item list: quoted paths (which may hold blanks) or bare
// words, separated by blanks.
std::vector<fs::path> ParseItemList(const std::string& list) {
    std::vector<fs::path> items;
    std::size_t i = 0;
    while (i < list.size()) {
        if (list[i] == ' ') {
            ++i;
            continue;
        }
        std::size_t end;
        if (list[i] == '"') {
            end = list.find('"', i + 1);
            if (end == std::string::npos)
                end = list.size();
            if (end > i + 1)
                items.emplace_back(list.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            end = list.find(' ', i);
            if (end == std::string::npos)
                end = list.size();
            items.emplace_back(list.substr(i, end - i));
            i = end;
        }
    }
    return items;
}

void EndWithSeparator(std::string& folder) {
    if (folder.back() != '/' && folder.back() != '\\')
        folder += '/';
}

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

} // namespace

int CQMZip::Ask(const std::string& text, const std::string& caption) {
    tvane::MessageRequest request;
    request.text = text;
    request.caption = caption;
    request.buttons = tvane::MsgButtons::OkCancel;
    request.icon = tvane::MsgIcon::Question;
    tvane::IPrompter& prompter = m_owner ? *m_owner : tvane::Prompter();
    return static_cast<int>(prompter.Ask(request));
}

void CQMZip::ShowError(const std::string& text) {
    tvane::MessageRequest request;
    request.text = text;
    request.caption = "Tvane";
    request.helpId = kHelpContext;
    tvane::IPrompter& prompter = m_owner ? *m_owner : tvane::Prompter();
    prompter.Ask(request);
}

bool CQMZip::ZipFiles(const std::string& archive, const std::string& itemList, int flag) {
    if (archive.empty() || itemList.empty())
        return false;
    if (Exists(archive)) {
        if (Ask(archive + " already exists, overwrite?", "File Exists") !=
            static_cast<int>(tvane::MsgAnswer::Ok))
            return false;
        std::error_code ec;
        fs::remove(archive, ec);
    }
    const std::vector<fs::path> files = ParseItemList(itemList);
    const int code = ZipErrorCode(tvane::zip::CreateArchive(archive, files));
    if (code == kZipWriteError) {
        ShowError(kZipWriteErrorText);
        return false;
    }
    if (code != 0) {
        std::string text;
        GetZipErrorText(text, code);
        ShowError(text);
        return false;
    }
    if (flag == kRemoveFiles) {
        for (const fs::path& file : files) {
            std::error_code ec;
            fs::remove(file, ec);
        }
    }
    return true;
}

bool CQMZip::UnzipAll(const std::string& archive, std::string& destination) {
    if (archive.empty() || destination.empty())
        return false;
    EndWithSeparator(destination);
    int count = 0;
    if (!GetEntryCount(archive, count) || count < 1)
        return false;
    tvane::zip::ZipReader reader;
    if (reader.Open(archive) != ZipStatus::Ok)
        return false;

    bool anyExists = false;
    for (int i = 0; i < count && !anyExists; ++i) {
        const std::string name = tvane::zip::MemberBaseName(reader.Name(i));
        anyExists = !name.empty() && Exists(destination + name);
    }
    if (anyExists && Ask("Some or all of the files already exist, overwrite?", "File(s) Exists") !=
                         static_cast<int>(tvane::MsgAnswer::Ok))
        return false;

    for (int i = 0; i < count; ++i) {
        const ZipStatus status = reader.Extract(i, destination);
        if (status != ZipStatus::Ok) {
            std::string text;
            GetUnzipErrorText(text, UnzipErrorCode(status));
            ShowError(text);
            return false;
        }
    }
    return true;
}

bool CQMZip::UnzipFile(const std::string& archive, std::string& destination,
                       const std::string& entry) {
    if (archive.empty() || destination.empty() || entry.empty())
        return false;
    EndWithSeparator(destination);
    const std::string fileName = tvane::zip::MemberBaseName(entry);
    int count = 0;
    // An archive without members has nothing to extract: that is a failure.
    if (fileName.empty() || !GetEntryCount(archive, count) || count < 1)
        return false;
    tvane::zip::ZipReader reader;
    if (reader.Open(archive) != ZipStatus::Ok)
        return false;

    const int index = reader.Find(fileName);
    if (index >= 0 && Exists(destination + tvane::zip::MemberBaseName(reader.Name(index))) &&
        Ask(fileName + " already exist, overwrite?", "File(s) Exists") !=
            static_cast<int>(tvane::MsgAnswer::Ok))
        return false;

    const ZipStatus status =
        index < 0 ? ZipStatus::MemberNotFound : reader.Extract(index, destination);
    if (status != ZipStatus::Ok) {
        std::string text;
        GetUnzipErrorText(text, UnzipErrorCode(status));
        ShowError(text);
        return false;
    }
    return true;
}

bool CQMZip::UnzipFileTo(const std::string& archive, const std::string& entry,
                         const std::string& target, std::uint64_t maxBytes) {
    if (archive.empty() || entry.empty() || target.empty())
        return false;
    std::error_code ec;
    fs::remove(target, ec);
    tvane::zip::ZipReader reader;
    if (reader.Open(archive) != ZipStatus::Ok || reader.Count() < 1)
        return false;
    const int index = reader.Find(entry);
    tvane::zip::ExtractLimits limits;
    limits.maxBytes = maxBytes;
    const ZipStatus status =
        index < 0 ? ZipStatus::MemberNotFound : reader.ExtractTo(index, target, limits);
    if (status == ZipStatus::TooLarge) {
        ShowError(tvane::Format(kTooLarge, tvane::zip::MemberBaseName(entry).c_str()));
        return false;
    }
    if (status != ZipStatus::Ok) {
        std::string text;
        GetUnzipErrorText(text, UnzipErrorCode(status));
        ShowError(text);
        return false;
    }
    // Only what the extraction itself wrote is taken, never a link.
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        fs::remove(target, ec);
        return false;
    }
    return true;
}

bool CQMZip::GetEntryCount(const std::string& archive, int& count) {
    count = 0;
    if (archive.empty())
        return false;
    tvane::zip::ZipReader reader;
    if (reader.Open(archive) != ZipStatus::Ok)
        return false;
    count = reader.Count();
    return true;
}

bool CQMZip::ContainsFile(const std::string& archive, const std::string& entry) {
    if (archive.empty() || entry.empty())
        return false;
    int count = 0;
    if (!GetEntryCount(archive, count) || count < 1)
        return false;
    tvane::zip::ZipReader reader;
    return reader.Open(archive) == ZipStatus::Ok && reader.Find(entry) >= 0;
}

void CQMZip::GetZipErrorText(std::string& text, int code) {
    text = tvane::Format("Import/Export error %d.\n", code);
    if (code > 0 && code < static_cast<int>(std::size(kZipErrors)))
        text += kZipErrors[code];
}

void CQMZip::GetUnzipErrorText(std::string& text, int code) {
    text = tvane::Format("Import/Export error %d.\n", code);
    for (const CodeText& entry : kUnzipErrors) {
        if (entry.code == code)
            text += entry.text;
    }
}
