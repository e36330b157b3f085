#include "app/frame/COpenSetupDialog.h"

#include <QApplication>

#include "platform/tree/TreeControl.h"
#include "platform/widgets/MfxCursor.h"
#include "platform/widgets/QtText.h"
#include "shared/view/MfxFontQt.h"
#include "ui_COpenSetupDialog.h"

using tvane::ToQString;
using tvane::ToUtf8;

COpenSetupDialog::COpenSetupDialog(OpenSetupModel& model,
                                   const std::vector<WorkspaceTreeSetup>& setups, QWidget* parent)
    : QDialog(parent), m_model(model), m_ui(std::make_unique<Ui::COpenSetupDialog>()) {
    m_ui->setupUi(this);
    auto* control = new tvane::TreeControl(CQmxTree::kControlId, this);
    control->setMinimumSize(260, 240);
    m_ui->treeLayout->addWidget(control);
    ApplyDialogFont(this);
    tvane::CMfxWaitCursor wait;
    setWindowTitle(ToQString(m_model.Caption()));
    m_tree.SubclassDlgItem(this, CQmxTree::kControlId);
    m_model.Init();
    m_ui->currentLabel->setText(ToQString(m_model.CurrentLabel()));
    if (m_model.m_mode == OpenSetupModel::ModifyMode) {
        m_ui->openButton->hide();
        m_ui->deleteButton->setDefault(true);
    } else {
        m_tree.TreeCall229(0);
        m_ui->deleteButton->hide();
        m_ui->propertiesButton->hide();
        m_ui->openButton->setDefault(true);
    }
    if (const CNodeCtrl::Handle root = m_tree.Fill(m_model.m_workspace, setups); root != 0)
        m_tree.SelectRoot(root);
    ShowState();
    connect(m_ui->openButton, &QPushButton::clicked, this, &COpenSetupDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &COpenSetupDialog::reject);
    connect(m_ui->deleteButton, &QPushButton::clicked, this, [this] { OnDelete(); });
    connect(m_ui->propertiesButton, &QPushButton::clicked, this, [this] { OnProperties(); });
    resize(620, 360);
}

COpenSetupDialog::~COpenSetupDialog() = default;

QPushButton* COpenSetupDialog::OpenButton() const {
    return m_ui->openButton;
}
QPushButton* COpenSetupDialog::DeleteButton() const {
    return m_ui->deleteButton;
}
QPushButton* COpenSetupDialog::PropertiesButton() const {
    return m_ui->propertiesButton;
}
QPushButton* COpenSetupDialog::CancelButton() const {
    return m_ui->cancelButton;
}
QLabel* COpenSetupDialog::CurrentLabel() const {
    return m_ui->currentLabel;
}
QLineEdit* COpenSetupDialog::UserField() const {
    return m_ui->userEdit;
}
QLineEdit* COpenSetupDialog::ScansField() const {
    return m_ui->scansEdit;
}
QPlainTextEdit* COpenSetupDialog::DescriptionField() const {
    return m_ui->descriptionEdit;
}

bool COpenSetupDialog::SelectNode(const std::string& setup, const std::string& dataset) {
    return m_tree.SelectByName(setup, dataset);
}

OpenSetupModel::Node COpenSetupDialog::NodeOf(CNodeCtrl::Handle node) {
    OpenSetupModel::Node result;
    if (node == 0)
        return result;
    result.level = m_tree.GetNodeLevel(node);
    result.text = m_tree.GetNodeText(node);
    if (result.level > 0)
        result.parentText = m_tree.GetNodeText(m_tree.GetParentNode(node));
    return result;
}

std::vector<OpenSetupModel::Node> COpenSetupDialog::Selection() {
    std::vector<OpenSetupModel::Node> nodes;
    for (CNodeCtrl::Handle node = m_tree.GetFirstSelectedNode(); node != 0;
         node = m_tree.GetNextSelectedNode(node))
        nodes.push_back(NodeOf(node));
    return nodes;
}

