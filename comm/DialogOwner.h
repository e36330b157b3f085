#pragma once

namespace tvane::comm {

// A window of the user interface, as the control's dialogs take it; null for none.
using WindowHandle = void*;

// The window the control's dialogs (settings, dialling, call progress) go over. The
// setup page sets its own for the length of what it asks of a transport; elsewhere
// there is none, and dialogs go over the active window.
WindowHandle DialogOwner();

class ScopedDialogOwner {
public:
    explicit ScopedDialogOwner(WindowHandle owner);
    ~ScopedDialogOwner();
    ScopedDialogOwner(const ScopedDialogOwner&) = delete;
    ScopedDialogOwner& operator=(const ScopedDialogOwner&) = delete;

private:
    WindowHandle m_previous;
};

} // namespace tvane::comm
