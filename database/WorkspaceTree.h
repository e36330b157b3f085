#pragma once
#include <string>
#include <vector>

namespace tvane {
class OdbcDatabase;
}

// What the setup and dataset tree shows of a workspace: its setups in the order
// the setup query returns them, each with its datasets in query order.
struct WorkspaceTreeSetup {
    std::string name;
    std::vector<std::string> datasets;
    bool operator==(const WorkspaceTreeSetup&) const = default;
};

// The text of the tree's root: "Workspace:  " and the workspace name in upper case.
std::string WorkspaceRootText(const std::string& workspaceName);

// Reads the setups and their datasets, read-only. A setup query that cannot be
// opened, or has no rows, gives none; a setup whose datasets cannot be read is
// listed without any. A database failure part way keeps what was read.
std::vector<WorkspaceTreeSetup> ReadWorkspaceTree(tvane::OdbcDatabase* database);
