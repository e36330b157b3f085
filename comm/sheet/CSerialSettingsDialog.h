#pragma once
#include <QDialog>

#include "comm/SerialSettingsModel.h"

class QComboBox;
class QPushButton;

namespace tvane::comm {

class CRS232Interface;

// "Serial Port Settings": port, speed, parity with word length, and flow control of
// the RS-232 transport; "Test these settings" tries them on the instrument.
class CSerialSettingsDialog final : public QDialog {
    Q_OBJECT

public:
    using Codes = CSerialSettingsModel::Codes;

    CSerialSettingsDialog(const Codes& codes, CRS232Interface& transport,
                          QWidget* parent = nullptr);

    // The codes of the controls; after OK the ones the user chose.
    Codes GetCodes() const;

    QComboBox* PortList() const { return m_port; }
    QComboBox* SpeedList() const { return m_speed; }
    QComboBox* ParityList() const { return m_parity; }
    QComboBox* FlowList() const { return m_flow; }
    QPushButton* TestButton() const { return m_test; }

    void accept() override;

private:
    void Test();

    CRS232Interface& m_transport;
    Codes m_codes;
    QComboBox* m_port = nullptr;
    QComboBox* m_speed = nullptr;
    QComboBox* m_parity = nullptr;
    QComboBox* m_flow = nullptr;
    QPushButton* m_test = nullptr;
};

} // namespace tvane::comm
