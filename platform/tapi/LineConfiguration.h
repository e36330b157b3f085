#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/tapi/LineTypes.h"

namespace tvane::tapi {

// The telephony configuration, "tapi.ini" in the configuration folder:
//
//   [Line0]                 one section per modem, numbered from 0 without gaps
//   Name=Field modem        the line name shown to the user
//   Port=COM3               the serial port (through serial.ini) or a device path
//   Speed=57600             port speed; Flow=RTSCTS or NONE
//   Init=ATE0V1             sent before each call; WaitForCarrier=60 (seconds)
//   DialTone=1              the modem waits for a dial tone itself ("W");
//   Quiet=0                 … for quiet answer ("@"); Billing=0 … for a billing tone ("$")
//   PartialDial=1           the modem takes a dial string ended by ";"
//
//   [Locations]  Current=1  the location dialled from
//   [Location1]             Name, Country (code), AreaCode, OutsideLine, LongDistance,
//                           CallWaiting, Pulse
//
//   [Tapi] ControlPanel=    the program that edits this file (default xdg-open)
//
// Without a location the user dials from a built-in one in the locale's country.
struct ModemDevice {
    std::optional<std::string> name;
    std::string port;
    ModemSettings settings;
    std::uint32_t devCapFlags = 0;
    bool partialDial = true;
};

class LineConfiguration {
public:
    static constexpr const char* kFile = "tapi.ini";

    static std::vector<ModemDevice> ReadDevices();
    // Keeps a modem's settings as its new defaults.
    static bool WriteSettings(std::uint32_t device, const ModemSettings& settings);

    // The locations and the current one's id (the built-in one has id 0).
    static std::vector<LineLocationEntry> ReadLocations(std::uint32_t& current);
    // Stores a location; id 0 (the built-in one) is stored as a new location. The
    // location becomes the current one. Returns its id, 0 when it could not be written.
    static std::uint32_t WriteLocation(const LineLocationEntry& location);
    static bool SetCurrentLocation(std::uint32_t id);

    // The program run for "add a modem", and its arguments: the configured one, else
    // xdg-open on this file (written with a commented example first when missing).
    static std::vector<std::string> ControlPanelCommand();
};

} // namespace tvane::tapi
