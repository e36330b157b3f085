#include "comm/sheet/CDialingPropertiesDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>

#include "comm/sheet/CommDialogFont.h"

namespace tvane::comm {

namespace {
QLineEdit* Edit(QWidget* parent, const std::string& text) {
    auto* edit = new QLineEdit(QString::fromStdString(text), parent);
    edit->setMaxLength(256);
    return edit;
}
} // namespace

CDialingPropertiesDialog::CDialingPropertiesDialog(
    const tapi::LineLocationEntry& location, const std::vector<tapi::LineCountryEntry>& countries,
    QWidget* parent)
    : QDialog(parent), m_location(location), m_countries(countries) {
    setWindowTitle(QStringLiteral("Dialing Properties"));
    m_name = Edit(this, location.name);
    m_country = new QComboBox(this);
    for (const tapi::LineCountryEntry& c : countries) {
        m_country->addItem(
            QStringLiteral("%1 (%2)").arg(QString::fromStdString(c.name)).arg(c.countryCode));
        if (c.countryCode == location.countryCode && m_country->currentIndex() < 1)
            m_country->setCurrentIndex(m_country->count() - 1);
    }
    m_area = Edit(this, location.cityCode);
    m_outside = Edit(this, location.localAccessCode);
    m_longDistance = Edit(this, location.longDistanceAccessCode);
    m_callWaiting = Edit(this, location.cancelCallWaiting);
    m_tone = new QRadioButton(QStringLiteral("&Tone dial"), this);
    m_pulse = new QRadioButton(QStringLiteral("&Pulse dial"), this);
    (location.pulseDialing ? m_pulse : m_tone)->setChecked(true);
    auto* mode = new QHBoxLayout;
    mode->addWidget(m_tone);
    mode->addWidget(m_pulse);
    mode->addStretch();

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("I am &dialing from:"), m_name);
    form->addRow(QStringLiteral("I am in &country:"), m_country);
    form->addRow(QStringLiteral("The &area code is:"), m_area);
    form->addRow(QStringLiteral("To access an &outside line, dial:"), m_outside);
    form->addRow(QStringLiteral("For &long distance, dial:"), m_longDistance);
    form->addRow(QStringLiteral("To disable call &waiting, dial:"), m_callWaiting);
    form->addRow(QStringLiteral("The phone system uses:"), mode);
    LayOutFormDialog(this, form);
}

tapi::LineLocationEntry CDialingPropertiesDialog::Location() const {
    tapi::LineLocationEntry l = m_location;
    l.name = m_name->text().trimmed().toStdString();
    if (l.name.empty())
        l.name = m_location.name;
    const int country = m_country->currentIndex();
    if (country >= 0)
        l.countryCode = m_countries[static_cast<std::size_t>(country)].countryCode;
    l.cityCode = m_area->text().trimmed().toStdString();
    l.localAccessCode = m_outside->text().trimmed().toStdString();
    l.longDistanceAccessCode = m_longDistance->text().trimmed().toStdString();
    l.cancelCallWaiting = m_callWaiting->text().trimmed().toStdString();
    l.pulseDialing = m_pulse->isChecked();
    return l;
}

} // namespace tvane::comm
