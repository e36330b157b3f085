#include "platform/core/AtomicFile.h"
#include "platform/core/Clock.h"
#include "platform/core/Folders.h"
#include "platform/core/Format.h"
#include "platform/core/FrameworkExceptions.h"
#include "platform/core/NameText.h"
#include "platform/core/Services.h"
#include "platform/core/StringTable.h"
#include "tests/support/CommaLocale.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tvane {
namespace {

TEST(Format, GrowsPastAnyFixedBuffer) {
    std::string big(5000, 'x');
    EXPECT_EQ(Format("%s-%d", big.c_str(), 42), big + "-42");
    EXPECT_EQ(Format("%g", 1.5e-7), "1.5e-07"); // two-digit exponents
    EXPECT_EQ(Format("%s", ""), "");
}

// A user's locale with a decimal comma changes neither the texts of numbers
// nor, once a program keeps the C conventions, the numbers read from texts.
TEST(Format, NumbersKeepTheDecimalPointInAnyLocale) {
    test::CommaLocale comma;
    if (!test::CommaLocale::Active())
        GTEST_SKIP() << "no locale with a decimal comma";
    EXPECT_EQ(Format("%f %8.8f %g %E", -3.295544, 0.5, 2.5, 1.25),
              "-3.295544 0.50000000 2.5 1.250000E+00");
    EXPECT_EQ(std::strtod("1.5", nullptr), 1.0) << "the locale reads a comma";
    KeepCNumberFormat();
    EXPECT_EQ(std::strtod("1.5", nullptr), 1.5);
    EXPECT_FALSE(test::CommaLocale::Active());
}

TEST(Format, ReplaceFirstReplacesOnlyTheFirstOccurrence) {
    std::string text = "%H:%M %H";
    EXPECT_TRUE(tvane::ReplaceFirst(text, "%H", "hh"));
    EXPECT_EQ(text, "hh:%M %H");
    EXPECT_FALSE(tvane::ReplaceFirst(text, "%S", "ss"));
    EXPECT_EQ(text, "hh:%M %H");
}

TEST(FakeClock, TickWrapsAndWallTimeCarriesMilliseconds) {
    FakeClock clock(1000, 0xFFFFFF00u);
    clock.Advance(0x200);
    EXPECT_EQ(clock.TickCount(), 0x100u);
    EXPECT_EQ(clock.Now(), 1000);
    clock.Advance(600);
    EXPECT_EQ(clock.Now(), 1001);
    ScopedService<IClock> guard(SetClock, &clock);
    EXPECT_EQ(&Clock(), &clock);
}

TEST(StringTable, LoadsByIdAndKeepsTextsExactly) {
    StringTable table{{1, "One  "}, {2, "a\nb"}};
    EXPECT_EQ(table.Load(1), "One  ");
    EXPECT_EQ(table.Load(2), "a\nb");
    EXPECT_EQ(table.Load(3), "");
    std::string out = "keep";
    EXPECT_FALSE(table.Load(3, out));
    EXPECT_EQ(out, "keep");
}

TEST(Folders, TvaneHomePutsBothFoldersUnderIt) {
    test::TempHome home;
    EXPECT_EQ(ConfigDir(), home.Path() / "config");
    EXPECT_EQ(DataDir(), home.Path() / "data");
    EXPECT_TRUE(std::filesystem::is_directory(ConfigDir()));
    EXPECT_EQ(ConfigFile("Tvane.ini"), home.Path() / "config" / "Tvane.ini");
    EXPECT_EQ(ConfigFile("/tmp/x.ini"), std::filesystem::path("/tmp/x.ini"));
}

TEST(ReadWholeFile, ReadsOnlyAReadableRegularFile) {
    test::TempHome home;
    const std::filesystem::path file = home.Path() / "bytes.bin";
    const std::string content = std::string("a\0b\r\n", 5) + std::string(40000, 'x');
    test::WriteFile(file, content);
    std::string bytes = "old";
    ASSERT_TRUE(ReadWholeFile(file, bytes));
    EXPECT_EQ(bytes, content);

    const std::filesystem::path fifo = home.Path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Opened, but every read fails: the kernel has no page at address 0.
    const std::filesystem::path failingRead = "/proc/self/mem";
    for (const std::filesystem::path& path : {home.Path() / "missing.ini", home.Path(), fifo,
                                              std::filesystem::path("/dev/null"), failingRead}) {
        SCOPED_TRACE(path);
        bytes = "old";
        EXPECT_FALSE(ReadWholeFile(path, bytes));
        EXPECT_EQ(bytes, "old");
    }
}

TEST(SaveWholeFile, ReplacesTheFileKeepingItsPermissions) {
    test::TempHome home;
    const std::filesystem::path file = home.Path() / "kept.ini";
    test::WriteFile(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(file, "new"));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(file, bytes));
    EXPECT_EQ(bytes, "new");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".new~"));

    // A new file left by a crash is no obstacle.
    test::WriteFile(file.string() + ".new~", "stale");
    EXPECT_TRUE(WriteFileAtomically(file, "newer"));
    ASSERT_TRUE(ReadWholeFile(file, bytes));
    EXPECT_EQ(bytes, "newer");
}

