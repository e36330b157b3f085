#include "comm/CommStrings.h"

namespace tvane::comm {

const StringTable& CommStrings() {
    static const StringTable table{
        {1, "QMComm Control"},
        {2, "QMComm Property Page"},
        {3, "RS-232 library not loaded."},
        {4, "WENXLAN"},
        {5, "MODEM"},
        {100, "Select Instrument"},
        {102, "Communication Setup"},
        {103, "Phone number: "},
        {107, "Dial Status"},
        {1000, "No Error"},
        {1001, "Unable to obtain pointer(s) to Dll functions"},
        {1003, "Unable to find Wenx DLL"},
        {1004, "Wenx library not loaded"},
        {1005, "Gpib library not loaded"},
        {1006, "Unable to find Gpib DLL"},
        {1007, "No connection established with device"},
        {1008, "Couldn't establish interface with device. Invalid controller or device address."},
        {1009, "Invalid controller name. Verify name in registry or ini file."},
        {1010, "A connection already exists. Please close existing interface."},
        {1011, "Unable to initialize RS-232 port."},
        {1012, "Unable to uninitialize RS-232 port."},
        {1013, "Unable to set RS-232 port characteristics."},
        {1014, "Cannot uninitialize RS-232 port because the port has not yet been initialized."},
        {1015, "Unable to transmit a string over the RS-232 port."},
        {1016, "Unable to set the resolution of the RS-232 port timer."},
        {1017, "Unable to set the timeout for the RS-232 port."},
        {1018, "Unable to receive a string over the RS-232 port."},
        {1019, "Unable to find RS-232 DLL."},
        {1020, "Cannot perform requested operation.  RS-232 port is not initialized."},
        {1021, "Illegal RS-232 timeout value.  Legal values ranges from %d msec to %d msec."},
        {1022, "Unable to read RS-232 port timeout value."},
        {1023, "Requested timeout value was not set properly."},
        {1024, "Invalid baud rate (%s) specified."},
        {1025, "WENX"},
        {1026, "Improperly formatted RS-232 port configuration string."},
        {1027, "Invalid parity (%s) specified."},
        {1028, "Invalid length (%s) specified."},
        {1029, "Invalid stopbits (%s) specified."},
        {1030, "Invalid protocol (%s) specified."},
        {1031, "Invalid COM port (%s) specified.  The value must be preceeded by the identifier "
               "\"COM\"."},
        {1032, "Invalid COM port address (%s) specified.  The value must be in hex, and "
               "preceeded by \"0x\"."},
        {1033, "Invalid COM port IRQ (%s) specified.  The value must be numeric."},
        {1034, "GPIB"},
        {1035, "RS232"},
        {1036, "SIMULATED"},
        {1037, "Unable to open communication session with device."},
        {1038, "Unable to open session with controller."},
        {1039, "*IDN?"},
        {1040, "Click 'Search' to locate devices."},
        {1041, "No compatible devices found."},
        {1042, "Orvanta Wenx"},
        {1043, "National Inst. GPIB"},
        {1044, "Serial RS-232"},
        {1045, "LAN/GPIB Gateway"},
        {1046, "Simulated"},
        {1047, "Dial-up Modem"},
        {1048, "linkwell.ini"},
        {1049, "Wenx software driver detected, but no controllers have been configured.\n\n"
               "Use the Wenx configuration utility to add a controller."},
        {1050, "Parity error detected in data stream"},
        {1051, "Unable to transmit data over the RS-232 port - ensure device is on-line."},
        {1052, "Unable to receive data over the RS-232 port - ensure device is on-line."},
        {1060, "The Communication Setup sheet is not available."},
        {1061, "The Serial Port Settings dialog is not available."},
        {1062, "The Interface Settings dialog is not available."},
        {1063, "The Dial-up Modem Settings dialog is not available."},
        {1064, "The modem lost the connection to the instrument."},
    };
    return table;
}

std::string LoadResString(unsigned id) {
    return CommStrings().Load(id);
}

std::string LinkwellIni() {
    return LoadResString(IDS_INI_FILE);
}

} // namespace tvane::comm
