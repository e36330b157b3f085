#include "setup/view/CStrainEquationDlg.h"

#include "platform/core/Format.h"
#include "platform/widgets/QtText.h"
#include "setup/view/SheetControls.h"
#include "ui_StrainEquationDialog.h"

using tvane::ToQString;
using tvane::ToUtf8;

CStrainEquationDlg::CStrainEquationDlg(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::StrainEquationDialog>()) {
    m_ui->setupUi(this);
    connect(m_ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

CStrainEquationDlg::~CStrainEquationDlg() = default;

int CStrainEquationDlg::exec() {
    m_ui->outputEdit->setText(ToQString(tvane::Format("%g", m_output)));
    m_ui->gageEdit->setText(ToQString(tvane::Format("%g", m_gageFactor)));
    m_ui->excitationEdit->setText(ToQString(tvane::Format("%g", m_excitation)));
    return QDialog::exec();
}

void CStrainEquationDlg::accept() {
    struct Value {
        QLineEdit* edit;
        double low, high;
        double* value;
    };
    const Value values[] = {
        {m_ui->gageEdit, 0.001, 10000.0, &m_gageFactor},
        {m_ui->outputEdit, -1000.0, 1000.0, &m_output},
        {m_ui->excitationEdit, 0.01, 1000.0, &m_excitation},
    };
    double read[3] = {};
    for (int i = 0; i < 3; ++i) {
        const Value& v = values[i];
        if (!sheetui::ReadNumber(ToUtf8(v.edit->text()), read[i])) {
            sheetui::Refuse("Please enter a number.", "Tvane", tvane::MsgIcon::Warning, v.edit);
            return;
        }
        if (read[i] < v.low || read[i] > v.high) {
            sheetui::Refuse(
                tvane::Format("Please enter a number between %g and %g.", v.low, v.high), "Tvane",
                tvane::MsgIcon::Warning, v.edit);
            return;
        }
    }
    for (int i = 0; i < 3; ++i)
        *values[i].value = read[i];
    QDialog::accept();
}
