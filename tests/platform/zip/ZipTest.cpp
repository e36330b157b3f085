#include "platform/zip/Zip.h"
#include "tests/support/TempHome.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <zip.h>

namespace tvane::zip {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

std::string RunCommand(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        output.append(buffer, n);
    pclose(pipe);
    return output;
}

// Bytes that do not compress away, so the data path is exercised in several reads.
std::string Noise(std::size_t size) {
    std::string bytes(size, '\0');
    unsigned state = 12345;
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 16);
    }
    return bytes;
}

// An archive written with libzip directly, members stored under the names given.
void WriteRawArchive(const fs::path& archive,
                     const std::vector<std::pair<std::string, std::string>>& members,
                     bool stored = false) {
    int error = 0;
    zip_t* za = zip_open(archive.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(za, nullptr);
    for (const auto& [name, data] : members) {
        zip_source_t* source = zip_source_buffer(za, data.data(), data.size(), 0);
        ASSERT_NE(source, nullptr);
        const zip_int64_t index = name.back() == '/' ? zip_dir_add(za, name.c_str(), 0)
                                                     : zip_file_add(za, name.c_str(), source, 0);
        if (name.back() == '/')
            zip_source_free(source);
        ASSERT_GE(index, 0) << name;
        if (stored && name.back() != '/')
            zip_set_file_compression(za, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    ASSERT_EQ(zip_close(za), 0);
}

class ZipTest : public test::TempHomeTest {
protected:
    fs::path Make(const fs::path& relative, const std::string& bytes) {
        const fs::path path = home.Path() / relative;
        fs::create_directories(path.parent_path());
        WriteFile(path, bytes);
        return path;
    }
    std::vector<std::string> Names(const fs::path& archive) {
        ZipReader reader;
        EXPECT_EQ(reader.Open(archive), ZipStatus::Ok);
        std::vector<std::string> names;
        for (int i = 0; i < reader.Count(); ++i)
            names.push_back(reader.Name(i));
        return names;
    }
};

TEST(ZipNames, BaseNameDropsEveryFolderFormAndRefusesNonFiles) {
    const std::pair<const char*, const char*> cases[] = {
        {"qmexport.ini", "qmexport.ini"},
        {"/abs/dir/X6101010.063", "X6101010.063"},
        {"../../etc/passwd", "passwd"},
        {"..\\..\\Windows\\win.ini", "win.ini"},
        {"C:\\data32\\Y1.001", "Y1.001"},
        {"C:evil", "evil"},
        {"dir/", ""},
        {"..", ""},
        {"a/..", ""},
        {".", ""},
        {"", ""},
    };
    for (const auto& [name, base] : cases)
        EXPECT_EQ(MemberBaseName(name), base) << name;
}

TEST_F(ZipTest, FilesTravelUnderTheirBaseNamesAndComeBackByteForByte) {
    const std::string big = Noise(300000);
    const std::vector<fs::path> files = {
        Make("a/qmexport.ini", "[DATASETS]\r\nSetup=Bench\r\n"),
        Make("b/deep/X6101010.063", big),
        Make("c/Y6101010.063", std::string("\0\1\2", 3)),
    };
    const fs::path archive = home.Path() / "out.qmx";
    ASSERT_EQ(CreateArchive(archive, files), ZipStatus::Ok);
    EXPECT_EQ(Names(archive),
              (std::vector<std::string>{"qmexport.ini", "X6101010.063", "Y6101010.063"}));

    // An independent reader sees the same members and data.
    const std::string listing = RunCommand(
        "/usr/bin/python3 -c \"import zipfile,sys,hashlib; z=zipfile.ZipFile(sys.argv[1]); "
        "print(z.testzip()); [print(i.filename, i.file_size) for i in z.infolist()]\" '" +
        archive.string() + "' 2>&1");
    EXPECT_EQ(listing, "None\nqmexport.ini 25\nX6101010.063 300000\nY6101010.063 3\n");

    ZipReader reader;
    ASSERT_EQ(reader.Open(archive), ZipStatus::Ok);
    const fs::path target = home.Path() / "target" / "new"; // created on demand
    for (int i = 0; i < reader.Count(); ++i)
        ASSERT_EQ(reader.Extract(i, target), ZipStatus::Ok) << i;
    for (const fs::path& file : files)
        EXPECT_EQ(ReadFile(target / file.filename()), ReadFile(file)) << file;
    // No temporary files stay behind, and the files get the ordinary mode.
    EXPECT_EQ(std::distance(fs::directory_iterator(target), fs::directory_iterator()), 3);
    EXPECT_EQ(fs::status(target / "qmexport.ini").permissions(),
              fs::status(home.Path() / "a/qmexport.ini").permissions());

    EXPECT_EQ(reader.Find("QMEXPORT.INI"), 0);
    EXPECT_EQ(reader.Find("C:\\data32\\x6101010.063"), 1);
    EXPECT_EQ(reader.Find("/elsewhere/Y6101010.063"), 2);
    EXPECT_EQ(reader.Find("missing"), -1);
    EXPECT_EQ(reader.Find("dir/"), -1);
    EXPECT_EQ(reader.Extract(3, target), ZipStatus::IndexOutOfRange);
    EXPECT_EQ(reader.Extract(-1, target), ZipStatus::IndexOutOfRange);
}

TEST_F(ZipTest, ArchiveCreationFailuresLeaveAnExistingArchiveAlone) {
    const fs::path one = Make("a/one.txt", "1");
    const fs::path archive = home.Path() / "keep.qmx";
    ASSERT_EQ(CreateArchive(archive, {one}), ZipStatus::Ok);
    const std::string before = ReadFile(archive);

    const struct {
        const char* what;
        std::vector<fs::path> files;
        fs::path archive;
        ZipStatus status;
    } cases[] = {
        {"no files", {}, archive, ZipStatus::NothingToDo},
        {"missing file", {one, home.Path() / "a/none.txt"}, archive, ZipStatus::InputUnreadable},
        {"folder as file", {home.Path() / "a"}, archive, ZipStatus::InputUnreadable},
        {"same base name", {one, Make("b/ONE.txt", "2")}, archive, ZipStatus::DuplicateName},
        {"no such folder", {one}, home.Path() / "none" / "x.qmx", ZipStatus::ArchiveCreateFailed},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CreateArchive(c.archive, c.files), c.status) << c.what;
        EXPECT_EQ(ReadFile(archive), before) << c.what;
    }
    EXPECT_FALSE(fs::exists(home.Path() / "none"));
}

TEST_F(ZipTest, HostileMemberNamesStayInsideTheTargetFolder) {
    const fs::path sandbox = home.Path() / "sandbox";
    const fs::path target = sandbox / "a" / "b" / "target";
    fs::create_directories(target);
    const fs::path archive = home.Path() / "hostile.zip";
    WriteRawArchive(archive, {
                                 {"../../escape1.txt", "1"},
                                 {"../../../../../../../../tmp/escape2.txt", "2"},
                                 {(sandbox / "escape3.txt").string(), "3"},
                                 {"..\\..\\escape4.txt", "4"},
                                 {"C:\\Windows\\escape5.txt", "5"},
                                 {"sub/dir/normal.txt", "6"},
                                 {"..", "7"},
                                 {"sub/", ""},
                             });
    // A link planted where a member lands is replaced, not written through.
    const fs::path victim = sandbox / "victim.txt";
    WriteFile(victim, "untouched");
    fs::create_symlink(victim, target / "normal.txt");

    ZipReader reader;
    ASSERT_EQ(reader.Open(archive), ZipStatus::Ok);
    ASSERT_EQ(reader.Count(), 8);
    std::vector<ZipStatus> results;
    for (int i = 0; i < reader.Count(); ++i)
        results.push_back(reader.Extract(i, target));
    EXPECT_EQ(results, (std::vector<ZipStatus>{ZipStatus::Ok, ZipStatus::Ok, ZipStatus::Ok,
                                               ZipStatus::Ok, ZipStatus::Ok, ZipStatus::Ok,
                                               ZipStatus::UnsafeName, ZipStatus::UnsafeName}));
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(ReadFile(target / ("escape" + std::to_string(i) + ".txt")), std::to_string(i));
    EXPECT_FALSE(fs::is_symlink(target / "normal.txt"));
    EXPECT_EQ(ReadFile(target / "normal.txt"), "6");
    EXPECT_EQ(ReadFile(victim), "untouched");

    // Nothing was written anywhere in the sandbox outside the target folder.
    std::vector<std::string> outside;
    for (const auto& entry : fs::recursive_directory_iterator(sandbox)) {
        const std::string rel = fs::relative(entry.path(), sandbox).string();
        if (rel.rfind("a/b/target/", 0) != 0)
            outside.push_back(rel);
    }
    std::sort(outside.begin(), outside.end());
    EXPECT_EQ(outside, (std::vector<std::string>{"a", "a/b", "a/b/target", "victim.txt"}));
    EXPECT_FALSE(fs::exists("/tmp/escape2.txt") && ReadFile("/tmp/escape2.txt") == "2");
}

TEST_F(ZipTest, DamagedOrMissingArchivesAreReportedNotExtracted) {
    ZipReader reader;
    EXPECT_EQ(reader.Open(home.Path() / "none.zip"), ZipStatus::ArchiveNotFound);
    EXPECT_EQ(reader.Open(Make("junk.zip", "this is no zip archive at all")),
              ZipStatus::NotAnArchive);
    EXPECT_EQ(reader.Open(home.Path()), ZipStatus::ArchiveUnreadable);
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(reader.Count(), 0);

    // A member whose stored data were changed after the checksum was taken.
    const fs::path archive = home.Path() / "crc.zip";
    WriteRawArchive(archive, {{"data.bin", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"}}, /*stored=*/true);
    std::string bytes = ReadFile(archive);
    const std::size_t at = bytes.find("ABCDEFGH");
    ASSERT_NE(at, std::string::npos);
    bytes[at + 3] = 'x';
    WriteFile(archive, bytes);
    ASSERT_EQ(reader.Open(archive), ZipStatus::Ok);
    const fs::path target = home.Path() / "out";
    EXPECT_EQ(reader.Extract(0, target), ZipStatus::BadCrc);
    EXPECT_FALSE(fs::exists(target / "data.bin"));
    EXPECT_TRUE(fs::is_empty(target));
}

TEST_F(ZipTest, AMemberGoesWhereTheCallerSaysWithinItsSizeLimits) {
    const fs::path archive = home.Path() / "sizes.zip";
    const std::string noise = Noise(3 << 20);
    WriteRawArchive(archive, {{"INDEX.INI", "upper"},
                              {"index.ini", "lower"},
                              {"Only.Upper", "only"},
                              {"zeros", std::string(4 << 20, '\0')},
                              {"noise", noise}});
    ZipReader reader;
    ASSERT_EQ(reader.Open(archive), ZipStatus::Ok);
    // The same case wins; another case is taken only when there is no such member.
    EXPECT_EQ(reader.Find("index.ini"), 1);
    EXPECT_EQ(reader.Find("C:INDEX.INI"), 0);
    EXPECT_EQ(reader.Find("only.upper"), 2);

    const fs::path folder = home.Path() / "out";
    fs::create_directories(folder);
    EXPECT_EQ(reader.ExtractTo(2, folder / "chosen"), ZipStatus::Ok);
    EXPECT_EQ(ReadFile(folder / "chosen"), "only");
    EXPECT_FALSE(fs::exists(folder / "Only.Upper"));

    ExtractLimits small;
    small.maxBytes = 4;
    EXPECT_EQ(reader.ExtractTo(0, folder / "a", small), ZipStatus::TooLarge);
    // 4 MB of zeros shrink to a few kilobytes: far beyond any real file's ratio.
    EXPECT_EQ(reader.ExtractTo(3, folder / "b"), ZipStatus::TooLarge);
    EXPECT_EQ(reader.ExtractTo(4, folder / "c"), ZipStatus::Ok);
    EXPECT_EQ(ReadFile(folder / "c"), noise);
    // Free space is checked before anything is written.
    ExtractLimits roomy;
    roomy.reserveBytes = std::uint64_t{1} << 62;
    EXPECT_EQ(reader.ExtractTo(0, folder / "d", roomy), ZipStatus::DiskFull);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"c", "chosen"}));
}

} // namespace
} // namespace tvane::zip
