#include "shared/MainWindow.h"

namespace tvane {

namespace {
IMainWindow* g_mainWindow = nullptr;
}

IMainWindow* MainWindow() {
    return g_mainWindow;
}
void SetMainWindow(IMainWindow* window) {
    g_mainWindow = window;
}

} // namespace tvane
