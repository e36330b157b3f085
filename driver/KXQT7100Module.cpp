// The exports of KXQT7100.so: class factories of "InstDriver.Drv32" and
// "KXQT7100.Drv32", unload check and self-registration.
#include "driver/DriverServer.h"

TVANE_COM_SERVER_EXPORTS(tvane::driver::DriverServerModule())
