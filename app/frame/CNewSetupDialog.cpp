#include "app/frame/CNewSetupDialog.h"

#include <QApplication>
#include <QStyle>

#include "platform/widgets/MfxCursor.h"
#include "platform/widgets/QtText.h"
#include "shared/view/MfxFontQt.h"
#include "ui_CNewSetupDialog.h"

using tvane::ToQString;
using tvane::ToUtf8;

CNewSetupDialog::CNewSetupDialog(NewSetupModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_ui(std::make_unique<Ui::CNewSetupDialog>()) {
    m_ui->setupUi(this);
    m_slots = {m_ui->slot1Combo, m_ui->slot2Combo, m_ui->slot3Combo};
    m_ui->icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    ApplyDialogFont(this);
    {
        tvane::CMfxWaitCursor wait;
        m_model.Init();
    }
    m_ui->nameEdit->setMaxLength(static_cast<int>(NewSetupModel::kNameLimit));
    m_ui->nameEdit->setText(ToQString(m_model.m_name));
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        for (const std::string& text : m_model.Descriptions())
            m_slots[i]->addItem(ToQString(text));
        connect(m_slots[i], &QComboBox::currentIndexChanged, this,
                [this, i](int index) { m_model.Select(static_cast<int>(i), index); });
    }
    ShowSelections();
    m_ui->okButton->setEnabled(m_model.OkEnabled());
    connect(m_ui->nameEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_model.EditName(ToUtf8(text));
        m_ui->okButton->setEnabled(m_model.OkEnabled());
    });
    connect(m_ui->setToInstrument, &QPushButton::clicked, this, [this] {
        {
            tvane::CMfxWaitCursor wait;
            m_model.SetToInstrument();
        }
        ShowSelections();
    });
    connect(m_ui->okButton, &QPushButton::clicked, this, &CNewSetupDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &CNewSetupDialog::reject);
    adjustSize();
}

CNewSetupDialog::~CNewSetupDialog() = default;

QLineEdit* CNewSetupDialog::NameEdit() const {
    return m_ui->nameEdit;
}

QComboBox* CNewSetupDialog::SlotList(int slot) const {
    return m_slots[static_cast<std::size_t>(slot)];
}

QPushButton* CNewSetupDialog::OkButton() const {
    return m_ui->okButton;
}

QPushButton* CNewSetupDialog::SetToInstrumentButton() const {
    return m_ui->setToInstrument;
}

void CNewSetupDialog::ShowSelections() {
    for (std::size_t i = 0; i < m_slots.size(); ++i)
        if (m_slots[i]->count() > 0)
            m_slots[i]->setCurrentIndex(m_model.Selection(static_cast<int>(i)));
    m_ui->setToInstrument->setEnabled(m_model.SetToInstrumentEnabled());
}

void CNewSetupDialog::accept() {
    m_model.EditName(ToUtf8(m_ui->nameEdit->text()));
    if (!m_model.OkEnabled())
        return;
    bool ok = false;
    {
        tvane::CMfxWaitCursor wait;
        ok = m_model.Accept();
    }
    if (ok)
        QDialog::accept();
}
