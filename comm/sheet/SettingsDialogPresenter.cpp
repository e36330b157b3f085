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

#include "comm/sheet/CCallProgressDialog.h"
#include "comm/sheet/CDialDialog.h"
#include "comm/sheet/CDialingPropertiesDialog.h"
#include "comm/sheet/CInterfaceSettingsDialog.h"
#include "comm/sheet/CModemSettingsDialog.h"
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

bool DialDialogPresenter::Run(RememberedNumber& number, bool connectPath, WindowHandle parent) {
    if (!HasWidgets())
        return false;
    CDialDialog dialog(number, connectPath, static_cast<QWidget*>(parent));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    number = dialog.Number();
    return true;
}

bool TelephonyDialogsPresenter::EditLocation(tapi::LineLocationEntry& location,
                                             const std::vector<tapi::LineCountryEntry>& countries,
                                             void* owner) {
    if (!HasWidgets())
        return false;
    CDialingPropertiesDialog dialog(location, countries, static_cast<QWidget*>(owner));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    location = dialog.Location();
    return true;
}

bool TelephonyDialogsPresenter::EditModemSettings(const std::string& lineName,
                                                  tapi::ModemSettings& settings, void* owner) {
    if (!HasWidgets())
        return false;
    CModemSettingsDialog dialog(QString::fromStdString(lineName), settings,
                                static_cast<QWidget*>(owner));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings = dialog.Settings();
    return true;
}

namespace {
bool g_progressInstalled = false;

// Made on first use, so that installing from another file's static start-up works.
Rs232SettingsPresenter* SerialPresenter() {
    static Rs232SettingsPresenter presenter;
    return &presenter;
}
WenxSettingsPresenter* WenxPresenter() {
    static WenxSettingsPresenter presenter;
    return &presenter;
}
DialDialogPresenter* DialPresenter() {
    static DialDialogPresenter presenter;
    return &presenter;
}
TelephonyDialogsPresenter* TelephonyPresenter() {
    static TelephonyDialogsPresenter presenter;
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
    SetDialDialog(DialPresenter());
    tapi::SetTelephonyDialogs(TelephonyPresenter());
    SetCallProgressFactory([](WindowHandle owner) {
        return std::make_unique<CallProgressWindow>(static_cast<QWidget*>(owner));
    });
    g_progressInstalled = true;
    return true;
}

void RemoveSettingsDialogs() {
    if (Rs232SettingsDialog() == SerialPresenter())
        SetRs232SettingsDialog(nullptr);
    if (WenxSettingsDialog() == WenxPresenter())
        SetWenxSettingsDialog(nullptr);
    if (CommSetupSheet() == SheetPresenter())
        SetCommSetupSheet(nullptr);
    if (DialDialog() == DialPresenter())
        SetDialDialog(nullptr);
    if (tapi::TelephonyDialogs() == TelephonyPresenter())
        tapi::SetTelephonyDialogs(nullptr);
    if (g_progressInstalled) {
        SetCallProgressFactory({});
        g_progressInstalled = false;
    }
}

} // namespace tvane::comm
