#include "app/frame/CTransferDialogs.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <filesystem>
#include <system_error>
#include <vector>

#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CLoggerDoc.h"
#include "app/TransferDocument.h"
#include "database/CRSBase.h"
#include "database/CRSDataset.h"
#include "database/CRSSetup.h"
#include "database/CStateInfo.h"
#include "database/CWorkspace.h"
#include "database/ExportIndexReader.h"
#include "database/IExportDocument.h"
#include "database/SetupTransfer.h"
#include "database/WorkspaceTree.h"
#include "platform/core/Format.h"
#include "platform/tree/TreeControl.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/QtText.h"
#include "scan/ValueFormat.h"
#include "shared/ExceptionReport.h"
#include "shared/view/MfxFontQt.h"

namespace {

using tvane::ToQString;
using tvane::ToUtf8;

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// The program's folder becomes the current one again when a transfer window
// closes, as after every file dialog.
void RestoreProgramDirectory() {
    const std::string folder = CStateInfo::ProgramDirectory();
    if (folder.empty())
        return;
    std::error_code ec;
    std::filesystem::current_path(folder, ec);
}

constexpr int kMaxInfoText = 254;

std::string Cut(const std::string& text) {
    return text.size() > kMaxInfoText ? text.substr(0, kMaxInfoText) : text;
}

// The shared layout of both windows: file name, tree, info, check box, buttons.
struct TransferLayout {
    QLineEdit* path;
    QPushButton* browse;
    QCheckBox* all;
    QHBoxLayout* buttons;
};

TransferLayout BuildLayout(QDialog* dialog, int pathId, int browseId, int allId,
                           const char* allText,
                           const std::vector<std::pair<int, const char*>>& info,
                           std::map<int, QLabel*>& labels) {
    auto* layout = new QVBoxLayout(dialog);
    auto* fileBox = new QGroupBox("&File Name", dialog);
    auto* fileRow = new QHBoxLayout(fileBox);
    auto* path = new QLineEdit(fileBox);
    path->setObjectName(QString::number(pathId));
    auto* browse = new QPushButton("&Browse...", fileBox);
    browse->setObjectName(QString::number(browseId));
    fileRow->addWidget(path, 1);
    fileRow->addWidget(browse);
    layout->addWidget(fileBox);

    auto* middle = new QHBoxLayout;
    auto* tree = new tvane::TreeControl(CQmxTree::kControlId, dialog);
    tree->setMinimumSize(260, 200);
    middle->addWidget(tree, 1);
    auto* infoBox = new QGroupBox("Selected Setup/Dataset Info", dialog);
    auto* form = new QFormLayout(infoBox);
    for (const auto& [id, label] : info) {
        auto* text = new QLabel(infoBox);
        text->setObjectName(QString::number(id));
        text->setWordWrap(true);
        labels[id] = text;
        if (label[0] != '\0')
            form->addRow(label, text);
        else
            form->addRow(text);
    }
    middle->addWidget(infoBox, 1);
    layout->addLayout(middle, 1);

    auto* all = new QCheckBox(allText, dialog);
    all->setObjectName(QString::number(allId));
    layout->addWidget(all);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return {path, browse, all, buttons};
}

} // namespace

// --- Export -------------------------------------------------------------------

CTransferExportDialog::CTransferExportDialog(Host host, QWidget* parent)
    : QDialog(parent), m_host(std::move(host)) {
    setWindowTitle("Transfer - Export");
    const TransferLayout parts =
        BuildLayout(this, kPathEdit, kBrowse, kAllDatasets, "Export &all datasets",
                    {{kLastModified, "Last Modified:"},
                     {kUser, "By User:"},
                     {kScans, "Scans:"},
                     {kEvents, "Events:"},
                     {kDuration, "Duration:"},
                     {kDescription, ""}},
                    m_info);
    m_path = parts.path;
    m_browse = parts.browse;
    m_all = parts.all;
    m_export = new QPushButton("&Export", this);
    m_export->setDefault(true);
    auto* close = new QPushButton("Close", this);
    parts.buttons->addWidget(m_export);
    parts.buttons->addWidget(close);
    connect(m_export, &QPushButton::clicked, this, [this] { accept(); });
    connect(close, &QPushButton::clicked, this, [this] { reject(); });
    connect(m_browse, &QPushButton::clicked, this, [this] { OnBrowse(); });
    connect(m_path, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.isEmpty())
            m_export->setEnabled(false);
    });
    ApplyDialogFont(this);

    chooseFile = [](QWidget* owner, const std::string& folder) {
        QFileDialog dialog(owner, "Save Setup As", ToQString(folder),
                           "Tallyvane Export Files (*.qmx)");
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix("qmx");
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::string();
        return ToUtf8(dialog.selectedFiles().front());
    };

    m_tree.SubclassDlgItem(this, CQmxTree::kControlId);
    m_workspace = Upper(m_host.state.m_dataSourceName);
    m_currentSetup = m_host.state.m_setupName;
    m_path->setText(ToQString(m_host.state.m_dataDir + "/" + transfer_texts::kExportFileName));
    FillTree();
    if (m_tree.Control())
        m_tree.Control()->setFocus();
    m_all->setChecked(true);
    m_all->setEnabled(false);
    m_export->setEnabled(false);
}

