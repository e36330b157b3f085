#include "app/frame/CUploadDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/CUploadDialogModel.h"
#include "shared/view/MfxFontQt.h"

CUploadDlg::CUploadDlg(CUploadDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle("Upload");
    auto* layout = new QVBoxLayout(this);

    auto* instrument = new QFormLayout;
    static const char* const slotNames[3] = {"100:", "200:", "300:"};
    for (int i = 0; i < 3; ++i) {
        m_slots[i] = new QLabel(this);
        instrument->addRow(slotNames[i], m_slots[i]);
    }
    m_scanningText = new QLabel(this);
    m_readingsText = new QLabel(this);
    instrument->addRow("Scan in progress:", m_scanningText);
    instrument->addRow("Readings in instrument memory:", m_readingsText);
    layout->addLayout(instrument);

    auto* setupBox = new QGroupBox(this);
    auto* setupLayout = new QVBoxLayout(setupBox);
    m_newSetup = new QRadioButton("Ne&w Setup", setupBox);
    m_currentSetup = new QRadioButton("C&urrent Setup", setupBox);
    setupLayout->addWidget(m_newSetup);
    setupLayout->addWidget(m_currentSetup);
    auto* nameRow = new QFormLayout;
    m_name = new QLineEdit(setupBox);
    m_name->setMaxLength(static_cast<int>(CUploadDialogModel::kMaxNameLength));
    nameRow->addRow("&Name:", m_name);
    setupLayout->addLayout(nameRow);
    layout->addWidget(setupBox);

    auto* scanBox = new QGroupBox(this);
    auto* scanLayout = new QVBoxLayout(scanBox);
    m_stop = new QRadioButton("&Stop Scanning", scanBox);
    m_continue = new QRadioButton("&Continue Scanning", scanBox);
    scanLayout->addWidget(m_stop);
    scanLayout->addWidget(m_continue);
    layout->addWidget(scanBox);

    m_includeData = new QCheckBox("&Include data in upload?", this);
    layout->addWidget(m_includeData);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    for (int i = 0; i < 3; ++i)
        m_slots[i]->setText(QString::fromStdString(model.slotTexts[i]));
    m_scanningText->setText(QString::fromStdString(model.scanningText));
    m_readingsText->setText(QString::fromStdString(model.readingsText));

    connect(m_newSetup, &QRadioButton::clicked, this, [this] {
        m_model.OnNewSetup();
        Mirror();
    });
    connect(m_currentSetup, &QRadioButton::clicked, this, [this] {
        m_model.OnCurrentSetup();
        Mirror();
    });
    connect(m_stop, &QRadioButton::clicked, this, [this] {
        m_model.OnStopScanning();
        Mirror();
    });
    connect(m_continue, &QRadioButton::clicked, this, [this] {
        m_model.OnContinueScanning();
        Mirror();
    });
    connect(m_includeData, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_mirroring)
            m_model.includeData = on;
    });
    connect(m_name, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_model.SetName(text.toStdString()); });
    Mirror();
    ApplyDialogFont(this);
}

void CUploadDlg::Mirror() {
    m_mirroring = true;
    const QSignalBlocker blockName(m_name);
    m_newSetup->setEnabled(m_model.newSetupEnabled);
    m_currentSetup->setEnabled(m_model.currentSetupEnabled);
    // Both unselected is a state the model can hold; exclusivity would refuse it.
    for (QRadioButton* button : {m_newSetup, m_currentSetup, m_stop, m_continue})
        button->setAutoExclusive(false);
    m_newSetup->setChecked(m_model.newSetupSelected);
    m_currentSetup->setChecked(!m_model.newSetupSelected);
    m_stop->setEnabled(m_model.stopEnabled);
    m_continue->setEnabled(m_model.continueEnabled);
    m_continue->setChecked(m_model.scanning && m_model.continueSelected);
    m_stop->setChecked(m_model.scanning && !m_model.continueSelected);
    for (QRadioButton* button : {m_newSetup, m_currentSetup, m_stop, m_continue})
        button->setAutoExclusive(true);
    m_name->setText(QString::fromStdString(m_model.name));
    m_name->setEnabled(m_model.nameEnabled);
    m_includeData->setChecked(m_model.includeData);
    m_includeData->setEnabled(m_model.includeDataEnabled);
    m_mirroring = false;
}

void CUploadDlg::accept() {
    // An empty name keeps the dialog open after the model's message.
    if (m_model.OnOk())
        QDialog::accept();
}
