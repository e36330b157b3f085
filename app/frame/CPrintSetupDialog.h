#pragma once
#include <memory>

#include <QDialog>

class QComboBox;
class QPushButton;
class QRadioButton;

namespace tvane {
class PrintSetupModel;
}

namespace Ui {
class CPrintSetupDialog;
}

// "Print Setup": the printer (when the print system offers any), the paper
// and the orientation every print starts from. The choices and OK are the
// model's.
class CPrintSetupDialog final : public QDialog {
public:
    explicit CPrintSetupDialog(tvane::PrintSetupModel& model, QWidget* parent = nullptr);
    ~CPrintSetupDialog() override;

    QComboBox* PrinterCombo() const;
    QComboBox* PaperCombo() const;
    QRadioButton* PortraitRadio() const;
    QRadioButton* LandscapeRadio() const;
    QPushButton* OkButton() const;
    QPushButton* CancelButton() const;

    void accept() override;

private:
    tvane::PrintSetupModel& m_model;
    std::unique_ptr<Ui::CPrintSetupDialog> m_ui;
};

// The Print Setup command: the dialog over the program's print settings.
void RunPrintSetup(QWidget* parent);
