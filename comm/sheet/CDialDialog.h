#pragma once
#include <QDialog>

#include <memory>

#include "comm/DialSettingsModel.h"

namespace Ui {
class CDialDialog;
}
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tvane::comm {

// "Dial-up Modem Settings": the number to call, where it is dialled from and the modem
// to use. The rules are CDialSettingsModel's; the window shows them.
class CDialDialog final : public QDialog {
    Q_OBJECT

public:
    CDialDialog(const RememberedNumber& number, bool connectPath, QWidget* parent = nullptr);
    ~CDialDialog() override;

    // After OK: the number to remember and dial.
    const RememberedNumber& Number() const { return m_number; }
    CDialSettingsModel& Model() { return m_model; }

    QLineEdit* PhoneEdit() const;
    QLineEdit* AreaEdit() const;
    QComboBox* CountryList() const;
    QComboBox* LocationList() const;
    QComboBox* DeviceList() const;
    QLineEdit* DialableEdit() const;
    QPushButton* OkButton() const;
    QPushButton* ConfigureButton() const;
    QPushButton* PropertiesButton() const;

    void accept() override;
    void reject() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void FillLists();
    void Refresh();

    std::unique_ptr<Ui::CDialDialog> m_ui;
    CDialSettingsModel m_model;
    RememberedNumber m_number;
};

} // namespace tvane::comm
