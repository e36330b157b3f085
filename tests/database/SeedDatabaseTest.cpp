#include "database/SeedDatabase.h"

#include <gtest/gtest.h>

#include "platform/core/Exception.h"
#include "tests/database/OdbcTestSupport.h"

namespace tvane::test {
namespace {

class SeedDatabaseTest : public OdbcTest {};

TEST(SplitSqlStatements, KeepsSemicolonsInsideQuotesAndDropsComments) {
    const auto statements =
        SplitSqlStatements("-- heading; with a semicolon\n"
                           "INSERT INTO \"A;B\" VALUES (';;;;;', 'it''s; here');\n"
                           "/* block; comment */ SELECT 1;\n"
                           "  ;\n");
    ASSERT_EQ(statements.size(), 2u);
    EXPECT_EQ(statements[0], "\nINSERT INTO \"A;B\" VALUES (';;;;;', 'it''s; here')");
    EXPECT_EQ(statements[1], "\n  SELECT 1");
}

TEST_F(SeedDatabaseTest, CreatesTheFileAndAnIndependentReaderSeesTheTables) {
    const auto path = home.Data() / "tvane.mdb";
    std::filesystem::create_directories(home.Data());
    CreateSeedDatabase(path);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".new"));
    EXPECT_EQ(Sqlite3(path, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name;"),
              "CardData\nCards\nDataset\nSetup\nVTFunction\nVTRange\nVTResolution\n");
    EXPECT_EQ(Sqlite3(path, "SELECT count(*) FROM \"Cards\";"), "8\n");
}

TEST_F(SeedDatabaseTest, RefusesToOverwriteAndLeavesNoPartialFileOnFailure) {
    const auto path = home.Data() / "tvane.mdb";
    std::filesystem::create_directories(home.Data());
    WriteFile(path, "keep");
    EXPECT_THROW(CreateSeedDatabase(path), Exception);
    EXPECT_EQ(ReadFile(path), "keep");

    const auto other = home.Data() / "other.mdb";
    EXPECT_THROW(CreateSeedDatabase(other, "NoSuchDriver"), Exception);
    EXPECT_FALSE(std::filesystem::exists(other));
    EXPECT_FALSE(std::filesystem::exists(other.string() + ".new"));
}

} // namespace
} // namespace tvane::test