CTransferExportDialog::~CTransferExportDialog() = default;

void CTransferExportDialog::FillTree() {
    const CNodeCtrl::Handle root =
        m_tree.Fill(m_workspace, ReadWorkspaceTree(m_host.state.GetDatabase()));
    if (root != 0)
        m_tree.SelectRoot(root);
}

bool CTransferExportDialog::SelectNode(const std::string& setup, const std::string& dataset) {
    return m_tree.SelectByName(setup, dataset);
}

bool CTransferExportDialog::event(QEvent* e) {
    if (e->type() == QmxTreeChangedMessage()) {
        OnSelectionChanged();
        return true;
    }
    if (e->type() == QmxTreeDblClickMessage()) {
        ToggleCurrentNode(m_tree);
        return true;
    }
    return QDialog::event(e);
}

void CTransferExportDialog::ClearInfo() {
    for (auto& [id, label] : m_info)
        label->clear();
}

void CTransferExportDialog::OnSelectionChanged() {
    ClearInfo();
    const CNodeCtrl::Handle node = m_tree.GetCurrentNode();
    const int level = node ? m_tree.GetNodeLevel(node) : -1;
    if (level != 1 && level != 2) {
        m_export->setEnabled(false);
        m_all->setEnabled(false);
        return;
    }
    m_export->setEnabled(true);
    m_all->setEnabled(level == 1);
    tvane::OdbcDatabase* db = m_host.state.GetDatabase();
    try {
        const std::string setupName =
            level == 1 ? m_tree.GetNodeText(node) : m_tree.GetNodeText(m_tree.GetParentNode(node));
        CRSSetup setup(db);
        const bool setupFound = setup.OpenGivenSetup(setupName, RS_READONLY) == RS_ROWS;
        const std::string datasetFile = setupFound ? setup.m_DatasetFile : std::string();
        if (level == 1 && setupFound) {
            m_info[kUser]->setText(ToQString(setup.m_User));
            m_info[kLastModified]->setText(
                ToQString(m_host.document.FormatTime(tvane::CTime(setup.m_DateTime))));
            m_info[kDescription]->setText(ToQString(setup.m_Note));
        }
        setup.Close();
        if (level != 2)
            return;
        CRSDataset dataset(db);
        if (dataset.OpenGivenSetupDataset(setupName, m_tree.GetNodeText(node), RS_READONLY) ==
            RS_ROWS) {
            m_info[kUser]->setText(ToQString(dataset.m_User));
            m_info[kLastModified]->setText(
                ToQString(m_host.document.FormatTime(tvane::CTime(dataset.m_DateTime))));
            m_info[kDescription]->setText(ToQString(dataset.m_Note));
            DatasetDirEntry entry;
            if (m_host.document.OpenStoredDataset(dataset.m_DatasetKey, datasetFile, entry)) {
                std::string duration;
                FormatDuration(entry.LastTime - entry.FirstTime, duration, true);
                m_info[kDuration]->setText(ToQString(duration));
                m_info[kScans]->setText(ToQString(tvane::Format("%ld", long(entry.ScanCount))));
                m_info[kEvents]->setText(ToQString(tvane::Format("%ld", long(entry.EventCount))));
            }
        }
        dataset.Close();
    } catch (const std::exception&) {
        // A database that fails here leaves the details empty.
    }
}

void CTransferExportDialog::OnBrowse() {
    const std::string path = chooseFile(this, m_host.state.m_dataDir);
    if (!path.empty())
        m_path->setText(ToQString(path));
}