bool COpenSetupDialog::event(QEvent* e) {
    if (e->type() == QmxTreeChangedMessage()) {
        OnSelectionChanged();
        return true;
    }
    if (e->type() == QmxTreeDblClickMessage()) {
        DoubleClickCurrent();
        return true;
    }
    return QDialog::event(e);
}

void COpenSetupDialog::ShowState() {
    const OpenSetupModel::Info& info = m_model.GetInfo();
    m_ui->lastModifiedEdit->setText(ToQString(info.lastModified));
    m_ui->userEdit->setText(ToQString(info.user));
    m_ui->scansEdit->setText(ToQString(info.scans));
    m_ui->eventsEdit->setText(ToQString(info.events));
    m_ui->durationEdit->setText(ToQString(info.duration));
    m_ui->descriptionEdit->setPlainText(ToQString(info.description));
    m_ui->openButton->setEnabled(m_model.OpenEnabled());
    m_ui->propertiesButton->setEnabled(m_model.PropertiesEnabled());
    m_ui->deleteButton->setEnabled(m_model.DeleteEnabled());
    m_ui->cancelButton->setText(ToQString(m_model.CancelText()));
}

void COpenSetupDialog::OnSelectionChanged() {
    const CNodeCtrl::Handle node = m_tree.GetCurrentNode();
    if (node == 0)
        return;
    {
        tvane::CMfxWaitCursor wait;
        std::vector<OpenSetupModel::Node> selection =
            m_tree.HasMultipleSelection() ? Selection() : std::vector<OpenSetupModel::Node>{};
        m_model.SelectionChanged(NodeOf(node), selection);
    }
    ShowState();
}

void COpenSetupDialog::DoubleClickCurrent() {
    const CNodeCtrl::Handle node = m_tree.GetCurrentNode();
    if (node == 0)
        return;
    switch (m_model.DoubleClick(NodeOf(node), m_tree.NodeHasChildren(node) != 0)) {
    case OpenSetupModel::Click::Toggle:
        ToggleCurrentNode(m_tree);
        break;
    case OpenSetupModel::Click::EditProperties:
        OnProperties();
        break;
    case OpenSetupModel::Click::EndOpen:
        accept();
        break;
    case OpenSetupModel::Click::EndCancel:
        reject();
        break;
    case OpenSetupModel::Click::Nothing:
        break;
    }
}

void COpenSetupDialog::OnDelete() {
    std::vector<CNodeCtrl::Handle> handles;
    for (CNodeCtrl::Handle node = m_tree.GetFirstSelectedNode(); node != 0;
         node = m_tree.GetNextSelectedNode(node))
        handles.push_back(node);
    if (handles.empty())
        return;
    std::vector<OpenSetupModel::Node> nodes;
    for (CNodeCtrl::Handle h : handles)
        nodes.push_back(NodeOf(h));
    const std::vector<OpenSetupModel::Node> removed = m_model.Delete(nodes);
    for (std::size_t i = 0; i < nodes.size(); ++i)
        for (const OpenSetupModel::Node& gone : removed)
            if (gone.level == nodes[i].level && gone.text == nodes[i].text &&
                gone.parentText == nodes[i].parentText) {
                m_tree.DeleteNode(handles[i]);
                break;
            }
    if (const CNodeCtrl::Handle root = m_tree.GetRootNode(); root != 0)
        m_tree.SelectRoot(root);
    ShowState();
}

void COpenSetupDialog::OnProperties() {
    const CNodeCtrl::Handle node = m_tree.GetCurrentNode();
    if (node == 0)
        return;
    std::string text;
    if (m_model.EditProperties(NodeOf(node), text))
        m_tree.SetNodeText(node, static_cast<std::int32_t>(text.size()), text, 0);
    m_ui->currentLabel->setText(ToQString(m_model.CurrentLabel()));
    ShowState();
    if (m_tree.Control())
        m_tree.Control()->setFocus();
}

void COpenSetupDialog::accept() {
    if (!m_model.OpenEnabled())
        return;
    done(OpenSetupModel::kEndOpen);
}

void COpenSetupDialog::reject() {
    done(m_model.CancelCode());
}
