#pragma once
#include "comm/CCommInterface.h"
#include "comm/DialogOwner.h"
#include "comm/RememberedNumber.h"

namespace tvane::comm {

// "Dial-up Modem Settings": the number to call, where it is dialled from and the modem
// to use (CDialSettingsModel holds its rules). The program installs the window;
// without it the modem transport says the dialog is not available.
class IDialDialog {
public:
    virtual ~IDialDialog() = default;
    // Shows the dialog over owner, filled from number; true on OK, with number
    // holding what to remember and dial. connectPath: OK reads "&Dial...".
    virtual bool Run(RememberedNumber& number, bool connectPath, WindowHandle owner) = 0;
};

IDialDialog* DialDialog();
void SetDialDialog(IDialDialog* dialog);

} // namespace tvane::comm
