#include "platform/tapi/ModemLine.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/core/CaseInsensitive.h"
#include "platform/core/Clock.h"

namespace tvane::tapi {
namespace {

constexpr int kWriteStalls = 3000; // of a millisecond each

bool StartsWith(const std::string& text, const char* prefix) {
    const std::size_t n = std::char_traits<char>::length(prefix);
    return text.size() >= n && EqualsNoCase(std::string_view(text).substr(0, n), prefix);
}

} // namespace

ModemLine::ModemLine(HLINE handle, std::uint32_t deviceId, const ModemDevice& device,
                     std::uintptr_t instance, Post post)
    : m_handle(handle), m_deviceId(deviceId), m_device(device), m_instance(instance),
      m_post(std::move(post)) {}

ModemLine::~ModemLine() {
    Close();
}

std::int32_t ModemLine::Open() {
    const SerialError opened = m_port.Open(m_device.port);
    if (opened == SerialError::PortBusy)
        return LINEERR_ALLOCATED;
    if (opened != SerialError::None)
        return LINEERR_OPERATIONFAILED;
    SerialSettings s;
    s.baud = m_device.settings.speed;
    s.rtsCts = m_device.settings.hardwareFlow;
    if (m_port.Configure(s) != SerialError::None) {
        m_port.Close();
        return LINEERR_OPERATIONFAILED;
    }
    m_port.SetDtr(true);
    return 0;
}

void ModemLine::Close() {
    if (!m_port.IsOpen())
        return;
    // A modem that follows DTR hangs up now; closing the port lowers it for good.
    if (m_phase != Phase::NoCall && m_phase != Phase::Idle)
        m_port.SetDtr(false);
    m_port.Close();
    m_phase = Phase::NoCall;
    m_call = 0;
}

void ModemLine::Enter(Phase phase, std::uint32_t ms) {
    m_phase = phase;
    m_phaseBytes = 0;
    m_phaseStart = Clock().TickCount();
    m_phaseMs = ms;
}

bool ModemLine::Expired() const {
    return m_phaseMs > 0 && Clock().TickCount() - m_phaseStart >= m_phaseMs;
}

void ModemLine::Write(const std::string& text) {
    // Commands are short; a port that takes nothing for a few seconds is dead, and the
    // missing answer ends the step.
    std::size_t done = 0;
    for (int stalls = 0; done < text.size() && stalls < kWriteStalls;) {
        std::size_t written = 0;
        if (m_port.Write(text.data() + done, text.size() - done, written) != SerialError::None)
            return;
        done += written;
        if (written == 0) {
            ++stalls;
            ::usleep(1000);
        }
    }
}

void ModemLine::Reply(std::int32_t result) {
    if (m_request == 0)
        return;
    m_post(LINE_REPLY, 0, static_cast<std::uintptr_t>(m_request),
           static_cast<std::uintptr_t>(static_cast<std::uint32_t>(result)), 0);
    m_request = 0;
}

void ModemLine::State(std::uint32_t state, std::uint32_t mode) {
    m_callState = state;
    m_callStateMode = mode;
    m_post(LINE_CALLSTATE, m_call, state, mode, 0);
}

std::int32_t ModemLine::MakeCall(HCALL call, std::int32_t request, const std::string& dest) {
    if (m_phase != Phase::NoCall)
        return LINEERR_INUSE;
    m_call = call;
    m_request = request;
    m_callState = 0;
    m_dialStarted = false;
    m_pendingDial = dest;
    m_failure.clear();
    m_input.clear();
    m_port.DiscardInput();
    SerialSettings s;
    s.baud = m_device.settings.speed;
    s.rtsCts = m_device.settings.hardwareFlow;
    m_port.Configure(s);
    Write(m_device.settings.init + "\r");
    Enter(Phase::Initializing, kCommandMs);
    return request;
}

std::int32_t ModemLine::Dial(std::int32_t request, const std::string& dest) {
    if (m_phase != Phase::PartDialled)
        return LINEERR_INVALCALLSTATE;
    m_request = request;
    SendDial(dest);
    return request;
}

void ModemLine::SendDial(const std::string& dest) {
    Write("ATD" + dest + "\r");
    const std::uint32_t wait = static_cast<std::uint32_t>(m_device.settings.waitForCarrier) * 1000;
    if (!dest.empty() && dest.back() == ';') {
        Enter(Phase::DialingPart, wait);
        return;
    }
    // The whole number is out: the request is done, the call goes on.
    Reply(0);
    if (!m_dialStarted)
        State(LINECALLSTATE_DIALING);
    m_dialStarted = true;
    State(LINECALLSTATE_PROCEEDING);
    Enter(Phase::Calling, wait);
}

std::int32_t ModemLine::Drop(std::int32_t request) {
    if (m_phase == Phase::NoCall || m_phase == Phase::Idle)
        return LINEERR_INVALCALLSTATE;
    if (m_dropRequest != 0)
        return LINEERR_INVALCALLSTATE;
    // A make-call or dial still waiting is cut short.
    Reply(LINEERR_OPERATIONFAILED);
    m_dropRequest = request;
    switch (m_phase) {
    case Phase::Connected:
        m_port.SetDtr(false);
        Enter(Phase::DropDtr, kDtrLowMs);
        break;
    case Phase::DialingPart:
    case Phase::Calling:
        // Any character stops a modem that is dialling.
        Write("\r");
        Enter(Phase::DropAbort, kCommandMs);
        break;
    default:
        Write("ATH0\r");
        Enter(Phase::DropHangup, kCommandMs);
        break;
    }
    return request;
}

std::int32_t ModemLine::Deallocate() {
    if (m_phase != Phase::Idle)
        return LINEERR_INVALCALLSTATE;
    m_phase = Phase::NoCall;
    m_call = 0;
    return 0;
}

LineCallStatus ModemLine::CallStatus() const {
    LineCallStatus s;
    s.callState = m_callState;
    s.callStateMode = m_callStateMode;
    s.callPrivilege = LINECALLPRIVILEGE_OWNER;
    s.devSpecific = m_failure;
    return s;
}

std::int32_t ModemLine::DataModemId(bool ofCall, LineDeviceId* id) const {
    if (!m_port.IsOpen() || (ofCall && m_phase != Phase::Connected))
        return LINEERR_INVALCALLSTATE;
    const int fd = ::fcntl(m_port.Descriptor(), F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        return LINEERR_OPERATIONFAILED;
    id->handle = fd;
    id->deviceName = m_port.Path();
    return 0;
}

int ModemLine::WaitDescriptor() const {
    if (!m_port.IsOpen() || m_phase == Phase::NoCall || m_phase == Phase::Connected)
        return -1;
    return m_port.Descriptor();
}

void ModemLine::Ended(std::uint32_t state, std::uint32_t mode) {
    Reply(0);
    State(state, mode);
    Enter(Phase::Ended);
}

void ModemLine::OnResult(const std::string& result) {
    if (StartsWith(result, "RING")) {
        m_post(LINE_LINEDEVSTATE, m_handle, LINEDEVSTATE_RINGING, 0, ++m_rings);
        return;
    }
    const bool ok = EqualsNoCase(result, "OK");
    switch (m_phase) {
    case Phase::Initializing:
        if (ok)
            SendDial(m_pendingDial);
        else if (EqualsNoCase(result, "ERROR"))
            FailInitializing("The modem refused its initialization command \"" +
                             m_device.settings.init + "\".");
        return;
    case Phase::DialingPart:
        if (ok) {
            Reply(0);
            if (!m_dialStarted)
                State(LINECALLSTATE_DIALING);
            m_dialStarted = true;
            Enter(Phase::PartDialled);
            return;
        }
        [[fallthrough]];
    case Phase::Calling:
        if (StartsWith(result, "CONNECT")) {
            Reply(0);
            State(LINECALLSTATE_CONNECTED);
            Enter(Phase::Connected);
        } else if (StartsWith(result, "BUSY")) {
            Ended(LINECALLSTATE_BUSY, LINEBUSYMODE_STATION);
        } else if (StartsWith(result, "NO DIALTONE") || StartsWith(result, "NO DIAL TONE")) {
            Ended(LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NODIALTONE);
        } else if (StartsWith(result, "NO CARRIER") || StartsWith(result, "NO ANSWER")) {
            Ended(LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NOANSWER);
        } else if (StartsWith(result, "ERROR")) {
            Ended(LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_BADADDRESS);
        }
        return;
    case Phase::DropAbort:
        Write("ATH0\r");
        Enter(Phase::DropHangup, kCommandMs);
        return;
    case Phase::DropHangup:
        if (ok)
            FinishDrop(0);
        return;
    default:
        return;
    }
}

void ModemLine::FinishDrop(std::int32_t result) {
    m_post(LINE_REPLY, 0, static_cast<std::uintptr_t>(m_dropRequest),
           static_cast<std::uintptr_t>(static_cast<std::uint32_t>(result)), 0);
    m_dropRequest = 0;
    State(LINECALLSTATE_IDLE);
    Enter(Phase::Idle);
}

void ModemLine::FailInitializing(std::string why) {
    m_failure = std::move(why);
    Reply(LINEERR_OPERATIONFAILED);
    State(LINECALLSTATE_IDLE);
    Enter(Phase::Idle);
}

void ModemLine::OnTimeout() {
    switch (m_phase) {
    case Phase::Initializing:
        // Off, or not on this port, when it says nothing; else not a modem that
        // understands its commands.
        FailInitializing(m_phaseBytes == 0 ? "The modem on " + m_device.port + " does not answer."
                                           : "The modem on " + m_device.port +
                                                 " does not answer its initialization command \"" +
                                                 m_device.settings.init + "\".");
        return;
    case Phase::DialingPart:
    case Phase::Calling:
        Write("\r");
        Ended(LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_UNKNOWN);
        return;
    case Phase::DropDtr:
        m_port.SetDtr(true);
        Enter(Phase::DropGuardBefore, kGuardMs);
        return;
    case Phase::DropGuardBefore:
        m_input.clear();
        Write("+++");
        Enter(Phase::DropGuardAfter, kGuardMs);
        return;
    case Phase::DropGuardAfter:
    case Phase::DropAbort:
        Write("ATH0\r");
        Enter(Phase::DropHangup, kCommandMs);
        return;
    case Phase::DropHangup:
        // The modem did not confirm; the line is given up all the same.
        FinishDrop(LINEERR_OPERATIONFAILED);
        return;
    default:
        return;
    }
}

void ModemLine::Advance() {
    if (!m_port.IsOpen() || m_phase == Phase::NoCall || m_phase == Phase::Connected)
        return;
    // A modem that keeps sending is read a bounded amount at a time, and a line
    // without an end is not kept for ever.
    char chunk[512];
    std::size_t taken = 0;
    for (std::size_t n; taken < kFloodBytes && (n = m_port.Read(chunk, sizeof chunk)) > 0;) {
        m_input.append(chunk, n);
        taken += n;
    }
    m_phaseBytes += taken;
    if (m_input.size() > kFloodBytes)
        m_input.erase(0, m_input.size() - kFloodBytes);
    if (m_phase == Phase::Initializing && m_phaseBytes > kFloodBytes) {
        m_input.clear();
        FailInitializing("The modem on " + m_device.port +
                         " keeps sending data and does not answer its commands.");
        return;
    }
    // Before the escape nothing may be said to the modem, and what the instrument
    // still sends means nothing.
    if (m_phase == Phase::DropDtr || m_phase == Phase::DropGuardBefore)
        m_input.clear();
    std::size_t end;
    while ((end = m_input.find_first_of("\r\n")) != std::string::npos) {
        const std::string line = m_input.substr(0, end);
        m_input.erase(0, end + 1);
        // Empty lines frame the results; lines starting with AT are the modem's echo.
        if (line.empty() || StartsWith(line, "AT"))
            continue;
        OnResult(line);
    }
    if (Expired())
        OnTimeout();
}

} // namespace tvane::tapi
