#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "database/CQMZip.h"
#include "platform/ui/Prompter.h"
#include "platform/zip/Zip.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

namespace fs = std::filesystem;

class QMZipTest : public TempHomeTest {
protected:
    void SetUp() override {
        source = home.Path() / "src";
        fs::create_directories(source);
        WriteFile(source / "qmexport.ini", "[DATASETS]\r\nSetup=Bench\r\n");
        WriteFile(source / "X6140709.063", "setup bytes");
        archive = (home.Path() / "bench.qmx").string();
    }
    std::string Item(const char* name) { return "\"" + (source / name).string() + "\" "; }
    std::string Items() { return Item("qmexport.ini") + Item("X6140709.063"); }

    ScriptedPrompter prompter;
    CQMZip zip{&prompter};
    fs::path source;
    std::string archive;
};

TEST(QMZipTexts, ErrorTextsCarryTheCodeAndItsDescriptionIfAny) {
    const struct {
        bool zip;
        int code;
        const char* text;
    } cases[] = {
        {true, 0, "Import/Export error 0.\n"},
        {true, 12,
         "Import/Export error 12.\nNothing to do - check for proper file list delimiter(space) "
         "and\nensure quotes are used to separate file names"},
        {true, 21, "Import/Export error 21.\nImproper use of a multi-volume ZIP file"},
        {true, 22, "Import/Export error 22.\n"},
        {true, -1, "Import/Export error -1.\n"},
        {false, 0, "Import/Export error 0.\n"},
        {false, 5, "Import/Export error 5.\nOut of memory"},
        {false, 7, "Import/Export error 7.\n"},
        {false, 50, "Import/Export error 50.\nDisk full"},
        {false, 51, "Import/Export error 51.\n"},
    };
    for (const auto& c : cases) {
        std::string text = "old";
        if (c.zip)
            CQMZip::GetZipErrorText(text, c.code);
        else
            CQMZip::GetUnzipErrorText(text, c.code);
        EXPECT_EQ(text, c.text) << c.zip << " " << c.code;
    }
}

TEST_F(QMZipTest, ZipAsksBeforeReplacingAndTheFlagDecidesWhetherTheFilesStay) {
    EXPECT_FALSE(zip.ZipFiles("", Items(), CQMZip::kKeepFiles));
    EXPECT_FALSE(zip.ZipFiles(archive, "", CQMZip::kKeepFiles));
    EXPECT_FALSE(fs::exists(archive));

    ASSERT_TRUE(zip.ZipFiles(archive, Items(), CQMZip::kKeepFiles));
    EXPECT_TRUE(prompter.asked.empty());
    EXPECT_TRUE(fs::exists(source / "X6140709.063"));
    const std::string first = ReadFile(archive);

    prompter.Script({MsgAnswer::Cancel});
    EXPECT_FALSE(zip.ZipFiles(archive, Item("qmexport.ini"), CQMZip::kKeepFiles));
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, archive + " already exists, overwrite?");
    EXPECT_EQ(prompter.asked[0].caption, "File Exists");
    EXPECT_EQ(prompter.asked[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(prompter.asked[0].icon, MsgIcon::Question);
    EXPECT_EQ(ReadFile(archive), first);

    // Work copies go once the archive is complete.
    prompter.Script({MsgAnswer::Ok});
    ASSERT_TRUE(zip.ZipFiles(archive, Item("X6140709.063"), CQMZip::kRemoveFiles));
    EXPECT_FALSE(fs::exists(source / "X6140709.063"));
    EXPECT_TRUE(fs::exists(source / "qmexport.ini"));
    int count = -1;
    ASSERT_TRUE(zip.GetEntryCount(archive, count));
    EXPECT_EQ(count, 1);
}

TEST_F(QMZipTest, ZipFailuresShowOneMessageAndKeepTheFiles) {
    const struct {
        std::string items;
        std::string text;
    } cases[] = {
        {Item("qmexport.ini") + Item("missing"),
         "Import/Export error 18.\nFile not found or no read permission"},
        {"\"\" ",
         "Import/Export error 12.\nNothing to do - check for proper file list delimiter(space) "
         "and\nensure quotes are used to separate file names"},
    };
    for (const auto& c : cases) {
        prompter.asked.clear();
        EXPECT_FALSE(zip.ZipFiles(archive, c.items, CQMZip::kRemoveFiles));
        ASSERT_EQ(prompter.asked.size(), 1u) << c.items;
        EXPECT_EQ(prompter.asked[0].text, c.text);
        EXPECT_EQ(prompter.asked[0].helpId, 13195u);
        EXPECT_FALSE(fs::exists(archive));
        EXPECT_TRUE(fs::exists(source / "qmexport.ini"));
    }

    prompter.asked.clear();
    EXPECT_FALSE(
        zip.ZipFiles((home.Path() / "none" / "x.qmx").string(), Items(), CQMZip::kKeepFiles));
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>{"Import/Export error 15.\nCould not create output file - "
                                       "possibly in use by another application"});
}

