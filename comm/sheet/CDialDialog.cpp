#include "comm/sheet/CDialDialog.h"

#include <QEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>

#include "comm/sheet/CommDialogFont.h"
#include "ui_CDialDialog.h"

namespace tvane::comm {

namespace {
constexpr int kIconSize = 32;
constexpr int kMinimumWidth = 420;

void Fill(QComboBox* list, const std::vector<std::string>& items, int selected) {
    const QSignalBlocker block(list);
    list->clear();
    for (const std::string& item : items)
        list->addItem(QString::fromStdString(item));
    list->setCurrentIndex(selected);
}
} // namespace

CDialDialog::CDialDialog(const RememberedNumber& number, bool connectPath, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CDialDialog>()), m_model(number, connectPath),
      m_number(number) {
    m_ui->setupUi(this);
    m_ui->deviceIcon->setPixmap(
        style()->standardIcon(QStyle::SP_DriveNetIcon).pixmap(kIconSize, kIconSize));
    m_model.Open(this);
    FillLists();
    m_ui->phoneEdit->setText(QString::fromStdString(m_model.PhoneNumber()));
    m_ui->areaEdit->setText(QString::fromStdString(m_model.AreaCode()));
    m_ui->useCountryCheck->setChecked(m_model.UseCountry());
    OkButton()->setText(QString::fromLatin1(m_model.OkText()));

    connect(m_ui->phoneEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.SetPhoneNumber(text.toStdString());
        Refresh();
    });
    connect(m_ui->areaEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.SetAreaCode(text.toStdString());
        Refresh();
    });
    connect(m_ui->useCountryCheck, &QCheckBox::toggled, this, [this](bool on) {
        m_model.SetUseCountry(on);
        Refresh();
    });
    connect(m_ui->countryCombo, &QComboBox::activated, this, [this](int index) {
        m_model.SelectCountry(index);
        Refresh();
    });
    connect(m_ui->locationCombo, &QComboBox::activated, this, [this](int index) {
        m_model.SelectLocation(index);
        FillLists();
        Refresh();
    });
    connect(m_ui->deviceCombo, &QComboBox::activated, this, [this](int index) {
        m_model.SelectDevice(index);
        Refresh();
    });
    connect(m_ui->propertiesButton, &QPushButton::clicked, this, [this] {
        m_model.DialingProperties();
        FillLists();
        Refresh();
    });
    connect(m_ui->configureButton, &QPushButton::clicked, this, [this] {
        m_model.ConfigureLine();
        Refresh();
    });
    connect(m_ui->buttons, &QDialogButtonBox::accepted, this, &CDialDialog::accept);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &CDialDialog::reject);
    Refresh();
    ApplyDialogFont(this);
    setMinimumWidth(kMinimumWidth);
    CentreDialog(this);
}

CDialDialog::~CDialDialog() = default;

QLineEdit* CDialDialog::PhoneEdit() const {
    return m_ui->phoneEdit;
}
QLineEdit* CDialDialog::AreaEdit() const {
    return m_ui->areaEdit;
}
QComboBox* CDialDialog::CountryList() const {
    return m_ui->countryCombo;
}
QComboBox* CDialDialog::LocationList() const {
    return m_ui->locationCombo;
}
QComboBox* CDialDialog::DeviceList() const {
    return m_ui->deviceCombo;
}
QLineEdit* CDialDialog::DialableEdit() const {
    return m_ui->dialableEdit;
}
QPushButton* CDialDialog::OkButton() const {
    return m_ui->buttons->button(QDialogButtonBox::Ok);
}
QPushButton* CDialDialog::ConfigureButton() const {
    return m_ui->configureButton;
}
QPushButton* CDialDialog::PropertiesButton() const {
    return m_ui->propertiesButton;
}

void CDialDialog::FillLists() {
    std::vector<std::string> devices;
    for (const ModemTelephony::LineDevice& d : m_model.Devices())
        devices.push_back(d.name);
    Fill(m_ui->deviceCombo, devices, m_model.SelectedDevice());
    Fill(m_ui->countryCombo, m_model.Countries(), m_model.SelectedCountry());
    Fill(m_ui->locationCombo, m_model.Locations(), m_model.SelectedLocation());
}

void CDialDialog::Refresh() {
    m_ui->canonicalEdit->setText(QString::fromStdString(m_model.Canonical()));
    m_ui->displayableEdit->setText(QString::fromStdString(m_model.Displayable()));
    m_ui->dialableEdit->setText(QString::fromStdString(m_model.Dialable()));
    m_ui->cardEdit->setText(QString::fromStdString(m_model.CallingCard()));
    // Country and area code only count with the box ticked.
    m_ui->countryCombo->setEnabled(m_model.UseCountry());
    m_ui->areaEdit->setEnabled(m_model.UseCountry());
    OkButton()->setEnabled(m_model.OkEnabled());
    m_ui->configureButton->setEnabled(m_model.ConfigureEnabled());
    m_ui->deviceIcon->setEnabled(m_model.ConfigureEnabled());
}

void CDialDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // Back from adding a modem: the list may have grown.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        const std::size_t before = m_model.Devices().size();
        m_model.Activate();
        if (m_model.Devices().size() != before) {
            FillLists();
            Refresh();
        }
    }
}

void CDialDialog::accept() {
    RememberedNumber number = m_number;
    if (!m_model.Accept(number))
        return;
    m_number = number;
    QDialog::accept();
}

void CDialDialog::reject() {
    m_model.Reject();
    QDialog::reject();
}

} // namespace tvane::comm
