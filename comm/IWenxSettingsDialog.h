#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "comm/CCommInterface.h"
#include "comm/DialogOwner.h"

namespace tvane::comm {

// The interface settings dialog of the I/O library transport: which bus addresses
// of each controller take part in searches and, for a LAN/GPIB gateway, where the
// gateway is. The program installs the real one; without it the transport reports
// that it is not available.
class IWenxSettingsDialog {
public:
    struct Controller {
        std::string name;
        int32_t exclude = 0x7FFFFFFF; // bit i set: address i is searched
    };
    struct Settings {
        bool lan = false;
        std::vector<Controller> controllers; // at most four
        std::string ipAddress;               // LAN form only
        std::string gatewayName;             // LAN form only
        // Controllers past the fourth: offered by the dialog, their masks not kept.
        std::vector<std::string> moreControllers;
    };

    virtual ~IWenxSettingsDialog() = default;
    // Shows the dialog over parent, filled from settings; true on OK, with settings
    // updated.
    virtual bool Run(Settings& settings, WindowHandle parent) = 0;
};

// Null until the program installs one.
IWenxSettingsDialog* WenxSettingsDialog();
void SetWenxSettingsDialog(IWenxSettingsDialog* dialog);

} // namespace tvane::comm
