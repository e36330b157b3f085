#pragma once
#include "comm/ICommSetupSheet.h"
#include "comm/SetupPageModel.h"
#include "platform/sheet/PropertyPage.h"
#include "platform/sheet/PropertySheet.h"

class QListWidget;
class QPushButton;

namespace tvane::comm {

class CCommSetupSheet;

// "Select Instrument": the interfaces, the instruments a search found on the one
// selected, and the buttons that search, change its settings and show details.
class CCommPage1 final : public PropertyPage {
    Q_OBJECT

public:
    explicit CCommPage1(CCommSetupSheet& sheet);

    QListWidget* InterfaceList() const { return m_interfaces; }
    QListWidget* InstrumentList() const { return m_instruments; }
    QPushButton* SearchButton() const { return m_search; }
    QPushButton* ConnectButton() const { return m_connect; }
    QPushButton* SettingsButton() const { return m_settings; }
    QPushButton* DetailsButton() const { return m_details; }

    void Search(bool messages);

protected:
    void OnInitPage() override;

private:
    void InterfaceChosen(int index);
    void InstrumentChosen(int index);
    void ShowLines();
    void UpdateButtons();
    void ShowDetails();
    void ChangeSettings();
    void ConnectOrHangUp();

    CCommSetupSheet& m_sheet;
    QListWidget* m_interfaces = nullptr;
    QListWidget* m_instruments = nullptr;
    QPushButton* m_settings = nullptr;
    QPushButton* m_search = nullptr;
    QPushButton* m_connect = nullptr; // in the Search button's place for a modem
    QPushButton* m_details = nullptr;
};

// "Communication Setup": the modal sheet of the control's searches. While a search
// runs it cannot be closed.
class CCommSetupSheet final : public PropertySheet {
    Q_OBJECT

public:
    explicit CCommSetupSheet(const ICommSetupSheet::Request& request, QWidget* parent = nullptr);

    // Shows the sheet; the selection and the transport to adopt on OK.
    ICommSetupSheet::Result Run();

    CSetupPageModel& Model() { return m_model; }
    CCommPage1* Page1() const { return m_page; }
    bool IsBusy() const { return m_busy; }
    void SetBusy(bool busy) { m_busy = busy; }

    void accept() override;
    void reject() override;

private:
    CSetupPageModel m_model;
    CCommPage1* m_page = nullptr;
    ICommSetupSheet::Result m_result;
    bool m_busy = false;
};

} // namespace tvane::comm