void CTransferExportDialog::accept() {
    const CNodeCtrl::Handle node = m_tree.GetCurrentNode();
    const int level = node ? m_tree.GetNodeLevel(node) : -1;
    if (level != 1 && level != 2)
        return;
    SetupExporter::Request request;
    const CNodeCtrl::Handle setupNode = level == 1 ? node : m_tree.GetParentNode(node);
    request.setupName = m_tree.GetNodeText(setupNode);
    if (level == 2) {
        request.scope = TransferScope::OneDataset;
        request.datasetName = m_tree.GetNodeText(node);
    } else {
        request.scope = m_all->isChecked() ? TransferScope::AllDatasets : TransferScope::NoDatasets;
    }
    for (CNodeCtrl::Handle d = m_tree.GetFirstChildNode(setupNode); d != 0;
         d = m_tree.GetNextSiblingNode(d))
        request.datasets.push_back(m_tree.GetNodeText(d));

    bool renamed = false;
    try {
        if (!m_host.setupExists(request.setupName)) {
            tvane::MessageRequest question;
            question.text = transfer_texts::kNotSaved;
            question.caption = "Tvane";
            question.buttons = tvane::MsgButtons::YesNo;
            question.icon = tvane::MsgIcon::Question;
            if (tvane::Prompter().Ask(question) != tvane::MsgAnswer::Yes)
                return;
            m_host.saveSetup();
            if (m_host.state.m_setupName != m_currentSetup) {
                // The save named the setup anew: the export follows the name
                // its rows now carry.
                renamed = true;
                request.setupName = m_host.state.m_setupName;
            }
            // A save the user cancelled, or one that failed, leaves nothing to export.
            if (!m_host.setupExists(request.setupName)) {
                tvane::MessageRequest box;
                box.text = transfer_texts::kStillNotSaved;
                box.caption = "Tvane";
                box.icon = tvane::MsgIcon::Warning;
                tvane::Prompter().Ask(box);
                return;
            }
        }
        request.path = ToUtf8(m_path->text());
        SetupExporter exporter(m_host.state.GetDatabase(), m_host.state.m_dataDir, m_host.document,
                               tvane::Prompter());
        exporter.Export(request);
    } catch (const std::exception& e) {
        ShowMfxErrorMessage(e, {}, -1);
    }
    if (renamed) {
        m_currentSetup = m_host.state.m_setupName;
        FillTree();
        SelectNode(m_currentSetup);
    }
    if (m_tree.Control())
        m_tree.Control()->setFocus();
}

void CTransferExportDialog::reject() {
    RestoreProgramDirectory();
    QDialog::reject();
}

// --- Import -------------------------------------------------------------------

CTransferImportDialog::CTransferImportDialog(CStateInfo& state, CWorkspace& workspace,
                                             QWidget* parent)
    : QDialog(parent), m_state(state),
      m_importer(std::make_unique<SetupImporter>(workspace, state.GetDatabase(), state.m_dataDir,
                                                 tvane::Prompter())) {
    setWindowTitle("Transfer - Import");
    const TransferLayout parts =
        BuildLayout(this, kPathEdit, kBrowse, kAllDatasets, "Import &all datasets",
                    {{kLastModified, "Last Modified:"},
                     {kUser, "By User:"},
                     {kScans, "Scans:"},
                     {kEvents, "Events:"},
                     {kDuration, "Duration:"},
                     {kDescription, ""}},
                    m_info);
    m_path = parts.path;
    m_browse = parts.browse;
    m_all = parts.all;
    m_preview = new QPushButton("&Preview", this);
    m_preview->setObjectName(QString::number(kPreview));
    m_import = new QPushButton("&Import", this);
    m_import->setDefault(true);
    auto* close = new QPushButton("Close", this);
    parts.buttons->addWidget(m_preview);
    parts.buttons->addWidget(m_import);
    parts.buttons->addWidget(close);
    connect(m_preview, &QPushButton::clicked, this, [this] { Preview(); });
    connect(m_import, &QPushButton::clicked, this, [this] { accept(); });
    connect(close, &QPushButton::clicked, this, [this] { reject(); });
    connect(m_browse, &QPushButton::clicked, this, [this] { OnBrowse(); });
    connect(m_path, &QLineEdit::textChanged, this, [this] { OnPathChanged(); });
    ApplyDialogFont(this);

    chooseFile = [](QWidget* owner, const std::string& folder) {
        QFileDialog dialog(owner, "Open", ToQString(folder),
                           "Tallyvane Export Files (*.qmx);;All Files (*)");
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDefaultSuffix("qmx");
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::string();
        return ToUtf8(dialog.selectedFiles().front());
    };

    m_tree.SubclassDlgItem(this, CQmxTree::kControlId);
    m_workspace = Upper(state.m_dataSourceName);
    m_all->setChecked(true);
    m_all->setEnabled(false);
    m_import->setEnabled(false);
}

CTransferImportDialog::~CTransferImportDialog() = default;

bool CTransferImportDialog::event(QEvent* e) {
    if (e->type() == QmxTreeChangedMessage()) {
        OnSelectionChanged();
        return true;
    }
    if (e->type() == QmxTreeDblClickMessage()) {
        ToggleCurrentNode(m_tree);
        return true;
    }
    return QDialog::event(e);
}

bool CTransferImportDialog::SelectNode(const std::string& setup, const std::string& dataset) {
    return m_tree.SelectByName(setup, dataset);
}

