#include "comm/sheet/CModemSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

#include "comm/sheet/CommDialogFont.h"

namespace tvane::comm {

namespace {
constexpr int kSpeeds[] = {2400, 4800, 9600, 19200, 38400, 57600, 115200};
constexpr int kMaxWaitSeconds = 255;
} // namespace

CModemSettingsDialog::CModemSettingsDialog(const QString& lineName,
                                           const tapi::ModemSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setWindowTitle(QStringLiteral("%1 Properties").arg(lineName));
    m_speed = new QComboBox(this);
    for (int speed : kSpeeds) {
        m_speed->addItem(QString::number(speed), speed);
        if (speed == settings.speed)
            m_speed->setCurrentIndex(m_speed->count() - 1);
    }
    m_flow = new QCheckBox(QStringLiteral("&Hardware flow control (RTS/CTS)"), this);
    m_flow->setChecked(settings.hardwareFlow);
    m_init = new QLineEdit(QString::fromStdString(settings.init), this);
    m_wait = new QSpinBox(this);
    m_wait->setRange(1, kMaxWaitSeconds);
    m_wait->setValue(settings.waitForCarrier);
    m_wait->setSuffix(QStringLiteral(" s"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Maximum &speed:"), m_speed);
    form->addRow(QString(), m_flow);
    form->addRow(QStringLiteral("&Initialization command:"), m_init);
    form->addRow(QStringLiteral("&Cancel the call if not connected within:"), m_wait);
    LayOutFormDialog(this, form);
}

tapi::ModemSettings CModemSettingsDialog::Settings() const {
    tapi::ModemSettings s = m_settings;
    if (m_speed->currentIndex() >= 0)
        s.speed = m_speed->currentData().toInt();
    s.hardwareFlow = m_flow->isChecked();
    const QString init = m_init->text().trimmed();
    if (!init.isEmpty())
        s.init = init.toStdString();
    s.waitForCarrier = m_wait->value();
    return s;
}

} // namespace tvane::comm
