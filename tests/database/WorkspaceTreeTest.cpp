#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/WorkspaceTree.h"
#include "tests/database/WorkspaceTestSupport.h"

namespace tvane::test {
namespace {

class WorkspaceTreeTest : public WorkspaceTest {};

TEST_F(WorkspaceTreeTest, SetupsInNameOrderWithTheirDatasetsOldestFirst) {
    EXPECT_TRUE(ReadWorkspaceTree(doc.state.GetDatabase()).empty())
        << "a workspace without setups shows the root alone";

    Sql("INSERT INTO Setup (Name, DateTime) VALUES ('Bench', '2023-11-14 22:13:20.000'),"
        "('Alpha', '2023-11-14 22:13:20.000'), ('', '2023-11-14 22:13:20.000');"
        "INSERT INTO Dataset (SetupName, Name, DateTime, DatasetKey) VALUES "
        "('Bench', 'Run B', '2023-11-14 22:16:00.000', 'Z2'),"
        "('Bench', 'Run A', '2023-11-14 22:15:00.000', 'Z1'),"
        "('Gone', 'Orphan', '2023-11-14 22:15:00.000', 'Z3'),"
        "('', 'Unnamed run', '2023-11-14 22:15:00.000', 'Z4');");
    const std::vector<WorkspaceTreeSetup> expected = {
        {"", {"Unnamed run"}},
        {"Alpha", {}},
        {"Bench", {"Run A", "Run B"}},
    };
    EXPECT_EQ(ReadWorkspaceTree(doc.state.GetDatabase()), expected);
    EXPECT_TRUE(ReadWorkspaceTree(nullptr).empty());
}

TEST(WorkspaceRootText, NamesTheWorkspaceInUpperCase) {
    EXPECT_EQ(WorkspaceRootText("Tvane32"), "Workspace:  TVANE32");
    EXPECT_EQ(WorkspaceRootText(""), "Workspace:  ");
}

} // namespace
} // namespace tvane::test
