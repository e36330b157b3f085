#include "app/frame/CSaveSetupDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include "platform/ui/Prompter.h"
#include "platform/widgets/QtText.h"
#include "shared/view/MfxFontQt.h"

namespace {

using tvane::ToQString;
using tvane::ToUtf8;

} // namespace

CSaveSetupDialog::CSaveSetupDialog(SaveSetupModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_name = new QLineEdit(this);
    m_name->setMaxLength(static_cast<int>(SaveSetupModel::kNameLimit));
    m_lastModified = new QLineEdit(this);
    m_lastModified->setMaxLength(static_cast<int>(SaveSetupModel::kLastModifiedLimit));
    m_lastModified->setEnabled(false);
    m_user = new QLineEdit(this);
    m_user->setMaxLength(static_cast<int>(SaveSetupModel::kUserLimit));
    m_description = new QPlainTextEdit(this);
    m_description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    form->addRow("&Name:", m_name);
    form->addRow("Last Modified:", m_lastModified);
    form->addRow("By &User:", m_user);
    form->addRow("&Description:", m_description);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { accept(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { reject(); });
    ApplyDialogFont(this);

    m_model.Init();
    setWindowTitle(ToQString(m_model.m_caption));
    m_name->setText(ToQString(m_model.m_name));
    m_lastModified->setText(ToQString(m_model.m_lastModified));
    m_user->setText(ToQString(m_model.m_user));
    m_description->setPlainText(ToQString(m_model.m_description));
    m_ok->setEnabled(m_model.OkEnabled());

    connect(m_name, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_model.EditName(ToUtf8(text));
        m_ok->setEnabled(m_model.OkEnabled());
    });
    // A plain text edit has no length limit of its own: text past the limit is cut.
    connect(m_description, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = m_description->toPlainText();
        if (text.size() <= static_cast<qsizetype>(SaveSetupModel::kDescriptionLimit))
            return;
        m_description->setPlainText(text.left(SaveSetupModel::kDescriptionLimit));
        m_description->moveCursor(QTextCursor::End);
    });
    m_name->setFocus();
}

CSaveSetupDialog::~CSaveSetupDialog() = default;

void CSaveSetupDialog::accept() {
    m_model.EditUser(ToUtf8(m_user->text()));
    m_model.EditDescription(ToUtf8(m_description->toPlainText()));
    if (!m_model.Accept()) {
        m_name->setFocus();
        return;
    }
    QDialog::accept();
}

bool QtSaveSetupDialog::Run(SavePropertiesFields& fields) {
    SaveSetupModel model(m_lookups, tvane::Prompter());
    model.m_kind = fields.kind;
    model.m_caption = fields.title;
    if (fields.kind == SaveSetupModel::Dataset) {
        model.m_setupName = fields.setupName;
        model.m_datasetName = fields.name;
    } else {
        model.m_setupName = fields.name;
    }
    model.m_lastModified = fields.lastModified;
    model.m_user = fields.user;
    model.m_description = fields.note;
    CSaveSetupDialog dialog(model, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    fields.name = model.m_name;
    fields.user = model.m_user;
    fields.note = model.m_description;
    fields.lastModified = model.m_lastModified;
    return true;
}
