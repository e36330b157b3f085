#pragma once
#include "comm/ICommSetupSheet.h"
#include "comm/IDialDialog.h"
#include "comm/IRs232SettingsDialog.h"
#include "comm/IWenxSettingsDialog.h"
#include "platform/tapi/ITelephonyDialogs.h"

namespace tvane::comm {

// Shows the transports' settings dialogs modally over parent (a QWidget*, or null for
// none). They need a QApplication; without one nothing is shown and Run gives false.
class Rs232SettingsPresenter final : public IRs232SettingsDialog {
public:
    bool Run(Codes& codes, CRS232Interface& transport, WindowHandle parent) override;
};

class WenxSettingsPresenter final : public IWenxSettingsDialog {
public:
    bool Run(Settings& settings, WindowHandle parent) override;
};

// The modem's "Dial-up Modem Settings".
class DialDialogPresenter final : public IDialDialog {
public:
    bool Run(RememberedNumber& number, bool connectPath, WindowHandle parent) override;
};

// The telephony layer's dialogs: dialing properties and the modem's settings.
class TelephonyDialogsPresenter final : public tapi::ITelephonyDialogs {
public:
    bool EditLocation(tapi::LineLocationEntry& location,
                      const std::vector<tapi::LineCountryEntry>& countries, void* owner) override;
    bool EditModemSettings(const std::string& lineName, tapi::ModemSettings& settings,
                           void* owner) override;
};

// The "Communication Setup" sheet of the control's searches, and its property frame.
class CommSetupSheetPresenter final : public ICommSetupSheet {
public:
    Result Run(const Request& request) override;
    bool ShowProperties(CCommCtrl& control) override;
};

// Installs the presenters of the settings dialogs, the modem's dialogs and its call
// progress window, and of the setup sheet when the process has a QApplication (a program with a
// user interface); returns whether it did.
bool InstallSettingsDialogs();
// Takes back the presenters InstallSettingsDialogs installed, when they are still the
// ones installed: a module that installed them must do so before it is unloaded.
void RemoveSettingsDialogs();

} // namespace tvane::comm
