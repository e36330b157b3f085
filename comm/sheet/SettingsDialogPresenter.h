#pragma once
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

// Installs both presenters when the process has a QApplication (a program with a
// user interface); returns whether it did.
bool InstallSettingsDialogs();
// Takes back the presenters InstallSettingsDialogs installed, when they are still the
// ones installed: a module that installed them must do so before it is unloaded.
void RemoveSettingsDialogs();

} // namespace tvane::comm
