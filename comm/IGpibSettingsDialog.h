#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "comm/CCommInterface.h"
#include "comm/DialogOwner.h"

namespace tvane::comm {

// The controller and exclude-address dialog of the GPIB board transport: which bus
// addresses of each board take part in searches. The program installs the real one;
// without it the transport reports that it is not available.
class IGpibSettingsDialog {
public:
    struct Controller {
        std::string name;             // "ib0", "ib1"
        int32_t exclude = 0x7FFFFFFF; // bit i set: address i is searched
    };

    virtual ~IGpibSettingsDialog() = default;
    // Shows the dialog over parent, filled from controllers; true on OK, with the
    // controllers' masks updated.
    virtual bool Run(std::vector<Controller>& controllers, WindowHandle parent) = 0;
};

// Null until the program installs one.
IGpibSettingsDialog* GpibSettingsDialog();
void SetGpibSettingsDialog(IGpibSettingsDialog* dialog);

} // namespace tvane::comm
