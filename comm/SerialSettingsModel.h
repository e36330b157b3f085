#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "comm/IRs232SettingsDialog.h"

namespace tvane::comm {

// The lists of the "Serial Port Settings" dialog and how their entries map to the
// RS-232 transport's setting codes. An index of -1 means no entry is selected.
class CSerialSettingsModel {
public:
    using Codes = IRs232SettingsDialog::Codes;
    struct Selection {
        int port = -1;
        int speed = -1;
        int parity = -1;
        int flow = -1;
    };

    static const std::vector<std::string>& PortItems();
    static const std::vector<std::string>& SpeedItems();
    static const std::vector<std::string>& ParityItems();
    static const std::vector<std::string>& FlowItems();

    // The entries that show the codes: a port or speed the lists do not hold selects
    // nothing; an unknown parity or handshake shows "None".
    static Selection Select(const Codes& codes);
    // The codes of the selected entries. A list left on no entry keeps the code it
    // had, so a port or rate the dialog cannot show survives an OK.
    static Codes Save(const Selection& selection, const Codes& previous);
};

} // namespace tvane::comm
