#include "app/OpenSetupModel.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "database/CRSBase.h"
#include "database/CRSDataset.h"
#include "database/CRSSetup.h"
#include "platform/core/NameText.h"
#include "platform/ui/Prompter.h"

namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

} // namespace

void OpenSetupModel::Init() {
    m_selectedSetup.clear();
    m_selectedDataset.clear();
    m_namesChanged = false;
    m_workspace = Upper(m_workspace);
    m_info = {};
    m_open = m_properties = m_delete = false;
    m_cancelText = "Cancel";
}

std::string OpenSetupModel::CurrentLabel() const {
    if (m_currentDataset.empty())
        return m_currentSetup;
    return m_currentSetup + " - " + m_currentDataset;
}

bool OpenSetupModel::DeleteAllowed(const std::vector<Node>& selection) const {
    if (selection.empty() || selection.front().level <= 0)
        return false;
    for (const Node& node : selection)
        if (node.level != selection.front().level || node.text == m_currentSetup ||
            node.text == m_currentDataset)
            return false;
    return true;
}

void OpenSetupModel::SelectionChanged(const Node& current, const std::vector<Node>& selection) {
    if (current.level < 0)
        return;
    m_info = {};
    if (current.level == 0) {
        m_open = m_properties = m_delete = false;
        return;
    }
    if (current.level == 1) {
        m_selectedSetup = current.text;
        m_selectedDataset.clear();
        if (m_services.readSetup)
            m_services.readSetup(m_selectedSetup, m_info);
        const bool isCurrent = m_selectedSetup == m_currentSetup;
        m_open = m_delete = !isCurrent;
        m_properties = true;
    } else if (current.level == 2) {
        m_selectedSetup = current.parentText;
        m_selectedDataset = current.text;
        if (m_services.readDataset)
            m_services.readDataset(m_selectedSetup, m_selectedDataset, m_info);
        const bool isCurrent =
            m_selectedSetup == m_currentSetup && m_selectedDataset == m_currentDataset;
        m_open = m_delete = !isCurrent;
        m_properties = true;
    } else {
        m_open = m_properties = m_delete = false;
    }
    if (selection.size() > 1) {
        m_open = m_properties = false;
        m_delete = DeleteAllowed(selection);
    }
    if (m_mode == ModifyMode)
        m_open = false;
}

OpenSetupModel::Click OpenSetupModel::DoubleClick(const Node& node, bool hasChildren) const {
    if (node.level < 0)
        return Click::Nothing;
    const bool openable = node.level != 0 && !hasChildren &&
                          !(node.level == 1 && node.text == m_currentSetup) &&
                          !(node.level == 2 && node.text == m_currentDataset);
    if (!openable && (node.level == 0 || hasChildren))
        return Click::Toggle;
    if (m_mode == ModifyMode)
        return Click::EditProperties;
    if (openable)
        return Click::EndOpen;
    if (m_selectedSetup == m_currentSetup && m_selectedDataset == m_currentDataset)
        return Click::EndCancel;
    return Click::Nothing;
}

std::vector<OpenSetupModel::Node> OpenSetupModel::Delete(const std::vector<Node>& selection) {
    std::vector<Node> removed;
    if (selection.empty())
        return removed;
    const int level = selection.front().level;
    tvane::MessageRequest box;
    box.caption = "Tvane";
    if (level <= 0) {
        box.text = kNoWorkspaceDelete;
        box.icon = tvane::MsgIcon::Warning;
        m_prompter.Ask(box);
        m_cancelText = "Close";
        return removed;
    }
    box.text = level == 1 ? kDeleteSetups : kDeleteDatasets;
    box.buttons = tvane::MsgButtons::YesNo;
    box.icon = tvane::MsgIcon::Question;
    if (m_prompter.Ask(box) == tvane::MsgAnswer::Yes) {
        for (const Node& node : selection) {
            // The open setup and dataset are never deleted under the document.
            if ((node.level == 1 && node.text == m_currentSetup) ||
                (node.level == 2 && node.parentText == m_currentSetup &&
                 node.text == m_currentDataset))
                continue;
            removed.push_back(node);
            if (node.level == 1 && m_services.deleteSetup)
                m_services.deleteSetup(node.text);
            else if (node.level == 2 && m_services.deleteDataset)
                m_services.deleteDataset(node.parentText, node.text);
        }
    }
    m_cancelText = "Close";
    return removed;
}

