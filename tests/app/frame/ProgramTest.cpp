#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "database/DataSource.h"
#include "platform/profile/Profile.h"
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

} // namespace
