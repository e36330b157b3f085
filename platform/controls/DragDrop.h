#pragma once
#include <cstdint>
#include <string>

#include "platform/ui/MessageBus.h"

namespace tvane {

class CObject;

// The registered messages of a drag. wParam and lParam carry the drag's two
// values, chosen by whoever starts it to say what is dragged.
namespace dragmsg {
MessageId QueryDrop();     // non-zero: the window takes the object
MessageId DoDrop();        // to the accepting window at the release
MessageId EndDragDrop();   // (0, 0) to the window left for one that refuses
MessageId BeginDragDrop(); // for windows that announce a drag
} // namespace dragmsg

// The one drag file, "~Qm-mttts.tmp", in a folder only this user reaches: the
// user's runtime folder, else a folder of the user's own ("tvane-<uid>", made
// with mode 0700) in the temporary folder. Each drag overwrites it; the drag
// removes it when it ends.
std::string GetDragFileName();
// The largest drag file that is written or read.
inline constexpr std::uint64_t kMaxDragFileBytes = std::uint64_t{64} << 20;
// Writes the object with its Serialize, replacing the drag file whole with a
// file of mode 0600 (a link in its place is replaced, never followed); false
// when that fails.
bool SaveDragObject(CObject& object);
// Reads the object back with its Serialize; false when the file is missing,
// is not a plain file of this user, is larger than the bound, or does not read.
bool LoadDragObject(CObject& object);
void RemoveDragFile();

// What the drag tracker asks of the windows. Window is a handle of the
// window side; null is no window.
class IDragWindows {
public:
    using Window = const void*;
    enum class Cursor { Refuse, Accept, Previous };

    virtual ~IDragWindows() = default;
    virtual Window WindowAt(int screenX, int screenY) = 0;
    // The window's answer; 0 from a window that does not take drops.
    virtual long Send(Window window, MessageId id, long long wParam, long long lParam) = 0;
    virtual void ShowCursor(Cursor cursor) = 0;
    // The window that holds the mouse now (null for none), taking the mouse
    // for the drag, and handing it back at the end.
    virtual Window CaptureHolder() = 0;
    virtual void TakeCapture(Window source) = 0;
    virtual void ReleaseCapture() = 0;
    virtual void GiveCapture(Window window) = 0;
};

// One drag from the source window: the window under the pointer is asked
// whether it takes the object, the cursor says its answer, and the release
// drops the object on an accepting window other than the source.
class CDragTracker {
public:
    CDragTracker(IDragWindows& windows, IDragWindows::Window source, std::uint32_t first,
                 std::uint32_t second);
    ~CDragTracker();
    CDragTracker(const CDragTracker&) = delete;
    CDragTracker& operator=(const CDragTracker&) = delete;

    void OnMouseMove(int screenX, int screenY);
    // Ends the drag; true when the object was dropped.
    bool OnButtonUp();
    // The mouse was taken away: the drag ends with nothing dropped.
    void OnCaptureLost() { End(); }

    bool IsActive() const { return m_active; }
    IDragWindows::Window GetTarget() const { return m_target; }

private:
    void End();

    IDragWindows& m_windows;
    IDragWindows::Window m_source;
    std::uint32_t m_first;
    std::uint32_t m_second;
    IDragWindows::Window m_previousCapture = nullptr;
    IDragWindows::Window m_target = nullptr;
    bool m_active = true;
};

} // namespace tvane
