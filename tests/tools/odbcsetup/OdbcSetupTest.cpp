#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/profile/Profile.h"
#include "tests/support/TempHome.h"
#include "tools/odbcsetup/OdbcSetup.h"

namespace tvane::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

const std::filesystem::path kBin = std::filesystem::path(TVANE_BINARY_DIR) / "bin";
const char* const kSection = "ODBC Installer";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

// One run of the program against the stand-in installer, with its script, the
// calls it saw and the result file.
class OdbcSetupTest : public TempHomeTest {
protected:
    void SetUp() override {
        setenv("FAKE_ODBCINST_SCRIPT", Path("script.txt").c_str(), 1);
        setenv("FAKE_ODBCINST_LOG", Path("calls.log").c_str(), 1);
        Script("");
    }
    void TearDown() override {
        unsetenv("FAKE_ODBCINST_SCRIPT");
        unsetenv("FAKE_ODBCINST_LOG");
    }

    std::string Path(const std::string& name) const { return (home.Path() / name).string(); }
    void Script(const std::string& text) { WriteFile(Path("script.txt"), text); }
    std::string Result() const { return Path("result.ini"); }

    int Run(const std::string& command, const std::string& library = "fakeodbcinst.so") {
        return RunOdbcSetup((kBin / library).string() + ";" + Result() + ";" + command);
    }

    std::vector<std::string> Calls() const {
        std::error_code ec;
        if (!std::filesystem::exists(Path("calls.log"), ec))
            return {};
        return Lines(ReadFile(Path("calls.log")));
    }
    // Every key = value of the result, in file order.
    std::vector<std::string> Keys() const {
        std::vector<std::string> entries;
        for (const std::string& key : GetPrivateProfileKeys(kSection, Result()))
            entries.push_back(key + "=" + GetPrivateProfileString(kSection, key, "", Result()));
        return entries;
    }
};

