#pragma once
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "ScriptedLink.h"
#include "driver/CKXQT7100.h"
#include "platform/core/Clock.h"
#include "platform/core/Format.h"
#include "platform/core/Services.h"
#include "tests/support/TempHome.h"

namespace tvane::driver::test {

// A driver on a scripted instrument, a fake clock and a fresh home folder.
class DriverTest : public tvane::test::TempHomeTest {
protected:
    explicit DriverTest(int interfaceType = 4) : link(interfaceType) {}
    void SetUp() override { MakeDriver(); }
    void MakeDriver(const DriverSettings& settings = DriverSettings()) {
        drv.reset();
        drv = std::make_unique<CKXQT7100>(&link, settings);
    }

    ScriptedLink link;
    FakeClock clock{946684800, 1000};
    ScopedService<IClock> clockGuard{SetClock, &clock};
    std::unique_ptr<CKXQT7100> drv;
};

class SimulatedDriverTest : public DriverTest {
protected:
    SimulatedDriverTest() : DriverTest(0) {}
};

// One reading in the default block format: value, time (s), channel, alarm.
inline std::string Reading(double value, double seconds, int channel, int alarm) {
    return Format("%+15.8E,%12.3f,%03d,%d", value, seconds, channel, alarm);
}

// A definite-length block of readings joined by the separator.
inline std::string Block(const std::string& readings) {
    std::string length = std::to_string(readings.size());
    return "#" + std::to_string(length.size()) + length + readings;
}

inline CChannelConfig Channel(int module, int channel, int function, bool inScan = true) {
    CChannelConfig c;
    c.ModuleType = static_cast<std::uint16_t>(module);
    c.Channel = static_cast<std::int16_t>(channel);
    c.Function = static_cast<std::uint16_t>(function);
    c.InScanList = inScan ? 1 : 0;
    return c;
}

} // namespace tvane::driver::test
