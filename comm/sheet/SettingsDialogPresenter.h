#pragma once
#include "comm/ICommSetupSheet.h"
#include "comm/IRs232SettingsDialog.h"
#include "comm/IWenxSettingsDialog.h"

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

// The "Communication Setup" sheet of the control's searches, and its property frame.
class CommSetupSheetPresenter final : public ICommSetupSheet {
public:
    Result Run(const Request& request) override;
    bool ShowProperties(CCommCtrl& control) override;
};

// Installs the presenters of the settings dialogs and of the setup sheet when the
// process has a QApplication (a program with a user interface); returns whether it did.
bool InstallSettingsDialogs();
// Takes back the presenters InstallSettingsDialogs installed, when they are still the
// ones installed: a module that installed them must do so before it is unloaded.
void RemoveSettingsDialogs();

} // namespace tvane::comm
