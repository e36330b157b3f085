#include "driver/sheet/CRenameStateDialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "driver/CInstStateModel.h"
#include "driver/sheet/SheetDialogFont.h"
#include "platform/ui/Prompter.h"

namespace tvane::driver {

CRenameStateDialog::CRenameStateDialog(const QString& name, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Rename State"));
    m_name = new QLineEdit(this);
    m_name->setMaxLength(static_cast<int>(CInstStateModel::kMaxNameLength));
    m_name->setText(name);
    m_name->selectAll();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRenameStateDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRenameStateDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_name);
    layout->addWidget(buttons);
    SetDialogFont(this);
}

QString CRenameStateDialog::Name() const {
    return m_name->text();
}

void CRenameStateDialog::accept() {
    const std::string error = CInstStateModel::NameError(Name().toStdString());
    if (!error.empty()) {
        ShowMessage(error, MsgButtons::Ok, MsgIcon::Warning);
        m_name->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace tvane::driver
