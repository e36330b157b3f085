#include "platform/tapi/LineConfiguration.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "platform/core/AtomicFile.h"
#include "platform/core/CaseInsensitive.h"
#include "platform/core/Folders.h"
#include "platform/core/LocaleFormats.h"
#include "platform/profile/Profile.h"
#include "platform/tapi/AddressTranslation.h"
#include "platform/tapi/TapiConstants.h"

namespace tvane::tapi {
namespace {

constexpr int kMaxDevices = 64;
constexpr int kMaxLocations = 99;
constexpr const char* kMissing = "\x01";

std::string Text(const std::string& section, const char* key, const char* def) {
    return GetPrivateProfileString(section, key, def, LineConfiguration::kFile);
}
int Number(const std::string& section, const char* key, int def) {
    return GetPrivateProfileInt(section, key, def, LineConfiguration::kFile);
}
bool Put(const std::string& section, const char* key, const std::string& value) {
    return WritePrivateProfileString(section, key, value, LineConfiguration::kFile);
}

ModemSettings ReadSettings(const std::string& section) {
    ModemSettings s;
    s.speed = Number(section, "Speed", s.speed);
    s.hardwareFlow = !EqualsNoCase(Text(section, "Flow", "RTSCTS"), "NONE");
    s.init = Text(section, "Init", s.init.c_str());
    // A wait that is no time, or no number, would let a dial wait for ever.
    const int wait = Number(section, "WaitForCarrier", s.waitForCarrier);
    if (wait > 0)
        s.waitForCarrier = wait;
    return s;
}

LineLocationEntry BuiltInLocation() {
    LineLocationEntry l;
    l.permanentLocationId = 0;
    l.name = "Default Location";
    const std::string country = Locale().Formats().countryName;
    for (const LineCountryEntry& c : CountryTable())
        if (EqualsNoCase(c.name, country)) {
            l.countryCode = c.countryCode;
            break;
        }
    return l;
}

const char* kExample = "; Modems for dial-up instruments. One section per modem, from [Line0]:\n"
                       ";\n"
                       "; [Line0]\n"
                       "; Name=Field modem\n"
                       "; Port=COM3\n"
                       "; Speed=57600\n"
                       "; Init=ATE0V1\n";

} // namespace

std::string ModemSettings::Serialize() const {
    std::ostringstream out;
    out << "Speed=" << speed << "\nFlow=" << (hardwareFlow ? "RTSCTS" : "NONE") << "\nInit=" << init
        << "\nWaitForCarrier=" << waitForCarrier << "\n";
    return out.str();
}

std::optional<ModemSettings> ModemSettings::Parse(const std::string& block) {
    ModemSettings s;
    std::istringstream in(block);
    std::string line;
    int seen = 0;
    while (std::getline(in, line)) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        ++seen;
        if (key == "Speed")
            s.speed = std::atoi(value.c_str());
        else if (key == "Flow")
            s.hardwareFlow = value != "NONE";
        else if (key == "Init")
            s.init = value;
        else if (key == "WaitForCarrier")
            s.waitForCarrier = std::atoi(value.c_str());
        else
            --seen;
    }
    if (seen == 0 || s.speed <= 0 || s.waitForCarrier <= 0)
        return std::nullopt;
    return s;
}

std::vector<ModemDevice> LineConfiguration::ReadDevices() {
    std::vector<ModemDevice> devices;
    for (int i = 0; i < kMaxDevices; ++i) {
        const std::string section = "Line" + std::to_string(i);
        const std::string port = Text(section, "Port", "");
        if (port.empty())
            break;
        ModemDevice d;
        d.port = port;
        const std::string name = Text(section, "Name", kMissing);
        if (name != kMissing)
            d.name = name;
        d.settings = ReadSettings(section);
        if (Number(section, "DialTone", 1))
            d.devCapFlags |= LINEDEVCAPFLAGS_DIALDIALTONE;
        if (Number(section, "Quiet", 0))
            d.devCapFlags |= LINEDEVCAPFLAGS_DIALQUIET;
        if (Number(section, "Billing", 0))
            d.devCapFlags |= LINEDEVCAPFLAGS_DIALBILLING;
        d.partialDial = Number(section, "PartialDial", 1) != 0;
        devices.push_back(std::move(d));
    }
    return devices;
}

bool LineConfiguration::WriteSettings(std::uint32_t device, const ModemSettings& s) {
    const std::string section = "Line" + std::to_string(device);
    return Put(section, "Speed", std::to_string(s.speed)) &&
           Put(section, "Flow", s.hardwareFlow ? "RTSCTS" : "NONE") &&
           Put(section, "Init", s.init) &&
           Put(section, "WaitForCarrier", std::to_string(s.waitForCarrier));
}

std::vector<LineLocationEntry> LineConfiguration::ReadLocations(std::uint32_t& current) {
    std::vector<LineLocationEntry> locations;
    for (int i = 1; i <= kMaxLocations; ++i) {
        const std::string section = "Location" + std::to_string(i);
        const std::string name = Text(section, "Name", kMissing);
        if (name == kMissing)
            continue;
        LineLocationEntry l;
        l.permanentLocationId = static_cast<std::uint32_t>(i);
        l.name = name;
        l.countryCode = static_cast<std::uint32_t>(Number(section, "Country", 1));
        l.cityCode = Text(section, "AreaCode", "");
        l.localAccessCode = Text(section, "OutsideLine", "");
        l.longDistanceAccessCode = Text(section, "LongDistance", "");
        l.cancelCallWaiting = Text(section, "CallWaiting", "");
        l.pulseDialing = Number(section, "Pulse", 0) != 0;
        locations.push_back(std::move(l));
    }
    if (locations.empty()) {
        locations.push_back(BuiltInLocation());
        current = 0;
        return locations;
    }
    current = static_cast<std::uint32_t>(Number("Locations", "Current", 0));
    return locations;
}

std::uint32_t LineConfiguration::WriteLocation(const LineLocationEntry& l) {
    std::uint32_t id = l.permanentLocationId;
    if (id == 0) {
        std::uint32_t current = 0;
        const std::vector<LineLocationEntry> existing = ReadLocations(current);
        id = 1;
        for (const LineLocationEntry& e : existing)
            id = std::max(id, e.permanentLocationId + 1);
    }
    const std::string section = "Location" + std::to_string(id);
    const bool ok =
        Put(section, "Name", l.name) && Put(section, "Country", std::to_string(l.countryCode)) &&
        Put(section, "AreaCode", l.cityCode) && Put(section, "OutsideLine", l.localAccessCode) &&
        Put(section, "LongDistance", l.longDistanceAccessCode) &&
        Put(section, "CallWaiting", l.cancelCallWaiting) &&
        Put(section, "Pulse", l.pulseDialing ? "1" : "0") && SetCurrentLocation(id);
    return ok ? id : 0;
}

bool LineConfiguration::SetCurrentLocation(std::uint32_t id) {
    return Put("Locations", "Current", std::to_string(id));
}

std::vector<std::string> LineConfiguration::ControlPanelCommand() {
    const std::string configured = Text("Tapi", "ControlPanel", "");
    const std::filesystem::path file = ConfigFile(kFile);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        WriteFileAtomically(file, kExample);
    std::vector<std::string> command;
    std::istringstream words(configured.empty() ? std::string("xdg-open") : configured);
    for (std::string word; words >> word;)
        command.push_back(word);
    command.push_back(file.string());
    return command;
}

} // namespace tvane::tapi
