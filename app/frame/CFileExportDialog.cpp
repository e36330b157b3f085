#include "app/frame/CFileExportDialog.h"

#include <filesystem>

#include <QStringList>

#include "shared/view/MfxFontQt.h"

namespace {

// "Text (*.CSV,*.TXT)|*.csv;*.txt|All Files (*.*)|*.*||" as Qt name filters.
QStringList NameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        if (patterns == "*.*")
            patterns = "*";
        filters << parts[i] + " (" + patterns + ")";
    }
    return filters;
}

} // namespace

CFileExportDialog::CFileExportDialog(const std::string& title, const std::string& folder,
                                     const std::string& fileName, const std::string& filter,
                                     QWidget* parent)
    : QFileDialog(parent, QString::fromStdString(title)) {
    setOption(QFileDialog::DontUseNativeDialog);
    // An existing file is the export dialog's question, not this one's.
    setOption(QFileDialog::DontConfirmOverwrite);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setNameFilters(NameFilters(filter));
    const std::filesystem::path name(fileName);
    std::string directory = folder;
    if (name.has_parent_path() && std::filesystem::is_directory(name.parent_path()))
        directory = name.parent_path().string();
    if (!directory.empty())
        setDirectory(QString::fromStdString(directory));
    if (!fileName.empty())
        selectFile(QString::fromStdString(name.filename().string()));
    ApplyDialogFont(this);
}

bool CFileExportDialog::Choose(const std::string& title, const std::string& folder,
                               std::string& fileName, const std::string& filter, QWidget* parent) {
    CFileExportDialog dialog(title, folder, fileName, filter, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().front().toStdString();
    return true;
}
