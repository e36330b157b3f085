#pragma once
#include <QDialog>

#include "platform/tapi/LineTypes.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace tvane::comm {

// The modem's properties (the telephony layer's line configuration): the port speed
// and flow control, the command that prepares the modem, and how long a call may
// take to connect.
class CModemSettingsDialog final : public QDialog {
    Q_OBJECT

public:
    CModemSettingsDialog(const QString& lineName, const tapi::ModemSettings& settings,
                         QWidget* parent = nullptr);

    tapi::ModemSettings Settings() const;

    QComboBox* SpeedList() const { return m_speed; }
    QLineEdit* InitEdit() const { return m_init; }
    QSpinBox* WaitSpin() const { return m_wait; }

private:
    tapi::ModemSettings m_settings;
    QComboBox* m_speed = nullptr;
    QCheckBox* m_flow = nullptr;
    QLineEdit* m_init = nullptr;
    QSpinBox* m_wait = nullptr;
};

} // namespace tvane::comm
