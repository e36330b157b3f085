#include <csignal>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "StorageTestSupport.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

class StorageRules : public TempHomeTest {
protected:
    std::filesystem::path File(const char* name) { return home.Path() / name; }
};

template <typename F> StorageStatus StatusOf(F&& action) {
    try {
        action();
    } catch (const StorageException& e) {
        return e.Status();
    }
    return STG_S_OK;
}

TEST_F(StorageRules, ASecondOpenerIsRefusedInThisProcessAndAnother) {
    std::filesystem::path file = File("held.cfb");
    Storage root = StgCreateDocfile(file, kRw);
    EXPECT_EQ(StatusOf([&] { StgOpenStorage(file, kRw); }), STG_E_ACCESSDENIED);
    EXPECT_EQ(StatusOf([&] { StgOpenStorage(file, kRo); }), STG_E_ACCESSDENIED);
    // A replacing create must not truncate a file someone holds.
    EXPECT_EQ(StatusOf([&] { StgCreateDocfile(file, kRw | STGM_CREATE); }), STG_E_ACCESSDENIED);
    pid_t child = ::fork();
    if (child == 0) {
        StorageStatus s = StatusOf([&] { StgOpenStorage(file, kRw); });
        ::_exit(s == STG_E_ACCESSDENIED ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    root.Close();
    EXPECT_EQ(StatusOf([&] { StgOpenStorage(file, kRw).Close(); }), STG_S_OK);
}

TEST_F(StorageRules, FailuresCarryTheStatusCallersExpect) {
    std::filesystem::path file = File("rules.cfb");
    EXPECT_EQ(StatusOf([&] { StgOpenStorage(File("missing.cfb"), kRw); }), STG_E_FILENOTFOUND);
    EXPECT_EQ(StatusOf([&] { StgCreateDocfile(home.Path() / "no" / "x.cfb", kRw); }),
              STG_E_PATHNOTFOUND);
    WriteFile(File("text.txt"), std::string(2000, 'a'));
    EXPECT_EQ(StatusOf([&] { StgOpenStorage(File("text.txt"), kRo); }), STG_E_INVALIDHEADER);
    EXPECT_EQ(StgIsStorageFile(File("text.txt")), STG_S_FALSE);
    EXPECT_EQ(StgIsStorageFile(File("missing.cfb")), STG_E_FILENOTFOUND);

    Storage root = StgCreateDocfile(file, kRw);
    EXPECT_EQ(StgIsStorageFile(file), STG_S_OK);
    EXPECT_EQ(StatusOf([&] { StgCreateDocfile(file, kRw); }), STG_E_FILEALREADYEXISTS);
    Stream header = root.CreateStream("Header", kRw);
    header.Write("12345", 5);
    // Creating an existing name fails unless asked to replace; names compare without case.
    EXPECT_EQ(StatusOf([&] { root.CreateStream("HEADER", kRw); }), STG_E_FILEALREADYEXISTS);
    EXPECT_EQ(StatusOf([&] { root.CreateStorage("header", kRw); }), STG_E_FILEALREADYEXISTS);
    // An open element is neither opened twice, replaced nor destroyed.
    EXPECT_EQ(StatusOf([&] { root.OpenStream("Header", kRw); }), STG_E_ACCESSDENIED);
    EXPECT_EQ(StatusOf([&] { root.CreateStream("Header", kRw | STGM_CREATE); }),
              STG_E_ACCESSDENIED);
    EXPECT_EQ(StatusOf([&] { root.DestroyElement("Header"); }), STG_E_ACCESSDENIED);
    header.Close();
    {
        Stream replaced = root.CreateStream("Header", kRw | STGM_CREATE);
        EXPECT_EQ(replaced.Size(), 0u);
    }
    EXPECT_EQ(StatusOf([&] { root.OpenStream("Nothing", kRw); }), STG_E_FILENOTFOUND);
    EXPECT_EQ(StatusOf([&] { root.OpenStorage("Header", kRw); }), STG_E_FILENOTFOUND);
    EXPECT_EQ(StatusOf([&] { root.DestroyElement("Nothing"); }), STG_E_FILENOTFOUND);
    for (const char* bad :
         {"", "a/b", "a\\b", "a:b", "a!b", "12345678901234567890123456789012", "\xff"}) {
        EXPECT_EQ(StatusOf([&] { root.CreateStream(bad, kRw); }), STG_E_INVALIDNAME) << bad;
    }
    EXPECT_EQ(StatusOf([&] { root.CreateStream("1234567890123456789012345678901", kRw); }),
              STG_S_OK);
    EXPECT_EQ(StatusOf([&] { root.CreateStream("ro", kRo); }), STG_E_INVALIDFLAG);
    {
        Stream s = root.OpenStream("Header", kRo);
        EXPECT_EQ(StatusOf([&] { s.Write("x", 1); }), STG_E_ACCESSDENIED);
        EXPECT_EQ(StatusOf([&] { s.Seek(-1, STREAM_SEEK_SET); }), STG_E_INVALIDFUNCTION);
    }
    root.Close();

    Storage readOnly = StgOpenStorage(file, kRo);
    EXPECT_EQ(StatusOf([&] { readOnly.CreateStream("new", kRw); }), STG_E_ACCESSDENIED);
    EXPECT_EQ(StatusOf([&] { readOnly.OpenStream("Header", kRw); }), STG_E_ACCESSDENIED);
    EXPECT_EQ(StatusOf([&] { readOnly.DestroyElement("Header"); }), STG_E_ACCESSDENIED);
    EXPECT_EQ(readOnly.Stat().name, std::filesystem::absolute(file).string());
}

TEST_F(StorageRules, AStreamStopsAtTwoGigabytesWithAClearError) {
    Storage root = StgCreateDocfile(File("big.cfb"), kRw);
    Stream s = root.CreateStream("Readings", kRw);
    s.Seek(kMaxStreamSize, STREAM_SEEK_SET);
    EXPECT_EQ(StatusOf([&] { s.Write("x", 1); }), STG_E_DOCFILETOOLARGE);
    EXPECT_EQ(StatusOf([&] { s.SetSize(kMaxStreamSize + 1); }), STG_E_DOCFILETOOLARGE);
    EXPECT_EQ(s.Size(), 0u);
}

TEST_F(StorageRules, AFullMediumIsReportedNotSwallowed) {
    // A file size limit stands in for a full disk (in a child, to keep it there).
    std::filesystem::path file = File("full.cfb");
    pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{40 * 1024, 40 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        int result = 0;
        Storage root = StgCreateDocfile(file, kRw);
        Stream s = root.CreateStream("Readings", kRw);
        std::vector<std::uint8_t> block = Pattern(16380, 1);
        StorageStatus write = StatusOf([&] {
            for (int i = 0; i < 8; ++i) {
                s.Write(block.data(), block.size());
            }
        });
        result |= write == STG_E_MEDIUMFULL ? 0 : 1;
        s.Close();
        // What was written before the failure is still a consistent file.
        result |= StatusOf([&] { root.Close(); }) == STG_S_OK ? 0 : 2;
        ::_exit(result);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    // The two blocks that fitted, and nothing of the third.
    std::vector<std::uint8_t> two = Pattern(16380, 1);
    two.insert(two.end(), two.begin(), two.end());
    EXPECT_EQ(OleCheck(file), StreamLine("Readings", two) + "\nTREE OK\n");
}

TEST_F(StorageRules, FreedSectorsAreReusedSoCyclesDoNotGrowTheFile) {
    std::filesystem::path file = File("cycles.cfb");
    Storage root = StgCreateDocfile(file, kRw);
    auto cycle = [&](int i) {
        Storage d = root.CreateStorage("Z" + std::to_string(i), kRw);
        Stream r = d.CreateStream("Readings", kRw);
        WriteAll(r, Pattern(200000, i));
        Stream e = d.CreateStream("Events", kRw);
        WriteAll(e, Pattern(300, i));
        r.Close();
        e.Close();
        d.Close();
        root.Commit();
        root.DestroyElement("Z" + std::to_string(i));
        root.Commit();
    };
    cycle(0);
    auto size = std::filesystem::file_size(file);
    for (int i = 1; i < 20; ++i) {
        cycle(i);
    }
    EXPECT_EQ(std::filesystem::file_size(file), size);
    // Without commits in between as well.
    for (int i = 20; i < 40; ++i) {
        Stream s = root.CreateStream("tmp", kRw);
        WriteAll(s, Pattern(100000, i));
        s.Close();
        root.DestroyElement("tmp");
    }
    root.Commit();
    EXPECT_EQ(std::filesystem::file_size(file), size);
}

TEST_F(StorageRules, ShrinkingAStreamFreesItsSectors) {
    std::filesystem::path file = File("shrink.cfb");
    Storage root = StgCreateDocfile(file, kRw);
    Stream a = root.CreateStream("a", kRw);
    WriteAll(a, Pattern(1 << 20, 1));
    root.Commit();
    auto size = std::filesystem::file_size(file);
    a.SetSize(5000);
    root.Commit();
    Stream b = root.CreateStream("b", kRw);
    WriteAll(b, Pattern((1 << 20) - 8192, 2));
    root.Commit();
    EXPECT_LE(std::filesystem::file_size(file), size);
    EXPECT_EQ(ReadAll(a), Pattern(5000, 1));
    EXPECT_EQ(ReadAll(b), Pattern((1 << 20) - 8192, 2));
}

TEST_F(StorageRules, DestroyingAStorageRemovesEverythingInIt) {
    std::filesystem::path file = File("destroy.cfb");
    Storage root = StgCreateDocfile(file, kRw);
    {
        Storage d = root.CreateStorage("Z1", kRw);
        Storage texts = d.CreateStorage("EventsZ1", kRw);
        for (int i = 0; i < 50; ++i) {
            WriteAll(texts.CreateStream(std::to_string(i), kRw), Pattern(100 + i * 200, i));
        }
        Stream r = d.CreateStream("Readings", kRw);
        WriteAll(r, Pattern(300000, 7));
        r.Close();
        // Refused while anything inside is open.
        EXPECT_EQ(StatusOf([&] { root.DestroyElement("Z1"); }), STG_E_ACCESSDENIED);
    }
    WriteAll(root.CreateStream("Datasets", kRw), Pattern(56, 1));
    root.Commit();
    auto size = std::filesystem::file_size(file);
    root.DestroyElement("Z1");
    EXPECT_FALSE(root.HasElement("Z1"));
    root.Commit();
    {
        Storage d = root.CreateStorage("Z2", kRw);
        Stream r = d.CreateStream("Readings", kRw);
        WriteAll(r, Pattern(300000, 8));
    }
    root.Close();
    EXPECT_LE(std::filesystem::file_size(file), size);
    std::string listing = OleCheck(file);
    EXPECT_EQ(listing, "S Datasets 56 " + StreamLine("", Pattern(56, 1)).substr(6) + "\nD Z2\n" +
                           StreamLine("Z2/Readings", Pattern(300000, 8)) + "\nTREE OK\n");
}

TEST_F(StorageRules, ACrashBetweenCommitsLeavesTheLastCommittedState) {
    std::filesystem::path file = File("crash.cfb");
    Storage root = StgCreateDocfile(file, kRw);
    Stream r = root.CreateStream("Readings", kRw);
    Stream e = root.CreateStream("Events", kRw);
    WriteAll(r, Pattern(50000, 1));
    WriteAll(e, Pattern(700, 2));
    WriteAll(root.CreateStream("Gone", kRw), Pattern(9000, 3));
    root.Commit();
    const std::string committed = OleCheck(file);

    // Everything a run does between two commits.
    WriteAll(r, Pattern(30000, 4));
    WriteAll(e, Pattern(5000, 5));
    root.DestroyElement("Gone");
    WriteAll(root.CreateStream("New", kRw), Pattern(20000, 6));
    r.Seek(0, STREAM_SEEK_SET);
    r.SetSize(100);
    WriteAll(root.CreateStream("New2", kRw), Pattern(40000, 7));
    // The file as a crash would leave it: whatever has reached it so far.
    std::filesystem::copy_file(file, File("crashed.cfb"));
    EXPECT_EQ(OleCheck(File("crashed.cfb")), committed);
    {
        Storage crashed = StgOpenStorage(File("crashed.cfb"), kRo);
        Stream gone = crashed.OpenStream("Gone", kRo);
        EXPECT_EQ(ReadAll(gone), Pattern(9000, 3));
    }
    root.Commit();
    std::filesystem::copy_file(file, File("committed.cfb"));
    std::string later = OleCheck(File("committed.cfb"));
    EXPECT_EQ(later.find("Gone"), std::string::npos);
    EXPECT_NE(later.find(StreamLine("New2", Pattern(40000, 7))), std::string::npos) << later;
}

} // namespace
} // namespace tvane::test
