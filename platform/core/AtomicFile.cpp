#include "platform/core/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace tvane {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void ThrowSaveError(const char* what, const fs::path& path, int error) {
    throw fs::filesystem_error(what, path, std::error_code(error, std::generic_category()));
}

// The empty new file "<name>.new~" beside path, created with the permissions a
// new file gets (0666 less the umask). One left by a crash is replaced; anything
// else in its place fails the save.
fs::path CreateNewFileBeside(const fs::path& path) {
    fs::path newFile = path;
    newFile += ".new~";
    struct stat st {};
    if (::lstat(newFile.c_str(), &st) == 0 && !S_ISDIR(st.st_mode))
        ::unlink(newFile.c_str());
    const int fd = ::open(newFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        ThrowSaveError("cannot create the new file", newFile, errno);
    ::close(fd);
    return newFile;
}

void SyncFile(const fs::path& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        ThrowSaveError("cannot sync", path, errno);
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!synced)
        ThrowSaveError("cannot sync", path, error);
}

// The file a save replaces: a symbolic link is followed to its target, so the link
// stays and the target is replaced in its own folder, or is itself replaced. A
// target that is there and is not a regular file (a folder, a device, a FIFO, a
// socket) is refused, since renaming over it would put a plain file in its place.
fs::path FileToReplace(const fs::path& path, AtLink atLink) {
    fs::path target = path;
    for (int links = 0;; ++links) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0) {
            if (errno == ENOENT)
                return target;
            ThrowSaveError("cannot examine the file", target, errno);
        }
        if (S_ISREG(st.st_mode))
            return target;
        if (S_ISDIR(st.st_mode))
            ThrowSaveError("cannot replace a folder", target, EISDIR);
        if (!S_ISLNK(st.st_mode))
            ThrowSaveError("cannot replace what is not a file", target, EPERM);
        if (atLink == AtLink::Replace)
            return target;
        if (links == 40)
            ThrowSaveError("cannot follow the link", path, ELOOP);
        std::error_code ec;
        const fs::path link = fs::read_symlink(target, ec);
        if (ec)
            ThrowSaveError("cannot follow the link", target, ec.value());
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
}

} // namespace

void SaveWholeFile(const fs::path& requested, const WholeFileWriter& write, AtLink atLink) {
    // The new file's name is fixed, so saves in this process take turns.
    static std::recursive_mutex saving;
    const std::lock_guard lock(saving);
    const fs::path path = FileToReplace(requested, atLink);
    const fs::path newFile = CreateNewFileBeside(path);
    try {
        write(newFile);
        // A link that is replaced lends the new file nothing of what it points at.
        struct stat old {};
        if (::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
            ::chmod(newFile.c_str(), old.st_mode & 07777) != 0)
            ThrowSaveError("cannot keep the file's permissions", newFile, errno);
        SyncFile(newFile, O_RDONLY);
        if (std::rename(newFile.c_str(), path.c_str()) != 0)
            ThrowSaveError("cannot replace the file", path, errno);
    } catch (...) {
        ::unlink(newFile.c_str());
        throw;
    }
    // The file is in place; a folder that cannot be synced leaves it to the system.
    try {
        SyncFile(path.has_parent_path() ? path.parent_path() : fs::path("."),
                 O_RDONLY | O_DIRECTORY);
    } catch (const fs::filesystem_error&) {
    }
}

bool WriteFileAtomically(const std::filesystem::path& path, const std::string& bytes,
                         AtLink atLink) {
    std::error_code ec;
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path(), ec);
    try {
        SaveWholeFile(
            path,
            [&bytes](const fs::path& newFile) {
                const int fd = ::open(newFile.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
                if (fd < 0)
                    ThrowSaveError("cannot write", newFile, errno);
                const char* p = bytes.data();
                std::size_t left = bytes.size();
                while (left > 0) {
                    const ssize_t n = ::write(fd, p, left);
                    if (n < 0 && errno == EINTR)
                        continue;
                    if (n < 0) {
                        const int error = errno;
                        ::close(fd);
                        ThrowSaveError("cannot write", newFile, error);
                    }
                    p += n;
                    left -= static_cast<std::size_t>(n);
                }
                if (::close(fd) != 0)
                    ThrowSaveError("cannot write", newFile, errno);
            },
            atLink);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
    // Non-blocking so that a FIFO cannot hold the open; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    std::string text;
    if (ok)
        text.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[16384];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            ok = errno == EINTR;
            continue;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (ok)
        bytes.swap(text);
    return ok;
}

} // namespace tvane
