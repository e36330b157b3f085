#include "tools/odbcsetup/OdbcSetup.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <vector>

#include "platform/profile/Profile.h"
#include "tools/odbcsetup/InstallerLibrary.h"

namespace tvane {
namespace codes = odbcsetup_codes;
namespace {

constexpr const char* kResultSection = "ODBC Installer";
constexpr const char* kDelimiters = ";\n";
// The installers' own registry of drivers, translators and the driver manager.
constexpr const char* kInstallerProfile = "ODBCINST.INI";
constexpr const char* kDriverManagerSection = "ODBC Core";

constexpr std::uint16_t kPathSize = 260;
constexpr std::uint16_t kErrorMessageSize = 260;
constexpr std::uint16_t kConfigMessageSize = 255;
constexpr std::uint16_t kInstallInquiry = 1;      // ODBC_INSTALL_INQUIRY
constexpr std::uint16_t kInstallComplete = 2;     // ODBC_INSTALL_COMPLETE
constexpr std::uint16_t kConfigInstallDriver = 1; // ODBC_INSTALL_DRIVER
constexpr int kMaxInstallerMessages = 8;
constexpr std::int16_t kSqlNoData = 100;
constexpr std::int16_t kSqlError = -1;

// Splits as strtok does: runs of delimiters separate tokens, none is empty.
std::vector<std::string> SplitTokens(const std::string& line, std::size_t count) {
    std::vector<std::string> tokens;
    std::size_t pos = 0;
    while (tokens.size() < count) {
        pos = line.find_first_not_of(kDelimiters, pos);
        if (pos == std::string::npos)
            break;
        const std::size_t end = line.find_first_of(kDelimiters, pos);
        tokens.push_back(line.substr(pos, end == std::string::npos ? end : end - pos));
        if (end == std::string::npos)
            break;
        pos = end + 1;
    }
    return tokens;
}

// A text the installer left in a fixed buffer, which it need not have ended.
std::string FromBuffer(const char* buffer, std::size_t size) {
    return std::string(buffer, strnlen(buffer, size));
}

// Writes the outcome into the result file.
class Outcome {
public:
    Outcome(std::string resultFile, InstallerLibrary& library)
        : m_file(std::move(resultFile)), m_library(library) {}

    void Write(const std::string& key, const std::string& value) {
        if (!WritePrivateProfileString(kResultSection, key, value, m_file))
            m_writeFailed = true;
    }

    // The code under name + "ErrorCode" ("GeneralErrorCode" for no name), after a
    // failed installer call followed by the installer's own messages.
    int End(const std::string& name, int code) {
        const std::string key = (name.empty() ? std::string("General") : name) + "ErrorCode";
        Write(key, std::to_string(code));
        if (code >= codes::kInstallDriverManagerFailed && code <= codes::kTranslatorInstallFailed &&
            m_library.installerError) {
            for (int i = 1; i <= kMaxInstallerMessages; ++i) {
                std::uint32_t error = 0;
                char message[kErrorMessageSize] = {};
                std::uint16_t length = 0;
                const std::int16_t rc = m_library.installerError(
                    static_cast<std::uint16_t>(i), &error, message, kErrorMessageSize, &length);
                if (rc == kSqlNoData || rc == kSqlError)
                    break;
                Write(key + "-InstallerErrorMsg" + std::to_string(i),
                      FromBuffer(message, sizeof message));
            }
        }
        // The exit code still tells the outcome; the caller learns why its
        // result file is missing.
        if (m_writeFailed)
            std::fprintf(stderr, "odbcsetup: cannot write the result file %s\n", m_file.c_str());
        return code;
    }

private:
    std::string m_file;
    InstallerLibrary& m_library;
    bool m_writeFailed = false;
};

enum class DescriptionRead { Read, NotOpened, NotRead };

// A driver or translator description file as the installer's keyword list: each
// line (without its line end) followed by a NUL, and one more NUL at the end.
// Empty lines are left out: each would end the list early. The list has no size
// limit.
DescriptionRead ReadDescription(const std::string& path, std::string& list) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return DescriptionRead::NotOpened;
    std::ifstream in(path);
    if (!in.is_open())
        return DescriptionRead::NotOpened;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        list += line;
        list += '\0';
    }
    if (in.bad())
        return DescriptionRead::NotRead;
    list += '\0';
    return DescriptionRead::Read;
}

