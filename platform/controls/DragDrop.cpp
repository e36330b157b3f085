#include "platform/controls/DragDrop.h"

#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/archive/CArchive.h"
#include "platform/archive/CObject.h"
#include "platform/archive/MemoryStream.h"
#include "platform/core/AtomicFile.h"

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

std::string GetDragFileName() {
    constexpr const char* kName = "~Qm-mttts.tmp";
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (ec)
        return kName;
    return (folder / kName).string();
}

bool SaveDragObject(CObject& object) {
    try {
        MemoryStream memory;
        {
            CArchive ar(memory, CArchive::store);
            object.Serialize(ar);
        }
        const std::vector<std::uint8_t>& bytes = memory.Bytes();
        // The folder is every user's: a link planted in the file's place is
        // replaced, never followed.
        return WriteFileAtomically(GetDragFileName(), std::string(bytes.begin(), bytes.end()),
                                   AtLink::Replace);
    } catch (const std::exception&) {
        return false;
    }
}

namespace {

// The drag file lies in a folder every user writes to: only a plain file of
// this user is read, and never through a link.
bool ReadOwnDragFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
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
    }
    ::close(fd);
    if (ok)
        bytes.swap(data);
    return ok;
}

} // namespace

bool LoadDragObject(CObject& object) {
    std::vector<std::uint8_t> bytes;
    if (!ReadOwnDragFile(GetDragFileName(), bytes))
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
    m_target = nullptr;
    m_windows.ShowCursor(IDragWindows::Cursor::Previous);
    m_windows.ReleaseCapture();
    if (m_previousCapture)
        m_windows.GiveCapture(m_previousCapture);
}

} // namespace tvane
