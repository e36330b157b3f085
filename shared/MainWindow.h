#pragma once

namespace tvane {

// What headless code asks of the application's main window. The program installs
// its main frame; without one (start-up, tests) MainWindow() is null.
class IMainWindow {
public:
    virtual ~IMainWindow() = default;
    // Routes a menu command as if the user had chosen it.
    virtual void SendCommand(unsigned commandId) = 0;
    // Queues a close request, so the window closes through its normal close path
    // (with its save questions) once the caller has returned.
    virtual void PostClose() = 0;
};

IMainWindow* MainWindow();
void SetMainWindow(IMainWindow* window);

// A window or object that handles commands routed to it.
class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    // True when the command was handled.
    virtual bool OnCmdMsg(unsigned commandId, int notifyCode) = 0;
};

} // namespace tvane
