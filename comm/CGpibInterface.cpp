#include "comm/CGpibInterface.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "comm/CommStrings.h"
#include "comm/IGpibSettingsDialog.h"
#include "comm/InterfaceTypes.h"
#include "platform/core/Format.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"

namespace tvane::comm {
namespace {

constexpr const char* kAllAddresses = "2147483647";
constexpr std::size_t kAddressTextChars = 20;
constexpr int32_t kAddresses = 31; // bus addresses 0-30
constexpr int32_t kFirstAddress = 1;
constexpr int32_t kLastAddress = 30;
constexpr int kSecondaryNone = 0;
constexpr int kEndWithEoi = 1;
constexpr int kNoEndOfString = 0;
// Serial-poll bytes that say an answer waits; compared whole.
constexpr short kAnswerWaiting[] = {16, 80, 112};
constexpr const char* kTimeoutText = "GPIB interface timeout occured";
constexpr const char* kNoControllers =
    "National Instruments NI-488.2 driver software detected but no controllers have been "
    "configured.\n\nUse the \"GPIB wibcfg\" application to add a controller.";

IGpibSettingsDialog* g_dialog = nullptr;

long ExcludeValue(const std::string& controller) {
    const std::string text =
        GetPrivateProfileString(controller, "Exclude", kAllAddresses, LinkwellIni());
    return std::strtol(text.c_str(), nullptr, 10);
}

bool BitSet(long value, int32_t bit) {
    return ((static_cast<unsigned long>(value) >> bit) & 1u) != 0;
}

// The board number of a controller name or address text: the digits at its first
// digit, which must come before any comma; -1 when there are none.
int32_t BoardOf(const std::string& text) {
    const std::size_t digit = text.find_first_of("0123456789");
    if (digit == std::string::npos || digit > text.find(','))
        return -1;
    long board = 0;
    for (std::size_t i = digit;
         i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        board = board * 10 + (text[i] - '0');
        if (board > 0xFFFF)
            return -1;
    }
    return static_cast<int32_t>(board);
}

} // namespace

IGpibSettingsDialog* GpibSettingsDialog() {
    return g_dialog;
}
void SetGpibSettingsDialog(IGpibSettingsDialog* dialog) {
    g_dialog = dialog;
}

CGpibInterface::CGpibInterface(std::string libraryName)
    : CCommInterface(kTypeGpib32), m_libraryName(std::move(libraryName)) {
    m_commTimeout = TimeoutMs(m_commTimeoutCode);
    m_pollTimeout = TimeoutMs(m_pollTimeoutCode);
    m_addressCount = kAddresses;
    for (int32_t i = 0; i < kAddresses; ++i) {
        SearchEntry& entry = m_searchTable[static_cast<std::size_t>(i)];
        entry.status = -1;
        entry.searched = 1;
        entry.identityQuery = m_identityQuery;
    }
}

CGpibInterface::~CGpibInterface() {
    FreeDevice();
    UnloadLibrary();
}

std::string CGpibInterface::LibraryName() const {
    if (!m_libraryName.empty())
        return m_libraryName;
    const std::string configured =
        GetPrivateProfileString(kLibrarySection, kLibraryKey, "", kConfigFile);
    return configured.empty() ? kDefaultLibrary : configured;
}

void CGpibInterface::UnloadLibrary() {
    m_fn = EntryPoints{};
    m_controllers.clear();
    m_connected = false;
    m_library.Free();
}

bool CGpibInterface::RequireLibrary() {
    if (IsLibraryLoaded())
        return true;
    SetError(IDS_GPIB_NOT_LOADED);
    return false;
}

bool CGpibInterface::Initialize() {
    if (IsLibraryLoaded()) {
        if (!m_controllers.empty())
            return true;
        SetError(IDS_NO_GPIB_DLL);
        return false;
    }
    // A bare name is looked for where the system's loader looks.
    if (!m_library.Load(LibraryName())) {
        SetError(IDS_NO_GPIB_DLL);
        return false;
    }
    if (!LoadEntryPoints()) {
        SetError(IDS_NO_DLL_FUNCTIONS);
        // Half a binding would call through null entry points later.
        UnloadLibrary();
        return false;
    }
    ClearError();
    ListControllers();
    return true;
}

bool CGpibInterface::LoadEntryPoints() {
    if (!IsLibraryLoaded())
        return false;
    EntryPoints fn;
    bool complete = true;
    auto bind = [&](auto& slot, const char* name) {
        void* symbol = m_library.Symbol(name);
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(symbol);
        if (!symbol)
            complete = false;
    };
    // The status variables have other names in linux-gpib than in the NI library.
    auto bindVariable = [&](volatile int*& slot, const char* name, const char* linuxName) {
        void* symbol = m_library.Symbol(name);
        if (!symbol)
            symbol = m_library.Symbol(linuxName);
        slot = static_cast<volatile int*>(symbol);
        if (!symbol)
            complete = false;
    };
    bindVariable(fn.ibsta, "user_ibsta", "ibsta");
    bindVariable(fn.iberr, "user_iberr", "iberr");
    bindVariable(fn.ibcnt, "user_ibcnt", "ibcnt");
    // Bound for completeness of the library; the transport does not call them.
    for (const char* name :
         {"Receive", "RcvRespMsg", "Send", "SendCmds", "SendDataBytes", "ibln", "ibrsp"})
        if (!m_library.Symbol(name))
            complete = false;
    bind(fn.SendIFC, "SendIFC");
    bind(fn.ReadStatusByte, "ReadStatusByte");
    bind(fn.FindLstn, "FindLstn");
    bind(fn.ibonl, "ibonl");
    bind(fn.ibtmo, "ibtmo");
    bind(fn.ibdev, "ibdev");
    bind(fn.DevClear, "DevClear");
    bind(fn.EnableRemote, "EnableRemote");
    bind(fn.EnableLocal, "EnableLocal");
    bind(fn.ibwrt, "ibwrt");
    bind(fn.ibrd, "ibrd");
    m_fn = fn;
    if (complete)
        ClearError();
    return complete;
}

void CGpibInterface::ListControllers() {
    m_controllers.clear();
    for (int board = 0; board < kBoards; ++board) {
        m_fn.ibonl(board, 1);
        if (!Failed())
            m_controllers.push_back(Format("ib%d", board));
        m_fn.ibonl(board, 0);
    }
}

void CGpibInterface::ReadControllerSettings(const std::string& controller) {
    const std::string ini = LinkwellIni();
    const long exclude = ExcludeValue(controller);
    for (int32_t i = 0; i < kAddresses; ++i) {
        SearchEntry& entry = m_searchTable[static_cast<std::size_t>(i)];
        entry.status = -1;
        entry.line.clear();
        // The key keeps its old name; a set bit keeps the address in.
        entry.searched = BitSet(exclude, i) ? 1 : 0;
        entry.identityQuery =
            GetPrivateProfileString(controller, Format("IDString%d", i), m_identityQuery, ini);
    }
}

bool CGpibInterface::IsExcluded(int32_t address) const {
    return address >= 0 && address < kAddresses &&
           m_searchTable[static_cast<std::size_t>(address)].searched == 0;
}

void CGpibInterface::ReportLibraryError() {
    const int32_t code = kLibraryErrorBase + ErrorValue();
    if (Status() & kGpibTimo)
        SetError(code, kTimeoutText);
    else
        SetError(code, ErrorText(ErrorValue()));
}

bool CGpibInterface::SetAddress(const char* address) {
    const std::string text = std::string(address ? address : "").substr(0, kAddressTextChars);
    const std::size_t comma = text.find(',');
    const int32_t board = BoardOf(text);
    const long primary = comma == std::string::npos ? 0 : std::atol(text.c_str() + comma + 1);
    if (board < 0 || primary < kFirstAddress || primary > kLastAddress) {
        SetError(IDS_BAD_ADDRESS);
        return false;
    }
    // A handle made for another device would send there.
    if (board != m_board || primary != m_primary)
        FreeDevice();
    if (board != m_board)
        m_connected = false;
    m_board = board;
    m_primary = static_cast<int16_t>(primary);
    StoreAddress(text.c_str());
    return true;
}

bool CGpibInterface::Open(const char* address) {
    m_open = 0;
    Initialize();
    bool connected = false;
    if (SetAddress(address)) {
        ReadControllerSettings(m_address.substr(0, m_address.find(',')));
        if (!IsExcluded(m_primary))
            connected = Connect();
        // Unless the link is kept, it is only tested and left offline.
        if (m_exclusive)
            GoToRemote();
        else if (IsLibraryLoaded())
            Close();
    }
    return FinishOpen(connected, IDS_BAD_ADDRESS);
}

bool CGpibInterface::Connect() {
    if (!RequireLibrary() || m_primary < kFirstAddress)
        return false;
    if (m_connected)
        return true;
    m_fn.SendIFC(m_board);
    m_fn.ibonl(m_board, 1);
    if (!Failed()) {
        m_fn.SendIFC(m_board);
        m_fn.ibtmo(m_board, m_commTimeoutCode);
    }
    if (Failed()) {
        SetError(IDS_NO_SESSION);
        return false;
    }
    m_connected = true;
    return true;
}

bool CGpibInterface::Close() {
    if (!RequireLibrary())
        return false;
    GoToLocal();
    m_fn.ibonl(m_board, 0);
    m_connected = false;
    return true;
}

bool CGpibInterface::MakeDevice() {
    if (m_device >= 0)
        return true;
    if (m_primary < kFirstAddress) {
        SetError(IDS_BAD_ADDRESS);
        return false;
    }
    const int device = m_fn.ibdev(m_board, m_primary, kSecondaryNone, m_commTimeoutCode,
                                  kEndWithEoi, kNoEndOfString);
    if (Failed() || device < 0) {
        ReportLibraryError();
        return false;
    }
    m_device = device;
    return true;
}

void CGpibInterface::FreeDevice() {
    if (m_device >= 0 && IsLibraryLoaded())
        m_fn.ibonl(m_device, 0);
    m_device = -1;
}

bool CGpibInterface::Send(const char* command) {
    if (!RequireLibrary() || !MakeDevice())
        return false;
    const char* text = command ? command : "";
    m_fn.ibwrt(m_device, text, static_cast<long>(std::strlen(text)));
    m_lastCommand = text;
    if (Status() & (kGpibErr | kGpibTimo))
        ReportLibraryError();
    return !Failed();
}

bool CGpibInterface::Transfer(int32_t, int32_t, int32_t, int32_t) {
    return RequireLibrary();
}

bool CGpibInterface::Read(char* buffer, int32_t size, int32_t& count) {
    count = 0;
    if (!buffer || size <= 0)
        return false;
    buffer[0] = '\0';
    if (!RequireLibrary() || !MakeDevice())
        return false;
    for (;;) {
        m_fn.ibrd(m_device, buffer + count, static_cast<long>(size - count));
        const int32_t got = std::clamp<int32_t>(Count(), 0, size - count);
        count += got;
        // A failed read does not wait a second time-out.
        if (Failed() || got == 0 || buffer[count - 1] == '\n' || count >= size)
            break;
    }
    if (count > 0 && buffer[count - 1] == '\n') {
        TerminateAnswer(buffer, size, count);
        return true;
    }
    if (Failed())
        ReportLibraryError();
    if (!(Status() & kGpibTimo))
        count = 0;
    TerminateAnswer(buffer, size, count);
    return false;
}

bool CGpibInterface::GoToLocal() {
    if (IsLibraryLoaded() && m_primary >= kFirstAddress) {
        const Addr4882 list[] = {static_cast<Addr4882>(m_primary), kGpibNoAddress};
        m_fn.EnableLocal(m_board, list);
    }
    return true;
}

bool CGpibInterface::GoToRemote() {
    if (IsLibraryLoaded() && m_primary >= kFirstAddress) {
        const Addr4882 list[] = {static_cast<Addr4882>(m_primary), kGpibNoAddress};
        m_fn.EnableRemote(m_board, list);
    }
    return true;
}

bool CGpibInterface::ScanController(const std::string& controller) {
    if (!RequireLibrary())
        return false;
    const int32_t board = BoardOf(controller);
    if (board < 0)
        return false;
    Addr4882 pads[kLastAddress + 1];
    for (int32_t a = kFirstAddress; a <= kLastAddress; ++a)
        pads[a - kFirstAddress] = static_cast<Addr4882>(a);
    pads[kLastAddress] = kGpibNoAddress;
    Addr4882 listeners[kLastAddress + 1] = {};
    m_fn.FindLstn(board, pads, listeners, kLastAddress);
    if (Failed())
        return false;
    const int32_t found = std::clamp(Count(), 0, kLastAddress);
    for (SearchEntry& entry : m_searchTable) {
        entry.status = -1;
        entry.line.clear();
    }
    bool any = false;
    for (int32_t k = 0; k < found; ++k) {
        const int32_t pad = listeners[k] & 0xFF;
        if (pad < kFirstAddress || pad > kLastAddress || IsExcluded(pad))
            continue;
        SearchEntry& entry = m_searchTable[static_cast<std::size_t>(pad)];
        entry.status = pad;
        entry.line = Format("ib%d,%d", board, pad);
        any = true;
    }
    return any;
}

bool CGpibInterface::Search(std::vector<std::string>& results, const char* pattern, int32_t) {
    if (!IsLibraryLoaded())
        Initialize();
    const std::vector<std::string> controllers = m_controllers;
    for (const std::string& controller : controllers) {
        ReadControllerSettings(controller);
        if (!ScanController(controller))
            continue;
        for (int32_t i = kFirstAddress; i <= kLastAddress; ++i) {
            const SearchEntry entry = m_searchTable[static_cast<std::size_t>(i)];
            if (entry.status < 0 || !SetAddress(entry.line.c_str()))
                continue;
            m_fn.ibonl(m_board, 1);
            ProbeSearchEntry(entry, pattern, results);
            Close();
        }
    }
    return true;
}

int16_t CGpibInterface::IsMsgAvailable() {
    if (!RequireLibrary())
        return 0;
    short status = 0;
    m_fn.ReadStatusByte(m_board, static_cast<Addr4882>(m_primary), &status);
    if (Failed()) {
        ReportLibraryError();
        return 0;
    }
    for (short waiting : kAnswerWaiting)
        if (status == waiting)
            return 1;
    return 0;
}

void CGpibInterface::Clear() {
    if (!IsLibraryLoaded())
        return;
    m_fn.DevClear(m_board, static_cast<Addr4882>(m_primary));
    GoToRemote();
}

bool CGpibInterface::SetCommTimeout(int32_t ms) {
    m_commTimeoutCode = TimeoutCode(ms);
    m_commTimeout = TimeoutMs(m_commTimeoutCode);
    if (!IsLibraryLoaded())
        return true;
    bool ok = true;
    // The device handle waits with it from now on, as does the board.
    if (m_device >= 0) {
        m_fn.ibtmo(m_device, m_commTimeoutCode);
        ok = !Failed();
    }
    if (m_connected) {
        m_fn.ibtmo(m_board, m_commTimeoutCode);
        ok = ok && !Failed();
    }
    return ok;
}

int32_t CGpibInterface::GetCommTimeout() {
    return TimeoutMs(m_commTimeoutCode);
}

void CGpibInterface::SetPollTimeout(int32_t ms) {
    m_pollTimeoutCode = TimeoutCode(ms);
    m_pollTimeout = TimeoutMs(m_pollTimeoutCode);
}

int32_t CGpibInterface::GetPollTimeout() {
    return TimeoutMs(m_pollTimeoutCode);
}

bool CGpibInterface::EditSettings() {
    if (!IsLibraryLoaded())
        Initialize();
    if (m_controllers.empty()) {
        ShowMessage(kNoControllers);
        return false;
    }
    IGpibSettingsDialog* dialog = GpibSettingsDialog();
    if (!dialog) {
        ShowMessage(LoadResString(IDS_WENX_DIALOG_NOT_AVAILABLE));
        return false;
    }
    std::vector<IGpibSettingsDialog::Controller> controllers;
    for (const std::string& name : m_controllers)
        controllers.push_back({name, static_cast<int32_t>(ExcludeValue(name))});
    if (!dialog->Run(controllers, DialogOwner()))
        return false;
    const std::string ini = LinkwellIni();
    for (const IGpibSettingsDialog::Controller& c : controllers)
        WritePrivateProfileString(c.name, "Exclude", Format("%ld", static_cast<long>(c.exclude)),
                                  ini);
    return true;
}

bool CGpibInterface::GetControllerName(int32_t index, std::string& name) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_controllers.size())
        return false;
    name = m_controllers[static_cast<std::size_t>(index)];
    return true;
}

