#pragma once
#include <memory>

#include <QDialog>

namespace Ui {
class StrainEquationDialog;
}

// "Strain Equation Constants": gage factor and the unstrained bridge's output
// and excitation voltages, each checked against its range on OK.
class CStrainEquationDlg final : public QDialog {
    Q_OBJECT
public:
    explicit CStrainEquationDlg(QWidget* parent = nullptr);
    ~CStrainEquationDlg() override;

    double m_output = 0.0;     // -1000 to 1000
    double m_gageFactor = 2.0; // 0.001 to 10000
    double m_excitation = 5.0; // 0.01 to 1000

    int exec() override;
    void accept() override;
    Ui::StrainEquationDialog& Controls() { return *m_ui; }

private:
    std::unique_ptr<Ui::StrainEquationDialog> m_ui;
};
