#pragma once
#include <memory>
#include <string>
#include <vector>

#include <QDialog>

#include "app/OpenSetupModel.h"
#include "app/frame/CQmxTree.h"
#include "database/WorkspaceTree.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace Ui {
class COpenSetupDialog;
}

// "Open" (and "Modify"): the workspace's setups and datasets in a tree, the
// chosen one's details, and Open, Edit Properties and Delete. The rules live
// in OpenSetupModel; exec() returns its end code.
class COpenSetupDialog final : public QDialog {
public:
    COpenSetupDialog(OpenSetupModel& model, const std::vector<WorkspaceTreeSetup>& setups,
                     QWidget* parent = nullptr);
    ~COpenSetupDialog() override;

    CQmxTree& Tree() { return m_tree; }
    // Makes the named setup, or its dataset, the tree's current node.
    bool SelectNode(const std::string& setup, const std::string& dataset = {});
    QPushButton* OpenButton() const;
    QPushButton* DeleteButton() const;
    QPushButton* PropertiesButton() const;
    QPushButton* CancelButton() const;
    QLabel* CurrentLabel() const;
    QLineEdit* UserField() const;
    QLineEdit* ScansField() const;
    QPlainTextEdit* DescriptionField() const;
    // What a double click on the current node does.
    void DoubleClickCurrent();

    void accept() override;
    void reject() override;

protected:
    bool event(QEvent* e) override;

private:
    OpenSetupModel::Node NodeOf(CNodeCtrl::Handle node);
    std::vector<OpenSetupModel::Node> Selection();
    void OnSelectionChanged();
    void OnDelete();
    void OnProperties();
    void ShowState();

    OpenSetupModel& m_model;
    std::unique_ptr<Ui::COpenSetupDialog> m_ui;
    CQmxTree m_tree;
};
