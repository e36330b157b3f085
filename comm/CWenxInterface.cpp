#include "comm/CWenxInterface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <type_traits>

#include "comm/CommStrings.h"
#include "comm/IWenxSettingsDialog.h"
#include "platform/core/Clock.h"
#include "platform/core/Format.h"
#include "platform/core/MessagePump.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"

namespace tvane::comm {
namespace {

// The transport's own number; the factory's interface types 1, 4 and 5 all make it.
constexpr int32_t kWenxTypeMember = 7;
constexpr const char* kAllAddresses = "2147483647";
constexpr std::size_t kExcludeChars = 25;
constexpr std::size_t kGatewayChars = 260;
constexpr int32_t kProbeTimeout = 50;
constexpr int32_t kConnectionHint = 2;
constexpr uint32_t kListenerSettleMs = 5;
constexpr std::size_t kSettingsControllers = 4;
constexpr uint8_t kUnlisten = 0x3F;
constexpr uint8_t kTalkBase = 0x40;
constexpr uint8_t kListenBase = 0x20;
// Serial-poll bytes that say an answer waits; compared whole.
constexpr int32_t kAnswerWaiting[] = {0x10, 0x50, 0x70};

IWenxSettingsDialog* g_dialog = nullptr;

// Waits ms on the tick clock, pumping messages.
void Pause(uint32_t ms) {
    const uint32_t start = Clock().TickCount();
    while (Clock().TickCount() - start < ms)
        MessagePump().Pump();
}

long ExcludeValue(const std::string& controller, std::size_t chars = 0) {
    const std::string text =
        GetPrivateProfileString(controller, "Exclude", kAllAddresses, LinkwellIni(), chars);
    return std::strtol(text.c_str(), nullptr, 10);
}

bool BitSet(long value, int32_t bit) {
    return ((static_cast<unsigned long>(value) >> bit) & 1u) != 0;
}

// The bus address after the last comma of an address text; -1 when there is none.
int32_t BusAddressOf(const std::string& address) {
    const auto comma = address.rfind(',');
    if (comma == std::string::npos)
        return -1;
    return std::atoi(address.c_str() + comma + 1);
}

} // namespace

IWenxSettingsDialog* WenxSettingsDialog() {
    return g_dialog;
}
void SetWenxSettingsDialog(IWenxSettingsDialog* dialog) {
    g_dialog = dialog;
}

CWenxInterface::CWenxInterface(int32_t lan, std::string libraryName)
    : CCommInterface(kWenxTypeMember), m_isLan(lan), m_libraryName(std::move(libraryName)) {
    m_commTimeout = 1000;
    m_pollTimeout = 10;
    m_lanTimeout = 100;
    m_addressCount = kAddresses;
    for (int32_t i = 0; i < kAddresses; ++i) {
        SearchEntry& entry = m_searchTable[static_cast<std::size_t>(i)];
        entry.status = -1;
        entry.searched = 1;
        entry.identityQuery = m_identityQuery;
    }
    ClearError();
}

CWenxInterface::~CWenxInterface() {
    CloseConnection();
    UnloadLibrary();
}

std::string CWenxInterface::FindLibrary() const {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (m_libraryName.find('/') != std::string::npos)
        return fs::is_regular_file(m_libraryName, ec) ? m_libraryName : std::string();
    std::vector<fs::path> folders;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        folders.push_back(program.parent_path());
    if (const char* path = std::getenv("LD_LIBRARY_PATH")) {
        std::string rest = path;
        for (std::size_t colon; !rest.empty(); rest.erase(0, colon + 1)) {
            colon = rest.find(':');
            if (colon == std::string::npos)
                colon = rest.size();
            if (colon > 0)
                folders.emplace_back(rest.substr(0, colon));
        }
    }
    for (const fs::path& folder : folders) {
        const fs::path candidate = folder / m_libraryName;
        if (fs::is_regular_file(candidate, ec))
            return candidate.string();
    }
    return {};
}

void CWenxInterface::UnloadLibrary() {
    m_fn = EntryPoints{};
    m_hLibrary.Free();
}

bool CWenxInterface::Initialize() {
    if (IsLibraryLoaded()) {
        if (!m_gpibControllers.empty() || !m_lanControllers.empty())
            return true;
        SetError(IDS_NO_WENX_DLL);
        return false;
    }
    const std::string path = FindLibrary();
    if (path.empty()) {
        SetError(IDS_NO_WENX_DLL);
        return false;
    }
    if (!m_hLibrary.Load(path))
        return false;
    if (!LoadEntryPoints()) {
        SetError(IDS_NO_DLL_FUNCTIONS);
        // Half a binding would call through null entry points later.
        UnloadLibrary();
        return false;
    }
    ClearError();
    EnumerateControllers();
    return true;
}

bool CWenxInterface::LoadEntryPoints() {
    EntryPoints fn;
    bool complete = true;
    auto bind = [&](auto& slot, const char* name, bool required = true) {
        void* symbol = m_hLibrary.Symbol(name);
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(symbol);
        if (!symbol && required)
            complete = false;
    };
    bind(fn.iread, "iread");
    bind(fn.iwrite, "iwrite");
    bind(fn.iopen, "iopen");
    bind(fn.iclose, "iclose");
    bind(fn.igeterrstr, "igeterrstr");
    bind(fn.igeterrno, "igeterrno");
    bind(fn.ionerror, "ionerror");
    bind(fn.ilantimeout, "ilantimeout");
    bind(fn.ilangettimeout, "ilangettimeout");
    bind(fn.itimeout, "itimeout");
    bind(fn.igettimeout, "igettimeout");
    bind(fn.ireadstb, "ireadstb");
    bind(fn.ilocal, "ilocal");
    bind(fn.iremote, "iremote", false);
    bind(fn.iclear, "iclear");
    bind(fn.ilock, "ilock");
    bind(fn.iunlock, "iunlock");
    bind(fn.igetlulist, "igetlulist");
    bind(fn.igetluinfo, "igetluinfo");
    bind(fn.igpibbusstatus, "igpibbusstatus");
    bind(fn.igpibsendcmd, "igpibsendcmd");
    bind(fn.igpibatnctl, "igpibatnctl");
    bind(fn.igpibrenctl, "igpibrenctl");
    bind(fn.ihint, "ihint");
    bind(fn.iversion, "iversion");
    m_fn = fn;
    return complete;
}

void CWenxInterface::EnumerateControllers() {
    m_gpibControllers.clear();
    m_lanControllers.clear();
    int32_t units[kWenxMaxUnits + 1];
    if (m_fn.igetlulist(units) != 0)
        return;
    for (int i = 0; i <= kWenxMaxUnits && units[i] != -1; ++i) {
        WenxUnitInfo info{};
        if (m_fn.igetluinfo(units[i], &info) != 0)
            break;
        info.symbolicName[sizeof info.symbolicName - 1] = '\0';
        if (info.interfaceType == kWenxTypeLan)
            m_lanControllers.emplace_back(info.symbolicName);
        else if (info.interfaceType == kWenxTypeGpib)
            m_gpibControllers.emplace_back(info.symbolicName);
    }
}

const std::vector<std::string>& CWenxInterface::Controllers() const {
    return m_isLan ? m_lanControllers : m_gpibControllers;
}

void CWenxInterface::ReadControllerSettings(const std::string& controller) {
    const std::string ini = LinkwellIni();
    const long exclude = ExcludeValue(controller);
    for (int32_t i = 0; i < kAddresses; ++i) {
        SearchEntry& entry = m_searchTable[static_cast<std::size_t>(i)];
        entry.status = -1;
        entry.line.clear();
        entry.searched = BitSet(exclude, i) ? 1 : 0;
        entry.identityQuery =
            GetPrivateProfileString(controller, Format("IDString%d", i), m_identityQuery, ini);
    }
    if (m_isLan && !m_lanControllers.empty()) {
        const std::string& first = m_lanControllers.front();
        m_ipAddress = GetPrivateProfileString(first, "IPAddress", "0.0.0.0", ini, kGatewayChars);
        m_gatewayName = GetPrivateProfileString(first, "GatewayName", "gpib", ini, kGatewayChars);
    }
}

std::string CWenxInterface::FoundAddress(int32_t address) const {
    if (address < 0 || address >= kAddresses)
        return {};
    return m_searchTable[static_cast<std::size_t>(address)].line;
}

bool CWenxInterface::IsExcluded(int32_t address) const {
    return address >= 0 && address < kAddresses &&
           m_searchTable[static_cast<std::size_t>(address)].searched == 0;
}

std::string CWenxInterface::DeviceAddress(const std::string& controller, int32_t address) const {
    if (m_isLan)
        return Format("%s[%s]:%s,%d", controller.c_str(), m_ipAddress.c_str(),
                      m_gatewayName.c_str(), address);
    return Format("%s,%d", controller.c_str(), address);
}

void CWenxInterface::SetLibraryError(int32_t code) {
    m_lastResult = code;
    if (code == 0)
        return;
    const char* text = m_fn.igeterrstr ? m_fn.igeterrstr(code) : nullptr;
    SetError(code, text ? text : "");
}

bool CWenxInterface::OpenConnection() {
    if (!IsLibraryLoaded()) {
        SetError(IDS_WENX_NOT_LOADED);
        return false;
    }
    if (m_connection != 0)
        return true;
    if (IsExcluded(BusAddressOf(m_address)))
        return false;
    m_connection = m_fn.iopen(m_address.c_str());
    if (m_connection == 0) {
        SetError(IDS_NO_SESSION);
        return false;
    }
    m_fn.itimeout(m_connection, m_commTimeout);
    if (m_isLan)
        m_fn.ilantimeout(m_connection, m_lanTimeout);
    m_fn.ihint(m_connection, kConnectionHint);
    return true;
}

void CWenxInterface::CloseConnection() {
    if (m_connection == 0 || !IsLibraryLoaded())
        return;
    m_fn.ilocal(m_connection);
    m_fn.iclose(m_connection);
    m_connection = 0;
}

void CWenxInterface::EndOperation() {
    if (!m_exclusive)
        CloseConnection();
}

bool CWenxInterface::Open(const char* address) {
    m_open = 0;
    CloseConnection();
    Initialize();
    const std::string text = address ? address : "";
    bool known = false;
    for (const std::string& name : Controllers())
        if (text.find(name) != std::string::npos)
            known = true;
    if (!known)
        SetError(IDS_BAD_CONTROLLER);

    StoreAddress(text.c_str());
    ReadControllerSettings(m_address.substr(0, m_address.find(',')));

    bool answered = false;
    if (IsLibraryLoaded()) {
        m_connection = m_fn.iopen(m_address.c_str());
        if (m_connection != 0) {
            m_fn.itimeout(m_connection, kProbeTimeout);
            uint8_t status = 0;
            m_lastResult = m_fn.ireadstb(m_connection, &status);
            m_statusByte = status;
            answered = m_lastResult == 0;
            m_fn.itimeout(m_connection, m_commTimeout);
            if (m_isLan)
                m_fn.ilantimeout(m_connection, m_lanTimeout);
            if (!answered)
                CloseConnection();
            else
                EndOperation();
        }
    }
    return FinishOpen(answered, IDS_BAD_ADDRESS);
}

bool CWenxInterface::Close() {
    CloseConnection();
    return true;
}

bool CWenxInterface::Send(const char* command) {
    if (!OpenConnection())
        return false;
    const char* text = command ? command : "";
    m_fn.ilock(m_connection);
    m_fn.itimeout(m_connection, m_commTimeout);
    const int32_t result =
        m_fn.iwrite(m_connection, text, static_cast<uint32_t>(std::strlen(text)), 1, nullptr);
    m_fn.iunlock(m_connection);
    SetLibraryError(result);
    EndOperation();
    return result == 0;
}

bool CWenxInterface::Transfer(int32_t, int32_t, int32_t, int32_t) {
    if (IsLibraryLoaded())
        return true;
    SetError(IDS_WENX_NOT_LOADED);
    return false;
}

bool CWenxInterface::Read(char* buffer, int32_t size, int32_t& count) {
    count = 0;
    if (!buffer || size <= 0)
        return false;
    buffer[0] = '\0';
    if (!OpenConnection())
        return false;
    m_fn.ilock(m_connection);
    m_fn.itimeout(m_connection, m_commTimeout);
    int32_t result = 0;
    for (;;) {
        int32_t reason = 0;
        uint32_t got = 0;
        result = m_fn.iread(m_connection, buffer + count, static_cast<uint32_t>(size - count),
                            &reason, &got);
        m_readReason = reason;
        count += static_cast<int32_t>(std::min<uint32_t>(got, static_cast<uint32_t>(size - count)));
        // A failed read does not wait a second time-out.
        if (result != 0 || got == 0 || buffer[count - 1] == '\n' || count >= size)
            break;
    }
    // The caller gets a terminated text within its buffer, whatever ended the read.
    TerminateAnswer(buffer, size, count);
    m_fn.iunlock(m_connection);
    m_readCount = count;
    SetLibraryError(result);
    EndOperation();
    return result == 0;
}

int16_t CWenxInterface::IsMsgAvailable() {
    if (!OpenConnection())
        return -1;
    m_fn.itimeout(m_connection, m_pollTimeout);
    uint8_t status = 0;
    const int32_t result = m_fn.ireadstb(m_connection, &status);
    int16_t available = -1;
    if (result != 0) {
        SetLibraryError(result);
    } else {
        m_lastResult = 0;
        m_statusByte = status;
        m_fn.itimeout(m_connection, m_commTimeout);
        available = 0;
        for (int32_t waiting : kAnswerWaiting)
            if (m_statusByte == waiting)
                available = 1;
    }
    EndOperation();
    return available;
}

void CWenxInterface::Clear() {
    if (!OpenConnection())
        return;
    m_fn.iclear(m_connection);
    m_lastResult = m_fn.ilocal(m_connection);
    EndOperation();
}

bool CWenxInterface::GoToLocal() {
    if (OpenConnection()) {
        m_fn.ilocal(m_connection);
        EndOperation();
    }
    return true;
}

bool CWenxInterface::GoToRemote() {
    if (OpenConnection()) {
        if (m_fn.iremote)
            m_fn.iremote(m_connection);
        EndOperation();
    }
    return true;
}

bool CWenxInterface::SetAddress(const char* address) {
    CloseConnection();
    StoreAddress(address ? address : "");
    return true;
}

bool CWenxInterface::SetCommTimeout(int32_t ms) {
    if (!OpenConnection() || m_fn.itimeout(m_connection, ms) != 0)
        return false;
    m_commTimeout = ms;
    return true;
}

int32_t CWenxInterface::GetCommTimeout() {
    if (m_connection == 0)
        return 0;
    int32_t ms = 0;
    return m_fn.igettimeout(m_connection, &ms) != 0 ? -1 : ms;
}

bool CWenxInterface::SetLanTimeout(int32_t ms) {
    m_lanTimeout = ms;
    return OpenConnection() && m_fn.ilantimeout(m_connection, ms) == 0;
}

int32_t CWenxInterface::GetLanTimeout() {
    if (m_connection == 0)
        return 0;
    int32_t ms = 0;
    return m_fn.ilangettimeout(m_connection, &ms) != 0 ? -1 : ms;
}

bool CWenxInterface::GetListenerMask(const std::string& controller, uint32_t& mask) {
    mask = 0;
    const long exclude = ExcludeValue(controller, kExcludeChars + 1);
    if (!IsLibraryLoaded())
        return false;
    const WenxSession bus = m_fn.iopen(controller.c_str());
    if (bus == 0)
        return false;
    m_fn.itimeout(bus, kProbeTimeout);
    int32_t own = -1;
    if (m_fn.igpibbusstatus(bus, kWenxBusAddress, &own) != 0) {
        m_fn.iclose(bus);
        return false;
    }
    bool found = false;
    for (int32_t a = 0; a < kAddresses; ++a) {
        if (a == own || !BitSet(exclude, a))
            continue;
        const char command[] = {static_cast<char>(kUnlisten), static_cast<char>(kTalkBase + own),
                                static_cast<char>(kListenBase + a)};
        if (m_fn.igpibsendcmd(bus, command, sizeof command) != 0)
            continue;
        m_fn.igpibatnctl(bus, 0);
        Pause(kListenerSettleMs);
        int32_t ndac = -1;
        if (m_fn.igpibbusstatus(bus, kWenxBusNdac, &ndac) == 0 && ndac == 1) {
            mask |= 1u << a;
            found = true;
        }
    }
    const char unlisten = static_cast<char>(kUnlisten);
    m_fn.igpibsendcmd(bus, &unlisten, 1);
    m_fn.igpibrenctl(bus, 0);
    m_fn.iclose(bus);
    return found;
}

bool CWenxInterface::ScanController(const std::string& controller) {
    if (!IsLibraryLoaded()) {
        SetError(IDS_WENX_NOT_LOADED);
        return false;
    }
    WenxSession gateway = 0;
    if (m_isLan) {
        if (m_ipAddress == "0.0.0.0") {
            ShowMessage("You must change the hostname/IP address before searching for "
                        "instruments.\n\nSelect 'Change Settings' to make changes.");
            return false;
        }
        const std::string name =
            Format("%s[%s]:%s", controller.c_str(), m_ipAddress.c_str(), m_gatewayName.c_str());
        gateway = m_fn.iopen(name.c_str());
        if (gateway == 0) {
            CloseConnection();
            ShowMessage("Timeout trying to connect to LAN/GPIB Gateway at\n\n\t" + name +
                        "\n\nSelect 'Change Interface Settings' and change IP address.");
            SetError(IDS_NO_CONTROLLER_SESSION);
            return false;
        }
        m_fn.ilantimeout(gateway, m_lanTimeout);
    }
    CloseConnection();
    uint32_t mask = 0;
    GetListenerMask(controller, mask);
    bool found = false;
    for (int32_t i = 0; i < kAddresses; ++i) {
        SearchEntry& entry = m_searchTable[static_cast<std::size_t>(i)];
        entry.status = -1;
        entry.line.clear();
        if (entry.searched == 0 || !(mask & (1u << i)))
            continue;
        const std::string address = DeviceAddress(controller, i);
        const WenxSession device = m_fn.iopen(address.c_str());
        if (device == 0)
            continue;
        m_fn.itimeout(device, m_pollTimeout);
        uint8_t status = 0;
        if (m_fn.ireadstb(device, &status) == 0) {
            entry.status = i;
            entry.line = address;
            found = true;
        }
        m_fn.iclose(device);
    }
    if (gateway != 0)
        m_fn.iclose(gateway);
    return found;
}

void CWenxInterface::ShowNoControllers() {
    ShowMessage(LoadResString(IDS_NO_CONTROLLERS));
}

bool CWenxInterface::Search(std::vector<std::string>& results, const char* pattern, int32_t) {
    const std::vector<std::string> controllers = Controllers();
    if (controllers.empty()) {
        ShowNoControllers();
        return true;
    }
    for (const std::string& controller : controllers) {
        ReadControllerSettings(controller);
        if (!ScanController(controller))
            continue;
        for (int32_t i = 0; i < kAddresses; ++i) {
            const SearchEntry entry = m_searchTable[static_cast<std::size_t>(i)];
            if (entry.status < 0)
                continue;
            SetAddress(entry.line.c_str());
            ProbeSearchEntry(entry, pattern, results);
            Close();
        }
    }
    return true;
}

bool CWenxInterface::EditSettings() {
    const std::vector<std::string>& controllers = Controllers();
    if (controllers.empty()) {
        ShowNoControllers();
        return false;
    }
    IWenxSettingsDialog* dialog = WenxSettingsDialog();
    if (!dialog) {
        ShowMessage(LoadResString(IDS_WENX_DIALOG_NOT_AVAILABLE));
        return false;
    }
    const std::string ini = LinkwellIni();
    IWenxSettingsDialog::Settings settings;
    settings.lan = m_isLan != 0;
    for (std::size_t i = 0; i < controllers.size() && i < kSettingsControllers; ++i)
        settings.controllers.push_back(
            {controllers[i], static_cast<int32_t>(ExcludeValue(controllers[i]))});
    for (std::size_t i = kSettingsControllers; i < controllers.size(); ++i)
        settings.moreControllers.push_back(controllers[i]);
    if (m_isLan) {
        const std::string& first = controllers.front();
        settings.ipAddress =
            GetPrivateProfileString(first, "IPAddress", "0.0.0.0", ini, kGatewayChars);
        settings.gatewayName =
            GetPrivateProfileString(first, "GatewayName", "gpib", ini, kGatewayChars);
    }
    if (!dialog->Run(settings, DialogOwner()))
        return false;
    for (const IWenxSettingsDialog::Controller& c : settings.controllers)
        WritePrivateProfileString(c.name, "Exclude", Format("%ld", static_cast<long>(c.exclude)),
                                  ini);
    if (m_isLan) {
        m_ipAddress = settings.ipAddress;
        m_gatewayName = settings.gatewayName;
        WritePrivateProfileString(controllers.front(), "IPAddress", m_ipAddress, ini);
        WritePrivateProfileString(controllers.front(), "GatewayName", m_gatewayName, ini);
    }
    return true;
}

bool CWenxInterface::GetControllerName(int32_t index, std::string& name) {
    const std::vector<std::string>& controllers = Controllers();
    if (index < 0 || static_cast<std::size_t>(index) >= controllers.size())
        return false;
    m_controllerName = controllers[static_cast<std::size_t>(index)];
    name = m_controllerName;
    return true;
}

} // namespace tvane::comm
