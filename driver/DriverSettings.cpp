#include "driver/DriverLog.h"
#include "platform/profile/Profile.h"

namespace tvane::driver {

DriverSettings ReadDriverSettings() {
    static const char* const kSection = "KXQT7100.Drv32";
    static const char* const kIni = "Tvane.ini";
    DriverSettings s;
    s.logErrors = GetPrivateProfileInt(kSection, "LogErrors", 0, kIni);
    s.logRecvBlockData = GetPrivateProfileInt(kSection, "LogRecvBlockData", 0, kIni);
    s.logFile = GetPrivateProfileString(kSection, "LogFile", "qt7100.log", kIni, 128);
    return s;
}

} // namespace tvane::driver
