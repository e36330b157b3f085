#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>

#include <QDialog>

#include "app/frame/CQmxTree.h"

class CWorkspace;
class IExportDocument;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SetupImporter;
struct CStateInfo;

// The file dialog of the transfer windows: (initial folder) -> the chosen path,
// empty when cancelled. Replaceable so that no test waits on a window.
using TransferFileChooser = std::function<std::string(QWidget* parent, const std::string& folder)>;

// "Transfer - Export": the workspace's setups and datasets in a tree; the
// selected setup (with all or none of its datasets) or dataset is written to
// an export file.
class CTransferExportDialog final : public QDialog {
public:
    enum ControlId {
        kPathEdit = 1055,
        kBrowse = 1312,
        kLastModified = 1264,
        kUser = 1265,
        kScans = 1266,
        kEvents = 1267,
        kDuration = 1268,
        kDescription = 1269,
        kAllDatasets = 1313,
    };

    struct Host {
        CStateInfo& state;
        IExportDocument& document;
        // Whether the named setup is stored with its setup file; may throw the
        // program's file exception.
        std::function<bool(const std::string& setup)> setupExists;
        // Saves the document's setup; afterwards the state names it.
        std::function<void()> saveSetup;
    };

    explicit CTransferExportDialog(Host host, QWidget* parent = nullptr);
    ~CTransferExportDialog() override;

    QLineEdit* PathEdit() const { return m_path; }
    QPushButton* BrowseButton() const { return m_browse; }
    QPushButton* ExportButton() const { return m_export; }
    QCheckBox* AllDatasetsCheck() const { return m_all; }
    QLabel* Info(int id) const { return m_info.at(id); }
    CQmxTree& Tree() { return m_tree; }
    // Selects the node of the setup (and dataset, when given); false when none.
    bool SelectNode(const std::string& setup, const std::string& dataset = {});

    TransferFileChooser chooseFile;

    void accept() override; // Export
    void reject() override; // Close

protected:
    bool event(QEvent* e) override;

private:
    void FillTree();
    void OnSelectionChanged();
    void OnBrowse();
    void ClearInfo();

    Host m_host;
    CQmxTree m_tree;
    QLineEdit* m_path = nullptr;
    QPushButton* m_browse = nullptr;
    QPushButton* m_export = nullptr;
    QCheckBox* m_all = nullptr;
    std::map<int, QLabel*> m_info;
    std::string m_workspace;
    std::string m_currentSetup;
};

// "Transfer - Import": the setup and datasets of an export file in a tree,
// shown from its index; the setup (with all or none of its datasets) or one
// dataset is added to the workspace.
class CTransferImportDialog final : public QDialog {
public:
    enum ControlId {
        kPathEdit = 1058,
        kBrowse = 1056,
        kPreview = 1057,
        kLastModified = 1059,
        kUser = 1060,
        kScans = 1061,
        kEvents = 1062,
        kDuration = 1063,
        kDescription = 1064,
        kAllDatasets = 1314,
    };

    CTransferImportDialog(CStateInfo& state, CWorkspace& workspace, QWidget* parent = nullptr);
    ~CTransferImportDialog() override;

    QLineEdit* PathEdit() const { return m_path; }
    QPushButton* PreviewButton() const { return m_preview; }
    QPushButton* ImportButton() const { return m_import; }
    QCheckBox* AllDatasetsCheck() const { return m_all; }
    QLabel* Info(int id) const { return m_info.at(id); }
    CQmxTree& Tree() { return m_tree; }
    bool SelectNode(const std::string& setup, const std::string& dataset = {});
    void Preview();

    TransferFileChooser chooseFile;

    void accept() override; // Import
    void reject() override; // Close

protected:
    bool event(QEvent* e) override;

private:
    void OnPathChanged();
    void OnSelectionChanged();
    void OnBrowse();
    void ClearInfo();

    CStateInfo& m_state;
    std::unique_ptr<SetupImporter> m_importer;
    CQmxTree m_tree;
    QLineEdit* m_path = nullptr;
    QPushButton* m_browse = nullptr;
    QPushButton* m_preview = nullptr;
    QPushButton* m_import = nullptr;
    QCheckBox* m_all = nullptr;
    std::map<int, QLabel*> m_info;
    std::string m_workspace;
};

class CLoggerDoc;

// The Export Setups and Import Setups commands: the window, modal over parent,
// while no scan runs.
void RunExportSetups(CLoggerDoc& doc, CStateInfo& state, CWorkspace& workspace, QWidget* parent);
void RunImportSetups(CLoggerDoc& doc, CStateInfo& state, CWorkspace& workspace, QWidget* parent);
