#include "graphics/ChartStateFiles.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "platform/archive/CArchive.h"
#include "platform/core/FrameworkExceptions.h"
#include "platform/ui/Prompter.h"
#include "shared/DiskSpace.h"

namespace {

long g_stateCounter = 0;
IDiskSpaceCheck* g_diskCheck = nullptr;

constexpr unsigned kLowMemoryHelp = 13000;
constexpr std::size_t kBlock = 50000;

// Made when first needed; removed with what it holds when the process ends.
// A logger runs for days, and a temporary folder can be cleaned away under
// it: a folder that is gone is made afresh (under a new name, never one that
// another could have made in its place), or every later Save would fail.
struct StateFolder {
    ~StateFolder() {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
    const std::filesystem::path& Get() {
        std::error_code ignored;
        if (!path.empty() && std::filesystem::is_directory(path, ignored))
            return path;
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tvane-charts-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw tvane::FileException(tvane::FileException::CauseFromErrno(errno), errno, pattern);
        path = pattern;
        return path;
    }
    std::filesystem::path path;
};

class FreeSpaceCheck final : public IDiskSpaceCheck {
public:
    bool HasFreeSpace(double bytes, const std::string& folder) override {
        std::string error;
        const auto free = FreeDiskBytes(folder, error);
        return CheckDiskSpace(static_cast<std::uint32_t>(bytes), free, error);
    }
};

[[noreturn]] void FileFailed(const std::filesystem::path& file) {
    throw tvane::FileException(tvane::FileException::CauseFromErrno(errno), errno, file.string());
}

} // namespace

std::filesystem::path ChartStateFolder() {
    static StateFolder folder;
    return folder.Get();
}

std::filesystem::path NextChartStateFile() {
    ++g_stateCounter;
    char name[32];
    std::snprintf(name, sizeof name, "%ld.xrt", g_stateCounter);
    return ChartStateFolder() / name;
}

long ChartStateCounter() {
    return g_stateCounter;
}

IDiskSpaceCheck& ChartDiskSpaceCheck() {
    static FreeSpaceCheck fileSystem;
    return g_diskCheck ? *g_diskCheck : fileSystem;
}

void SetChartDiskSpaceCheck(IDiskSpaceCheck* check) {
    g_diskCheck = check;
}

void StoreFileInArchive(tvane::CArchive& ar, const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        FileFailed(file);
    in.seekg(0, std::ios::end);
    const auto length = static_cast<std::int64_t>(in.tellg());
    in.seekg(0);
    if (length < 0 || length > 0x7FFFFFFF)
        throw tvane::FileException(tvane::FileException::badSeek, 0, file.string());
    std::vector<char> buffer;
    for (std::size_t size : {kBlock, kBlock / 2}) {
        try {
            buffer.resize(size);
            break;
        } catch (const std::bad_alloc&) {
        }
    }
    if (buffer.empty()) {
        ar << std::int32_t{0};
        // Message 932.
        tvane::ShowMessage("Couldn't Serialize CMfxFile - Low Memory", tvane::MsgButtons::Ok,
                           tvane::MsgIcon::Warning, kLowMemoryHelp);
        return;
    }
    ar << static_cast<std::int32_t>(length);
    for (std::int64_t left = length; left > 0;) {
        const auto chunk = static_cast<std::streamsize>(
            std::min<std::int64_t>(left, static_cast<std::int64_t>(buffer.size())));
        if (!in.read(buffer.data(), chunk))
            FileFailed(file);
        ar.Write(buffer.data(), static_cast<std::size_t>(chunk));
        left -= chunk;
    }
}

bool LoadFileFromArchive(tvane::CArchive& ar, const std::filesystem::path& file) {
    std::int32_t length = 0;
    ar >> length;
    if (length < 0)
        throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                       "negative length of a stored file");
    if (length == 0)
        return false;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out)
        FileFailed(file);
    std::vector<char> buffer(std::min<std::size_t>(kBlock, static_cast<std::size_t>(length)));
    try {
        for (std::int32_t left = length; left > 0;) {
            const auto chunk =
                std::min<std::int32_t>(left, static_cast<std::int32_t>(buffer.size()));
            ar.ReadExact(buffer.data(), static_cast<std::size_t>(chunk));
            if (!out.write(buffer.data(), chunk))
                FileFailed(file);
            left -= chunk;
        }
    } catch (...) {
        out.close();
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        throw;
    }
    out.close();
    if (!out)
        FileFailed(file);
    return true;
}