TEST_F(OdbcSetupTest, BadCommandLinesEndWithTheirCodes) {
    const std::string fake = (kBin / "fakeodbcinst.so").string();
    struct Case {
        std::string line;
        int code;
        bool reported; // the result file is known and holds GeneralErrorCode
    } cases[] = {
        {"", 1, false},
        {";;\n;", 2, false},
        {fake, 3, false},
        {fake + ";" + Result(), 4, true},
        {fake + ";" + Result() + ";\n", 4, true},
        // The removal of a driver needs the comma and its name.
        {fake + ";" + Result() + ";RemoveDriver", 5, true},
        {fake + ";" + Result() + ";InstallSomething,x", 5, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::filesystem::remove(Result());
        EXPECT_EQ(RunOdbcSetup(c.line), c.code);
        if (c.reported)
            EXPECT_THAT(Keys(), ElementsAre("GeneralErrorCode=" + std::to_string(c.code)));
        else
            EXPECT_FALSE(std::filesystem::exists(Result()));
    }
    EXPECT_THAT(Calls(), IsEmpty());
}

TEST_F(OdbcSetupTest, AMissingLibraryOrEntryPointIsReportedByItsCode) {
    struct Case {
        std::string library, command;
        int code;
    } cases[] = {
        {"no_such_installer.so", "InstallDriverManager", 20},
        {"fakeodbcinst_no_install_driver_manager.so", "InstallDriverManager", 30},
        {"fakeodbcinst_no_install_driver_ex.so", "InstallDriverManager", 31},
        {"fakeodbcinst_no_config_driver.so", "InstallDriverManager", 32},
        {"fakeodbcinst_no_remove_translator.so", "InstallDriverManager", 33},
        {"fakeodbcinst_no_remove_driver.so", "InstallDriverManager", 34},
        {"fakeodbcinst_no_remove_driver_manager.so", "InstallDriverManager", 35},
        {"fakeodbcinst_no_installer_error.so", "InstallDriverManager", 36},
        // Bound only by the command that uses it.
        {"fakeodbcinst_no_install_translator_ex.so", "InstallTranslatorEx," + Path("t.txt"), 37},
    };
    WriteFile(Path("t.txt"), "Translator\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.library);
        std::filesystem::remove(Result());
        EXPECT_EQ(Run(c.command, c.library), c.code);
        EXPECT_THAT(Keys(), ElementsAre("GeneralErrorCode=" + std::to_string(c.code)));
    }
    EXPECT_THAT(Calls(), IsEmpty());
}

TEST_F(OdbcSetupTest, WithoutTheRegistryReaderTheUsageCountIsUnreadAndNothingRemoved) {
    Script("usage T 2\nusage D 3\nusage ODBC Core 1\n");
    const std::pair<std::string, std::string> cases[] = {
        {"RemoveTranslator,T", "RemoveTranslatorErrorCode=0"},
        {"RemoveDriver,D", "RemoveDriverErrorCode=0"},
        {"RemoveDriverManager", "RemoveDriverManagerErrorCode=0"},
    };
    for (const auto& [command, key] : cases) {
        SCOPED_TRACE(command);
        std::filesystem::remove(Result());
        EXPECT_EQ(Run(command, "fakeodbcinst_no_get_private_profile_string.so"), 0);
        EXPECT_THAT(Keys(), ElementsAre(key));
    }
    EXPECT_THAT(Calls(), IsEmpty());
}

TEST_F(OdbcSetupTest, EachCommandCallsTheInstallerAndReportsItsOutcome) {
    WriteFile(Path("driver.txt"),
              "Tvane Driver\r\nDriver=/opt/drv.so\r\n\r\nSetup=/opt/setup.so\n");
    WriteFile(Path("translator.txt"), "Tvane Translator\nTranslator=/opt/tr.so\n");
    struct Case {
        std::string command, script;
        std::vector<std::string> calls, keys;
        int code = 0;
    } cases[] = {
        {"RemoveTranslator,Tvane Translator",
         "usage Tvane Translator 2\n",
         {"SQLGetPrivateProfileString|Tvane Translator|UsageCount|ODBCINST.INI",
          "SQLRemoveTranslator|Tvane Translator|2"},
         {"RemoveTranslatorErrorCode=0"}},
        {"RemoveDriver,Tvane Driver",
         "usage Tvane Driver 3\n",
         {"SQLGetPrivateProfileString|Tvane Driver|UsageCount|ODBCINST.INI",
          "SQLRemoveDriver|Tvane Driver|0|3"},
         {"RemoveDriverErrorCode=0"}},
        // Nothing installed, nothing to remove.
        {"RemoveDriver,Tvane Driver",
         "usage Tvane Driver 0\n",
         {"SQLGetPrivateProfileString|Tvane Driver|UsageCount|ODBCINST.INI"},
         {"RemoveDriverErrorCode=0"}},
        {"RemoveDriverManager",
         "",
         {"SQLGetPrivateProfileString|ODBC Core|UsageCount|ODBCINST.INI"},
         {"RemoveDriverManagerErrorCode=0"}},
        {"RemoveDriverManager",
         "usage ODBC Core 1\n",
         {"SQLGetPrivateProfileString|ODBC Core|UsageCount|ODBCINST.INI",
          "SQLRemoveDriverManager|1"},
         {"RemoveDriverManagerErrorCode=0"}},
        {"InstallDriverManager",
         "path /usr/lib/odbc\n",
         {"SQLInstallDriverManager|260"},
         {"InstallDriverManagerPath=/usr/lib/odbc", "InstallDriverManagerErrorCode=0"}},
        // Blank lines are left out of the list and Windows line ends removed.
        {"InstallDriverEx," + Path("driver.txt"),
         "path /usr/lib/odbc\n",
         {"SQLInstallDriverEx|Tvane Driver;Driver=/opt/drv.so;Setup=/opt/setup.so;|(null)|260|1",
          "SQLInstallDriverEx|Tvane Driver;Driver=/opt/drv.so;Setup=/opt/setup.so;|/usr/lib/"
          "odbc|260|2"},
         {"InstallDriverExPath=/usr/lib/odbc", "InstallDriverExErrorCode=0"}},
        {"ConfigDriver,Tvane Driver",
         "setup Tvane Driver /opt/setup.so\n",
         {"SQLGetPrivateProfileString|Tvane Driver|Setup|ODBCINST.INI",
          "SQLConfigDriver|(null)|1|Tvane Driver|[ ]|255"},
         {"ConfigDriverErrorCode=0"}},
        // A driver without a setup library cannot be configured.
        {"ConfigDriver,Tvane Driver",
         "",
         {"SQLGetPrivateProfileString|Tvane Driver|Setup|ODBCINST.INI"},
         {"ConfigDriverErrorCode=46"},
         46},
        {"InstallTranslatorEx," + Path("translator.txt"),
         "",
         {"SQLInstallTranslatorEx|Tvane Translator;Translator=/opt/tr.so;|(null)|260|1",
          "SQLInstallTranslatorEx|Tvane Translator;Translator=/opt/tr.so;|/fake/installed|260|2"},
         {"InstallTranslatorExPath=/fake/installed", "InstallTranslatorExErrorCode=0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command + " / " + c.script);
        std::filesystem::remove(Result());
        std::filesystem::remove(Path("calls.log"));
        Script(c.script);
        EXPECT_EQ(Run(c.command), c.code);
        EXPECT_THAT(Calls(), ElementsAreArray(c.calls));
        EXPECT_THAT(Keys(), ElementsAreArray(c.keys));
    }
}

TEST_F(OdbcSetupTest, CommandsWithoutTheirArgumentOrFileFail) {
    struct Case {
        std::string command, key;
        int code;
    } cases[] = {
        {"RemoveTranslator,", "RemoveTranslatorErrorCode", 6},
        {"RemoveDriver,", "RemoveDriverErrorCode", 7},
        {"InstallDriverEx,", "InstallDriverExErrorCode", 8},
        {"InstallDriverEx," + Path("missing.txt"), "InstallDriverExErrorCode", 9},
        {"InstallDriverEx," + home.Path().string(), "InstallDriverExErrorCode", 9},
        {"ConfigDriver,", "ConfigDriverErrorCode", 11},
        {"InstallTranslatorEx", "InstallTranslatorExErrorCode", 12},
        {"InstallTranslatorEx,", "InstallTranslatorExErrorCode", 12},
        {"InstallTranslatorEx," + Path("missing.txt"), "InstallTranslatorExErrorCode", 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        std::filesystem::remove(Result());
        EXPECT_EQ(Run(c.command), c.code);
        EXPECT_THAT(Keys(), ElementsAre(c.key + "=" + std::to_string(c.code)));
    }
    EXPECT_THAT(Calls(), IsEmpty());
}

TEST_F(OdbcSetupTest, AFailedInstallerCallWritesTheInstallersMessagesAndStops) {
    WriteFile(Path("d.txt"), "Tvane Driver\nDriver=/opt/drv.so\n");
    struct Case {
        std::string command, script, key;
        int code;
        std::size_t calls; // installer calls made, the failed one last
    } cases[] = {
        {"InstallDriverManager", "fail SQLInstallDriverManager\n", "InstallDriverManager", 40, 1},
        {"RemoveDriverManager", "fail SQLRemoveDriverManager\nusage ODBC Core 1\n",
         "RemoveDriverManager", 41, 2},
        {"RemoveTranslator,T", "fail SQLRemoveTranslator\nusage T 1\n", "RemoveTranslator", 42, 2},
        {"RemoveDriver,D", "fail SQLRemoveDriver\nusage D 4\n", "RemoveDriver", 43, 2},
        // A failed inquiry is not followed by the install.
        {"InstallDriverEx," + Path("d.txt"), "fail SQLInstallDriverEx 1\n", "InstallDriverExQuery",
         44, 1},
        {"InstallDriverEx," + Path("d.txt"), "fail SQLInstallDriverEx 2\n",
         "InstallDriverExInstall", 45, 2},
        {"ConfigDriver,D", "fail SQLConfigDriver\nsetup D /opt/s.so\n", "ConfigDriver", 46, 2},
        {"InstallTranslatorEx," + Path("d.txt"), "fail SQLInstallTranslatorEx 1\n",
         "InstallTranslatorExQuery", 47, 1},
        {"InstallTranslatorEx," + Path("d.txt"), "fail SQLInstallTranslatorEx 2\n",
         "InstallTranslatorExInstall", 48, 2},
    };
    for (const int messages : {0, 3, 12}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.command + " with " + std::to_string(messages) + " messages");
            std::filesystem::remove(Result());
            std::filesystem::remove(Path("calls.log"));
            Script(c.script + "messages " + std::to_string(messages) + "\n");
            EXPECT_EQ(Run(c.command), c.code);
            EXPECT_EQ(Calls().size(), c.calls);
            std::vector<std::string> keys{c.key + "ErrorCode=" + std::to_string(c.code)};
            for (int i = 1; i <= std::min(messages, 8); ++i)
                keys.push_back(c.key + "ErrorCode-InstallerErrorMsg" + std::to_string(i) +
                               "=installer message " + std::to_string(i));
            EXPECT_THAT(Keys(), ElementsAreArray(keys));
        }
    }
}

TEST_F(OdbcSetupTest, AResultFileThatCannotBeWrittenIsToldAndTheCodeStillReturned) {
    WriteFile(Path("plain.txt"), "");
    Script("path /usr/lib/odbc\n");
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    // A folder, a path under a plain file, and a FIFO, which stays one.
    for (const std::string& result :
         {home.Path().string(), Path("plain.txt") + "/result.ini", Path("fifo")}) {
        SCOPED_TRACE(result);
        std::filesystem::remove(Path("calls.log"));
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(RunOdbcSetup((kBin / "fakeodbcinst.so").string() + ";" + result +
                               ";InstallDriverManager"),
                  0);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
                  "odbcsetup: cannot write the result file " + result + "\n");
        EXPECT_THAT(Calls(), ElementsAre("SQLInstallDriverManager|260"));
    }
    EXPECT_EQ(std::filesystem::status(Path("fifo")).type(), std::filesystem::file_type::fifo);
}

TEST_F(OdbcSetupTest, TheProgramJoinsItsArgumentsAndExitsWithTheCode) {
    const std::string program = (kBin / "odbcsetup").string();
    const std::string fake = (kBin / "fakeodbcinst.so").string();
    Script("setup Tvane Driver /opt/setup.so\n");
    // Unquoted, a driver name with a blank arrives as two arguments.
    const std::string line =
        "'" + program + "' '" + fake + ";" + Result() + ";ConfigDriver,Tvane' 'Driver' 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(line.c_str())), 0);
    EXPECT_THAT(Calls(), ElementsAre("SQLGetPrivateProfileString|Tvane Driver|Setup|ODBCINST.INI",
                                     "SQLConfigDriver|(null)|1|Tvane Driver|[ ]|255"));

    const std::string missing =
        "'" + program + "' 'nothing.so;" + Result() + ";InstallDriverManager' 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(missing.c_str())), 20);
    EXPECT_THAT(Keys(), ElementsAre("ConfigDriverErrorCode=0", "GeneralErrorCode=20"));
    EXPECT_EQ(WEXITSTATUS(std::system(("'" + program + "'").c_str())), 1);
}

// unixODBC's own installer, confined to the test's odbcinst.ini.
TEST_F(OdbcSetupTest, TheSystemInstallerInstallsAndRemovesADriver) {
    const std::string library = "libodbcinst.so.2";
    // unixODBC's caches outlive an unload (as leaks); the process keeps the
    // library loaded, as the database code does.
    static void* const pinned = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(pinned, nullptr) << dlerror();
    const std::string driverFile = Path("tvane-driver.txt");
    WriteFile(driverFile, "Tvane Test Driver\nDriver=/nonexistent/libtvanetest.so\n");
    const std::string drivers = (home.Path() / "odbcinst.ini").string();
    auto usage = [&] {
        return GetPrivateProfileString("Tvane Test Driver", "UsageCount", "<none>", drivers);
    };
    auto run = [&](const std::string& command) {
        return RunOdbcSetup(library + ";" + Result() + ";" + command);
    };

    ASSERT_EQ(run("InstallDriverEx," + driverFile), 0);
    // The installer names the ODBCSYSINI folder, a link to the test's home.
    EXPECT_EQ(std::filesystem::weakly_canonical(
                  GetPrivateProfileString(kSection, "InstallDriverExPath", "", Result())),
              std::filesystem::weakly_canonical(home.Path()));
    EXPECT_EQ(GetPrivateProfileString("Tvane Test Driver", "Driver", "", drivers),
              "/nonexistent/libtvanetest.so");
    EXPECT_EQ(usage(), "1");
    ASSERT_EQ(run("InstallDriverEx," + driverFile), 0);
    EXPECT_EQ(usage(), "2");

    // It names no setup library, so it cannot be configured.
    EXPECT_EQ(run("ConfigDriver,Tvane Test Driver"), 46);

    EXPECT_EQ(run("RemoveDriver,Tvane Test Driver"), 0);
    EXPECT_EQ(usage(), "1");
    EXPECT_EQ(run("RemoveDriver,Tvane Test Driver"), 0);
    EXPECT_EQ(usage(), "<none>");
    // Gone: nothing left to remove, which still succeeds.
    EXPECT_EQ(run("RemoveDriver,Tvane Test Driver"), 0);
    EXPECT_EQ(GetPrivateProfileString(kSection, "RemoveDriverErrorCode", "", Result()), "0");
}

} // namespace
} // namespace tvane::test