int32_t CGpibInterface::TimeoutCode(int32_t ms) {
    if (ms < 0)
        return 0;
    if (ms == 0)
        return 3;
    // The smallest step that is not below the request.
    static constexpr int32_t kSteps[] = {1,    3,    10,    30,    100,    300,
                                         1000, 3000, 10000, 30000, 100000, 300000};
    for (int32_t i = 0; i < static_cast<int32_t>(std::size(kSteps)); ++i)
        if (ms <= kSteps[i])
            return 5 + i;
    return 17;
}

int32_t CGpibInterface::TimeoutMs(int32_t code) {
    static constexpr int32_t kMs[] = {-1,  0,   0,    0,    0,     1,     3,      10,     30,
                                      100, 300, 1000, 3000, 10000, 30000, 100000, 300000, 1000000};
    if (code < 0 || code >= static_cast<int32_t>(std::size(kMs)))
        return 1000;
    return kMs[code];
}

const char* CGpibInterface::ErrorText(int32_t iberr) {
    switch (iberr) {
    case 0:
        return "System error";
    case 1:
        return "Function requires GPIB board to be CIC";
    case 2:
        return "Write function detected no Listeners";
    case 3:
        return "Interface board not addressed correctly";
    case 4:
        return "Invalid argument to function call";
    case 5:
        return "Function requires GPIB board to be SAC";
    case 6:
        return "I/O operation aborted";
    case 7:
        return "Non-existent interface board";
    case 8:
        return "Error performing DMA ";
    case 10:
        return "I/O operation started before previous operation completed";
    case 11:
        return "No capability for intended operation";
    case 12:
        return "File system operation error";
    case 14:
        return "Command error during device call";
    case 15:
        return "Serial poll status byte lost";
    case 16:
        return "SRQ remains asserted";
    case 20:
        return "The return buffer is full";
    case 21:
        return "Address or board is locked";
    default:
        return "No Error string available";
    }
}

} // namespace tvane::comm
