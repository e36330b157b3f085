#pragma once
#include <cstdint>

// The telephony constants the modem code and the line layer share. They carry the
// names and values of the Windows telephony interface (TAPI 1.4), so the dial-up
// code reads as it always has and its diagnostics print the names it always printed.
namespace tvane::tapi {

using HLINEAPP = std::uint32_t;
using HLINE = std::uint32_t;
using HCALL = std::uint32_t;

// Results: 0 success, a positive request id for a request answered later by
// LINE_REPLY, or a negative LINEERR_ code.
constexpr std::int32_t LineErr(std::uint32_t n) {
    return static_cast<std::int32_t>(0x80000000u | n);
}
inline constexpr std::int32_t LINEERR_ALLOCATED = LineErr(0x01);
inline constexpr std::int32_t LINEERR_BADDEVICEID = LineErr(0x02);
inline constexpr std::int32_t LINEERR_INCOMPATIBLEAPIVERSION = LineErr(0x0C);
inline constexpr std::int32_t LINEERR_INIFILECORRUPT = LineErr(0x0E);
inline constexpr std::int32_t LINEERR_INUSE = LineErr(0x0F);
inline constexpr std::int32_t LINEERR_INVALADDRESS = LineErr(0x10);
inline constexpr std::int32_t LINEERR_INVALADDRESSID = LineErr(0x11);
inline constexpr std::int32_t LINEERR_INVALAPPHANDLE = LineErr(0x14);
inline constexpr std::int32_t LINEERR_INVALBEARERMODE = LineErr(0x16);
inline constexpr std::int32_t LINEERR_INVALCALLHANDLE = LineErr(0x18);
inline constexpr std::int32_t LINEERR_INVALCALLSELECT = LineErr(0x1B);
inline constexpr std::int32_t LINEERR_INVALCALLSTATE = LineErr(0x1C);
inline constexpr std::int32_t LINEERR_INVALCARD = LineErr(0x1E);
inline constexpr std::int32_t LINEERR_INVALCOUNTRYCODE = LineErr(0x22);
inline constexpr std::int32_t LINEERR_INVALDEVICECLASS = LineErr(0x23);
inline constexpr std::int32_t LINEERR_INVALLINEHANDLE = LineErr(0x2B);
inline constexpr std::int32_t LINEERR_INVALLOCATION = LineErr(0x2D);
inline constexpr std::int32_t LINEERR_INVALMEDIAMODE = LineErr(0x2F);
inline constexpr std::int32_t LINEERR_INVALPARAM = LineErr(0x32);
inline constexpr std::int32_t LINEERR_INVALPOINTER = LineErr(0x35);
inline constexpr std::int32_t LINEERR_NODEVICE = LineErr(0x42);
inline constexpr std::int32_t LINEERR_NODRIVER = LineErr(0x43);
inline constexpr std::int32_t LINEERR_NOMEM = LineErr(0x44);
inline constexpr std::int32_t LINEERR_OPERATIONFAILED = LineErr(0x48);
inline constexpr std::int32_t LINEERR_OPERATIONUNAVAIL = LineErr(0x49);
inline constexpr std::int32_t LINEERR_RESOURCEUNAVAIL = LineErr(0x4B);
inline constexpr std::int32_t LINEERR_STRUCTURETOOSMALL = LineErr(0x4D);
inline constexpr std::int32_t LINEERR_UNINITIALIZED = LineErr(0x50);
inline constexpr std::int32_t LINEERR_REINIT = LineErr(0x52);
inline constexpr std::int32_t LINEERR_NOMULTIPLEINSTANCE = LineErr(0x56);

// Messages of the line callback.
enum LineMessage : std::uint32_t {
    LINE_ADDRESSSTATE = 0,
    LINE_CALLINFO = 1,
    LINE_CALLSTATE = 2,
    LINE_CLOSE = 3,
    LINE_DEVSPECIFIC = 4,
    LINE_DEVSPECIFICFEATURE = 5,
    LINE_GATHERDIGITS = 6,
    LINE_GENERATE = 7,
    LINE_LINEDEVSTATE = 8,
    LINE_MONITORDIGITS = 9,
    LINE_MONITORMEDIA = 10,
    LINE_MONITORTONE = 11,
    LINE_REPLY = 12,
    LINE_REQUEST = 13,
    PHONE_BUTTON = 14,
    PHONE_CLOSE = 15,
    PHONE_DEVSPECIFIC = 16,
    PHONE_REPLY = 17,
    PHONE_STATE = 18,
    LINE_CREATE = 19,
    PHONE_CREATE = 20,
};

inline constexpr std::uint32_t LINECALLSTATE_IDLE = 0x1;
inline constexpr std::uint32_t LINECALLSTATE_OFFERING = 0x2;
inline constexpr std::uint32_t LINECALLSTATE_ACCEPTED = 0x4;
inline constexpr std::uint32_t LINECALLSTATE_DIALTONE = 0x8;
inline constexpr std::uint32_t LINECALLSTATE_DIALING = 0x10;
inline constexpr std::uint32_t LINECALLSTATE_RINGBACK = 0x20;
inline constexpr std::uint32_t LINECALLSTATE_BUSY = 0x40;
inline constexpr std::uint32_t LINECALLSTATE_SPECIALINFO = 0x80;
inline constexpr std::uint32_t LINECALLSTATE_CONNECTED = 0x100;
inline constexpr std::uint32_t LINECALLSTATE_PROCEEDING = 0x200;
inline constexpr std::uint32_t LINECALLSTATE_ONHOLD = 0x400;
inline constexpr std::uint32_t LINECALLSTATE_CONFERENCED = 0x800;
inline constexpr std::uint32_t LINECALLSTATE_ONHOLDPENDCONF = 0x1000;
inline constexpr std::uint32_t LINECALLSTATE_ONHOLDPENDTRANSFER = 0x2000;
inline constexpr std::uint32_t LINECALLSTATE_DISCONNECTED = 0x4000;
inline constexpr std::uint32_t LINECALLSTATE_UNKNOWN = 0x8000;

inline constexpr std::uint32_t LINEDEVSTATE_OTHER = 0x1;
inline constexpr std::uint32_t LINEDEVSTATE_RINGING = 0x2;
inline constexpr std::uint32_t LINEDEVSTATE_CONNECTED = 0x4;
inline constexpr std::uint32_t LINEDEVSTATE_DISCONNECTED = 0x8;
inline constexpr std::uint32_t LINEDEVSTATE_INSERVICE = 0x40;
inline constexpr std::uint32_t LINEDEVSTATE_OUTOFSERVICE = 0x80;
inline constexpr std::uint32_t LINEDEVSTATE_MAINTENANCE = 0x100;
inline constexpr std::uint32_t LINEDEVSTATE_OPEN = 0x200;
inline constexpr std::uint32_t LINEDEVSTATE_CLOSE = 0x400;
inline constexpr std::uint32_t LINEDEVSTATE_REINIT = 0x40000;
inline constexpr std::uint32_t LINEDEVSTATE_REMOVED = 0x1000000;

inline constexpr std::uint32_t LINECALLPRIVILEGE_NONE = 0x1;
inline constexpr std::uint32_t LINECALLPRIVILEGE_MONITOR = 0x2;
inline constexpr std::uint32_t LINECALLPRIVILEGE_OWNER = 0x4;

inline constexpr std::uint32_t LINEDISCONNECTMODE_NORMAL = 0x1;
inline constexpr std::uint32_t LINEDISCONNECTMODE_UNKNOWN = 0x2;
inline constexpr std::uint32_t LINEDISCONNECTMODE_REJECT = 0x4;
inline constexpr std::uint32_t LINEDISCONNECTMODE_BUSY = 0x20;
inline constexpr std::uint32_t LINEDISCONNECTMODE_NOANSWER = 0x40;
inline constexpr std::uint32_t LINEDISCONNECTMODE_BADADDRESS = 0x80;
inline constexpr std::uint32_t LINEDISCONNECTMODE_UNAVAIL = 0x800;
inline constexpr std::uint32_t LINEDISCONNECTMODE_NODIALTONE = 0x1000;

inline constexpr std::uint32_t LINEBUSYMODE_STATION = 0x1;
inline constexpr std::uint32_t LINEBUSYMODE_UNKNOWN = 0x4;

inline constexpr std::uint32_t LINEBEARERMODE_VOICE = 0x1;
inline constexpr std::uint32_t LINEMEDIAMODE_DATAMODEM = 0x10;
inline constexpr std::uint32_t LINEFEATURE_MAKECALL = 0x8;
inline constexpr std::uint32_t LINEADDRFEATURE_MAKECALL = 0x2;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_PARTIALDIAL = 0x10000;

// What a modem can wait for inside a dial string ("$", "@", "W").
inline constexpr std::uint32_t LINEDEVCAPFLAGS_DIALBILLING = 0x40;
inline constexpr std::uint32_t LINEDEVCAPFLAGS_DIALQUIET = 0x80;
inline constexpr std::uint32_t LINEDEVCAPFLAGS_DIALDIALTONE = 0x100;

inline constexpr std::uint32_t LINECALLPARAMFLAGS_IDLE = 0x2;
inline constexpr std::uint32_t LINEADDRESSMODE_ADDRESSID = 0x1;

inline constexpr std::uint32_t LINECALLSELECT_LINE = 0x1;
inline constexpr std::uint32_t LINECALLSELECT_ADDRESS = 0x2;
inline constexpr std::uint32_t LINECALLSELECT_CALL = 0x4;

inline constexpr std::uint32_t LINETRANSLATEOPTION_CARDOVERRIDE = 0x1;
inline constexpr std::uint32_t LINETRANSLATEOPTION_CANCELCALLWAITING = 0x2;

inline constexpr std::uint32_t LINETRANSLATERESULT_CANONICAL = 0x1;
inline constexpr std::uint32_t LINETRANSLATERESULT_INTERNATIONAL = 0x2;
inline constexpr std::uint32_t LINETRANSLATERESULT_LONGDISTANCE = 0x4;
inline constexpr std::uint32_t LINETRANSLATERESULT_LOCAL = 0x8;

// The API versions the line layer speaks: TAPI 1.3 and 1.4.
inline constexpr std::uint32_t kApiVersion13 = 0x10003;
inline constexpr std::uint32_t kApiVersion14 = 0x10004;

// The device class whose id of a connected call is the modem's port.
inline constexpr const char* kDataModemClass = "comm/datamodem";

} // namespace tvane::tapi