void CTransferImportDialog::ClearInfo() {
    for (auto& [id, label] : m_info)
        label->clear();
}

void CTransferImportDialog::OnPathChanged() {
    m_tree.DeleteAllNodes();
    ClearInfo();
    const std::string path = ToUtf8(m_path->text());
    if (path.empty()) {
        m_import->setEnabled(false);
        return;
    }
    m_import->setEnabled(true);
    if (m_importer->HasIndex(path))
        Preview();
    else
        m_import->setEnabled(false);
}

void CTransferImportDialog::Preview() {
    const std::string path = ToUtf8(m_path->text());
    if (path.empty() || !m_importer->ExtractIndex(path))
        return;
    const ExportIndexReader reader(m_importer->IndexPath());
    const WorkspaceTreeSetup setup{reader.SetupName(), reader.DatasetNames()};
    const CNodeCtrl::Handle root = m_tree.Fill(m_workspace, {setup});
    if (root != 0)
        m_tree.SelectRoot(root);
    if (m_tree.Control())
        m_tree.Control()->setFocus();
}

void CTransferImportDialog::OnSelectionChanged() {
    std::error_code ec;
    if (!std::filesystem::exists(m_importer->IndexPath(), ec))
        return;
    ClearInfo();
    const CNodeCtrl::Handle node = m_tree.GetCurrentNode();
    const int level = node ? m_tree.GetNodeLevel(node) : -1;
    if (level != 1 && level != 2) {
        m_import->setEnabled(false);
        m_all->setEnabled(false);
        return;
    }
    m_import->setEnabled(true);
    m_all->setEnabled(level == 1);
    const ExportIndexReader reader(m_importer->IndexPath());
    if (level == 1) {
        const ExportedSetup setup = reader.ReadSetup(m_tree.GetNodeText(node));
        m_info[kLastModified]->setText(ToQString(Cut(setup.dateTime)));
        m_info[kUser]->setText(ToQString(Cut(setup.user)));
        m_info[kDescription]->setText(ToQString(Cut(setup.note)));
        return;
    }
    const ExportedDataset dataset = reader.ReadDataset(
        m_tree.GetNodeText(m_tree.GetParentNode(node)), m_tree.GetNodeText(node));
    m_info[kLastModified]->setText(ToQString(Cut(dataset.dateTime)));
    m_info[kUser]->setText(ToQString(Cut(dataset.user)));
    m_info[kDescription]->setText(ToQString(Cut(dataset.note)));
    m_info[kScans]->setText(ToQString(Cut(dataset.scans)));
    m_info[kEvents]->setText(ToQString(Cut(dataset.events)));
    m_info[kDuration]->setText(ToQString(Cut(dataset.duration)));
}

void CTransferImportDialog::OnBrowse() {
    const std::string path = chooseFile(this, m_state.m_dataDir);
    if (!path.empty())
        m_path->setText(ToQString(path));
}

void CTransferImportDialog::accept() {
    const CNodeCtrl::Handle node = m_tree.GetCurrentNode();
    const int level = node ? m_tree.GetNodeLevel(node) : -1;
    if (level != 1 && level != 2)
        return;
    TransferScope scope =
        m_all->isChecked() ? TransferScope::AllDatasets : TransferScope::NoDatasets;
    int position = 0;
    if (level == 2) {
        scope = TransferScope::OneDataset;
        for (CNodeCtrl::Handle d = m_tree.GetFirstChildNode(m_tree.GetParentNode(node));
             d != 0 && d != node; d = m_tree.GetNextSiblingNode(d))
            ++position;
    }
    try {
        m_importer->Import(ToUtf8(m_path->text()), scope, position);
    } catch (const std::exception& e) {
        ShowMfxErrorMessage(e, {}, -1);
    }
    if (m_tree.Control())
        m_tree.Control()->setFocus();
}

void CTransferImportDialog::reject() {
    RestoreProgramDirectory();
    QDialog::reject();
}

// --- Commands -----------------------------------------------------------------

void RunExportSetups(CLoggerDoc& doc, CStateInfo& state, CWorkspace& workspace, QWidget* parent) {
    if (doc.IsScanning())
        return;
    TransferDocument source(doc);
    CTransferExportDialog dialog(
        {state, source,
         [&workspace](const std::string& setup) { return workspace.SetupExists(setup); },
         [&doc] { doc.DoFileSave(); }},
        parent);
    dialog.exec();
}

void RunImportSetups(CLoggerDoc& doc, CStateInfo& state, CWorkspace& workspace, QWidget* parent) {
    if (doc.IsScanning())
        return;
    CTransferImportDialog dialog(state, workspace, parent);
    dialog.exec();
}
