#pragma once
#include <QDialog>

#include <vector>

#include "platform/tapi/LineTypes.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace tvane::comm {

// "Dialing Properties": where the user dials from (the telephony layer's location):
// its name, country and area code, the codes for an outside line, for long distance
// and to turn call waiting off, and tone or pulse dialing.
class CDialingPropertiesDialog final : public QDialog {
    Q_OBJECT

public:
    CDialingPropertiesDialog(const tapi::LineLocationEntry& location,
                             const std::vector<tapi::LineCountryEntry>& countries,
                             QWidget* parent = nullptr);

    // The location as the controls show it.
    tapi::LineLocationEntry Location() const;

    QLineEdit* NameEdit() const { return m_name; }
    QComboBox* CountryList() const { return m_country; }
    QLineEdit* AreaEdit() const { return m_area; }
    QLineEdit* OutsideLineEdit() const { return m_outside; }
    QRadioButton* PulseButton() const { return m_pulse; }

private:
    tapi::LineLocationEntry m_location;
    std::vector<tapi::LineCountryEntry> m_countries;
    QLineEdit* m_name = nullptr;
    QComboBox* m_country = nullptr;
    QLineEdit* m_area = nullptr;
    QLineEdit* m_outside = nullptr;
    QLineEdit* m_longDistance = nullptr;
    QLineEdit* m_callWaiting = nullptr;
    QRadioButton* m_tone = nullptr;
    QRadioButton* m_pulse = nullptr;
};

} // namespace tvane::comm
