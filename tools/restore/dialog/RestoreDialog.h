#pragma once
#include <memory>

#include <QDialog>

#include "tools/restore/DatabaseRestore.h"

namespace Ui {
class RestoreDialog;
}

// The restore utility's one dialog: the database path, the data directory's
// dataset files, the datasets missing from the database, Restore and Exit. It
// opens the database and scans as it is made.
class RestoreDialog : public QDialog {
    Q_OBJECT
public:
    explicit RestoreDialog(DatabaseRestore& restore, tvane::IPrompter& prompter = tvane::Prompter(),
                           QWidget* parent = nullptr);
    ~RestoreDialog() override;

    // Exit: closes the tables and the database, then the dialog.
    void reject() override;

private:
    void OnInitDialog();
    void OnRestore();
    void ShowScan();
    void ReportException(const std::exception& e);

    std::unique_ptr<Ui::RestoreDialog> m_ui;
    DatabaseRestore& m_restore;
    tvane::IPrompter& m_prompter;
};
