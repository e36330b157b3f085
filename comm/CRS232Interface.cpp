#include "comm/CRS232Interface.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "comm/CommStrings.h"
#include "comm/InterfaceTypes.h"
#include "platform/core/CaseInsensitive.h"
#include "platform/core/Clock.h"
#include "platform/core/Format.h"
#include "platform/core/MessagePump.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"

namespace tvane::comm {
namespace {

constexpr const char* kSection = "RS232";
constexpr std::size_t kValueChars = 50;
constexpr const char* kIdentityQuery = "*IDN?";
constexpr int32_t kIdentityBuffer = 200;
constexpr int32_t kSettingBuffer = 100;
constexpr int32_t kProbeTimeout = 500;
constexpr int32_t kDefaultTimeout = 5000;
// The instrument needs a moment after the port opens before it listens.
constexpr uint32_t kSettleMs = 750;
// Time the instrument gets to act on "syst:local" before the port closes.
constexpr uint32_t kLocalMs = 700;
// How long a send may stall on a held line, and wait for its bytes to leave.
constexpr uint32_t kTransmitStallMs = 2000;
constexpr uint32_t kDrainMs = 2000;
// How long a read waits for the line to finish sending, then for the answer.
constexpr uint32_t kSendingMs = 2000;
constexpr uint32_t kAnswerMs = 5000;
constexpr int32_t kOverrunCode = 777;
constexpr int32_t kFramingCode = 778;

struct Entry {
    const char* text;
    int32_t code;
    int baud; // line speed of a baud code
};
constexpr Entry kBauds[] = {{"110", 0, 110},      {"300", 1, 300},       {"600", 3, 600},
                            {"1200", 4, 1200},    {"2400", 5, 2400},     {"4800", 6, 4800},
                            {"9600", 7, 9600},    {"19200", 8, 19200},   {"38400", 9, 38400},
                            {"57600", 10, 57600}, {"115200", 11, 115200}};
constexpr const char* kParities[] = {"NONE", "ODD", "EVEN", "MARK", "SPACE"};
constexpr const char* kLengths[] = {"5", "6", "7", "8"};
// What the port asserts, then what it obeys.
constexpr const char* kHandshakes[] = {"RTSRTS", "RTSXON", "RTSDTR", "RTSNON", "NONNON", "NONXON",
                                       "XONNON", "XONXON", "DTRNON", "DTRRTS", "DTRDTR", "DTRXON",
                                       "NONRTS", "NONDTR", "XONRTS", "XONDTR"};
constexpr int32_t kRtsRts = 0;
constexpr int32_t kDtrDtr = 10;

template <std::size_t N>
std::optional<int32_t> IndexOf(const char* const (&table)[N], std::string_view text) {
    for (std::size_t i = 0; i < N; ++i)
        if (text == table[i])
            return static_cast<int32_t>(i);
    return std::nullopt;
}

// Waits up to ms on the tick clock, pumping messages, until done() holds.
template <typename Done> bool WaitUntil(uint32_t ms, Done done) {
    const uint32_t start = Clock().TickCount();
    for (;;) {
        if (done())
            return true;
        if (Clock().TickCount() - start >= ms)
            return false;
        MessagePump().Pump();
    }
}

void Pause(uint32_t ms) {
    WaitUntil(ms, [] { return false; });
}

// The setting checks' reply, up to its terminator.
std::string Reply(const char* buffer, int32_t size) {
    return std::string(buffer, ::strnlen(buffer, static_cast<std::size_t>(size)));
}

IRs232SettingsDialog* g_dialog = nullptr;

} // namespace

IRs232SettingsDialog* Rs232SettingsDialog() {
    return g_dialog;
}
void SetRs232SettingsDialog(IRs232SettingsDialog* dialog) {
    g_dialog = dialog;
}

CRS232Interface::CRS232Interface() : CCommInterface(kTypeRs232) {}

CRS232Interface::~CRS232Interface() {
    ClosePort();
}

std::string CRS232Interface::BaudText(int32_t code) {
    for (const Entry& e : kBauds)
        if (e.code == code && code >= 4)
            return e.text;
    return "9600";
}
std::string CRS232Interface::ParityText(int32_t code) {
    return code >= 1 && code <= 4 ? kParities[code] : "NONE";
}
std::string CRS232Interface::LengthText(int32_t code) {
    return code == 2 ? "7" : "8";
}
std::string CRS232Interface::HandshakeText(int32_t code) {
    return code >= 0 && code < 16 ? kHandshakes[code] : "NONNON";
}
std::optional<int32_t> CRS232Interface::BaudCode(std::string_view text) {
    for (const Entry& e : kBauds)
        if (text == e.text)
            return e.code;
    return std::nullopt;
}
std::optional<int32_t> CRS232Interface::ParityCode(std::string_view text) {
    return IndexOf(kParities, text);
}
std::optional<int32_t> CRS232Interface::LengthCode(std::string_view text) {
    return IndexOf(kLengths, text);
}
std::optional<int32_t> CRS232Interface::HandshakeCode(std::string_view text) {
    return IndexOf(kHandshakes, text);
}

bool CRS232Interface::Initialize() {
    m_addressCount = 1;
    SearchEntry& entry = m_searchTable[0];
    entry.status = 0;
    entry.searched = 0;
    entry.line.clear();
    entry.identityQuery = kIdentityQuery;
    ReadSettings();
    return true;
}

void CRS232Interface::ReadSettings() {
    const std::string ini = LinkwellIni();
    auto raw = [&](const char* key, const char* def) {
        return GetPrivateProfileString(kSection, key, def, ini, kValueChars + 1);
    };
    auto text = [&](const char* key, const char* def) { return ToUpperAscii(raw(key, def)); };

    const std::string port = text("SubPort", "COM1");
    m_portIndex = 0;
    if (port.size() > 3 && port.compare(0, 3, "COM") == 0)
        m_portIndex = std::max(0, std::atoi(port.c_str() + 3) - 1);
    if (auto code = BaudCode(text("BaudRate", "57600")))
        m_baudCode = *code;
    if (auto code = HandshakeCode(text("Protocol", "XONXON")))
        m_protocolCode = *code;
    if (auto code = ParityCode(text("Parity", "NONE")))
        m_parityCode = *code;
    if (auto code = LengthCode(text("Length", "8")))
        m_lengthCode = *code;
    const std::string io = raw("IOAddress", "0x3f8");
    unsigned address = 0;
    if (io.empty())
        m_ioAddress = 0x3F8;
    else if (std::sscanf(io.c_str(), "0x%x", &address) == 1)
        m_ioAddress = static_cast<int32_t>(address);
    const std::string irq = raw("Interrupt", "4");
    char* end = nullptr;
    const long value = std::strtol(irq.c_str(), &end, 10);
    if (end != irq.c_str())
        m_irq = static_cast<int32_t>(value);
}

CRS232Interface::Codes CRS232Interface::GetCodes() const {
    return {m_portIndex, m_baudCode, m_parityCode, m_lengthCode, m_protocolCode};
}

void CRS232Interface::TakeCodes(const Codes& codes) {
    m_portIndex = codes.portIndex;
    m_baudCode = codes.baud;
    m_parityCode = codes.parity;
    m_lengthCode = codes.length;
    m_protocolCode = codes.handshake;
}

bool CRS232Interface::OpenPort() {
    return m_port.Open(Format("COM%d", m_portIndex + 1)) == SerialError::None;
}

bool CRS232Interface::ClosePort() {
    if (!m_port.IsOpen())
        return true;
    if (m_port.Close() != SerialError::None) {
        SetError(IDS_RS232_CLOSE_FAILED);
        return false;
    }
    return true;
}

bool CRS232Interface::SetCharacteristics() {
    SerialSettings s;
    int baud = 0;
    for (const Entry& e : kBauds)
        if (e.code == m_baudCode)
            baud = e.baud;
    s.baud = baud;
    s.dataBits = m_lengthCode >= 0 && m_lengthCode <= 3 ? m_lengthCode + 5 : 0;
    static constexpr SerialParity parities[] = {SerialParity::None, SerialParity::Odd,
                                                SerialParity::Even, SerialParity::Mark,
                                                SerialParity::Space};
    if (m_parityCode < 0 || m_parityCode > 4)
        return false;
    s.parity = parities[m_parityCode];
    s.stopBits = m_stopCode == 0 ? 1 : 2;
    // DTR/DSR handshaking has no place in the line settings: the port raises DTR
    // when it opens, and the line check asks for DSR.
    const std::string handshake = HandshakeText(m_protocolCode);
    s.sendXonXoff = handshake.compare(0, 3, "XON") == 0;
    s.obeyXonXoff = handshake.compare(3, 3, "XON") == 0;
    s.rtsCts = m_protocolCode == kRtsRts;
    return m_port.Configure(s) == SerialError::None;
}

bool CRS232Interface::LinesReady() const {
    if (!m_port.IsOpen())
        return false;
    if (m_protocolCode == kRtsRts)
        return m_port.Cts();
    if (m_protocolCode == kDtrDtr)
        return m_port.Dsr();
    return true;
}

bool CRS232Interface::Open(const char* address) {
    m_open = 0;
    ClearError();
    if (!Initialize())
        return false;
    ClosePort();
    StoreAddress(address);
    if (!OpenPort()) {
        SetError(IDS_RS232_OPEN_FAILED);
        return false;
    }
    if (!SetCharacteristics()) {
        SetError(IDS_RS232_SETUP_FAILED);
        ClosePort();
        return false;
    }
    std::string mismatch;
    const bool ready = SetCommTimeout(m_timeout) && LinesReady();
    if (ready && CheckSettings(&mismatch)) {
        m_open = 1;
        Pause(kSettleMs);
        WritePrivateProfileString("Settings", "ConnectSpeed", BaudText(m_baudCode), LinkwellIni());
        return true;
    }
    // Say why, unless a failed query has already said so.
    if (m_errorCode == 0)
        SetError(ready ? IDS_RS232_SETUP_FAILED : IDS_RS232_SEND_FAILED,
                 ready ? mismatch.c_str() : nullptr);
    Pause(kSettleMs);
    ClosePort();
    return false;
}

bool CRS232Interface::Close() {
    GoToLocal();
    Pause(kLocalMs);
    ClosePort();
    m_open = 0;
    return true;
}

bool CRS232Interface::Transmit(const std::string& bytes) {
    std::size_t done = 0;
    uint32_t progress = Clock().TickCount();
    while (done < bytes.size()) {
        std::size_t written = 0;
        if (m_port.Write(bytes.data() + done, bytes.size() - done, written) != SerialError::None)
            return false;
        if (written > 0) {
            done += written;
            progress = Clock().TickCount();
            continue;
        }
        // Held by flow control: give the far end its time, then give up.
        if (Clock().TickCount() - progress >= kTransmitStallMs)
            return false;
        MessagePump().Pump();
    }
    return true;
}

bool CRS232Interface::Send(const char* command) {
    if (!LinesReady()) {
        SetError(IDS_RS232_SEND_FAILED);
        return false;
    }
    if (!Transmit(std::string(command ? command : "") + '\n')) {
        SetError(IDS_RS232_TRANSMIT_FAILED);
        return false;
    }
    WaitUntil(kDrainMs, [this] { return m_port.OutputPending() == 0; });
    return true;
}

int16_t CRS232Interface::IsMsgAvailable() {
    // An answer can only follow a command that has left the line; one already in
    // before then is taken at once.
    WaitUntil(kSendingMs,
              [this] { return m_port.OutputPending() <= 1 || m_port.InputHasLineEnd(); });
    if (!WaitUntil(kAnswerMs, [this] { return m_port.InputHasLineEnd(); })) {
        // Part of an answer is no answer; it must not open the next one either.
        m_port.DiscardInput();
        return 0;
    }
    return static_cast<int16_t>(m_port.Read(m_receive.data(), m_receive.size()));
}

bool CRS232Interface::Read(char* buffer, int32_t size, int32_t& count) {
    count = 0;
    if (buffer && size > 0)
        buffer[0] = '\0';
    if (!LinesReady()) {
        SetError(IDS_RS232_RECV_FAILED);
        return false;
    }
    const int32_t n = IsMsgAvailable();
    if (n > 0 && buffer && size > 0) {
        count = n;
        std::memcpy(buffer, m_receive.data(), static_cast<std::size_t>(std::min(n, size)));
        TerminateAnswer(buffer, size, count);
    }
    // What came after the answer belongs to nothing that was asked.
    m_port.DiscardInput();
    m_lineErrors = m_port.TakeLineErrors();
    if (m_lineErrors.parity) {
        SetError(IDS_PARITY_ERROR);
        return false;
    }
    if (m_lineErrors.overrun) {
        SetError(kOverrunCode, "I/O buffer overrun error occurred on serial port");
        return false;
    }
    if (m_lineErrors.framing) {
        SetError(kFramingCode, "I/O framing error occurred on serial port");
        return false;
    }
    if (n < 1) {
        SetError(IDS_RS232_RECV_FAILED);
        return false;
    }
    return true;
}

bool CRS232Interface::GoToLocal() {
    Send("syst:local");
    return true;
}

bool CRS232Interface::SetCommTimeout(int32_t ms) {
    if (!m_port.IsOpen()) {
        SetError(IDS_RS232_NOT_OPEN);
        return false;
    }
    if (ms < kMinTimeout || ms > kMaxTimeout) {
        SetError(
            IDS_RS232_BAD_TIMEOUT,
            Format(LoadResString(IDS_RS232_BAD_TIMEOUT).c_str(), kMinTimeout, kMaxTimeout).c_str());
        return false;
    }
    m_commTimeout = ms;
    return true;
}

bool CRS232Interface::Search(std::vector<std::string>& results, const char* pattern, int32_t) {
    // The waits pump messages; a timer must not start a second search on the port.
    static bool searching = false;
    if (searching)
        return false;
    searching = true;

    bool found = Open("0");
    std::string reply;
    int32_t count = 0;
    if (found) {
        m_port.Flush();
        SetCommTimeout(kProbeTimeout);
        char buffer[kIdentityBuffer] = {};
        found = Send(kIdentityQuery) && Read(buffer, kIdentityBuffer, count) && !m_lineErrors.Any();
        reply = Reply(buffer, kIdentityBuffer);
        SetCommTimeout(m_timeout);
    }
    if (found && count > 0 && MatchesFilter(reply.c_str(), pattern)) {
        SearchEntry& entry = m_searchTable[0];
        entry.status = m_portIndex;
        const std::string address = Format("COM,%d", m_portIndex + 1);
        std::string description;
        ParseIdentity(reply, description);
        entry.line = Format("%s\t%s\t%s", reply.c_str(), address.c_str(), description.c_str());
        results.push_back(entry.line);
        ClearError();
        searching = false;
        return true;
    }
    SetError(IDS_NO_DEVICES);
    ClosePort();
    m_open = 0;
    searching = false;
    return false;
}

bool CRS232Interface::EditSettings() {
    IRs232SettingsDialog* dialog = Rs232SettingsDialog();
    if (!dialog) {
        ShowMessage(LoadResString(IDS_RS232_DIALOG_NOT_AVAILABLE));
        return false;
    }
    Codes codes = GetCodes();
    if (!dialog->Run(codes, *this, DialogOwner()))
        return false;
    const bool wasOpen = m_open != 0;
    ClosePort();
    TakeCodes(codes);
    bool ok = OpenPort();
    if (!ok)
        SetError(IDS_RS232_OPEN_FAILED);
    if (ok && !SetCharacteristics()) {
        SetError(IDS_RS232_SETUP_FAILED);
        ClosePort();
        ok = false;
    }
    if (ok && !SetCommTimeout(m_timeout)) {
        ClosePort();
        ok = false;
    }
    m_open = wasOpen && ok ? 1 : 0;
    if (ok) {
        const std::string ini = LinkwellIni();
        const std::string baud = BaudText(m_baudCode);
        WritePrivateProfileString(kSection, "SubPort", Format("COM%d", m_portIndex + 1), ini);
        WritePrivateProfileString(kSection, "BaudRate", baud, ini);
        WritePrivateProfileString("Settings", "ConnectSpeed", baud, ini);
        WritePrivateProfileString(kSection, "Protocol", HandshakeText(m_protocolCode), ini);
        WritePrivateProfileString(kSection, "Parity", ParityText(m_parityCode), ini);
        WritePrivateProfileString(kSection, "Length", LengthText(m_lengthCode), ini);
        WritePrivateProfileString(kSection, "IOAddress", Format("0x%x", m_ioAddress), ini);
        WritePrivateProfileString(kSection, "Interrupt", Format("%d", m_irq), ini);
    }
    return false;
}

bool CRS232Interface::Query(const char* command, int32_t size, std::string& reply) {
    reply.clear();
    if (!Send(command))
        return false;
    std::string buffer(static_cast<std::size_t>(size), '\0');
    int32_t count = 0;
    Read(buffer.data(), size, count);
    reply = Reply(buffer.data(), size);
    return true;
}

bool CRS232Interface::CheckSettings(std::string* message) {
    std::string baud = "Unk", parity = "Unk", handshake = "Unk";
    if (!GetSerialSettings(baud, parity, handshake))
        return false;
    std::string mismatch;
    std::string reply;
    if (Query("SYST:COMM:SER:BAUD?", kSettingBuffer, reply)) {
        // The rate comes back with its sign in front.
        if (reply.empty() || reply.substr(1) != baud) {
            mismatch = Format("Baud rate mismatch detected.\nSerial Port Setting = %s.\n"
                              "Instrument Setting = %s",
                              baud.c_str(), reply.c_str());
        } else if (Query("SYST:COMM:SER:PAR?", kSettingBuffer, reply)) {
            if (reply != parity) {
                mismatch = Format("Parity mismatch detected.\nSerial Port Setting = %s.\n"
                                  "Instrument Setting = %s",
                                  parity.c_str(), reply.c_str());
            } else if (Query("SYST:COMM:SER:HAND?", kSettingBuffer, reply)) {
                static const struct {
                    const char* port;
                    const char* shown;
                    const char* instrument;
                } names[] = {{"RTSRTS", "RTS/CTS", "RTS"},
                             {"DTRDTR", "DTR/DSR", "DTR"},
                             {"XONXON", "XON/XOFF", "XON"},
                             {"NONNON", "NONE", "NONE"}};
                std::string shown = handshake;
                bool match = false;
                for (const auto& n : names)
                    if (handshake == n.port) {
                        shown = n.shown;
                        match = reply == n.instrument;
                    }
                if (!match)
                    mismatch = Format("Handshake mismatch detected.\nSerial Port Setting = %s\n"
                                      "Instrument Setting = %s",
                                      shown.c_str(), reply.c_str());
            }
        }
    }
    if (mismatch.empty())
        return true;
    if (message)
        *message = mismatch;
    return false;
}

bool CRS232Interface::IsInstrumentResponding() {
    if (!Send(kIdentityQuery))
        return false;
    char buffer[kIdentityBuffer] = {};
    int32_t count = 0;
    if (!Read(buffer, kIdentityBuffer, count) || m_lineErrors.Any())
        return false;
    std::string reply = Reply(buffer, kIdentityBuffer), description;
    return ParseIdentity(reply, description);
}

bool CRS232Interface::GetSerialSettings(std::string& baud, std::string& parity,
                                        std::string& handshake) {
    baud = BaudText(m_baudCode);
    parity = ParityText(m_parityCode);
    handshake = HandshakeText(m_protocolCode);
    return true;
}

bool CRS232Interface::TestSettings(int32_t portIndex, int32_t baud, int32_t parity, int32_t length,
                                   int32_t handshake, WindowHandle) {
    std::string message = "Couldn't establish connection.  Check settings and cables.";
    const Codes remembered = GetCodes();
    const bool wasOpen = m_open != 0;
    ClosePort();
    TakeCodes({portIndex, baud, parity, length, handshake});
    m_timeout = kProbeTimeout;

    bool found = false;
    if (!OpenPort()) {
        SetError(IDS_RS232_OPEN_FAILED);
    } else if (!SetCharacteristics()) {
        SetError(IDS_RS232_SETUP_FAILED);
    } else if (SetCommTimeout(kProbeTimeout) && LinesReady()) {
        Pause(kSettleMs);
        char buffer[kIdentityBuffer] = {};
        int32_t count = 0;
        const bool answered =
            Send(kIdentityQuery) && Read(buffer, kIdentityBuffer, count) && !m_lineErrors.Any();
        std::string reply = Reply(buffer, kIdentityBuffer), description;
        if (answered && ParseIdentity(reply, description)) {
            std::string mismatch;
            if (!CheckSettings(&mismatch)) {
                message = "Settings conflict - " + mismatch;
            } else {
                message = Format("Found a '%s' on COM%d", reply.c_str(), portIndex + 1);
                found = true;
            }
        }
    }
    MessageRequest box;
    box.text = message;
    box.caption = "Test Interface Settings";
    box.icon = MsgIcon::Warning;
    Prompter().Ask(box);

    ClosePort();
    TakeCodes(remembered);
    m_timeout = kDefaultTimeout;
    if (OpenPort()) {
        SetCharacteristics();
        SetCommTimeout(m_timeout);
    }
    m_open = wasOpen && m_port.IsOpen() ? 1 : 0;
    return found;
}

} // namespace tvane::comm
