#pragma once
#include <string>

#include <QFileDialog>

// The save dialog of export files: the program's own, not the desktop's, so it
// looks the same everywhere and can be driven like any other window.
class CFileExportDialog final : public QFileDialog {
public:
    // filter is in the "Name|patterns|Name|patterns||" form of the export dialogs.
    CFileExportDialog(const std::string& title, const std::string& folder,
                      const std::string& fileName, const std::string& filter,
                      QWidget* parent = nullptr);

    // Runs the dialog; true with the chosen path for OK.
    static bool Choose(const std::string& title, const std::string& folder, std::string& fileName,
                       const std::string& filter, QWidget* parent);
};
