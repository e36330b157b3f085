#include "database/WorkspaceTree.h"

#include <cctype>
#include <exception>

#include "database/CRSDataset.h"
#include "database/CRSSetup.h"

std::string WorkspaceRootText(const std::string& workspaceName) {
    std::string text = "Workspace:  ";
    for (unsigned char c : workspaceName)
        text += static_cast<char>(std::toupper(c));
    return text;
}

namespace {

std::vector<std::string> ReadDatasets(tvane::OdbcDatabase* database, const std::string& setup) {
    std::vector<std::string> names;
    try {
        CRSDataset datasets(database);
        if (datasets.OpenGivenSetup(setup, RS_READONLY) == RS_ROWS) {
            for (std::int16_t moved = 1; moved == 1 && !datasets.IsEOF();
                 moved = datasets.MoveRecord(RS_MOVE_NEXT))
                names.push_back(datasets.m_Name);
        }
        datasets.Close();
    } catch (const std::exception&) {
        // Shown as a setup without datasets, as when the rows cannot be opened.
        names.clear();
    }
    return names;
}

} // namespace

std::vector<WorkspaceTreeSetup> ReadWorkspaceTree(tvane::OdbcDatabase* database) {
    std::vector<WorkspaceTreeSetup> setups;
    if (database == nullptr)
        return setups;
    try {
        CRSSetup rows(database);
        if (rows.OpenAll(RS_READONLY) != RS_ROWS)
            return setups;
        for (std::int16_t moved = 1; moved == 1 && !rows.IsEOF();
             moved = rows.MoveRecord(RS_MOVE_NEXT))
            setups.push_back({rows.m_Name, ReadDatasets(database, rows.m_Name)});
        rows.Close();
    } catch (const std::exception&) {
        // A dialog that shows the tree has no way to report this: it shows what was read.
    }
    return setups;
}