bool OpenSetupModel::EditProperties(const Node& node, std::string& newText) {
    if (node.level <= 0 || node.level > 2 || !m_services.editProperties)
        return false;
    if ((node.level == 1 && m_selectedSetup.empty()) ||
        (node.level == 2 && m_selectedDataset.empty()))
        return false;
    const bool isSetup = node.level == 1;
    const std::string caption = isSetup ? "Edit Setup" : "Edit Dataset - " + m_selectedSetup;
    RowProperties properties;
    std::string lastModified;
    if (!m_services.editProperties(isSetup ? 1 : 2, caption, m_selectedSetup, m_selectedDataset,
                                   m_info, properties, lastModified))
        return false;
    if (isSetup) {
        if (m_services.renameSetup)
            m_services.renameSetup(m_selectedSetup, properties);
        if (m_selectedSetup == m_currentSetup) {
            m_currentSetup = properties.name;
            m_namesChanged = true;
        }
        m_selectedSetup = properties.name;
    } else {
        if (m_services.renameDataset)
            m_services.renameDataset(m_selectedSetup, m_selectedDataset, properties);
        if (m_selectedSetup == m_currentSetup && m_selectedDataset == m_currentDataset) {
            m_currentDataset = properties.name;
            m_namesChanged = true;
        }
        m_selectedDataset = properties.name;
    }
    newText = properties.name;
    m_info.user = properties.user;
    m_info.lastModified = lastModified;
    m_info.description = properties.note;
    m_cancelText = "&Close";
    return true;
}

int OpenSetupModel::CancelCode() const {
    std::string lower = m_cancelText;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower == "cancel" ? kEndCancel : kEndClose;
}

OpenSetupModel::Services OpenSetupModel::WorkspaceServices(
    CWorkspace& workspace, tvane::OdbcDatabase* database,
    std::function<std::string(std::int64_t)> formatTime,
    std::function<bool(const std::string&, const std::string&, Info&)> readSummary) {
    Services services;
    services.readSetup = [database, formatTime](const std::string& setup, Info& info) {
        try {
            CRSSetup set(database);
            const bool found = set.OpenGivenSetup(setup, RS_READONLY) == RS_ROWS;
            if (found) {
                info.user = set.m_User;
                info.lastModified = formatTime ? formatTime(set.m_DateTime) : std::string();
                info.description = tvane::CutUtf8(set.m_Note, kDescriptionLimit);
            }
            set.Close();
            return found;
        } catch (const std::exception&) {
            return false;
        }
    };
    services.readDataset = [database, formatTime, readSummary](
                               const std::string& setup, const std::string& dataset, Info& info) {
        try {
            CRSSetup setupRow(database);
            std::string datasetFile;
            if (setupRow.OpenGivenSetup(setup, RS_READONLY) == RS_ROWS)
                datasetFile = setupRow.m_DatasetFile;
            setupRow.Close();
            CRSDataset set(database);
            const bool found = set.OpenGivenSetupDataset(setup, dataset, RS_READONLY) == RS_ROWS;
            std::string key;
            if (found) {
                info.user = set.m_User;
                info.lastModified = formatTime ? formatTime(set.m_DateTime) : std::string();
                info.description = tvane::CutUtf8(set.m_Note, kDescriptionLimit);
                key = set.m_DatasetKey;
            }
            set.Close();
            if (found && readSummary)
                readSummary(key, datasetFile, info);
            return found;
        } catch (const std::exception&) {
            return false;
        }
    };
    CWorkspace* ws = &workspace;
    services.deleteSetup = [ws](const std::string& setup) {
        try {
            return ws->DeleteSetup(setup);
        } catch (const std::exception&) {
            return false;
        }
    };
    services.deleteDataset = [ws](const std::string& setup, const std::string& dataset) {
        try {
            return ws->DeleteDataset(setup, dataset);
        } catch (const std::exception&) {
            return false;
        }
    };
    services.renameSetup = [ws](const std::string& oldName, const RowProperties& properties) {
        try {
            return ws->UpdateSetupRecord(oldName, properties);
        } catch (const std::exception&) {
            return false;
        }
    };
    services.renameDataset = [ws](const std::string& setup, const std::string& oldName,
                                  const RowProperties& properties) {
        try {
            return ws->UpdateDatasetRecord(setup, oldName, properties);
        } catch (const std::exception&) {
            return false;
        }
    };
    return services;
}
