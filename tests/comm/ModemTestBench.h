#pragma once
#include <string>

#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "platform/profile/Profile.h"
#include "platform/tapi/LineConfiguration.h"
#include "platform/tapi/ScriptedModem.h"
#include "platform/ui/Prompter.h"

#include <gtest/gtest.h>

namespace tvane::comm::test {

// A modem as line device 0 with an instrument behind it that answers "*IDN?", dialled
// from an office in London (country 44, area 20); the control panel is a harmless
// program. The fake clock moves 100 ms per pump. Set up in a fresh home.
class ModemTestBench {
protected:
    static constexpr const char* kIdentity = "ORVANTA,QT7100,0,1.2";
    static constexpr const char* kTapiIni = tapi::LineConfiguration::kFile;

    tapi::ScriptedModem modem;
    FakeClock clock;
    ScriptedPrompter prompter;
    ScopedService<IClock> clockGuard{SetClock, &clock};
    ScopedService<IMessagePump> pumpGuard{SetMessagePump, &modem};
    ScopedService<IPrompter> prompterGuard{SetPrompter, &prompter};

    void InstallModem(const std::string& name) {
        modem.AdvanceClockOnPump(&clock, 100);
        modem.Configure(0, name);
        modem.On("*IDN?", kIdentity);
        WritePrivateProfileString("Tapi", "ControlPanel", std::string("true"), kTapiIni);
        tapi::LineLocationEntry office;
        office.name = "Office";
        office.countryCode = 44;
        office.cityCode = "20";
        ASSERT_EQ(tapi::LineConfiguration::WriteLocation(office), 1u);
    }
};

} // namespace tvane::comm::test