TEST_F(QMZipTest, UnzipAllEndsTheFolderWithASeparatorAndAsksOnceBeforeOverwriting) {
    ASSERT_TRUE(zip.ZipFiles(archive, Items(), CQMZip::kKeepFiles));
    std::string target = (home.Path() / "work").string();
    ASSERT_TRUE(zip.UnzipAll(archive, target));
    EXPECT_EQ(target, (home.Path() / "work").string() + "/");
    EXPECT_EQ(ReadFile(fs::path(target) / "X6140709.063"), "setup bytes");
    EXPECT_TRUE(prompter.asked.empty());

    WriteFile(fs::path(target) / "X6140709.063", "changed");
    prompter.Script({MsgAnswer::Cancel});
    EXPECT_FALSE(zip.UnzipAll(archive, target));
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>{"Some or all of the files already exist, overwrite?"});
    EXPECT_EQ(prompter.asked[0].caption, "File(s) Exists");
    EXPECT_EQ(ReadFile(fs::path(target) / "X6140709.063"), "changed");

    prompter.Script({MsgAnswer::Ok});
    EXPECT_TRUE(zip.UnzipAll(archive, target));
    EXPECT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(ReadFile(fs::path(target) / "X6140709.063"), "setup bytes");

    std::string none = target;
    EXPECT_FALSE(zip.UnzipAll((home.Path() / "none.qmx").string(), none));
    EXPECT_FALSE(zip.UnzipAll(archive, none = ""));
    EXPECT_EQ(prompter.asked.size(), 2u) << "a missing archive is the caller's to report";
}

TEST_F(QMZipTest, UnzipFileFindsAMemberByTheFileNameOfAnyPath) {
    ASSERT_TRUE(zip.ZipFiles(archive, Items(), CQMZip::kKeepFiles));
    std::string target = (home.Path() / "temp").string();
    ASSERT_TRUE(zip.UnzipFile(archive, target, "C:\\QM\\data32\\X6140709.063"));
    EXPECT_EQ(target.back(), '/');
    EXPECT_EQ(ReadFile(fs::path(target) / "X6140709.063"), "setup bytes");
    EXPECT_FALSE(fs::exists(fs::path(target) / "qmexport.ini"));

    prompter.Script({MsgAnswer::Cancel});
    EXPECT_FALSE(zip.UnzipFile(archive, target, "/old/home/data/X6140709.063"));
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"X6140709.063 already exist, overwrite?"});

    prompter.asked.clear();
    EXPECT_FALSE(zip.UnzipFile(archive, target, "Y6140709.063"));
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>{"Import/Export error 11.\nNo files to test, extract, etc"});
    EXPECT_EQ(prompter.asked[0].helpId, 13195u);

    EXPECT_TRUE(zip.ContainsFile(archive, "qmexport.ini"));
    EXPECT_TRUE(zip.ContainsFile(archive, "D:\\x\\QMEXPORT.INI"));
    EXPECT_FALSE(zip.ContainsFile(archive, "Y6140709.063"));
    EXPECT_FALSE(zip.ContainsFile(archive, ""));
    EXPECT_FALSE(zip.ContainsFile((home.Path() / "none.qmx").string(), "qmexport.ini"));
}

TEST_F(QMZipTest, AnArchiveWithoutMembersOrNoArchiveAtAllExtractsNothing) {
    // The end record of an archive that holds nothing.
    WriteFile(archive, std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    int count = -1;
    EXPECT_TRUE(zip.GetEntryCount(archive, count));
    EXPECT_EQ(count, 0);
    std::string target = (home.Path() / "out").string();
    EXPECT_FALSE(zip.UnzipFile(archive, target, "qmexport.ini"));
    EXPECT_FALSE(zip.UnzipAll(archive, target));
    EXPECT_FALSE(zip.ContainsFile(archive, "qmexport.ini"));

    WriteFile(archive, "not a zip archive");
    EXPECT_FALSE(zip.GetEntryCount(archive, count));
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(zip.GetEntryCount("", count));
    EXPECT_TRUE(prompter.asked.empty());
    EXPECT_FALSE(fs::exists(target));
}

} // namespace
} // namespace tvane::test
