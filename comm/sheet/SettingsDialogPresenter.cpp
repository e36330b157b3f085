#include "comm/sheet/SettingsDialogPresenter.h"

#include <QApplication>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include "comm/sheet/CCommSetupSheet.h"
#include "comm/sheet/CommDialogFont.h"
#include "platform/sheet/PropertyPage.h"
#include "platform/sheet/PropertySheet.h"
#include "platform/ui/Prompter.h"

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
CommSetupSheetPresenter* SheetPresenter() {
    static CommSetupSheetPresenter presenter;
    return &presenter;
}

// The control's property page: it edits no property.
class CCommPropPage final : public PropertyPage {
public:
    CCommPropPage() : PropertyPage(QStringLiteral("Select Instrument")) {}

protected:
    void OnInitPage() override {
        auto* details = new QPushButton(QStringLiteral("&Details..."), this);
        connect(details, &QPushButton::clicked, this, [] { ShowMessage("On Details"); });
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(details);
        layout->addStretch();
        ApplyDialogFont(this);
    }
};
} // namespace

ICommSetupSheet::Result CommSetupSheetPresenter::Run(const Request& request) {
    if (!HasWidgets())
        return {};
    CCommSetupSheet sheet(request, QApplication::activeWindow());
    return sheet.Run();
}

bool CommSetupSheetPresenter::ShowProperties(CCommCtrl&) {
    if (!HasWidgets())
        return false;
    PropertySheet frame(QStringLiteral("Select Instrument"), QApplication::activeWindow());
    frame.AddPage(new CCommPropPage);
    frame.exec();
    return true;
}

bool InstallSettingsDialogs() {
    if (!HasWidgets())
        return false;
    SetRs232SettingsDialog(SerialPresenter());
    SetWenxSettingsDialog(WenxPresenter());
    SetCommSetupSheet(SheetPresenter());
    return true;
}

void RemoveSettingsDialogs() {
    if (Rs232SettingsDialog() == SerialPresenter())
        SetRs232SettingsDialog(nullptr);
    if (WenxSettingsDialog() == WenxPresenter())
        SetWenxSettingsDialog(nullptr);
    if (CommSetupSheet() == SheetPresenter())
        SetCommSetupSheet(nullptr);
}

} // namespace tvane::comm
