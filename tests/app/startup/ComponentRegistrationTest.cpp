#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/startup/CLoggerApp.h"
#include "app/startup/ComponentRegistration.h"
#include "database/DataSource.h"
#include "platform/core/Exception.h"
#include "platform/core/Services.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"
#include "tests/support/TempHome.h"

namespace fs = std::filesystem;

namespace {

const fs::path kBin = fs::path(TVANE_BINARY_DIR) / "bin";

TEST(RegisterCommand, OnlyAWholeArgumentCounts) {
    struct Case {
        std::vector<std::string> args;
        bool registers;
    } cases[] = {
        {{"-r"}, true},
        {{"/R"}, true},
        {{"setup.fxs", "-R"}, true},
        {{}, false},
        {{"/opt/my-reports/setup.fxs"}, false},
        {{"-reg"}, false},
        {{"/run"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsRegisterCommand(c.args), c.registers) << testing::PrintToString(c.args);
}

TEST(RegisterMessages, PlaceholdersAreReplacedAndOtherPercentsKept) {
    EXPECT_EQ(FormatMessageArgs("%1 in %2 failed. 100% %d %", "A", "B"),
              "A in B failed. 100% %d %");
    EXPECT_EQ(FormatMessageArgs("%2%1%2", "x", "y"), "yxy");
}

class RegistrationTest : public tvane::test::TempHomeTest {
protected:
    std::string Registered() {
        const auto file = home.Path() / "registered.txt";
        return fs::exists(file) ? tvane::test::ReadFile(file) : "";
    }
    // A copy of a test server under another name in the temporary home.
    std::string CopyAs(const char* kind, const std::string& name) {
        const auto target = home.Path() / name;
        fs::copy_file(kBin / (std::string("regtest_") + kind + ".so"), target);
        return target.string();
    }
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> guard{tvane::SetPrompter, &prompter};
};

TEST_F(RegistrationTest, ResultsAndMessages) {
    const std::string exe = CopyAs("none", "none.exe");
    const std::string ocx = CopyAs("none", "none.OCX");
    const std::string ok = (kBin / "regtest_ok.so").string();
    const std::string fail = (kBin / "regtest_fail.so").string();
    const std::string missing = (home.Path() / "missing.so").string();
    struct Case {
        std::string path;
        bool quiet;
        int result;
        std::string message; // empty: no box
        tvane::MsgIcon icon;
    } cases[] = {
        {ok, true, kRegisterOk, "", tvane::MsgIcon::None},
        {ok, false, kRegisterOk, "DllRegisterServer in " + ok + " succeeded.",
         tvane::MsgIcon::Information},
        {fail, true, kRegisterCallFailed, "DllRegisterServer in " + fail + " failed.",
         tvane::MsgIcon::Warning},
        {exe, true, kRegisterNoEntry,
         exe + " was loaded, but the DllRegisterServer entry point was not found.\n\n" + exe +
             " does not appear to be a .DLL or .OCX file.",
         tvane::MsgIcon::Warning},
        {ocx, true, kRegisterNoEntry,
         ocx +
             " was loaded, but the DllRegisterServer entry point was not found.\n\n"
             "DllRegisterServer may not be exported, or a corrupt version of " +
             ocx + " may be in memory. Consider using PView to detect and remove it.",
         tvane::MsgIcon::Warning},
    };
    for (const auto& c : cases) {
        prompter.asked.clear();
        EXPECT_EQ(RegisterServerFile(c.path, c.quiet), c.result) << c.path;
        if (c.message.empty()) {
            EXPECT_TRUE(prompter.asked.empty()) << c.path;
        } else {
            ASSERT_EQ(prompter.asked.size(), 1u) << c.path;
            EXPECT_EQ(prompter.asked[0].text, c.message);
            EXPECT_EQ(prompter.asked[0].icon, c.icon);
        }
    }
    prompter.asked.clear();
    EXPECT_EQ(RegisterServerFile(missing, true), kRegisterLoadFailed);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text.rfind("LoadLibrary(\"" + missing +
                                               "\") failed.\n"
                                               "GetLastError returns ",
                                           0),
              0u)
        << prompter.asked[0].text;
}

TEST_F(RegistrationTest, RegistersTheFilesTheProfileNames) {
    CopyAs("ok", "x.so");
    CopyAs("ok", "KXQT7100.so");
    tvane::WritePrivateProfileString("Drivers", "Comm", "MyComm", kProfileFile);
    tvane::WritePrivateProfileString("MyComm", "DllName", "x.so", kProfileFile);
    EXPECT_TRUE(RegisterComponents(home.Path().string()));
    EXPECT_EQ(Registered(), "ok\nok\n");
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(RegistrationTest, FailedControlRegistrationLeavesTheDriverAlone) {
    CopyAs("fail", "Linkwell.so");
    CopyAs("ok", "KXQT7100.so");
    EXPECT_FALSE(RegisterComponents(home.Path().string()));
    EXPECT_EQ(Registered(), "fail\n");
}

TEST_F(RegistrationTest, EmptyEntriesStopStartUp) {
    struct Case {
        const char* section;
        const char* key;
        unsigned id;
        const char* text;
    } cases[] = {
        {"Path", "Install", 13175, "No Install Path Entry in Tvane.ini file"},
        {"QMComm Control", "DllName", 13176,
         "No DllName Entry for Ole Comm Server in Tvane.ini file"},
        {"KXQT7100.Drv32", "DllName", 13177,
         "No DllName Entry for Instrument Server in Tvane.ini file"},
    };
    CopyAs("ok", "Linkwell.so");
    for (const auto& c : cases) {
        tvane::WritePrivateProfileString(c.section, c.key, "", kProfileFile);
        prompter.asked.clear();
        EXPECT_THROW(RegisterComponents(home.Path().string()), tvane::UserException);
        ASSERT_FALSE(prompter.asked.empty());
        EXPECT_EQ(prompter.asked[0].text, c.text);
        EXPECT_EQ(prompter.asked[0].helpId, c.id);
        tvane::WritePrivateProfileString(c.section, c.key, std::nullopt, kProfileFile);
    }
}

} // namespace
