#include "comm/sheet/SettingsDialogPresenter.h"

#include <QApplication>
#include <QWidget>

#include "comm/sheet/CInterfaceSettingsDialog.h"
#include "comm/sheet/CSerialSettingsDialog.h"

namespace tvane::comm {

namespace {
bool HasWidgets() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}
} // namespace

bool Rs232SettingsPresenter::Run(Codes& codes, CRS232Interface& transport, WindowHandle parent) {
    if (!HasWidgets())
        return false;
    CSerialSettingsDialog dialog(codes, transport, static_cast<QWidget*>(parent));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    codes = dialog.GetCodes();
    return true;
}

bool WenxSettingsPresenter::Run(Settings& settings, WindowHandle parent) {
    if (!HasWidgets())
        return false;
    CInterfaceSettingsDialog dialog(settings, static_cast<QWidget*>(parent));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings = dialog.Result();
    return true;
}

namespace {
// Made on first use, so that installing from another file's static start-up works.
Rs232SettingsPresenter* SerialPresenter() {
    static Rs232SettingsPresenter presenter;
    return &presenter;
}
WenxSettingsPresenter* WenxPresenter() {
    static WenxSettingsPresenter presenter;
    return &presenter;
}
} // namespace

bool InstallSettingsDialogs() {
    if (!HasWidgets())
        return false;
    SetRs232SettingsDialog(SerialPresenter());
    SetWenxSettingsDialog(WenxPresenter());
    return true;
}

void RemoveSettingsDialogs() {
    if (Rs232SettingsDialog() == SerialPresenter())
        SetRs232SettingsDialog(nullptr);
    if (WenxSettingsDialog() == WenxPresenter())
        SetWenxSettingsDialog(nullptr);
}

} // namespace tvane::comm