TEST(SaveWholeFile, AFailedSaveLeavesTheOldFile) {
    test::TempHome home;
    const std::filesystem::path file = home.Path() / "old.dat";
    test::WriteFile(file, "old");
    // The writer fails halfway: what it throws comes back, and its file is gone.
    EXPECT_THROW(SaveWholeFile(file,
                               [](const std::filesystem::path& newFile) {
                                   test::WriteFile(newFile, "half");
                                   throw std::runtime_error("disk full");
                               }),
                 std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".new~"));
    // Something that is not a file where the new file goes.
    std::filesystem::create_directories(file.string() + ".new~/blocked");
    EXPECT_FALSE(WriteFileAtomically(file, "new"));
    std::filesystem::remove_all(file.string() + ".new~");
    // The rename fails: the target is a folder that is not empty.
    const std::filesystem::path folder = home.Path() / "folder";
    std::filesystem::create_directories(folder / "inside");
    EXPECT_FALSE(WriteFileAtomically(folder, "new"));
    EXPECT_FALSE(std::filesystem::exists(folder.string() + ".new~"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "inside"));

    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(file, bytes));
    EXPECT_EQ(bytes, "old");
}

TEST(SaveWholeFile, FollowsALinkAndRefusesWhatIsNotAFile) {
    test::TempHome home;
    namespace fs = std::filesystem;
    // A link is kept and its target, in a folder of its own, gets the new contents.
    fs::create_directories(home.Path() / "elsewhere");
    const fs::path target = home.Path() / "elsewhere" / "real.ini";
    test::WriteFile(target, "old");
    const fs::path link = home.Path() / "link.ini";
    fs::create_symlink("elsewhere/real.ini", link);
    ASSERT_TRUE(WriteFileAtomically(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(target, bytes));
    EXPECT_EQ(bytes, "new");
    // Where a link is not to be trusted it is replaced, its target left alone.
    const fs::path planted = home.Path() / "planted.ini";
    fs::create_symlink(target, planted);
    ASSERT_TRUE(WriteFileAtomically(planted, "mine", AtLink::Replace));
    EXPECT_FALSE(fs::is_symlink(planted));
    ASSERT_TRUE(ReadWholeFile(target, bytes));
    EXPECT_EQ(bytes, "new");
    EXPECT_NE(fs::status(planted).permissions() & fs::perms::others_write, fs::perms::others_write);
    // A dangling link makes its target.
    fs::create_symlink(home.Path() / "made.ini", home.Path() / "dangling.ini");
    ASSERT_TRUE(WriteFileAtomically(home.Path() / "dangling.ini", "made"));
    ASSERT_TRUE(ReadWholeFile(home.Path() / "made.ini", bytes));
    EXPECT_EQ(bytes, "made");

    const fs::path fifo = home.Path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path socketPath = home.Path() / "socket";
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const fs::path toDevice = home.Path() / "device";
    fs::create_symlink("/dev/null", toDevice);
    const fs::path toFifo = home.Path() / "tofifo";
    fs::create_symlink(fifo, toFifo);
    fs::create_directories(home.Path() / "empty");
    for (const fs::path& path : {fifo, socketPath, toDevice, toFifo, home.Path() / "empty"}) {
        SCOPED_TRACE(path);
        EXPECT_THROW(SaveWholeFile(path, [](const fs::path&) { FAIL() << "written"; }),
                     fs::filesystem_error);
        EXPECT_FALSE(WriteFileAtomically(path, "new"));
    }
    ::close(sock);
    EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);
    EXPECT_EQ(fs::symlink_status(socketPath).type(), fs::file_type::socket);
    EXPECT_TRUE(fs::is_symlink(toDevice));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::is_directory(home.Path() / "empty"));
    for (const fs::directory_entry& entry : fs::directory_iterator(home.Path()))
        EXPECT_EQ(entry.path().string().find(".new~"), std::string::npos) << entry.path();
}

TEST(FileException, CauseOfASystemError) {
    const struct {
        int error;
        int cause;
    } cases[] = {
        {ENOENT, FileException::badPath},          {ENOTDIR, FileException::badPath},
        {EACCES, FileException::accessDenied},     {EROFS, FileException::accessDenied},
        {EMFILE, FileException::tooManyOpenFiles}, {ENOSPC, FileException::diskFull},
        {EDQUOT, FileException::diskFull},         {EIO, FileException::hardIO},
        {EINVAL, FileException::genericException},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileException::CauseFromErrno(c.error), c.cause) << c.error;
}

TEST(NameText, ControlCharactersAreFoundAnywhere) {
    EXPECT_FALSE(HasControlCharacter("Run [2] \xC3\xA9t\xC3\xA9"));
    EXPECT_FALSE(HasControlCharacter(""));
    for (const std::string& bad :
         {std::string("a\nb"), std::string("a\rb"), std::string("ab\t"), std::string("a\0b", 3),
          std::string("\x1F"), std::string("\x7F")})
        EXPECT_TRUE(HasControlCharacter(bad)) << testing::PrintToString(bad);
}

TEST(NameText, CutsUtf8OnlyAtACharacterBoundary) {
    const std::string text = "ab\xC3\xA9\xE2\x82\xAC"; // "ab", e-acute (2 bytes), euro (3 bytes)
    EXPECT_EQ(CutUtf8(text, 99), text);
    EXPECT_EQ(CutUtf8(text, 7), text);
    EXPECT_EQ(CutUtf8(text, 6), "ab\xC3\xA9");
    EXPECT_EQ(CutUtf8(text, 5), "ab\xC3\xA9");
    EXPECT_EQ(CutUtf8(text, 4), "ab\xC3\xA9");
    EXPECT_EQ(CutUtf8(text, 3), "ab");
    EXPECT_EQ(CutUtf8(text, 0), "");
}

} // namespace
} // namespace tvane
