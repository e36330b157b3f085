#include "platform/tapi/Line.h"

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <thread>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>

#include "platform/tapi/AddressTranslation.h"
#include "platform/tapi/ITelephonyDialogs.h"
#include "platform/tapi/LineConfiguration.h"
#include "platform/tapi/ModemLine.h"

extern char** environ;

namespace tvane::tapi {
namespace {

struct Message {
    std::uint32_t device;
    std::uint32_t message;
    std::uintptr_t instance;
    std::uintptr_t p1, p2, p3;
};

// The layer's state: one application (the process), its modems and open lines, and
// the callback messages waiting to be delivered.
struct LineService {
    HLINEAPP app = 0;
    LINECALLBACK callback = nullptr;
    std::vector<ModemDevice> devices;
    std::map<HLINE, std::unique_ptr<ModemLine>> lines;
    HLINE nextLine = 1;
    HCALL nextCall = 1;
    std::int32_t nextRequest = 1;
    std::deque<Message> queue;
    bool advancing = false;

    ModemLine* Line(HLINE handle) {
        auto it = lines.find(handle);
        return it == lines.end() ? nullptr : it->second.get();
    }
    ModemLine* LineOfCall(HCALL call) {
        if (call == 0)
            return nullptr;
        for (auto& [handle, line] : lines)
            if (line->Call() == call)
                return line.get();
        return nullptr;
    }
    ModemLine* LineOfDevice(std::uint32_t device) {
        for (auto& [handle, line] : lines)
            if (line->DeviceId() == device)
                return line.get();
        return nullptr;
    }
    // The modems: those read at initialisation, else what the file says now.
    std::vector<ModemDevice> Devices() const {
        return app ? devices : LineConfiguration::ReadDevices();
    }
    std::int32_t NextRequest() {
        const std::int32_t id = nextRequest;
        nextRequest = nextRequest == 0x7FFFFFFF ? 1 : nextRequest + 1;
        return id;
    }
    void Advance() {
        if (advancing)
            return;
        advancing = true;
        for (auto& [handle, line] : lines)
            line->Advance();
        advancing = false;
    }
};

LineService& Service() {
    static LineService service;
    return service;
}

ITelephonyDialogs* g_dialogs = nullptr;

bool ValidApp(HLINEAPP app) {
    return app != 0 && app == Service().app;
}

bool ValidDevice(std::uint32_t device, const std::vector<ModemDevice>& devices) {
    return device < devices.size();
}

// The checks of the calls on a modem's configuration.
std::int32_t CheckConfigCall(std::uint32_t device, const std::vector<ModemDevice>& devices,
                             const char* deviceClass, const void* out) {
    if (!ValidDevice(device, devices))
        return LINEERR_BADDEVICEID;
    if (!deviceClass || std::string(deviceClass) != kDataModemClass)
        return LINEERR_INVALDEVICECLASS;
    return out ? 0 : LINEERR_INVALPOINTER;
}

std::string LineName(const ModemDevice& d, std::uint32_t id) {
    return d.name ? *d.name : "Line " + std::to_string(id);
}

} // namespace

ITelephonyDialogs* TelephonyDialogs() {
    return g_dialogs;
}
void SetTelephonyDialogs(ITelephonyDialogs* dialogs) {
    g_dialogs = dialogs;
}

std::int32_t lineInitialize(HLINEAPP* lineApp, void*, LINECALLBACK callback, const char*,
                            std::uint32_t* numDevs) {
    if (!lineApp || !numDevs)
        return LINEERR_INVALPOINTER;
    LineService& s = Service();
    if (s.app)
        lineShutdown(s.app);
    s.devices = LineConfiguration::ReadDevices();
    s.callback = callback;
    s.app = 1;
    *lineApp = s.app;
    *numDevs = static_cast<std::uint32_t>(s.devices.size());
    return 0;
}

std::int32_t lineShutdown(HLINEAPP lineApp) {
    LineService& s = Service();
    if (!ValidApp(lineApp))
        return LINEERR_INVALAPPHANDLE;
    s.lines.clear();
    s.queue.clear();
    s.callback = nullptr;
    s.app = 0;
    return 0;
}

std::int32_t lineNegotiateAPIVersion(HLINEAPP lineApp, std::uint32_t device, std::uint32_t low,
                                     std::uint32_t high, std::uint32_t* version) {
    if (!ValidApp(lineApp))
        return LINEERR_INVALAPPHANDLE;
    if (!ValidDevice(device, Service().devices))
        return LINEERR_BADDEVICEID;
    if (!version)
        return LINEERR_INVALPOINTER;
    if (low > kApiVersion14 || high < kApiVersion13 || low > high)
        return LINEERR_INCOMPATIBLEAPIVERSION;
    *version = std::min(high, kApiVersion14);
    return 0;
}

std::int32_t lineGetDevCaps(HLINEAPP lineApp, std::uint32_t device, std::uint32_t,
                            LineDevCaps* caps) {
    const LineService& s = Service();
    if (!ValidApp(lineApp))
        return LINEERR_INVALAPPHANDLE;
    if (!ValidDevice(device, s.devices))
        return LINEERR_BADDEVICEID;
    const ModemDevice& d = s.devices[device];
    *caps = {};
    caps->lineName = d.name;
    caps->providerInfo = d.port;
    caps->bearerModes = LINEBEARERMODE_VOICE;
    caps->mediaModes = LINEMEDIAMODE_DATAMODEM;
    caps->lineFeatures = LINEFEATURE_MAKECALL;
    caps->devCapFlags = d.devCapFlags;
    caps->numAddresses = 1;
    return 0;
}

std::int32_t lineGetAddressCaps(HLINEAPP lineApp, std::uint32_t device, std::uint32_t addressId,
                                std::uint32_t, LineAddressCaps* caps) {
    const LineService& s = Service();
    if (!ValidApp(lineApp))
        return LINEERR_INVALAPPHANDLE;
    if (!ValidDevice(device, s.devices))
        return LINEERR_BADDEVICEID;
    if (addressId != 0)
        return LINEERR_INVALADDRESSID;
    caps->addrCapFlags = s.devices[device].partialDial ? LINEADDRCAPFLAGS_PARTIALDIAL : 0;
    return 0;
}

std::int32_t lineOpen(HLINEAPP lineApp, std::uint32_t device, HLINE* line, std::uint32_t,
                      std::uintptr_t instance, std::uint32_t, std::uint32_t mediaModes) {
    LineService& s = Service();
    if (!ValidApp(lineApp))
        return LINEERR_INVALAPPHANDLE;
    if (!ValidDevice(device, s.devices))
        return LINEERR_BADDEVICEID;
    if (!line)
        return LINEERR_INVALPOINTER;
    if (mediaModes & ~LINEMEDIAMODE_DATAMODEM)
        return LINEERR_INVALMEDIAMODE;
    if (s.LineOfDevice(device))
        return LINEERR_ALLOCATED;
    const HLINE handle = s.nextLine++;
    auto opened = std::make_unique<ModemLine>(
        handle, device, s.devices[device], instance,
        [instance](std::uint32_t message, std::uint32_t dev, std::uintptr_t p1, std::uintptr_t p2,
                   std::uintptr_t p3) {
            Service().queue.push_back({dev, message, instance, p1, p2, p3});
        });
    const std::int32_t result = opened->Open();
    if (result != 0)
        return result;
    s.lines[handle] = std::move(opened);
    *line = handle;
    return 0;
}

std::int32_t lineClose(HLINE line) {
    LineService& s = Service();
    auto it = s.lines.find(line);
    if (it == s.lines.end())
        return LINEERR_INVALLINEHANDLE;
    s.lines.erase(it);
    return 0;
}

std::int32_t lineSetStatusMessages(HLINE line, std::uint32_t lineStates, std::uint32_t) {
    ModemLine* l = Service().Line(line);
    if (!l)
        return LINEERR_INVALLINEHANDLE;
    l->SetStatusMessages(lineStates);
    return 0;
}

std::int32_t lineGetAddressStatus(HLINE line, std::uint32_t addressId, LineAddressStatus* status) {
    const ModemLine* l = Service().Line(line);
    if (!l)
        return LINEERR_INVALLINEHANDLE;
    if (addressId != 0)
        return LINEERR_INVALADDRESSID;
    status->numActiveCalls = l->HasCall() ? 1 : 0;
    status->addressFeatures = l->HasCall() ? 0 : LINEADDRFEATURE_MAKECALL;
    return 0;
}

std::int32_t lineGetID(HLINE line, std::uint32_t, HCALL call, std::uint32_t select,
                       const char* deviceClass, LineDeviceId* id) {
    LineService& s = Service();
    if (!deviceClass || std::string(deviceClass) != kDataModemClass)
        return LINEERR_INVALDEVICECLASS;
    if (!id)
        return LINEERR_INVALPOINTER;
    if (select == LINECALLSELECT_CALL) {
        const ModemLine* l = s.LineOfCall(call);
        return l ? l->DataModemId(true, id) : LINEERR_INVALCALLHANDLE;
    }
    if (select == LINECALLSELECT_LINE) {
        const ModemLine* l = s.Line(line);
        return l ? l->DataModemId(false, id) : LINEERR_INVALLINEHANDLE;
    }
    return LINEERR_INVALCALLSELECT;
}

std::int32_t lineMakeCall(HLINE line, HCALL* call, const char* destAddress, std::uint32_t,
                          const LineCallParams* params) {
    LineService& s = Service();
    ModemLine* l = s.Line(line);
    if (!l)
        return LINEERR_INVALLINEHANDLE;
    if (!call)
        return LINEERR_INVALPOINTER;
    if (params && params->bearerMode != 0 && params->bearerMode != LINEBEARERMODE_VOICE)
        return LINEERR_INVALBEARERMODE;
    if (params && params->mediaMode != 0 && params->mediaMode != LINEMEDIAMODE_DATAMODEM)
        return LINEERR_INVALMEDIAMODE;
    if (!destAddress || !*destAddress)
        return LINEERR_INVALADDRESS;
    const HCALL handle = s.nextCall++;
    const std::int32_t result = l->MakeCall(handle, s.NextRequest(), destAddress);
    if (result > 0)
        *call = handle;
    return result;
}

std::int32_t lineDial(HCALL call, const char* destAddress, std::uint32_t) {
    LineService& s = Service();
    ModemLine* l = s.LineOfCall(call);
    if (!l)
        return LINEERR_INVALCALLHANDLE;
    if (!destAddress || !*destAddress)
        return LINEERR_INVALADDRESS;
    return l->Dial(s.NextRequest(), destAddress);
}

std::int32_t lineDrop(HCALL call) {
    LineService& s = Service();
    ModemLine* l = s.LineOfCall(call);
    if (!l)
        return LINEERR_INVALCALLHANDLE;
    return l->Drop(s.NextRequest());
}

std::int32_t lineDeallocateCall(HCALL call) {
    ModemLine* l = Service().LineOfCall(call);
    if (!l)
        return LINEERR_INVALCALLHANDLE;
    return l->Deallocate();
}

std::int32_t lineGetCallStatus(HCALL call, LineCallStatus* status) {
    const ModemLine* l = Service().LineOfCall(call);
    if (!l)
        return LINEERR_INVALCALLHANDLE;
    *status = l->CallStatus();
    return 0;
}

std::int32_t lineGetCountry(std::uint32_t countryId, std::uint32_t,
                            std::vector<LineCountryEntry>* countries) {
    if (!countries)
        return LINEERR_INVALPOINTER;
    countries->clear();
    for (const LineCountryEntry& c : CountryTable())
        if (countryId == 0 || c.countryId == countryId)
            countries->push_back(c);
    return countries->empty() ? LINEERR_INVALCOUNTRYCODE : 0;
}

std::int32_t lineGetTranslateCaps(HLINEAPP, std::uint32_t, LineTranslateCaps* caps) {
    if (!caps)
        return LINEERR_INVALPOINTER;
    *caps = {};
    caps->locations = LineConfiguration::ReadLocations(caps->currentLocationId);
    caps->cards = {{0, "None (Direct Dial)"}};
    return 0;
}

std::int32_t lineSetCurrentLocation(HLINEAPP, std::uint32_t location) {
    std::uint32_t current = 0;
    for (const LineLocationEntry& l : LineConfiguration::ReadLocations(current))
        if (l.permanentLocationId == location)
            return LineConfiguration::SetCurrentLocation(location) ? 0 : LINEERR_OPERATIONFAILED;
    return LINEERR_INVALLOCATION;
}

std::int32_t lineTranslateAddress(HLINEAPP, std::uint32_t device, std::uint32_t,
                                  const char* addressIn, std::uint32_t,
                                  std::uint32_t translateOptions, LineTranslateOutput* output) {
    if (!ValidDevice(device, Service().Devices()))
        return LINEERR_BADDEVICEID;
    if (!addressIn || !output)
        return LINEERR_INVALPOINTER;
    std::uint32_t current = 0;
    const std::vector<LineLocationEntry> locations = LineConfiguration::ReadLocations(current);
    for (const LineLocationEntry& l : locations)
        if (l.permanentLocationId == current)
            return TranslateAddress(addressIn, l, translateOptions, *output);
    return LINEERR_INVALLOCATION;
}

std::int32_t lineTranslateDialog(HLINEAPP, std::uint32_t, std::uint32_t, void* owner, const char*) {
    if (!g_dialogs)
        return LINEERR_OPERATIONUNAVAIL;
    std::uint32_t current = 0;
    const std::vector<LineLocationEntry> locations = LineConfiguration::ReadLocations(current);
    LineLocationEntry location = locations.front();
    for (const LineLocationEntry& l : locations)
        if (l.permanentLocationId == current)
            location = l;
    if (g_dialogs->EditLocation(location, CountryTable(), owner) &&
        LineConfiguration::WriteLocation(location) == 0)
        return LINEERR_OPERATIONFAILED;
    return 0;
}

std::int32_t lineGetDevConfig(std::uint32_t device, const char* deviceClass, std::string* config) {
    const std::vector<ModemDevice> devices = Service().Devices();
    if (const std::int32_t r = CheckConfigCall(device, devices, deviceClass, config))
        return r;
    *config = devices[device].settings.Serialize();
    return 0;
}

std::int32_t lineSetDevConfig(std::uint32_t device, const std::string& config,
                              const char* deviceClass) {
    LineService& s = Service();
    if (const std::int32_t r = CheckConfigCall(device, s.Devices(), deviceClass, &config))
        return r;
    const std::optional<ModemSettings> settings = ModemSettings::Parse(config);
    if (!settings)
        return LINEERR_INVALPARAM;
    if (device < s.devices.size())
        s.devices[device].settings = *settings;
    if (ModemLine* l = s.LineOfDevice(device))
        l->SetSettings(*settings);
    return LineConfiguration::WriteSettings(device, *settings) ? 0 : LINEERR_OPERATIONFAILED;
}

std::int32_t lineConfigDialogEdit(std::uint32_t device, void* owner, const char* deviceClass,
                                  const std::string& configIn, std::string* configOut) {
    const std::vector<ModemDevice> devices = Service().Devices();
    if (const std::int32_t r = CheckConfigCall(device, devices, deviceClass, configOut))
        return r;
    std::optional<ModemSettings> settings = ModemSettings::Parse(configIn);
    if (!settings)
        return LINEERR_INVALPARAM;
    if (!g_dialogs)
        return LINEERR_OPERATIONUNAVAIL;
    g_dialogs->EditModemSettings(LineName(devices[device], device), *settings, owner);
    *configOut = settings->Serialize();
    return 0;
}

void linePumpMessages(std::uint32_t waitMs) {
    LineService& s = Service();
    s.Advance();
    if (s.queue.empty() && waitMs > 0 && !s.advancing) {
        // With no modem to listen to this is a plain pause, so waits do not spin.
        std::vector<pollfd> fds;
        for (auto& [handle, line] : s.lines)
            if (const int fd = line->WaitDescriptor(); fd >= 0)
                fds.push_back({fd, POLLIN, 0});
        ::poll(fds.data(), fds.size(), static_cast<int>(waitMs));
        s.Advance();
    }
    // Each message leaves the queue before its callback runs: the callback may pump
    // again, or shut the layer down.
    while (!s.queue.empty()) {
        const Message m = s.queue.front();
        s.queue.pop_front();
        if (s.callback)
            s.callback(m.device, m.message, m.instance, m.p1, m.p2, m.p3);
    }
}

bool lineStartControlPanel() {
    const std::vector<std::string> command = LineConfiguration::ControlPanelCommand();
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    // Not waited for; reaped when it ends so it leaves no zombie.
    std::thread([pid] {
        int status = 0;
        ::waitpid(pid, &status, 0);
    }).detach();
    return true;
}

} // namespace tvane::tapi
