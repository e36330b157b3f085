// A stand-in ODBC installer library. It appends one line per call to the file
// named by FAKE_ODBCINST_LOG and answers as the file named by
// FAKE_ODBCINST_SCRIPT says, one instruction a line:
//   fail <function> [request]   the function (with that request) returns FALSE
//   messages <n>                SQLInstallerError has n messages
//   usage <section> <count>     the UsageCount that the profile read finds
//   setup <section> <path>      the Setup library that the profile read finds
//   path <text>                 the path the install calls return
// A variant built with OMIT_<FUNCTION> defined lacks that export.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string Script() {
    const char* path = std::getenv("FAKE_ODBCINST_SCRIPT");
    if (!path)
        return {};
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Whether an instruction starts with `prefix`; *rest gets what follows it.
bool Find(const std::string& prefix, std::string* rest = nullptr) {
    std::istringstream in(Script());
    std::string line;
    while (std::getline(in, line)) {
        if (line == prefix || line.rfind(prefix + " ", 0) == 0) {
            if (rest)
                *rest = line.size() > prefix.size() ? line.substr(prefix.size() + 1) : "";
            return true;
        }
    }
    return false;
}

bool Fails(const char* function, int request = -1) {
    if (Find(std::string("fail ") + function + " " + std::to_string(request)))
        return true;
    std::string rest;
    return Find(std::string("fail ") + function, &rest) && rest.empty();
}

void Log(const std::string& line) {
    if (const char* path = std::getenv("FAKE_ODBCINST_LOG"))
        std::ofstream(path, std::ios::app) << line << "\n";
}

std::string Text(const char* s) {
    return s ? s : "(null)";
}

// A keyword list as "a;b;", to see exactly what was passed.
std::string List(const char* list) {
    std::string text;
    for (const char* p = list; p && *p; p += std::strlen(p) + 1)
        text += std::string(p) + ";";
    return text;
}

int ReturnPath(char* out, std::uint16_t max, std::uint16_t* length) {
    std::string path = "/fake/installed";
    Find("path", &path);
    std::snprintf(out, max, "%s", path.c_str());
    if (length)
        *length = static_cast<std::uint16_t>(path.size());
    return 1;
}

} // namespace

#define EXPORT extern "C" __attribute__((visibility("default")))

#if !defined(OMIT_INSTALLER_ERROR)
EXPORT std::int16_t SQLInstallerError(std::uint16_t index, std::uint32_t* code, char* message,
                                      std::uint16_t max, std::uint16_t* length) {
    std::string count = "0";
    Find("messages", &count);
    if (index > std::atoi(count.c_str()))
        return 100;
    *code = index;
    const std::string text = "installer message " + std::to_string(index);
    std::snprintf(message, max, "%s", text.c_str());
    *length = static_cast<std::uint16_t>(text.size());
    return 0;
}
#endif

#if !defined(OMIT_INSTALL_DRIVER_MANAGER)
EXPORT int SQLInstallDriverManager(char* path, std::uint16_t max, std::uint16_t* length) {
    Log("SQLInstallDriverManager|" + std::to_string(max));
    if (Fails("SQLInstallDriverManager"))
        return 0;
    return ReturnPath(path, max, length);
}
#endif

#if !defined(OMIT_INSTALL_DRIVER_EX)
EXPORT int SQLInstallDriverEx(const char* list, const char* pathIn, char* pathOut,
                              std::uint16_t max, std::uint16_t* length, std::uint16_t request,
                              std::uint32_t* usage) {
    Log("SQLInstallDriverEx|" + List(list) + "|" + Text(pathIn) + "|" + std::to_string(max) + "|" +
        std::to_string(request));
    if (Fails("SQLInstallDriverEx", request))
        return 0;
    *usage = 1;
    return ReturnPath(pathOut, max, length);
}
#endif

#if !defined(OMIT_INSTALL_TRANSLATOR_EX)
EXPORT int SQLInstallTranslatorEx(const char* list, const char* pathIn, char* pathOut,
                                  std::uint16_t max, std::uint16_t* length, std::uint16_t request,
                                  std::uint32_t* usage) {
    Log("SQLInstallTranslatorEx|" + List(list) + "|" + Text(pathIn) + "|" + std::to_string(max) +
        "|" + std::to_string(request));
    if (Fails("SQLInstallTranslatorEx", request))
        return 0;
    *usage = 1;
    return ReturnPath(pathOut, max, length);
}
#endif

#if !defined(OMIT_CONFIG_DRIVER)
EXPORT int SQLConfigDriver(void* window, std::uint16_t request, const char* driver,
                           const char* args, char* message, std::uint16_t max,
                           std::uint16_t* length) {
    Log("SQLConfigDriver|" + std::string(window ? "window" : "(null)") + "|" +
        std::to_string(request) + "|" + Text(driver) + "|[" + Text(args) + "]|" +
        std::to_string(max));
    if (message && max)
        message[0] = '\0';
    if (length)
        *length = 0;
    return Fails("SQLConfigDriver") ? 0 : 1;
}
#endif

#if !defined(OMIT_REMOVE_TRANSLATOR)
EXPORT int SQLRemoveTranslator(const char* name, std::uint32_t* usage) {
    Log("SQLRemoveTranslator|" + Text(name) + "|" + std::to_string(*usage));
    if (Fails("SQLRemoveTranslator"))
        return 0;
    --*usage;
    return 1;
}
#endif

#if !defined(OMIT_REMOVE_DRIVER)
EXPORT int SQLRemoveDriver(const char* name, int removeDsn, std::uint32_t* usage) {
    Log("SQLRemoveDriver|" + Text(name) + "|" + std::to_string(removeDsn) + "|" +
        std::to_string(*usage));
    if (Fails("SQLRemoveDriver"))
        return 0;
    --*usage;
    return 1;
}
#endif

#if !defined(OMIT_REMOVE_DRIVER_MANAGER)
EXPORT int SQLRemoveDriverManager(std::uint32_t* usage) {
    Log("SQLRemoveDriverManager|" + std::to_string(*usage));
    if (Fails("SQLRemoveDriverManager"))
        return 0;
    --*usage;
    return 1;
}
#endif

#if !defined(OMIT_GET_PRIVATE_PROFILE_STRING)
EXPORT int SQLGetPrivateProfileString(const char* section, const char* key, const char* def,
                                      char* buffer, int size, const char* file) {
    Log("SQLGetPrivateProfileString|" + Text(section) + "|" + Text(key) + "|" + Text(file));
    std::string value = def ? def : "";
    const std::string name = std::string(key) == "UsageCount" ? "usage"
                             : std::string(key) == "Setup"    ? "setup"
                                                              : "";
    if (!name.empty())
        Find(name + " " + section, &value);
    std::snprintf(buffer, static_cast<std::size_t>(size), "%s", value.c_str());
    return static_cast<int>(std::strlen(buffer));
}
#endif
