#pragma once
#include <string>

#include "platform/core/StringTable.h"

namespace tvane::comm {

// String ids of the control. An error code of the control or of a transport is the
// id of its text; 1000 means no error.
enum CommString : unsigned {
    IDS_WENXLAN = 4,
    IDS_MODEM = 5,
    IDS_CONTROL_NAME = 1,
    IDS_PROPPAGE_NAME = 2,
    IDS_RS232_NOT_LOADED = 3,
    IDS_SELECT_INSTRUMENT = 100,
    IDS_SETUP_CAPTION = 102,
    IDS_PHONE_NUMBER = 103,
    IDS_DIAL_STATUS = 107,
    IDS_NO_ERROR = 1000,
    IDS_NO_DLL_FUNCTIONS = 1001,
    IDS_NO_WENX_DLL = 1003,
    IDS_WENX_NOT_LOADED = 1004,
    IDS_GPIB_NOT_LOADED = 1005,
    IDS_NO_GPIB_DLL = 1006,
    IDS_NO_CONNECTION = 1007,
    IDS_BAD_ADDRESS = 1008,
    IDS_BAD_CONTROLLER = 1009,
    IDS_ALREADY_CONNECTED = 1010,
    IDS_RS232_OPEN_FAILED = 1011,
    IDS_RS232_CLOSE_FAILED = 1012,
    IDS_RS232_SETUP_FAILED = 1013,
    IDS_RS232_TRANSMIT_FAILED = 1015,
    IDS_RS232_NOT_OPEN = 1020,
    IDS_RS232_BAD_TIMEOUT = 1021,
    IDS_WENX = 1025,
    IDS_GPIB = 1034,
    IDS_RS232 = 1035,
    IDS_SIMULATED = 1036,
    IDS_NO_SESSION = 1037,
    IDS_NO_CONTROLLER_SESSION = 1038,
    IDS_IDENTITY_QUERY = 1039,
    IDS_CLICK_SEARCH = 1040,
    IDS_NO_DEVICES = 1041,
    IDS_DISPLAY_WENX = 1042,
    IDS_DISPLAY_GPIB = 1043,
    IDS_DISPLAY_RS232 = 1044,
    IDS_DISPLAY_WENXLAN = 1045,
    IDS_DISPLAY_SIMULATED = 1046,
    IDS_DISPLAY_MODEM = 1047,
    IDS_INI_FILE = 1048,
    IDS_NO_CONTROLLERS = 1049,
    IDS_PARITY_ERROR = 1050,
    IDS_RS232_SEND_FAILED = 1051,
    IDS_RS232_RECV_FAILED = 1052,
    // Texts this build adds: the setup sheet and the serial port dialog are not part
    // of it yet.
    IDS_SETUP_NOT_AVAILABLE = 1060,
    IDS_RS232_DIALOG_NOT_AVAILABLE = 1061,
    IDS_WENX_DIALOG_NOT_AVAILABLE = 1062,
    IDS_DIAL_DIALOG_NOT_AVAILABLE = 1063,
    IDS_MODEM_LINE_DROPPED = 1064,
};

// Error code meaning "no error" in the error slot of the control and the transports.
inline constexpr int kNoErrorCode = 1000;

const StringTable& CommStrings();

// The text of a string id, empty when the table has none.
std::string LoadResString(unsigned id);

// The control's ini file, "linkwell.ini", in the configuration folder.
std::string LinkwellIni();

} // namespace tvane::comm
