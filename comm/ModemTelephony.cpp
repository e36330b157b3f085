#include "comm/ModemTelephony.h"

#include <algorithm>

#include <unistd.h>

#include "comm/CModemInterface.h"
#include "comm/ModemPort.h"
#include "comm/RememberedNumber.h"
#include "comm/TelephonyPump.h"
#include "platform/core/Clock.h"
#include "platform/core/Format.h"
#include "platform/tapi/Line.h"
#include "platform/tapi/TapiDiagnostics.h"
#include "platform/ui/Prompter.h"

namespace tvane::comm {

using namespace tapi;

namespace {

constexpr std::uint32_t kReinitPauseMs = 5000;
constexpr std::uint32_t kAllLineStates = 0xBFFFFF;
constexpr std::uint32_t kAllAddressStates = 0x1FF;
constexpr const char* kUnableToUseLine = "Unable to Use Line";
constexpr const char* kErrorOnLine = "Error on Requested line";

MsgAnswer Box(const std::string& text, const char* caption, MsgIcon icon,
              MsgButtons buttons = MsgButtons::Ok) {
    MessageRequest box;
    box.text = text;
    box.caption = caption;
    box.icon = icon;
    box.buttons = buttons;
    return Prompter().Ask(box);
}

// The characters that stop dialling for the user when the modem cannot wait by itself.
struct DialPause {
    const char* characters;
    std::uint32_t capability; // 0: always a pause
    const char* message;
};
constexpr DialPause kPauses[] = {
    {"$", LINEDEVCAPFLAGS_DIALBILLING, "Wait for the credit card bong tone"},
    {"Ww", LINEDEVCAPFLAGS_DIALDIALTONE, "Wait for the second dial tone"},
    {"@", LINEDEVCAPFLAGS_DIALQUIET, "Wait for the remote end to answer"},
    {"?", 0, "Press OK when you are ready to continue dialing"},
};

const char* PauseMessage(char c, std::uint32_t capabilities) {
    for (const DialPause& p : kPauses)
        if (std::string_view(p.characters).find(c) != std::string_view::npos &&
            (p.capability == 0 || !(capabilities & p.capability)))
            return p.message;
    return nullptr;
}

std::string DisconnectText(std::uint32_t mode) {
    static const struct {
        std::uint32_t mode;
        const char* text;
    } reasons[] = {
        {0x1, "Remote Party Disconnected"},    {0x2, "Disconnected: Unknown reason"},
        {0x4, "Remote Party rejected call"},   {0x8, "Disconnected: Local phone picked up"},
        {0x10, "Disconnected: Forwarded"},     {0x20, "Disconnected: Busy"},
        {0x40, "Disconnected: No Answer"},     {0x80, "Disconnected: Bad Address"},
        {0x100, "Disconnected: Unreachable"},  {0x200, "Disconnected: Congestion"},
        {0x400, "Disconnected: Incompatible"}, {0x800, "Disconnected: Unavail"},
        {0x1000, "Disconnected: No Dial Tone"}};
    for (const auto& r : reasons)
        if (r.mode == mode)
            return r.text;
    return "Disconnected: LINECALLSTATE; Bad Reason";
}

} // namespace

ModemTelephony& ModemTelephony::Instance() {
    static ModemTelephony telephony;
    return telephony;
}

void ModemTelephony::ClearCurrent(CModemInterface* transport) {
    if (m_current == transport)
        m_current = nullptr;
}

void ModemTelephony::Status(const std::string& text) {
    m_lastStatus = text;
    if (m_current)
        m_current->StatusMessage(text, true);
    else
        OutputDebugPrintf("%s", text.c_str());
}

bool ModemTelephony::Initialize(WindowHandle owner) {
    if (m_app) {
        if (owner)
            m_owner = owner;
        return true;
    }
    if (m_inInitialize)
        return false;
    m_inInitialize = true;
    bool reinitSeen = false;
    bool ok = false;
    for (;;) {
        const std::int32_t r = lineInitialize(&m_app, nullptr, LineCallback, kAppName, &m_numDevs);
        if (r == 0) {
            ok = true;
            break;
        }
        m_app = 0;
        if (r == LINEERR_REINIT) {
            if (!reinitSeen) {
                reinitSeen = true;
                WaitTelephony(kReinitPauseMs, [] { return false; });
                continue;
            }
            Box("A change to the system configuration requires that all Telephony applications "
                "relinquish their use of Telephony before any can progress.  Some have not yet "
                "done so.",
                "Warning", MsgIcon::Warning);
            break;
        }
        if (r == LINEERR_NODEVICE) {
            if (OfferControlPanel())
                continue;
            OutputDebugPrintf("No devices installed.\n");
            break;
        }
        if (HandleLineError(r))
            continue;
        OutputDebugLineError(r, "lineInitialize unhandled error: ");
        break;
    }
    if (ok) {
        if (owner)
            m_owner = owner;
        m_line = 0;
        m_call = 0;
        OutputDebugPrintf("Tapi initialized.\n");
    }
    m_inInitialize = false;
    return ok;
}

bool ModemTelephony::Shutdown() {
    if (!m_app || m_inShutdown)
        return true;
    m_inShutdown = true;
    HangupCall();
    for (;;) {
        const std::int32_t r = lineShutdown(m_app);
        if (r == 0 || !HandleLineError(r))
            break;
    }
    m_app = 0;
    m_numDevs = 0;
    m_line = 0;
    m_call = 0;
    m_callInProgress = false;
    m_callConnected = false;
    m_callState = 0;
    m_awaitedRequest = 0;
    m_replyReceived = false;
    m_devConfig.clear();
    OutputDebugPrintf("TAPI uninitialized.\n");
    m_inShutdown = false;
    return true;
}

bool ModemTelephony::HandleLineError(std::int32_t result) {
    if (result == 0)
        return true;
    if (result > 0)
        return false;
    switch (result) {
    case LINEERR_INIFILECORRUPT:
    case LINEERR_INVALCARD:
    case LINEERR_INVALLOCATION:
        if (Box("Configuration information relating to Telephony services appears to be "
                "corrupt.\nThis could be the first time you have used the Telephony services.\n"
                "Would you like to configure the Telephony services?",
                "Warning", MsgIcon::Warning, MsgButtons::OkCancel) == MsgAnswer::Cancel)
            return false;
        lineTranslateDialog(m_app, 0, kApiVersion14, m_owner, nullptr);
        return true;
    case LINEERR_NODRIVER:
        Box("One of the components of the Telephony device driver is missing.\nUse the Control "
            "Panel to set up the driver properly.",
            "Warning", MsgIcon::Warning);
        return false;
    case LINEERR_NOMULTIPLEINSTANCE:
        Box("You have two copies of the same Telephony driver installed.\nUse the Control Panel "
            "to remove one of the copies.",
            "Warning", MsgIcon::Warning);
        return false;
    case LINEERR_REINIT:
        Shutdown();
        return false;
    case LINEERR_NOMEM:
        Box("Out of Memory error, canceling action.", "Error", MsgIcon::Error);
        return false;
    case LINEERR_OPERATIONFAILED:
        Box("TAPI Operation Failed for unknown reasons.", "Error", MsgIcon::Error);
        return false;
    case LINEERR_RESOURCEUNAVAIL:
        if (UsableDevices().empty())
            return false;
        Box("A Telephony resource is temporarily unavaiable.  This could mean a short wait is "
            "necessary or that a non-TAPI application is using the line.",
            "Warning", MsgIcon::Warning);
        return true;
    default:
        return false;
    }
}

bool ModemTelephony::OfferControlPanel() {
    if (Box("There are no telephony devices configured.\nWould you like to run the Modem "
            "Control Panel to add a modem driver?",
            "Warning - No Devices Found", MsgIcon::Warning, MsgButtons::YesNo) == MsgAnswer::Yes &&
        !lineStartControlPanel())
        Box("Unable to launch the Modem Control Panel", "Warning", MsgIcon::Warning);
    return false;
}

std::vector<ModemTelephony::LineDevice> ModemTelephony::UsableDevices() {
    std::vector<LineDevice> devices;
    for (std::uint32_t id = 0; id < m_numDevs; ++id) {
        std::uint32_t version = 0;
        const std::int32_t negotiated =
            lineNegotiateAPIVersion(m_app, id, kApiVersion13, kApiVersion14, &version);
        if (negotiated == LINEERR_INCOMPATIBLEAPIVERSION)
            OutputDebugPrintf("INCOMPATIBLEAPIVERSION in Dial Dialog.\n");
        LineDevCaps caps;
        if (negotiated != 0 || lineGetDevCaps(m_app, id, version, &caps) != 0) {
            OutputDebugPrintf("Line Unavailable");
            continue;
        }
        std::string name = "Line Unnamed";
        if (caps.lineName)
            name = caps.lineName->empty() ? "Line Name is Empty" : *caps.lineName;
        // Usable only with version 1.4, for data calls, and free right now.
        if (lineNegotiateAPIVersion(m_app, id, kApiVersion14, kApiVersion14, &version) != 0 ||
            !(caps.bearerModes & LINEBEARERMODE_VOICE) ||
            !(caps.mediaModes & LINEMEDIAMODE_DATAMODEM) ||
            !(caps.lineFeatures & LINEFEATURE_MAKECALL))
            continue;
        HLINE line = 0;
        const std::int32_t opened =
            lineOpen(m_app, id, &line, version, 0, LINECALLPRIVILEGE_NONE, LINEMEDIAMODE_DATAMODEM);
        if (opened == LINEERR_ALLOCATED)
            OutputDebugPrintf("Line is already in use by a non-TAPI app or another Service "
                              "Provider.\n");
        if (opened != 0)
            continue;
        LineAddressStatus status;
        LineDeviceId port;
        const bool free = lineGetAddressStatus(line, 0, &status) == 0 &&
                          (status.addressFeatures & LINEADDRFEATURE_MAKECALL) &&
                          lineGetID(line, 0, 0, LINECALLSELECT_LINE, kDataModemClass, &port) == 0;
        if (port.handle >= 0)
            ::close(port.handle);
        lineClose(line);
        if (!free)
            continue;
        OutputDebugPrintf("Line is suitable and available for use.\n");
        devices.push_back({id, name});
    }
    return devices;
}

bool ModemTelephony::Cancelled() {
    ICallProgressDialog* progress = m_current ? m_current->Progress() : nullptr;
    if (progress && progress->IsOpen() && progress->TakeCancel()) {
        OutputDebugPrintf("Call cancelled\n");
        return true;
    }
    return false;
}

ModemTelephony::WaitResult ModemTelephony::WaitForReply(std::int32_t request, std::int32_t& result,
                                                        std::uint32_t ms) {
    if (request <= 0) {
        result = request;
        return WaitResult::Done;
    }
    m_awaitedRequest = request;
    m_replyReceived = false;
    const bool stoppable = !m_inHangup;
    const std::uint32_t start = Clock().TickCount();
    WaitResult outcome = WaitResult::Done;
    for (;;) {
        if (m_replyReceived) {
            result = m_replyResult;
            break;
        }
        if ((stoppable && m_stopWaits) || Cancelled()) {
            outcome = WaitResult::Aborted;
            break;
        }
        if (Clock().TickCount() - start >= ms) {
            outcome = WaitResult::TimedOut;
            break;
        }
        PumpTelephony();
    }
    m_awaitedRequest = 0;
    return outcome;
}

ModemTelephony::WaitResult ModemTelephony::WaitForCallState(std::uint32_t state, std::uint32_t ms) {
    if (m_current)
        m_current->StatusMessage("Waiting for call state", true);
    const bool stoppable = !m_inHangup;
    const std::uint32_t start = Clock().TickCount();
    for (;;) {
        if (m_callState == state)
            return WaitResult::Done;
        if (stoppable && m_stopWaits) {
            OutputDebugPrintf("WAITABORTED\n");
            return WaitResult::Aborted;
        }
        if (Cancelled())
            return WaitResult::Aborted;
        if (Clock().TickCount() - start >= ms)
            return WaitResult::TimedOut;
        PumpTelephony();
    }
}

bool ModemTelephony::Unusable(const char* title, const char* text) {
    Box(text, title, MsgIcon::Warning);
    return false;
}

bool ModemTelephony::PlaceCall(const RememberedNumber& number) {
    m_lastStatus.clear();
    if (m_callInProgress) {
        OutputDebugPrintf("A call is already being handled\n");
        return false;
    }
    if (!m_app && !Initialize(m_owner))
        return false;
    if (m_numDevs == 0) {
        OfferControlPanel();
        return false;
    }
    const std::uint32_t device = static_cast<std::uint32_t>(number.device);
    std::uint32_t version = 0;
    for (;;) {
        const std::int32_t r =
            lineNegotiateAPIVersion(m_app, device, kApiVersion14, kApiVersion14, &version);
        if (r == 0)
            break;
        if (r == LINEERR_INCOMPATIBLEAPIVERSION)
            OutputDebugPrintf("lineNegotiateAPIVersion, INCOMPATIBLEAPIVERSION.\n");
        else if (HandleLineError(r))
            continue;
        return Unusable(kUnableToUseLine, "TAPI Version unsupported by this software");
    }
    LineDevCaps caps;
    for (;;) {
        const std::int32_t r = lineGetDevCaps(m_app, device, version, &caps);
        if (r == 0)
            break;
        if (HandleLineError(r))
            continue;
        OutputDebugLineError(r, "lineGetDevCaps unhandled error: ");
        return false;
    }
    if (!(caps.bearerModes & LINEBEARERMODE_VOICE))
        return Unusable("The selected line doesn't support VOICE capabilities", kErrorOnLine);
    if (!(caps.mediaModes & LINEMEDIAMODE_DATAMODEM))
        return Unusable("The selected line doesn't support DATAMODEM capabilities", kErrorOnLine);
    if (!(caps.lineFeatures & LINEFEATURE_MAKECALL))
        return Unusable("The selected line doesn't support MAKECALL capabilities", kErrorOnLine);

    m_callInProgress = true;
    m_callConnected = false;
    m_callState = 0;
    m_stopWaits = false;
    m_lastStatus.clear();
    m_canonical = number.canonical;
    m_displayable = number.displayable.empty() ? number.phoneNumber : number.displayable;
    for (;;) {
        const std::int32_t r = lineOpen(m_app, device, &m_line, version, 0, LINECALLPRIVILEGE_NONE,
                                        LINEMEDIAMODE_DATAMODEM);
        if (r == 0)
            break;
        m_line = 0;
        if (r == LINEERR_ALLOCATED) {
            Box("Line is already in use by a non-TAPI application or by another TAPI Service "
                "Provider.",
                kUnableToUseLine, MsgIcon::Warning);
        } else if (HandleLineError(r)) {
            continue;
        } else {
            Box(kErrorOnLine, kUnableToUseLine, MsgIcon::Warning);
        }
        HangupCall();
        return false;
    }
    for (;;) {
        const std::int32_t r = lineSetStatusMessages(m_line, kAllLineStates, kAllAddressStates);
        if (r == 0)
            break;
        if (HandleLineError(r))
            continue;
        OutputDebugLineError(r, "lineSetStatusMessages unhandled error: ");
        HangupCall();
        return false;
    }
    LineAddressStatus status;
    if (lineGetAddressStatus(m_line, 0, &status) != 0 ||
        !(status.addressFeatures & LINEADDRFEATURE_MAKECALL)) {
        OutputDebugPrintf("This line is not available to place a call.\n");
        Box("Requested line is already in use", kUnableToUseLine, MsgIcon::Warning);
        HangupCall();
        return false;
    }
    if (!m_devConfig.empty())
        lineSetDevConfig(device, m_devConfig, kDataModemClass);
    if (!DialInParts(number, device, version, caps.devCapFlags)) {
        HangupCall();
        return false;
    }
    return true;
}

bool ModemTelephony::DialInParts(const RememberedNumber& number, std::uint32_t device,
                                 std::uint32_t version, std::uint32_t capabilities) {
    // Each part runs to a pause character, which is not sent: the user waits instead.
    struct Part {
        std::string text;
        const char* pause = nullptr;
    };
    std::vector<Part> parts(1);
    for (char c : number.dialable) {
        if (const char* pause = PauseMessage(c, capabilities)) {
            parts.back().pause = pause;
            parts.emplace_back();
        } else {
            parts.back().text += c;
        }
    }
    // A pause at the very end leaves nothing to dial after it.
    if (parts.size() > 1 && parts.back().text.empty()) {
        parts.pop_back();
        parts.back().pause = nullptr;
    }
    if (parts.size() > 1) {
        LineAddressCaps caps;
        if (lineGetAddressCaps(m_app, device, 0, version, &caps) != 0 ||
            !(caps.addrCapFlags & LINEADDRCAPFLAGS_PARTIALDIAL)) {
            Box("This line doesn't support partial dialing.\n", "Warning", MsgIcon::Warning);
            return false;
        }
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string text = parts[i].text + (i + 1 < parts.size() ? ";" : "");
        std::int32_t result = 0;
        for (;;) {
            std::int32_t request = 0;
            if (i == 0) {
                LineCallParams params;
                params.bearerMode = LINEBEARERMODE_VOICE;
                params.mediaMode = LINEMEDIAMODE_DATAMODEM;
                params.callParamFlags = LINECALLPARAMFLAGS_IDLE;
                params.addressMode = LINEADDRESSMODE_ADDRESSID;
                params.addressId = 0;
                params.displayableAddress = number.phoneNumber;
                request = lineMakeCall(m_line, &m_call, text.c_str(), 0, &params);
            } else {
                request = lineDial(m_call, text.c_str(), 0);
            }
            if (WaitForReply(request, result, kDialWaitMs) != WaitResult::Done) {
                OutputDebugPrintf("While Dialing, WaitForReply aborted.\n");
                if (m_current && m_current->Progress())
                    m_current->Progress()->Close();
                return false;
            }
            if (result != 0) {
                // The modem's own account of the failure, where it gave one, is the
                // cause the user is told.
                tapi::LineCallStatus status;
                if (m_call && lineGetCallStatus(m_call, &status) == 0 &&
                    !status.devSpecific.empty())
                    Status(status.devSpecific);
            }
            if (result == 0 || !HandleLineError(result))
                break;
        }
        if (result != 0) {
            OutputDebugLineError(result, i == 0 ? "lineMakeCall unhandled error: "
                                                : "lineDial unhandled error: ");
            return false;
        }
        if (parts[i].pause) {
            OutputDebugPrintf("Waiting for dialing to be enabled.\n");
            Box(parts[i].pause, "Dialing Paused", MsgIcon::Information);
            OutputDebugPrintf("Ok to continue dialing.\n");
        }
    }
    return true;
}

bool ModemTelephony::HangupCall() {
    if (m_inHangup)
        return true;
    m_inHangup = true;
    m_stopWaits = true;
    if (m_current && m_current->Progress())
        m_current->Progress()->Close();
    if (!m_callInProgress) {
        m_inHangup = false;
        return true;
    }
    OutputDebugPrintf("Stopping Call in progress\n");
    ModemPort::StopComm();
    if (m_call && m_callState != LINECALLSTATE_IDLE) {
        for (;;) {
            std::int32_t result = 0;
            const WaitResult w = WaitForReply(lineDrop(m_call), result, kHangupWaitMs);
            if (w == WaitResult::TimedOut) {
                OutputDebugPrintf("Call timed out in WaitForReply.\n");
                break;
            }
            if (w == WaitResult::Aborted) {
                OutputDebugPrintf("lineDrop: WAITERR_WAITABORTED.\n");
                break;
            }
            if (result == 0 || result == LINEERR_INVALCALLSTATE)
                break;
            if (!HandleLineError(result)) {
                OutputDebugLineError(result, "lineDrop unhandled error: ");
                break;
            }
        }
        const WaitResult idle = WaitForCallState(LINECALLSTATE_IDLE, kHangupWaitMs);
        if (idle == WaitResult::TimedOut)
            OutputDebugPrintf("Call timed out waiting for IDLE state.\n");
        else if (idle == WaitResult::Aborted)
            OutputDebugPrintf("WAITERR_WAITABORTED while waiting for IDLE state.\n");
        OutputDebugPrintf("Call Dropped.\n");
    }
    if (m_call) {
        lineDeallocateCall(m_call);
        OutputDebugPrintf("Call Deallocated.\n");
    }
    if (m_line) {
        lineClose(m_line);
        OutputDebugPrintf("Line Closed.\n");
    }
    m_devConfig.clear();
    m_line = 0;
    m_call = 0;
    m_callInProgress = false;
    m_callConnected = false;
    OutputDebugPrintf("Call stopped\n");
    if (m_current)
        m_current->StatusMessage("Ready to make a call.", true);
    m_inHangup = false;
    return true;
}

void ModemTelephony::LineCallback(std::uint32_t device, std::uint32_t message,
                                  std::uintptr_t instance, std::uintptr_t p1, std::uintptr_t p2,
                                  std::uintptr_t p3) {
    OutputDebugLineCallback(message, device, instance, p1, p2, p3);
    ModemTelephony& t = Instance();
    if (!t.m_current)
        return;
    switch (message) {
    case LINE_CALLSTATE:
        t.OnCallState(device, static_cast<std::uint32_t>(p1), static_cast<std::uint32_t>(p2),
                      static_cast<std::uint32_t>(p3));
        break;
    case LINE_CLOSE:
        t.m_line = 0;
        t.m_call = 0;
        Box("Call was shut down.", "Warning", MsgIcon::Warning);
        t.HangupCall();
        break;
    case LINE_LINEDEVSTATE:
        t.OnLineDevState(static_cast<std::uint32_t>(p1), p2, p3);
        break;
    case LINE_REPLY:
        t.OnReply(static_cast<std::int32_t>(p1), static_cast<std::int32_t>(p2));
        break;
    case LINE_CREATE:
        t.m_numDevs = std::max(t.m_numDevs, static_cast<std::uint32_t>(p1) + 1);
        break;
    default:
        OutputDebugPrintf("lineCallbackFunc message ignored\n");
        break;
    }
}

void ModemTelephony::OnCallState(std::uint32_t call, std::uint32_t state, std::uint32_t mode,
                                 std::uint32_t privilege) {
    if (call != m_call) {
        OutputDebugPrintf("LINE_CALLSTATE: Unknown device ID '0x%lx'.",
                          static_cast<unsigned long>(call));
        return;
    }
    m_callState = state;
    // A call whose privilege changes is not the one placed here.
    if (privilege) {
        if (privilege == LINECALLPRIVILEGE_MONITOR)
            OutputDebugPrintf("line given monitor privilege; closing\n");
        else if (privilege == LINECALLPRIVILEGE_OWNER)
            OutputDebugPrintf("line given owner privilege; closing\n");
        else
            OutputDebugPrintf("Unknown LINECALLPRIVILEGE message: closing\n");
        HangupCall();
        return;
    }
    switch (state) {
    case LINECALLSTATE_IDLE:
        OutputDebugPrintf("Line idle\n");
        break;
    case LINECALLSTATE_DIALTONE:
        Status("Dial Tone");
        break;
    case LINECALLSTATE_DIALING:
        Status(Format("Dialing %s", m_displayable.c_str()));
        break;
    case LINECALLSTATE_PROCEEDING:
        Status("Waiting for reply...");
        break;
    case LINECALLSTATE_RINGBACK:
        Status("RingBack");
        break;
    case LINECALLSTATE_BUSY:
        Status("Line busy, shutting down");
        HangupCall();
        break;
    case LINECALLSTATE_SPECIALINFO:
        Status("Special Info, probably couldn't dial number");
        HangupCall();
        break;
    case LINECALLSTATE_CONNECTED: {
        LineDeviceId port;
        if (lineGetID(0, 0, m_call, LINECALLSELECT_CALL, kDataModemClass, &port) == 0 &&
            ModemPort::StartComm(port.handle)) {
            Status(Format("Connected to '%s'", m_canonical.c_str()));
            m_callConnected = true;
            // The call is up: the progress dialog has done its work.
            if (m_current && m_current->Progress())
                m_current->Progress()->Close();
        } else {
            if (port.handle >= 0)
                ::close(port.handle);
            HangupCall();
            Status(Format("Failed to Connect to '%s'", m_canonical.c_str()));
        }
        break;
    }
    case LINECALLSTATE_DISCONNECTED:
        Status(DisconnectText(mode));
        HangupCall();
        break;
    default:
        OutputDebugPrintf("Unhandled LINECALLSTATE message\n");
        break;
    }
}

void ModemTelephony::OnLineDevState(std::uint32_t state, std::uintptr_t p2, std::uintptr_t p3) {
    switch (state) {
    case LINEDEVSTATE_RINGING:
        OutputDebugPrintf("Line Ringing.\n");
        break;
    case LINEDEVSTATE_DISCONNECTED:
        ShowMessage("Line selected is now disconnected.");
        HangupCall();
        break;
    case LINEDEVSTATE_OUTOFSERVICE:
        ShowMessage("Line selected is now Out of Service.");
        HangupCall();
        break;
    case LINEDEVSTATE_MAINTENANCE:
        ShowMessage("Line selected is now out for maintenance.");
        HangupCall();
        break;
    case LINEDEVSTATE_REMOVED:
        OutputDebugPrintf("A Line device has been removed; no action taken.\n");
        break;
    case LINEDEVSTATE_REINIT:
        if (p2 == 0) {
            Shutdown();
        } else if (p2 == LINE_LINEDEVSTATE) {
            OutputDebugPrintf("Soft REINIT: LINE_LINEDEVSTATE.\n");
            OnLineDevState(static_cast<std::uint32_t>(p3), 0, 0);
        } else if (p2 == LINE_CREATE) {
            OutputDebugPrintf("Soft REINIT: LINE_CREATE.\n");
            m_numDevs = std::max(m_numDevs, static_cast<std::uint32_t>(p3) + 1);
        } else {
            OutputDebugPrintf("Ignoring soft REINIT\n");
        }
        break;
    default:
        OutputDebugPrintf("Unhandled LINEDEVSTATE message\n");
        break;
    }
}

void ModemTelephony::OnReply(std::int32_t request, std::int32_t result) {
    if (m_awaitedRequest == 0 || request != m_awaitedRequest)
        return;
    m_replyResult = result;
    m_replyReceived = true;
    if (result == 0)
        OutputDebugPrintf("LINE_REPLY: successfully replied.\n");
    else
        OutputDebugLineError(result, "LINE_REPLY error: ");
}

} // namespace tvane::comm
