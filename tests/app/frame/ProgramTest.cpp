#include <pwd.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "database/DataSource.h"
#include "platform/profile/Profile.h"
#include "tests/database/OdbcTestSupport.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempHome.h"

namespace {

const std::filesystem::path kTvane = std::filesystem::path(TVANE_BINARY_DIR) / "bin" / "Tvane";

int RunTvane(const std::string& arguments, const std::filesystem::path& log) {
    const std::string command =
        "'" + kTvane.string() + "' " + arguments + " > '" + log.string() + "' 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// "Tvane -r" registers the control and the driver from the program's folder
// into the registry and ends, with no window and no message.
TEST(Program, RegisterRunWritesBothComponentsAndEnds) {
    tvane::test::TempHome home;
    const auto log = home.Path() / "out.txt";
    ASSERT_EQ(RunTvane("-r", log), 0) << tvane::test::ReadFile(log);
    EXPECT_EQ(tvane::test::ReadFile(log), "");
    const std::string classes =
        tvane::test::ReadFile(home.Config() / "registry" / "HKEY_CLASSES_ROOT.reg");
    EXPECT_NE(classes.find("KXQT7100.Drv32"), std::string::npos);
    EXPECT_NE(classes.find("Linkwell"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(home.Data() / "tvane.mdb"));
}

TEST(Program, FailedRegistrationEndsWithAnError) {
    tvane::test::TempHome home;
    tvane::WritePrivateProfileString("QMComm Control", "DllName", "NoSuchControl.so", kProfileFile);
    const auto log = home.Path() / "out.txt";
    EXPECT_EQ(RunTvane("/R", log), 1);
    const std::string out = tvane::test::ReadFile(log);
    EXPECT_NE(out.find("NoSuchControl.so"), std::string::npos) << out;
    const auto classes = home.Config() / "registry" / "HKEY_CLASSES_ROOT.reg";
    EXPECT_TRUE(!std::filesystem::exists(classes) ||
                tvane::test::ReadFile(classes).find("KXQT7100.Drv32") == std::string::npos);
}

// Starts Tvane as a child whose HOME is userHome and whose environment names no
// ODBCINI, with a SIGTERM waiting from the start: the child holds it back until
// the program takes it. An alarm ends a program that never does. Returns the exit
// code, or minus the signal that ended it.
int RunTvaneTerminated(const std::filesystem::path& userHome, const std::filesystem::path& log) {
    tvane::test::ChildLaunch launch;
    launch.program = kTvane.string();
    launch.arguments = {"Tvane"};
    launch.set = {"HOME=" + userHome.string()};
    launch.drop = {"ODBCINI"};
    launch.log = log;
    launch.terminateWaiting = true;
    const pid_t child = tvane::test::StartChild(launch);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return -1000;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

// SIGTERM ends the program through its shutdown even while start-up shows its
// windows, and the program writes nothing outside its configuration and data
// folders: its data source is in its configuration folder, not ~/.odbc.ini.
TEST(Program, ATerminatedStartEndsCleanlyAndLeavesTheUsersHomeAlone) {
    tvane::test::TempHome home;
    tvane::test::InstallWorkspaceDriver(home);
    const auto log = home.Path() / "out.txt";
    ASSERT_EQ(RunTvane("-r", log), 0) << tvane::test::ReadFile(log);
    tvane::WritePrivateProfileString("KXQT7100.Drv32", "Interface", "SIMULATED", kProfileFile);
    const std::filesystem::path userHome = home.Path() / "user";
    std::filesystem::create_directories(userHome);
    // unixODBC finds the user's file through the account, not HOME: the account's
    // own file must stay as it was too.
    const std::filesystem::path accountFile =
        std::filesystem::path(getpwuid(getuid())->pw_dir) / ".odbc.ini";
    const bool accountHad = std::filesystem::exists(accountFile);
    const std::string accountText = accountHad ? tvane::test::ReadFile(accountFile) : "";

    EXPECT_EQ(RunTvaneTerminated(userHome, log), 0) << tvane::test::ReadFile(log);
    EXPECT_EQ(std::filesystem::exists(accountFile), accountHad);
    if (accountHad) {
        EXPECT_EQ(tvane::test::ReadFile(accountFile), accountText);
    }
    EXPECT_EQ(tvane::GetPrivateProfileString("Settings", "Valid", "", kProfileFile), "1");
    EXPECT_TRUE(std::filesystem::exists(home.Data() / "backup.mdb"));
    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(userHome))
        written.push_back(entry.path().string());
    EXPECT_TRUE(written.empty()) << written.front();
    const std::string sources = tvane::test::ReadFile(home.Config() / "odbc.ini");
    EXPECT_NE(sources.find("[Tvane32]"), std::string::npos) << sources;
    EXPECT_NE(sources.find((home.Data() / "tvane.mdb").string()), std::string::npos) << sources;
}

} // namespace
