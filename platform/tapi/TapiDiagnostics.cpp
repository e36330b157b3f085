#include "platform/tapi/TapiDiagnostics.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <mutex>

#include "platform/core/Format.h"
#include "platform/tapi/TapiConstants.h"

namespace tvane::tapi {
namespace {

std::mutex& SinkLock() {
    static std::mutex lock;
    return lock;
}
DebugSink& Sink() {
    static DebugSink sink;
    return sink;
}

// Entry i names 0x80000000 + i; the codes the standard leaves out are empty.
constexpr const char* kLineErrors[] = {
    "",
    "LINEERR_ALLOCATED",
    "LINEERR_BADDEVICEID",
    "LINEERR_BEARERMODEUNAVAIL",
    "",
    "LINEERR_CALLUNAVAIL",
    "LINEERR_COMPLETIONOVERRUN",
    "LINEERR_CONFERENCEFULL",
    "LINEERR_DIALBILLING",
    "LINEERR_DIALDIALTONE",
    "LINEERR_DIALPROMPT",
    "LINEERR_DIALQUIET",
    "LINEERR_INCOMPATIBLEAPIVERSION",
    "LINEERR_INCOMPATIBLEEXTVERSION",
    "LINEERR_INIFILECORRUPT",
    "LINEERR_INUSE",
    "LINEERR_INVALADDRESS",
    "LINEERR_INVALADDRESSID",
    "LINEERR_INVALADDRESSMODE",
    "LINEERR_INVALADDRESSSTATE",
    "LINEERR_INVALAPPHANDLE",
    "LINEERR_INVALAPPNAME",
    "LINEERR_INVALBEARERMODE",
    "LINEERR_INVALCALLCOMPLMODE",
    "LINEERR_INVALCALLHANDLE",
    "LINEERR_INVALCALLPARAMS",
    "LINEERR_INVALCALLPRIVILEGE",
    "LINEERR_INVALCALLSELECT",
    "LINEERR_INVALCALLSTATE",
    "LINEERR_INVALCALLSTATELIST",
    "LINEERR_INVALCARD",
    "LINEERR_INVALCOMPLETIONID",
    "LINEERR_INVALCONFCALLHANDLE",
    "LINEERR_INVALCONSULTCALLHANDLE",
    "LINEERR_INVALCOUNTRYCODE",
    "LINEERR_INVALDEVICECLASS",
    "LINEERR_INVALDEVICEHANDLE",
    "LINEERR_INVALDIALPARAMS",
    "LINEERR_INVALDIGITLIST",
    "LINEERR_INVALDIGITMODE",
    "LINEERR_INVALDIGITS",
    "LINEERR_INVALEXTVERSION",
    "LINEERR_INVALGROUPID",
    "LINEERR_INVALLINEHANDLE",
    "LINEERR_INVALLINESTATE",
    "LINEERR_INVALLOCATION",
    "LINEERR_INVALMEDIALIST",
    "LINEERR_INVALMEDIAMODE",
    "LINEERR_INVALMESSAGEID",
    "",
    "LINEERR_INVALPARAM",
    "LINEERR_INVALPARKID",
    "LINEERR_INVALPARKMODE",
    "LINEERR_INVALPOINTER",
    "LINEERR_INVALPRIVSELECT",
    "LINEERR_INVALRATE",
    "LINEERR_INVALREQUESTMODE",
    "LINEERR_INVALTERMINALID",
    "LINEERR_INVALTERMINALMODE",
    "LINEERR_INVALTIMEOUT",
    "LINEERR_INVALTONE",
    "LINEERR_INVALTONELIST",
    "LINEERR_INVALTONEMODE",
    "LINEERR_INVALTRANSFERMODE",
    "LINEERR_LINEMAPPERFAILED",
    "LINEERR_NOCONFERENCE",
    "LINEERR_NODEVICE",
    "LINEERR_NODRIVER",
    "LINEERR_NOMEM",
    "LINEERR_NOREQUEST",
    "LINEERR_NOTOWNER",
    "LINEERR_NOTREGISTERED",
    "LINEERR_OPERATIONFAILED",
    "LINEERR_OPERATIONUNAVAIL",
    "LINEERR_RATEUNAVAIL",
    "LINEERR_RESOURCEUNAVAIL",
    "LINEERR_REQUESTOVERRUN",
    "LINEERR_STRUCTURETOOSMALL",
    "LINEERR_TARGETNOTFOUND",
    "LINEERR_TARGETSELF",
    "LINEERR_UNINITIALIZED",
    "LINEERR_USERUSERINFOTOOBIG",
    "LINEERR_REINIT",
    "LINEERR_ADDRESSBLOCKED",
    "LINEERR_BILLINGREJECTED",
    "LINEERR_INVALFEATURE",
    "LINEERR_NOMULTIPLEINSTANCE",
};
static_assert(std::size(kLineErrors) == 87);

constexpr const char* kMessages[] = {
    "LINE_ADDRESSSTATE",  "LINE_CALLINFO",     "LINE_CALLSTATE",
    "LINE_CLOSE",         "LINE_DEVSPECIFIC",  "LINE_DEVSPECIFICFEATURE",
    "LINE_GATHERDIGITS",  "LINE_GENERATE",     "LINE_LINEDEVSTATE",
    "LINE_MONITORDIGITS", "LINE_MONITORMEDIA", "LINE_MONITORTONE",
    "LINE_REPLY",         "LINE_REQUEST",      "PHONE_BUTTON",
    "PHONE_CLOSE",        "PHONE_DEVSPECIFIC", "PHONE_REPLY",
    "PHONE_STATE",        "LINE_CREATE",       "PHONE_CREATE"};

// Flag tables: the name of 0 first, then one name per bit from bit 0.
constexpr const char* kCallStates[] = {"Unknown LINECALLSTATE",
                                       "LINECALLSTATE_IDLE",
                                       "LINECALLSTATE_OFFERING",
                                       "LINECALLSTATE_ACCEPTED",
                                       "LINECALLSTATE_DIALTONE",
                                       "LINECALLSTATE_DIALING",
                                       "LINECALLSTATE_RINGBACK",
                                       "LINECALLSTATE_BUSY",
                                       "LINECALLSTATE_SPECIALINFO",
                                       "LINECALLSTATE_CONNECTED",
                                       "LINECALLSTATE_PROCEEDING",
                                       "LINECALLSTATE_ONHOLD",
                                       "LINECALLSTATE_CONFERENCED",
                                       "LINECALLSTATE_ONHOLDPENDCONF",
                                       "LINECALLSTATE_ONHOLDPENDTRANSFER",
                                       "LINECALLSTATE_DISCONNECTED",
                                       "LINECALLSTATE_UNKNOWN"};
constexpr const char* kDevStates[] = {
    "Unknown LINEDEVSTATE",     "LINEDEVSTATE_OTHER",          "LINEDEVSTATE_RINGING",
    "LINEDEVSTATE_CONNECTED",   "LINEDEVSTATE_DISCONNECTED",   "LINEDEVSTATE_MSGWAITON",
    "LINEDEVSTATE_MSGWAITOFF",  "LINEDEVSTATE_INSERVICE",      "LINEDEVSTATE_OUTOFSERVICE",
    "LINEDEVSTATE_MAINTENANCE", "LINEDEVSTATE_OPEN",           "LINEDEVSTATE_CLOSE",
    "LINEDEVSTATE_NUMCALLS",    "LINEDEVSTATE_NUMCOMPLETIONS", "LINEDEVSTATE_TERMINALS",
    "LINEDEVSTATE_ROAMMODE",    "LINEDEVSTATE_BATTERY",        "LINEDEVSTATE_SIGNAL",
    "LINEDEVSTATE_DEVSPECIFIC", "LINEDEVSTATE_REINIT",         "LINEDEVSTATE_LOCK",
    "LINEDEVSTATE_CAPSCHANGE",  "LINEDEVSTATE_CONFIGCHANGE",   "LINEDEVSTATE_TRANSLATECHANGE",
    "LINEDEVSTATE_COMPLCANCEL", "LINEDEVSTATE_REMOVED"};
constexpr const char* kAddressStates[] = {
    "Unknown LINEADDRESSSTATE",   "LINEADDRESSSTATE_OTHER",    "LINEADDRESSSTATE_DEVSPECIFIC",
    "LINEADDRESSSTATE_INUSEZERO", "LINEADDRESSSTATE_INUSEONE", "LINEADDRESSSTATE_INUSEMANY",
    "LINEADDRESSSTATE_NUMCALLS",  "LINEADDRESSSTATE_FORWARD",  "LINEADDRESSSTATE_TERMINALS",
    "LINEADDRESSSTATE_CAPSCHANGE"};
constexpr const char* kPrivileges[] = {"Unknown LINECALLPRIVILEGE", "LINECALLPRIVILEGE_NONE",
                                       "LINECALLPRIVILEGE_MONITOR", "LINECALLPRIVILEGE_OWNER"};
constexpr const char* kDisconnectModes[] = {
    "Unknown LINEDISCONNECTMODE",    "LINEDISCONNECTMODE_NORMAL",
    "LINEDISCONNECTMODE_UNKNOWN",    "LINEDISCONNECTMODE_REJECT",
    "LINEDISCONNECTMODE_PICKUP",     "LINEDISCONNECTMODE_FORWARDED",
    "LINEDISCONNECTMODE_BUSY",       "LINEDISCONNECTMODE_NOANSWER",
    "LINEDISCONNECTMODE_BADADDRESS", "LINEDISCONNECTMODE_UNREACHABLE",
    "LINEDISCONNECTMODE_CONGESTION", "LINEDISCONNECTMODE_INCOMPATIBLE",
    "LINEDISCONNECTMODE_UNAVAIL",    "LINEDISCONNECTMODE_NODIALTONE"};
constexpr const char* kBusyModes[] = {"Unknown LINEBUSYMODE", "LINEBUSYMODE_STATION",
                                      "LINEBUSYMODE_TRUNK", "LINEBUSYMODE_UNKNOWN",
                                      "LINEBUSYMODE_UNAVAIL"};
constexpr const char* kDialToneModes[] = {"Unknown LINEDIALTONEMODE",  "LINEDIALTONEMODE_NORMAL",
                                          "LINEDIALTONEMODE_SPECIAL",  "LINEDIALTONEMODE_INTERNAL",
                                          "LINEDIALTONEMODE_EXTERNAL", "LINEDIALTONEMODE_UNKNOWN",
                                          "LINEDIALTONEMODE_UNAVAIL"};
constexpr const char* kSpecialInfo[] = {"Unknown LINESPECIALINFO",   "LINESPECIALINFO_NOCIRCUIT",
                                        "LINESPECIALINFO_CUSTIRREG", "LINESPECIALINFO_REORDER",
                                        "LINESPECIALINFO_UNKNOWN",   "LINESPECIALINFO_UNAVAIL"};
constexpr const char* kGatherTerms[] = {
    "Unknown LINEGATHERTERM",      "LINEGATHERTERM_BUFFERFULL",   "LINEGATHERTERM_TERMDIGIT",
    "LINEGATHERTERM_FIRSTTIMEOUT", "LINEGATHERTERM_INTERTIMEOUT", "LINEGATHERTERM_CANCEL"};
constexpr const char* kGenerateTerms[] = {"Unknown LINEGENERATETERM", "LINEGENERATETERM_DONE",
                                          "LINEGENERATETERM_CANCEL"};
constexpr const char* kDigitModes[] = {"Unknown LINEDIGITMODE", "LINEDIGITMODE_PULSE",
                                       "LINEDIGITMODE_DTMF", "LINEDIGITMODE_DTMFEND"};
constexpr const char* kMediaModes[] = {
    "Unknown LINEMEDIAMODE",        "",
    "LINEMEDIAMODE_UNKNOWN",        "LINEMEDIAMODE_INTERACTIVEVOICE",
    "LINEMEDIAMODE_AUTOMATEDVOICE", "LINEMEDIAMODE_DATAMODEM",
    "LINEMEDIAMODE_G3FAX",          "LINEMEDIAMODE_TDD",
    "LINEMEDIAMODE_G4FAX",          "LINEMEDIAMODE_DIGITALDATA",
    "LINEMEDIAMODE_TELETEX",        "LINEMEDIAMODE_VIDEOTEX",
    "LINEMEDIAMODE_TELEX",          "LINEMEDIAMODE_MIXED",
    "LINEMEDIAMODE_ADSI",           "LINEMEDIAMODE_VOICEVIEW"};
constexpr const char* kRequestModes[] = {"Unknown LINEREQUESTMODE", "LINEREQUESTMODE_MAKECALL",
                                         "LINEREQUESTMODE_MEDIACALL", "LINEREQUESTMODE_DROP"};
constexpr const char* kCallInfoStates[] = {
    "Unknown LINECALLINFOSTATE",       "LINECALLINFOSTATE_OTHER",
    "LINECALLINFOSTATE_DEVSPECIFIC",   "LINECALLINFOSTATE_BEARERMODE",
    "LINECALLINFOSTATE_RATE",          "LINECALLINFOSTATE_MEDIAMODE",
    "LINECALLINFOSTATE_APPSPECIFIC",   "LINECALLINFOSTATE_CALLID",
    "LINECALLINFOSTATE_RELATEDCALLID", "LINECALLINFOSTATE_ORIGIN",
    "LINECALLINFOSTATE_REASON",        "LINECALLINFOSTATE_COMPLETIONID",
    "LINECALLINFOSTATE_NUMOWNERINCR",  "LINECALLINFOSTATE_NUMOWNERDECR",
    "LINECALLINFOSTATE_NUMMONITORS",   "LINECALLINFOSTATE_TRUNK",
    "LINECALLINFOSTATE_CALLERID",      "LINECALLINFOSTATE_CALLEDID",
    "LINECALLINFOSTATE_CONNECTEDID",   "LINECALLINFOSTATE_REDIRECTIONID",
    "LINECALLINFOSTATE_REDIRECTINGID", "LINECALLINFOSTATE_DISPLAY",
    "LINECALLINFOSTATE_USERUSERINFO",  "LINECALLINFOSTATE_HIGHLEVELCOMP",
    "LINECALLINFOSTATE_LOWLEVELCOMP",  "LINECALLINFOSTATE_CHARGINGINFO",
    "LINECALLINFOSTATE_TERMINAL",      "LINECALLINFOSTATE_DIALPARAMS",
    "LINECALLINFOSTATE_MONITORMODES"};

constexpr std::uint32_t kLineRequestModeDrop = 0x4;

unsigned long Long(std::uintptr_t value) {
    return static_cast<unsigned long>(value & 0xFFFFFFFFu);
}
std::uint32_t Flags(std::uintptr_t value) {
    return static_cast<std::uint32_t>(value);
}

// The detail of a call state: the flags of the table the state's mode belongs to.
std::string CallStateDetail(std::uint32_t state, std::uintptr_t mode) {
    switch (state) {
    case LINECALLSTATE_DIALTONE:
        return "; " + FormatFlags(Flags(mode), kDialToneModes);
    case LINECALLSTATE_BUSY:
        return "; " + FormatFlags(Flags(mode), kBusyModes);
    case LINECALLSTATE_SPECIALINFO:
        return "; " + FormatFlags(Flags(mode), kSpecialInfo);
    case LINECALLSTATE_DISCONNECTED:
        return "; " + FormatFlags(Flags(mode), kDisconnectModes);
    case LINECALLSTATE_OFFERING:
    case LINECALLSTATE_CONNECTED:
        return mode ? "; " + FormatFlags(Flags(mode), kMediaModes) : std::string();
    case LINECALLSTATE_CONFERENCED:
        return Format(": Parent conference call handle: 0x%lx", Long(mode));
    default:
        return {};
    }
}

std::string DevStateDetail(std::uintptr_t state, std::uintptr_t p2, std::uintptr_t p3) {
    std::string text = FormatFlags(Flags(state), kDevStates);
    if (state == LINEDEVSTATE_RINGING)
        text += Format("; Ring Mode: 0x%lx, Ring Count: %lu", Long(p2), Long(p3));
    if (state == LINEDEVSTATE_REINIT) {
        if (p2 == LINE_LINEDEVSTATE)
            text += "; ReInit reason: LINE_LINEDEVSTATE, " + FormatFlags(Flags(p3), kDevStates);
        else if (p2 == LINE_CREATE)
            text += Format("; ReInit reason: LINE_CREATE, New Line Device ID '0x%lx'", Long(p3));
        else
            text += Format("; ReInit reason: %s, dwParam3: 0x%lx",
                           p2 < std::size(kMessages) ? kMessages[p2] : "Unknown", Long(p3));
    }
    return text;
}

} // namespace

DebugSink SetDebugSink(DebugSink sink) {
    std::lock_guard<std::mutex> hold(SinkLock());
    DebugSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

void OutputDebugString(const std::string& text) {
    std::lock_guard<std::mutex> hold(SinkLock());
    if (Sink()) {
        Sink()(text);
        return;
    }
    static const bool enabled = std::getenv("TVANE_TAPI_DEBUG") != nullptr;
    if (enabled)
        std::fputs(text.c_str(), stderr);
}

void OutputDebugPrintf(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    if (text.empty() || text.back() != '\n')
        text += "\r\n";
    OutputDebugString(text);
}

std::string FormatLineError(std::int32_t code) {
    const std::uint32_t index = static_cast<std::uint32_t>(code) & 0x7FFFFFFFu;
    if (index >= std::size(kLineErrors))
        return Format("Unknown TAPI line error code: 0x%lx",
                      static_cast<unsigned long>(static_cast<std::uint32_t>(code)));
    return kLineErrors[index];
}

std::size_t FormatLineError(std::int32_t code, char* buffer, std::size_t size) {
    if (!buffer || size == 0)
        return 0;
    const std::string name = FormatLineError(code);
    const std::size_t n = std::min(name.size(), size - 1);
    std::memcpy(buffer, name.data(), n);
    buffer[n] = '\0';
    return n;
}

namespace {
// "<prefix><label>"<text>" in File "<file>", Line <n>", without the file part when
// there is no file.
void OutputDebugError(const char* prefix, const char* label, const std::string& text,
                      const char* file, int line) {
    const char* p = prefix ? prefix : "";
    if (file)
        OutputDebugString(
            Format("%s%s\"%s\" in File \"%s\", Line %d\r\n", p, label, text.c_str(), file, line));
    else
        OutputDebugString(Format("%s%s\"%s\"\r\n", p, label, text.c_str()));
}
} // namespace

void OutputDebugLineError(std::int32_t code, const char* prefix, const char* file, int line) {
    OutputDebugError(prefix, "Tapi Line Error: ", FormatLineError(code), file, line);
}

std::string FormatLastError(int code) {
    char buffer[256] = {};
    // The GNU strerror_r gives a text for every value, unknown ones included.
    return ::strerror_r(code, buffer, sizeof buffer);
}

void OutputDebugLastError(int code, const char* prefix, const char* file, int line) {
    OutputDebugError(prefix, "GetLastError returned: ", FormatLastError(code), file, line);
}

std::string FormatFlags(std::uint32_t flags, std::span<const char* const> names) {
    if (names.empty())
        return {};
    if (flags == 0)
        return names[0];
    std::string text;
    std::uint32_t left = flags;
    for (std::size_t bit = 0; bit + 1 < names.size() && bit < 32; ++bit) {
        const std::uint32_t mask = 1u << bit;
        if (!(flags & mask) || !*names[bit + 1])
            continue;
        text += text.empty() ? names[bit + 1] : std::string(", ") + names[bit + 1];
        left &= ~mask;
    }
    if (left)
        text += Format(text.empty() ? "Unknown flags '0x%lx'" : ", Unknown flags '0x%lx'",
                       static_cast<unsigned long>(left));
    return text;
}

std::string FormatLineCallback(std::uint32_t message, std::uint32_t device, std::uintptr_t instance,
                               std::uintptr_t p1, std::uintptr_t p2, std::uintptr_t p3) {
    if (message >= std::size(kMessages))
        return Format("lineCallback: Unknown dwMsg: '0x%lx', dwDevice: '0x%lx', "
                      "dwCallbackInstance: '0x%lx', dwParam1: '0x%lx', dwParam2: '0x%lx', "
                      "dwParam3: '0x%lx'\r\n",
                      static_cast<unsigned long>(message), static_cast<unsigned long>(device),
                      Long(instance), Long(p1), Long(p2), Long(p3));
    std::string text = Format("lineCallback: %s; dwDevice: '0x%lx'; ", kMessages[message],
                              static_cast<unsigned long>(device));
    switch (message) {
    case LINE_CLOSE:
    case LINE_DEVSPECIFIC:
    case LINE_DEVSPECIFICFEATURE:
        break;
    case LINE_CALLSTATE:
        text += FormatFlags(Flags(p1), kCallStates) + CallStateDetail(Flags(p1), p2);
        if (p3)
            text += "; " + FormatFlags(Flags(p3), kPrivileges);
        break;
    case LINE_LINEDEVSTATE:
        text += DevStateDetail(p1, p2, p3);
        break;
    case LINE_ADDRESSSTATE:
        text += Format("Address ID: 0x%lx, Address State: ", Long(p1)) +
                FormatFlags(Flags(p2), kAddressStates);
        break;
    case LINE_CALLINFO:
        text += FormatFlags(Flags(p1), kCallInfoStates);
        break;
    case LINE_REPLY:
        if (p2 == 0)
            text += Format("Request ID: 0x%lx; Successful reply!", Long(p1));
        else
            text += Format("Request ID: 0x%lx; UnSuccessful reply; %s", Long(p1),
                           FormatLineError(static_cast<std::int32_t>(Flags(p2))).c_str());
        break;
    case LINE_GATHERDIGITS:
        text += FormatFlags(Flags(p1), kGatherTerms);
        break;
    case LINE_GENERATE:
        text += FormatFlags(Flags(p1), kGenerateTerms);
        break;
    case LINE_MONITORDIGITS:
        text += FormatFlags(Flags(p2), kDigitModes) +
                Format(", Received: '%c'", static_cast<char>(p1 & 0xFF));
        break;
    case LINE_MONITORMEDIA:
        text += FormatFlags(Flags(p1), kMediaModes);
        break;
    case LINE_MONITORTONE:
        text += Format("AppSpecific tone '%lu'", Long(p1));
        break;
    case LINE_REQUEST:
        text += FormatFlags(Flags(p1), kRequestModes);
        if (p1 == kLineRequestModeDrop)
            text += Format(": hwnd dropping = 0x%lx, \"%s\"; wRequestID = %u", Long(p2), "",
                           static_cast<unsigned>(p3 & 0xFFFF));
        break;
    case LINE_CREATE:
        text += Format("New Line Device ID '0x%lx'", Long(p1));
        break;
    case PHONE_CREATE:
        text += Format("New Phone Device ID '0x%lx'", Long(p1));
        break;
    default:
        text += Format("dwParam1: 0x%lx , dwParam2: 0x%lx , dwParam3: 0x%lx", Long(p1), Long(p2),
                       Long(p3));
        break;
    }
    return text + "\r\n";
}

void OutputDebugLineCallback(std::uint32_t message, std::uint32_t device, std::uintptr_t instance,
                             std::uintptr_t param1, std::uintptr_t param2, std::uintptr_t param3) {
    OutputDebugString(FormatLineCallback(message, device, instance, param1, param2, param3));
}

} // namespace tvane::tapi
