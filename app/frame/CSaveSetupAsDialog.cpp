#include "app/frame/CSaveSetupAsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/ui/Prompter.h"
#include "platform/widgets/QtText.h"

namespace {

using tvane::ToQString;
using tvane::ToUtf8;

} // namespace

CSaveSetupAsDialog::CSaveSetupAsDialog(SaveSetupAsFields& fields,
                                       SaveSetupAsModel::SetupLookup lookup, QWidget* parent)
    : QDialog(parent),
      m_model(std::make_unique<SaveSetupAsModel>(fields, std::move(lookup), tvane::Prompter())) {
    setWindowTitle("Save Setup As");
    auto* layout = new QVBoxLayout(this);
    auto* question = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    question->addWidget(icon);
    question->addWidget(new QLabel(
        "Changes conflict with setup's associated dataset(s).  What would you like to do?", this));
    layout->addLayout(question);
    m_createNew =
        new QRadioButton("&Create a new setup and preserve existing setup/dataset(s).", this);
    m_overwrite =
        new QRadioButton("&Overwrite existing setup and remove all associated datasets.", this);
    layout->addWidget(m_createNew);
    layout->addWidget(m_overwrite);

    auto* form = new QFormLayout;
    m_name = new QLineEdit(this);
    m_name->setMaxLength(static_cast<int>(SaveSetupAsModel::kNameLimit));
    m_lastModified = new QLineEdit(this);
    m_lastModified->setMaxLength(static_cast<int>(SaveSetupAsModel::kLastModifiedLimit));
    m_lastModified->setReadOnly(true);
    m_user = new QLineEdit(this);
    m_user->setMaxLength(static_cast<int>(SaveSetupAsModel::kUserLimit));
    m_description = new QPlainTextEdit(this);
    form->addRow("&Name:", m_name);
    form->addRow("Last Modified:", m_lastModified);
    form->addRow("By &User:", m_user);
    form->addRow("&Description:", m_description);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { accept(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { reject(); });

    m_model->Init();
    ShowModel();
    m_user->setText(ToQString(m_model->UserText()));
    m_description->setPlainText(ToQString(m_model->DescriptionText()));
    m_lastModified->setText(ToQString(m_model->LastModifiedText()));

    connect(m_createNew, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            m_model->SelectCreateNew();
            ShowModel();
        }
    });
    connect(m_overwrite, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            m_model->SelectOverwrite();
            ShowModel();
        }
    });
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model->EditName(ToUtf8(text));
        m_ok->setEnabled(m_model->OkEnabled());
    });
}

CSaveSetupAsDialog::~CSaveSetupAsDialog() = default;

void CSaveSetupAsDialog::ShowModel() {
    m_createNew->setChecked(m_model->CreateNew());
    m_overwrite->setChecked(!m_model->CreateNew());
    m_name->setText(ToQString(m_model->NameText()));
    m_name->setEnabled(m_model->NameEnabled());
    m_ok->setEnabled(m_model->OkEnabled());
    if (m_model->GetFocus() == SaveSetupAsModel::Focus::Name)
        m_name->setFocus();
    else
        m_ok->setFocus();
}

void CSaveSetupAsDialog::accept() {
    m_model->EditUser(ToUtf8(m_user->text()));
    m_model->EditDescription(ToUtf8(m_description->toPlainText()));
    if (!m_model->Accept()) {
        m_name->setFocus();
        return;
    }
    QDialog::accept();
}

bool QtSaveSetupAsDialog::Run(SaveSetupAsFields& fields) {
    CSaveSetupAsDialog dialog(fields, m_lookup, m_parent);
    return dialog.exec() == QDialog::Accepted;
}