// The usage count the installers keep for a driver, a translator or the driver
// manager; nothing when it cannot be read.
std::optional<std::uint32_t> ReadUsageCount(GetPrivateProfileStringFn read,
                                            const std::string& section) {
    char buffer[32] = {};
    const int n = read(section.c_str(), "UsageCount", "", buffer, sizeof buffer, kInstallerProfile);
    const std::string text = FromBuffer(buffer, sizeof buffer);
    if (n <= 0 || text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return static_cast<std::uint32_t>(std::strtoul(text.c_str(), nullptr, 10));
}

struct Context {
    InstallerLibrary& library;
    Outcome& outcome;
    std::string argument; // after the first comma that follows the keyword
};

// The removals: with a usage count that was read and is not 0 the installer is
// called and updates it; otherwise there is nothing to remove.
int Remove(Context& c, const std::string& name, const std::string& section, int noArgument,
           int failed, const std::function<int(std::uint32_t*)>& call) {
    if (section.empty())
        return c.outcome.End(name, noArgument);
    // An installer library that cannot read its registry leaves the count unread.
    GetPrivateProfileStringFn read = c.library.GetPrivateProfileString();
    std::optional<std::uint32_t> count =
        read ? ReadUsageCount(read, section) : std::optional<std::uint32_t>();
    if (count && *count != 0 && !call(&*count))
        return c.outcome.End(name, failed);
    return c.outcome.End(name, codes::kSuccess);
}

int RemoveTranslator(Context& c) {
    return Remove(c, "RemoveTranslator", c.argument, codes::kRemoveTranslatorNoArgument,
                  codes::kRemoveTranslatorFailed, [&](std::uint32_t* count) {
                      return c.library.removeTranslator(c.argument.c_str(), count);
                  });
}

int RemoveDriver(Context& c) {
    return Remove(c, "RemoveDriver", c.argument, codes::kRemoveDriverNoArgument,
                  codes::kRemoveDriverFailed, [&](std::uint32_t* count) {
                      // The driver's data sources stay.
                      return c.library.removeDriver(c.argument.c_str(), 0, count);
                  });
}

int RemoveDriverManager(Context& c) {
    return Remove(c, "RemoveDriverManager", kDriverManagerSection, 0,
                  codes::kRemoveDriverManagerFailed,
                  [&](std::uint32_t* count) { return c.library.removeDriverManager(count); });
}

int InstallDriverManager(Context& c) {
    char path[kPathSize] = {};
    std::uint16_t length = 0;
    if (!c.library.installDriverManager(path, kPathSize, &length))
        return c.outcome.End("InstallDriverManager", codes::kInstallDriverManagerFailed);
    c.outcome.Write("InstallDriverManagerPath", FromBuffer(path, sizeof path));
    return c.outcome.End("InstallDriverManager", codes::kSuccess);
}

struct InstallStep {
    const char* name;
    int noArgument, notOpened, notRead, inquiryFailed, installFailed;
};

// Asks the installer where the component goes, then installs it there.
int Install(Context& c, const InstallStep& step, InstallDriverExFn install) {
    const std::string name = step.name;
    std::string list;
    switch (ReadDescription(c.argument, list)) {
    case DescriptionRead::NotOpened:
        return c.outcome.End(name, step.notOpened);
    case DescriptionRead::NotRead:
        return c.outcome.End(name, step.notRead);
    case DescriptionRead::Read:
        break;
    }
    char target[kPathSize] = {};
    std::uint16_t length = 0;
    std::uint32_t usage = 0;
    if (!install(list.c_str(), nullptr, target, kPathSize, &length, kInstallInquiry, &usage))
        return c.outcome.End(name + "Query", step.inquiryFailed);
    const std::string inquired = FromBuffer(target, sizeof target);
    char path[kPathSize] = {};
    if (!install(list.c_str(), inquired.c_str(), path, kPathSize, &length, kInstallComplete,
                 &usage))
        return c.outcome.End(name + "Install", step.installFailed);
    c.outcome.Write(name + "Path", FromBuffer(path, sizeof path));
    return c.outcome.End(name, codes::kSuccess);
}

int InstallDriverEx(Context& c) {
    static constexpr InstallStep step{"InstallDriverEx",
                                      codes::kInstallDriverExNoArgument,
                                      codes::kDriverDescriptionNotOpened,
                                      codes::kDriverDescriptionNotRead,
                                      codes::kDriverInquiryFailed,
                                      codes::kDriverInstallFailed};
    if (c.argument.empty())
        return c.outcome.End(step.name, step.noArgument);
    return Install(c, step, c.library.installDriverEx);
}

int InstallTranslatorEx(Context& c) {
    static constexpr InstallStep step{"InstallTranslatorEx",
                                      codes::kInstallTranslatorExNoArgument,
                                      codes::kTranslatorDescriptionNotOpened,
                                      codes::kTranslatorDescriptionNotRead,
                                      codes::kTranslatorInquiryFailed,
                                      codes::kTranslatorInstallFailed};
    if (c.argument.empty())
        return c.outcome.End(step.name, step.noArgument);
    InstallTranslatorExFn install = c.library.InstallTranslatorEx();
    if (!install)
        return c.outcome.End({}, codes::kNoInstallTranslatorEx);
    return Install(c, step, install);
}

// The driver's setup library as the installers registered it; empty when none.
std::string SetupLibraryOf(GetPrivateProfileStringFn read, const std::string& driver) {
    char buffer[kPathSize] = {};
    read(driver.c_str(), "Setup", "", buffer, sizeof buffer, kInstallerProfile);
    return FromBuffer(buffer, sizeof buffer);
}

int ConfigDriver(Context& c) {
    if (c.argument.empty())
        return c.outcome.End("ConfigDriver", codes::kConfigDriverNoArgument);
    // Configuring runs the driver's setup library: without one there is nothing
    // to run, and unixODBC aborts the process when asked to.
    GetPrivateProfileStringFn read = c.library.GetPrivateProfileString();
    if (read && SetupLibraryOf(read, c.argument).empty())
        return c.outcome.End("ConfigDriver", codes::kConfigDriverFailed);
    char message[kConfigMessageSize + 1] = {};
    std::uint16_t length = 0;
    if (!c.library.configDriver(nullptr, kConfigInstallDriver, c.argument.c_str(), " ", message,
                                kConfigMessageSize, &length))
        return c.outcome.End("ConfigDriver", codes::kConfigDriverFailed);
    return c.outcome.End("ConfigDriver", codes::kSuccess);
}

struct Command {
    const char* keyword;
    int (*run)(Context&);
};

// Searched in this order; the first keyword found anywhere in the command runs.
constexpr Command kCommands[] = {
    {"RemoveTranslator,", RemoveTranslator},      {"RemoveDriver,", RemoveDriver},
    {"RemoveDriverManager", RemoveDriverManager}, {"InstallDriverManager", InstallDriverManager},
    {"InstallDriverEx,", InstallDriverEx},        {"ConfigDriver,", ConfigDriver},
    {"InstallTranslatorEx", InstallTranslatorEx},
};

int RunCommand(const std::string& command, InstallerLibrary& library, Outcome& outcome) {
    for (const Command& entry : kCommands) {
        const std::size_t at = command.find(entry.keyword);
        if (at == std::string::npos)
            continue;
        Context context{library, outcome, {}};
        const std::size_t comma = command.find(',', at);
        if (comma != std::string::npos)
            context.argument = command.substr(comma + 1);
        return entry.run(context);
    }
    return outcome.End({}, codes::kUnknownCommand);
}

} // namespace

int RunOdbcSetup(const std::string& commandLine) {
    if (commandLine.empty())
        return codes::kEmptyCommandLine;
    const std::vector<std::string> tokens = SplitTokens(commandLine, 3);
    if (tokens.empty())
        return codes::kNoLibraryToken;
    if (tokens.size() < 2)
        return codes::kNoResultToken;
    InstallerLibrary library;
    Outcome outcome(tokens[1], library);
    if (tokens.size() < 3)
        return outcome.End({}, codes::kNoCommandToken);
    if (const int code = library.Bind(tokens[0]); code != codes::kSuccess)
        return outcome.End({}, code);
    return RunCommand(tokens[2], library, outcome);
}

std::string JoinCommandLine(int argc, const char* const* argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += ' ';
        line += argv[i];
    }
    return line;
}

} // namespace tvane
