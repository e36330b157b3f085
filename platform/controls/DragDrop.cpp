#include "platform/controls/DragDrop.h"

#include <cerrno>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/archive/CArchive.h"
#include "platform/archive/CObject.h"
#include "platform/archive/MemoryStream.h"

namespace tvane {

namespace dragmsg {

#define TVANE_DRAG_MESSAGE(fn, name)                                                               \
    MessageId fn() {                                                                               \
        static const MessageId id = MessageBus::Register(name);                                    \
        return id;                                                                                 \
    }

TVANE_DRAG_MESSAGE(QueryDrop, "QMM_QueryDrop")
TVANE_DRAG_MESSAGE(DoDrop, "QMM_DoDrop")
TVANE_DRAG_MESSAGE(EndDragDrop, "QMM_EndDragDrop")
TVANE_DRAG_MESSAGE(BeginDragDrop, "QMM_BeginDragDrop")

#undef TVANE_DRAG_MESSAGE

} // namespace dragmsg

namespace {

constexpr const char* kDragFile = "~Qm-mttts.tmp";

// A folder only this user reaches: a folder itself (not a link to one), this
// user's, closed to everyone else.
bool IsPrivateFolder(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

// The user's runtime folder; else a folder of the user's own in the temporary
// folder, made when it is missing. A folder of that name that is not the
// user's own is not used: the drag file then cannot be written.
std::string DragFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && runtime[0] == '/' && IsPrivateFolder(runtime))
        return runtime;
    std::error_code ec;
    std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    if (ec)
        temp = "/tmp";
    const std::string folder = (temp / ("tvane-" + std::to_string(::geteuid()))).string();
    ::mkdir(folder.c_str(), 0700);
    return folder;
}

// Writes the file whole under a name of its own and renames it over the drag
// file, so that a reader sees the old object or the new one, and a link in its
// place is replaced, never followed.
bool WriteDragFile(const std::string& folder, const std::vector<std::uint8_t>& bytes) {
    std::string scratch = folder + "/" + kDragFile + ".XXXXXX";
    const int fd = ::mkostemp(scratch.data(), O_CLOEXEC); // mode 0600
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, 0600) == 0;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            ok = errno == EINTR;
            continue;
        }
        done += static_cast<std::size_t>(n);
    }
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(scratch.c_str(), (folder + "/" + kDragFile).c_str()) == 0;
    if (!ok)
        ::unlink(scratch.c_str());
    return ok;
}

// Only a plain file of this user, never through a link, and never more than
// the bound: a file that says it is larger is refused before it is read.
bool ReadDragFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
              st.st_size >= 0 && static_cast<std::uint64_t>(st.st_size) <= kMaxDragFileBytes;
    std::vector<std::uint8_t> data;
    std::uint8_t buffer[16384];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            ok = errno == EINTR;
            continue;
        }
        data.insert(data.end(), buffer, buffer + n);
        // It may have grown since it was looked at.
        ok = data.size() <= kMaxDragFileBytes;
    }
    ::close(fd);
    if (ok)
        bytes.swap(data);
    return ok;
}

} // namespace

std::string GetDragFileName() {
    return DragFolder() + "/" + kDragFile;
}

bool SaveDragObject(CObject& object) {
    const std::string folder = DragFolder();
    if (!IsPrivateFolder(folder))
        return false;
    try {
        MemoryStream memory;
        {
            CArchive ar(memory, CArchive::store);
            object.Serialize(ar);
        }
        if (memory.Size() > kMaxDragFileBytes)
            return false;
        return WriteDragFile(folder, memory.Bytes());
    } catch (const std::exception&) {
        return false;
    }
}

bool LoadDragObject(CObject& object) {
    const std::string folder = DragFolder();
    std::vector<std::uint8_t> bytes;
    if (!IsPrivateFolder(folder) || !ReadDragFile(folder + "/" + kDragFile, bytes))
        return false;
    try {
        MemoryStream memory(std::move(bytes));
        CArchive ar(memory, CArchive::load);
        object.Serialize(ar);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void RemoveDragFile() {
    const std::string folder = DragFolder();
    if (IsPrivateFolder(folder))
        ::unlink((folder + "/" + kDragFile).c_str());
}

// --- The drag tracker -----------------------------------------------------------------------

CDragTracker::CDragTracker(IDragWindows& windows, IDragWindows::Window source, std::uint32_t first,
                           std::uint32_t second)
    : m_windows(windows), m_source(source), m_first(first), m_second(second) {
    m_previousCapture = m_windows.CaptureHolder();
    m_windows.TakeCapture(m_source);
}

CDragTracker::~CDragTracker() {
    End();
}

void CDragTracker::OnMouseMove(int screenX, int screenY) {
    if (!m_active)
        return;
    const IDragWindows::Window window = m_windows.WindowAt(screenX, screenY);
    if (!window) {
        m_windows.ShowCursor(IDragWindows::Cursor::Refuse);
    } else if (window == m_source) {
        m_windows.ShowCursor(IDragWindows::Cursor::Accept);
    } else if (m_windows.Send(window, dragmsg::QueryDrop(), m_first, m_second) != 0) {
        m_windows.ShowCursor(IDragWindows::Cursor::Accept);
    } else {
        if (m_target)
            m_windows.Send(m_target, dragmsg::EndDragDrop(), 0, 0);
        m_windows.ShowCursor(IDragWindows::Cursor::Refuse);
    }
    m_target = window;
}

bool CDragTracker::OnButtonUp() {
    if (!m_active)
        return false;
    bool dropped = false;
    if (m_target && m_target != m_source &&
        m_windows.Send(m_target, dragmsg::QueryDrop(), m_first, m_second) != 0) {
        m_windows.Send(m_target, dragmsg::DoDrop(), m_first, m_second);
        dropped = true;
    }
    End();
    return dropped;
}

void CDragTracker::End() {
    if (!m_active)
        return;
    m_active = false;
    // The object travelled in the drag file: it goes with the drag.
    RemoveDragFile();
    m_target = nullptr;
    m_windows.ShowCursor(IDragWindows::Cursor::Previous);
    m_windows.ReleaseCapture();
    if (m_previousCapture)
        m_windows.GiveCapture(m_previousCapture);
}

} // namespace tvane
