#pragma once
#include <QDialog>

#include "comm/InterfaceSettingsModel.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tvane::comm {

// "Interface Settings" ("LAN/GPIB Gateway Settings" in the LAN form): which bus
// addresses of each controller are searched, and where the gateway is.
class CInterfaceSettingsDialog final : public QDialog {
    Q_OBJECT

public:
    using Settings = CInterfaceSettingsModel::Settings;

    explicit CInterfaceSettingsDialog(const Settings& settings, QWidget* parent = nullptr);

    // The settings as edited; meaningful after OK.
    const Settings& Result() const { return m_model.Result(); }

    QComboBox* ControllerList() const { return m_controllers; }
    QListWidget* AddressList() const { return m_addresses; }
    QLineEdit* IpAddressEdit() const { return m_ipAddress; }
    QLineEdit* GatewayNameEdit() const { return m_gatewayName; }
    QPushButton* SelectAllButton() const { return m_selectAll; }
    QPushButton* UnselectAllButton() const { return m_unselectAll; }

    void accept() override;

private:
    void Fill();
    void StoreMarks();
    void MarkAll(bool marked);
    void ControllerChosen(int index);
    void GatewayEdited();

    CInterfaceSettingsModel m_model;
    QComboBox* m_controllers = nullptr;
    QListWidget* m_addresses = nullptr;
    QLabel* m_ipLabel = nullptr;
    QLineEdit* m_ipAddress = nullptr;
    QLabel* m_gatewayLabel = nullptr;
    QLineEdit* m_gatewayName = nullptr;
    QPushButton* m_selectAll = nullptr;
    QPushButton* m_unselectAll = nullptr;
};

} // namespace tvane::comm
