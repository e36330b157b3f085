#include "tools/restore/dialog/RestoreDialog.h"

#include <exception>

#include <QStyle>

#include "tools/restore/RestoreTexts.h"
#include "ui_RestoreDialog.h"

namespace texts = restore_texts;

RestoreDialog::RestoreDialog(DatabaseRestore& restore, tvane::IPrompter& prompter, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::RestoreDialog>()), m_restore(restore),
      m_prompter(prompter) {
    m_ui->setupUi(this);
    setWindowTitle(QString::fromUtf8(texts::kCaption));
    m_ui->introLabel->setText(QString::fromUtf8(texts::kIntroduction));
    m_ui->databasePathLabel->setText(QString::fromUtf8(texts::kDatabasePathLabel));
    m_ui->missingLabel->setText(QString::fromUtf8(texts::kMissingListLabel));
    m_ui->instructionsLabel->setText(QString::fromUtf8(texts::kInstructions));
    m_ui->restoreButton->setText(QString::fromUtf8(texts::kRestoreButton));
    m_ui->exitButton->setText(QString::fromUtf8(texts::kExitButton));

    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    setWindowIcon(icon);
    m_ui->iconLabel->setPixmap(icon.pixmap(32, 32));

    connect(m_ui->restoreButton, &QPushButton::clicked, this, &RestoreDialog::OnRestore);
    connect(m_ui->exitButton, &QPushButton::clicked, this, &RestoreDialog::reject);
    OnInitDialog();
}

RestoreDialog::~RestoreDialog() = default;

void RestoreDialog::OnInitDialog() {
    m_ui->restoreButton->setEnabled(false);
    if (!m_restore.OpenDatabase())
        return;
    m_ui->databasePath->setText(QString::fromUtf8(m_restore.DatabasePath()));
    try {
        m_restore.Scan();
    } catch (const std::exception& e) {
        ReportException(e);
    }
    ShowScan();
}

void RestoreDialog::OnRestore() {
    try {
        m_restore.Restore();
    } catch (const std::exception& e) {
        ReportException(e);
    }
    m_ui->restoreButton->setEnabled(m_restore.CanRestore());
}

void RestoreDialog::ShowScan() {
    m_ui->fileList->clear();
    for (const std::string& name : m_restore.Files())
        m_ui->fileList->addItem(QString::fromUtf8(name));
    m_ui->missingList->clear();
    for (const MissingDataset& missing : m_restore.Missing())
        m_ui->missingList->addItem(QString::fromUtf8(missing.Text()));
    m_ui->restoreButton->setEnabled(m_restore.CanRestore());
}

// A failure that ended a scan or a restore (a database failure while a table
// was walked): the framework's report of it.
void RestoreDialog::ReportException(const std::exception& e) {
    tvane::MessageRequest request;
    request.text = e.what();
    request.caption = texts::kProgramName;
    request.icon = tvane::MsgIcon::Error;
    m_prompter.Ask(request);
}

void RestoreDialog::reject() {
    m_restore.Close();
    QDialog::reject();
}
