#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "database/CWorkspace.h"

namespace tvane {
class IPrompter;
}

// The Open dialog without its window: which setup or dataset of the workspace
// tree is chosen, what is shown of it, which buttons work, and what a double
// click, Delete and Edit Properties do. Open mode opens the choice; modify
// mode ("Modify") renames and deletes. The window hands in the tree's nodes.
class OpenSetupModel {
public:
    enum Mode : int { OpenMode = 0, ModifyMode = 1 };
    // End codes of the dialog.
    enum End : int { kEndOpen = 1, kEndCancel = 2, kEndClose = 4 };
    static constexpr std::size_t kDescriptionLimit = 512;
    static constexpr const char* kModifyCaption = "Modify";                          // 1101
    static constexpr const char* kNoWorkspaceDelete = "Workspace cannot be deleted"; // 915
    static constexpr const char* kDeleteSetups =
        "Deleting setup(s) also permanently destroys all the datasets collected with the "
        "setup(s).\n\nAre you sure you want to delete the selected setup(s)?"; // 916
    static constexpr const char* kDeleteDatasets =
        "Are you sure you want to delete the selected dataset(s)?"; // 917

    // A node of the tree: level 0 the workspace, 1 a setup, 2 a dataset.
    struct Node {
        int level = -1;
        std::string text;
        std::string parentText;
    };
    // The six info fields.
    struct Info {
        std::string description, lastModified, user, duration, events, scans;
    };
    // The workspace's answers, each false when the row or record cannot be read.
    struct Services {
        // User, Last Modified (formatted) and Description of a setup.
        std::function<bool(const std::string& setup, Info& info)> readSetup;
        // All six fields of a dataset (Duration, Scans and Events only when its
        // directory record is found).
        std::function<bool(const std::string& setup, const std::string& dataset, Info& info)>
            readDataset;
        std::function<bool(const std::string& setup)> deleteSetup;
        std::function<bool(const std::string& setup, const std::string& dataset)> deleteDataset;
        std::function<bool(const std::string& oldName, const RowProperties& properties)>
            renameSetup;
        std::function<bool(const std::string& setup, const std::string& oldName,
                           const RowProperties& properties)>
            renameDataset;
        // The Save Setup dialog as Edit Properties runs it: kind 1 setup, 2
        // dataset; true for OK, with the new name, user and description.
        std::function<bool(int kind, const std::string& caption, const std::string& setup,
                           const std::string& dataset, const Info& info, RowProperties& out,
                           std::string& lastModified)>
            editProperties;
    };

    OpenSetupModel(Services services, tvane::IPrompter& prompter)
        : m_services(std::move(services)), m_prompter(prompter) {}

    // Set by the caller before Init.
    int m_mode = OpenMode;
    std::string m_currentSetup;
    std::string m_currentDataset;
    std::string m_workspace;

    void Init();
    std::string Caption() const { return m_mode == ModifyMode ? kModifyCaption : "Open"; }
    // "setup" or "setup - dataset".
    std::string CurrentLabel() const;

    // The tree's current node changed; selection lists every selected node.
    void SelectionChanged(const Node& current, const std::vector<Node>& selection);
    const Info& GetInfo() const { return m_info; }
    bool OpenEnabled() const { return m_open; }
    bool PropertiesEnabled() const { return m_properties; }
    bool DeleteEnabled() const { return m_delete; }
    const std::string& SelectedSetup() const { return m_selectedSetup; }
    const std::string& SelectedDataset() const { return m_selectedDataset; }

    // A double click on the current node.
    enum class Click { Nothing, Toggle, EditProperties, EndOpen, EndCancel };
    Click DoubleClick(const Node& node, bool hasChildren) const;

    // Delete: asks, then deletes the selected nodes in order; returns those
    // removed (none after No). The cancel button reads "Close" afterwards.
    std::vector<Node> Delete(const std::vector<Node>& selection);
    // Edit Properties of the current node; true when a name was changed (the
    // node's text is then the new selected name).
    bool EditProperties(const Node& node, std::string& newText);
    bool NamesChanged() const { return m_namesChanged; }
    // The cancel button's text: "Cancel", or "Close" once something changed.
    const std::string& CancelText() const { return m_cancelText; }
    // Cancel or Esc: 2 while the button reads "Cancel", else 4.
    int CancelCode() const;

    static Services WorkspaceServices(
        CWorkspace& workspace, tvane::OdbcDatabase* database,
        std::function<std::string(std::int64_t)> formatTime,
        std::function<bool(const std::string& key, const std::string& datasetFile, Info& info)>
            readSummary);

private:
    bool DeleteAllowed(const std::vector<Node>& selection) const;

    Services m_services;
    tvane::IPrompter& m_prompter;
    Info m_info;
    bool m_open = false, m_properties = false, m_delete = false;
    bool m_namesChanged = false;
    std::string m_selectedSetup, m_selectedDataset;
    std::string m_cancelText = "Cancel";
};
