#pragma once
#include <cstdint>

#include "comm/CCommInterface.h"
#include "comm/DialogOwner.h"

namespace tvane::comm {

class CRS232Interface;

// The "Serial Port Settings" dialog in which the user edits the RS-232 transport's
// port settings; its test button runs the transport's TestSettings. The program
// installs the real one; without it the transport reports that it is not available.
class IRs232SettingsDialog {
public:
    // The transport's setting codes (see CRS232Interface).
    struct Codes {
        int32_t portIndex = 0; // COM1 = 0
        int32_t baud = 10;
        int32_t parity = 0;
        int32_t length = 3;
        int32_t handshake = 7;
    };

    virtual ~IRs232SettingsDialog() = default;
    // Shows the dialog over parent, filled from codes; true on OK, with codes updated.
    virtual bool Run(Codes& codes, CRS232Interface& transport, WindowHandle parent) = 0;
};

// Null until the program installs one.
IRs232SettingsDialog* Rs232SettingsDialog();
void SetRs232SettingsDialog(IRs232SettingsDialog* dialog);

} // namespace tvane::comm
