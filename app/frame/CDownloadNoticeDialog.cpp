#include "app/frame/CDownloadNoticeDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/IDocumentInstrument.h"
#include "shared/view/MfxFontQt.h"

CDownloadNoticeDialog::CDownloadNoticeDialog(CDownloadNotice& notice, QWidget* parent)
    : QDialog(parent), m_notice(notice) {
    setWindowTitle("Download Setup Notice");
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* conditions = new QVBoxLayout;
    conditions->addWidget(
        new QLabel("Tallyvane has detected the following instrument conditions :", this));
    // The conditions are shown, not edited.
    m_scanning = new QCheckBox("Scan in progress", this);
    m_stored = new QCheckBox("Stored data", this);
    for (QCheckBox* box : {m_scanning, m_stored}) {
        box->setEnabled(false);
        conditions->addWidget(box);
    }
    top->addLayout(conditions);
    layout->addLayout(top);
    layout->addWidget(new QLabel("What would you like to do?", this));
    m_continue = new QRadioButton("&Continue with the Download operation", this);
    m_upload = new QRadioButton("&Upload instrument configuration with or without data", this);
    layout->addWidget(m_continue);
    layout->addWidget(m_upload);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    m_scanning->setChecked(notice.scanInProgress);
    m_stored->setChecked(notice.storedData);
    (notice.continueSelected ? m_continue : m_upload)->setChecked(true);
    ApplyDialogFont(this);
}

void CDownloadNoticeDialog::accept() {
    m_notice.continueSelected = m_continue->isChecked();
    m_notice.OnOk();
    QDialog::accept();
}
