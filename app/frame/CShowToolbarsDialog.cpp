#include "app/frame/CShowToolbarsDialog.h"

#include "shared/view/MfxFontQt.h"
#include "ui_CShowToolbarsDialog.h"

CShowToolbarsDialog::CShowToolbarsDialog(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CShowToolbarsDialog>()) {
    m_ui->setupUi(this);
    ApplyDialogFont(this);
    connect(m_ui->okButton, &QPushButton::clicked, this, &CShowToolbarsDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &CShowToolbarsDialog::reject);
}

CShowToolbarsDialog::~CShowToolbarsDialog() = default;

QCheckBox* CShowToolbarsDialog::Box(Bar bar) const {
    switch (bar) {
    case Monitor:
        return m_ui->monitorCheck;
    case Graphics:
        return m_ui->graphicsCheck;
    case Standard:
        return m_ui->standardCheck;
    case StatusBar:
        return m_ui->statusCheck;
    default:
        return m_ui->controlCheck;
    }
}

int CShowToolbarsDialog::exec() {
    for (int i = 0; i < kBars; ++i)
        Box(static_cast<Bar>(i))->setChecked(m_show[static_cast<std::size_t>(i)]);
    return QDialog::exec();
}

void CShowToolbarsDialog::accept() {
    for (int i = 0; i < kBars; ++i)
        m_show[static_cast<std::size_t>(i)] = Box(static_cast<Bar>(i))->isChecked();
    QDialog::accept();
}

void RunShowToolbars(const std::array<QWidget*, CShowToolbarsDialog::kBars>& bars,
                     QWidget* parent) {
    CShowToolbarsDialog dialog(parent);
    std::array<bool, CShowToolbarsDialog::kBars> before{};
    for (std::size_t i = 0; i < bars.size(); ++i)
        before[i] = bars[i] != nullptr && !bars[i]->isHidden();
    dialog.m_show = before;
    if (dialog.exec() != QDialog::Accepted)
        return;
    for (std::size_t i = 0; i < bars.size(); ++i)
        if (bars[i] != nullptr && dialog.m_show[i] != before[i])
            bars[i]->setVisible(dialog.m_show[i]);
}
