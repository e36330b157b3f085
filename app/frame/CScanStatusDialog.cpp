#include "app/frame/CScanStatusDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CScanStatusSummary.h"
#include "scan/CFXScan.h"
#include "shared/view/MfxFontQt.h"

CScanStatusDialog::CScanStatusDialog(CFXScan& scan, std::string interfaceName,
                                     bool setupInInstrument, QWidget* parent)
    : QDialog(parent), m_scan(scan), m_interface(std::move(interfaceName)),
      m_setupInInstrument(setupInInstrument) {
    setWindowTitle(QStringLiteral("Start Scanning - Scan Status"));
    m_list = new QListWidget(this);
    m_dontShow = new QCheckBox(QStringLiteral("&Don't show this dialog on subsequent runs."), this);
    m_settingsButton = new QPushButton(QStringLiteral("&Settings..."), this);
    m_start = new QPushButton(QStringLiteral("Start"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_start->setDefault(true);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_settingsButton);
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(cancel);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_list, 0, 0);
    layout->addLayout(buttons, 0, 1);
    layout->addWidget(m_dontShow, 1, 0, 1, 2);

    connect(m_start, &QPushButton::clicked, this, [this] {
        m_showAgain = m_dontShow->isChecked() ? 0 : 1;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_settingsButton, &QPushButton::clicked, this, [this] { OnSettings(); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { OnSettings(); });

    FillSummary();
    m_list->setFocus();
    ApplyDialogFont(this);
}

void CScanStatusDialog::FillSummary() {
    m_list->clear();
    for (const std::string& row :
         CScanStatusSummary::Rows(m_scan, m_interface, m_setupInInstrument)) {
        // The list's two tab stops become an indent and a column.
        QString text = QString::fromUtf8(row);
        text.replace(QLatin1Char('\t'), QStringLiteral("    "));
        m_list->addItem(text);
    }
}

void CScanStatusDialog::OnSettings() {
    if (m_settings)
        m_settings();
    FillSummary();
}
