#pragma once
#include <array>
#include <memory>

#include <QDialog>

#include "app/NewSetupModel.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace Ui {
class CNewSetupDialog;
}

// "New Setup": the name of a new setup and the module of each slot. The rules
// live in NewSetupModel; the caller fills its name and the setup in use and
// reads the name and the three modules after OK.
class CNewSetupDialog final : public QDialog {
public:
    explicit CNewSetupDialog(NewSetupModel& model, QWidget* parent = nullptr);
    ~CNewSetupDialog() override;

    QLineEdit* NameEdit() const;
    QComboBox* SlotList(int slot) const;
    QPushButton* OkButton() const;
    QPushButton* SetToInstrumentButton() const;

    void accept() override;

private:
    void ShowSelections();

    NewSetupModel& m_model;
    std::unique_ptr<Ui::CNewSetupDialog> m_ui;
    std::array<QComboBox*, 3> m_slots{};
};
