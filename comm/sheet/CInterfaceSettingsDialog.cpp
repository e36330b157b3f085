#include "comm/sheet/CInterfaceSettingsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "comm/sheet/CommDialogFont.h"

namespace tvane::comm {

namespace {

QLabel* Caption(const char* text, QWidget* buddy, QWidget* dialog) {
    auto* label = new QLabel(QString::fromLatin1(text), dialog);
    label->setBuddy(buddy);
    return label;
}

QLabel* Explanation(const char* text, QWidget* dialog) {
    auto* label = new QLabel(QString::fromLatin1(text), dialog);
    label->setWordWrap(true);
    return label;
}

} // namespace

CInterfaceSettingsDialog::CInterfaceSettingsDialog(const Settings& settings, QWidget* parent)
    : QDialog(parent), m_model(settings) {
    setWindowTitle(QString::fromStdString(m_model.Title()));

    m_controllers = new QComboBox(this);
    for (const std::string& name : m_model.Names())
        m_controllers->addItem(QString::fromStdString(name));
    m_addresses = new QListWidget(this);
    m_ipAddress = new QLineEdit(QString::fromStdString(settings.ipAddress), this);
    m_gatewayName = new QLineEdit(QString::fromStdString(settings.gatewayName), this);
    m_ipLabel = Caption("&IP address or hostname:", m_ipAddress, this);
    m_gatewayLabel = Caption("&GPIB name:", m_gatewayName, this);
    m_selectAll = new QPushButton(QStringLiteral("&Select All"), this);
    m_unselectAll = new QPushButton(QStringLiteral("&Unselect All"), this);
    for (QPushButton* b : {m_selectAll, m_unselectAll})
        b->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* grid = new QGridLayout;
    grid->addWidget(Caption("Interface &name:", m_controllers, this), 0, 0);
    grid->addWidget(m_controllers, 0, 1);
    grid->addWidget(m_ipLabel, 1, 0);
    grid->addWidget(m_ipAddress, 1, 1);
    grid->addWidget(m_gatewayLabel, 2, 0);
    grid->addWidget(m_gatewayName, 2, 1);
    auto* marks = new QHBoxLayout;
    marks->addWidget(m_selectAll);
    marks->addWidget(m_unselectAll);
    marks->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Explanation("Quillmark normally searches all valid device addresses for "
                                  "each installed interface controller by sending a serial poll "
                                  "and identification query (*IDN?)",
                                  this));
    layout->addWidget(Explanation("The Addresses list allows you to control which addresses are "
                                  "searched in case you have any non-IEEE488.2 devices attached "
                                  "or want to speed up instrument searches.",
                                  this));
    layout->addLayout(grid);
    layout->addWidget(Caption("&Addresses to search:", m_addresses, this));
    layout->addWidget(m_addresses);
    layout->addLayout(marks);
    layout->addWidget(buttons);

    // Only a gateway has a host and a GPIB name.
    for (QWidget* w : {static_cast<QWidget*>(m_ipLabel), static_cast<QWidget*>(m_ipAddress),
                       static_cast<QWidget*>(m_gatewayLabel), static_cast<QWidget*>(m_gatewayName)})
        w->setVisible(m_model.IsLan());

    m_controllers->setCurrentIndex(m_model.Names().empty() ? -1 : 0);
    Fill();
    connect(m_controllers, &QComboBox::currentIndexChanged, this,
            &CInterfaceSettingsDialog::ControllerChosen);
    connect(m_ipAddress, &QLineEdit::textEdited, this, &CInterfaceSettingsDialog::GatewayEdited);
    connect(m_gatewayName, &QLineEdit::textEdited, this, &CInterfaceSettingsDialog::GatewayEdited);
    connect(m_selectAll, &QPushButton::clicked, this, [this] { MarkAll(true); });
    connect(m_unselectAll, &QPushButton::clicked, this, [this] { MarkAll(false); });
    connect(buttons, &QDialogButtonBox::accepted, this, &CInterfaceSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CInterfaceSettingsDialog::reject);
    ApplyDialogFont(this);
    CentreDialog(this);
}

void CInterfaceSettingsDialog::Fill() {
    m_addresses->clear();
    const std::vector<std::string> lines = m_model.Lines();
    const std::vector<bool> marks = m_model.Marks();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(lines[i]), m_addresses);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(i < marks.size() && marks[i] ? Qt::Checked : Qt::Unchecked);
    }
}

void CInterfaceSettingsDialog::StoreMarks() {
    std::vector<bool> marks;
    for (int i = 0; i < m_addresses->count(); ++i)
        marks.push_back(m_addresses->item(i)->checkState() == Qt::Checked);
    m_model.Store(marks);
}

void CInterfaceSettingsDialog::MarkAll(bool marked) {
    for (int i = 0; i < m_addresses->count(); ++i)
        m_addresses->item(i)->setCheckState(marked ? Qt::Checked : Qt::Unchecked);
}

void CInterfaceSettingsDialog::ControllerChosen(int index) {
    StoreMarks();
    m_model.Show(index);
    Fill();
}

void CInterfaceSettingsDialog::GatewayEdited() {
    StoreMarks();
    m_model.SetIpAddress(m_ipAddress->text().toStdString());
    m_model.SetGatewayName(m_gatewayName->text().toStdString());
    Fill();
}

void CInterfaceSettingsDialog::accept() {
    StoreMarks();
    if (m_model.IsLan()) {
        m_model.SetIpAddress(m_ipAddress->text().toStdString());
        m_model.SetGatewayName(m_gatewayName->text().toStdString());
    }
    QDialog::accept();
}

} // namespace tvane::comm
