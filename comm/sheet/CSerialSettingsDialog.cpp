#include "comm/sheet/CSerialSettingsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "comm/CRS232Interface.h"
#include "comm/sheet/CommDialogFont.h"

namespace tvane::comm {

namespace {

QComboBox* AddList(QWidget* dialog, QFormLayout* form, const char* label,
                   const std::vector<std::string>& items, int selected) {
    auto* list = new QComboBox(dialog);
    for (const std::string& item : items)
        list->addItem(QString::fromStdString(item));
    list->setCurrentIndex(selected);
    auto* caption = new QLabel(QString::fromLatin1(label), dialog);
    caption->setBuddy(list);
    form->addRow(caption, list);
    return list;
}

} // namespace

CSerialSettingsDialog::CSerialSettingsDialog(const Codes& codes, CRS232Interface& transport,
                                             QWidget* parent)
    : QDialog(parent), m_transport(transport), m_codes(codes) {
    setWindowTitle(QStringLiteral("Serial Port Settings"));
    const CSerialSettingsModel::Selection s = CSerialSettingsModel::Select(codes);
    auto* form = new QFormLayout;
    m_port = AddList(this, form, "&Port:", CSerialSettingsModel::PortItems(), s.port);
    m_speed = AddList(this, form, "&Speed:", CSerialSettingsModel::SpeedItems(), s.speed);
    m_parity = AddList(this, form, "Parity, &Bits:", CSerialSettingsModel::ParityItems(), s.parity);
    m_flow = AddList(this, form, "&Flow control: ", CSerialSettingsModel::FlowItems(), s.flow);
    m_test = new QPushButton(QStringLiteral("&Test these settings"), this);
    m_test->setAutoDefault(false);
    connect(m_test, &QPushButton::clicked, this, &CSerialSettingsDialog::Test);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSerialSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSerialSettingsDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_test);
    layout->addWidget(buttons);
    ApplyDialogFont(this);
    CentreDialog(this);
}

CSerialSettingsDialog::Codes CSerialSettingsDialog::GetCodes() const {
    return CSerialSettingsModel::Save({m_port->currentIndex(), m_speed->currentIndex(),
                                       m_parity->currentIndex(), m_flow->currentIndex()},
                                      m_codes);
}

void CSerialSettingsDialog::accept() {
    m_codes = GetCodes();
    QDialog::accept();
}

void CSerialSettingsDialog::Test() {
    m_codes = GetCodes();
    m_transport.TestSettings(m_codes.portIndex, m_codes.baud, m_codes.parity, m_codes.length,
                             m_codes.handshake, this);
}

} // namespace tvane::comm
