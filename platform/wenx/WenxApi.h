#pragma once
#include <cstdint>

// The entry points of the instrument I/O library "wenx32.so", loaded at run time
// and bound by name. Every call returns 0 on success or one of the error codes
// below, except iopen (a session handle, 0 on failure) and igeterrstr (a text).
//
// Address texts:
//   "<unit>"                         the interface of a logical unit (a GPIB controller)
//   "<unit>,<bus address>"           a device on that controller
//   "<unit>[<host>[:<port>]]:<name>" the GPIB interface <name> of a LAN/GPIB gateway
//   "<unit>[<host>[:<port>]]:<name>,<bus address>"  a device behind the gateway
// Units are the sections of "wenx32.ini" in the configuration folder:
//   [gpib0]
//   Type=GPIB            GPIB (interface type 1) or LAN (9)
//   LogicalUnit=7        defaults to the section's position, from 0
//   BusAddress=21        the controller's own bus address
//   Device9=127.0.0.1:5025   the SCPI socket (host[:port], port 5025 by default)
//                        of the instrument at bus address 9
// In a LAN unit a Device key may give only ":port" or "port"; the host is then the
// gateway's. A LAN device address without a Device key reaches the gateway's own
// host and port (5025 unless the address names one).

extern "C" {

using WenxSession = int32_t;

enum WenxInterfaceType : int32_t {
    kWenxTypeGpib = 1,
    kWenxTypeLan = 9,
};

// One logical unit as igetluinfo describes it.
struct WenxUnitInfo {
    int32_t logicalUnit;
    int32_t interfaceType; // WenxInterfaceType
    int32_t busAddress;    // the controller's own
    char symbolicName[32];
};

// igetlulist writes at most this many units and then the end mark -1.
inline constexpr int kWenxMaxUnits = 32;

// Why a read ended (bits of the reason word).
enum WenxReadReason : int32_t {
    kWenxReasonCount = 1,    // the buffer is full
    kWenxReasonTermChar = 2, // a line feed arrived
    kWenxReasonEnd = 4,      // the instrument closed the connection
};

// igpibbusstatus selectors.
enum WenxBusStatus : int32_t {
    kWenxBusNdac = 3,
    kWenxBusAddress = 8,
};

// The serial-poll bit of a waiting answer.
inline constexpr int32_t kWenxStatusMessageAvailable = 0x10;

enum WenxError : int32_t {
    kWenxOk = 0,
    kWenxErrorAddress = 1,
    kWenxErrorSession = 2,
    kWenxErrorTimeout = 3,
    kWenxErrorIo = 4,
    kWenxErrorConnect = 5,
    kWenxErrorNoDevice = 6,
    kWenxErrorNotSupported = 7,
    kWenxErrorArgument = 8,
    kWenxErrorUnit = 9,
};

using WenxErrorHandler = void (*)(WenxSession session, int32_t error);

using WenxReadFn = int32_t (*)(WenxSession, char*, uint32_t, int32_t*, uint32_t*);
using WenxWriteFn = int32_t (*)(WenxSession, const char*, uint32_t, int32_t, uint32_t*);
using WenxOpenFn = WenxSession (*)(const char*);
using WenxSessionFn = int32_t (*)(WenxSession);
using WenxErrorTextFn = const char* (*)(int32_t);
using WenxErrnoFn = int32_t (*)();
using WenxOnErrorFn = int32_t (*)(WenxErrorHandler);
using WenxSetTimeoutFn = int32_t (*)(WenxSession, int32_t);
using WenxGetTimeoutFn = int32_t (*)(WenxSession, int32_t*);
using WenxReadStbFn = int32_t (*)(WenxSession, uint8_t*);
using WenxLuListFn = int32_t (*)(int32_t*);
using WenxLuInfoFn = int32_t (*)(int32_t, WenxUnitInfo*);
using WenxBusStatusFn = int32_t (*)(WenxSession, int32_t, int32_t*);
using WenxSendCmdFn = int32_t (*)(WenxSession, const char*, int32_t);
using WenxLineFn = int32_t (*)(WenxSession, int32_t);
using WenxVersionFn = int32_t (*)(int32_t*, int32_t*);

} // extern "C"
