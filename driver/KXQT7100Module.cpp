// The exports of KXQT7100.so: class factories of "InstDriver.Drv32" and
// "KXQT7100.Drv32", unload check and self-registration.
#include "driver/DriverServer.h"
#ifdef TVANE_DRIVER_SHEET
#include "driver/sheet/SettingsSheetPresenter.h"
#endif

TVANE_COM_SERVER_EXPORTS(tvane::driver::DriverServerModule())

#ifdef TVANE_DRIVER_SHEET
namespace {
// Loaded into a program with windows, the driver shows its own settings sheet;
// loaded headless (registration, tests) it has none.
const bool g_settingsSheet = tvane::driver::InstallSettingsSheet();
} // namespace
#endif
