#include "app/startup/ComponentRegistration.h"

#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "app/startup/AppTexts.h"
#include "database/DataSource.h"
#include "platform/com/Types.h"
#include "platform/core/Exception.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The stop of start-up when the profile does not name a file.
[[noreturn]] void MissingEntry(unsigned id) {
    tvane::ShowMessage(AppTexts().Load(id), tvane::MsgButtons::Ok, tvane::MsgIcon::Warning, id,
                       kAppName);
    throw tvane::UserException();
}

std::string LibraryName(const char* driversKey, const char* defSection, const char* defFile,
                        unsigned missingId) {
    const std::string section =
        tvane::GetPrivateProfileString("Drivers", driversKey, defSection, kProfileFile);
    std::string file = tvane::GetPrivateProfileString(section, "DllName", defFile, kProfileFile);
    if (file.empty())
        MissingEntry(missingId);
    return file;
}

} // namespace

bool IsRegisterCommand(const std::vector<std::string>& arguments) {
    return std::any_of(arguments.begin(), arguments.end(), [](const std::string& arg) {
        const std::string lower = Lower(arg);
        return lower == "-r" || lower == "/r";
    });
}

void ShowRegisterMessage(unsigned id, const std::string& first, const std::string& second,
                         bool information) {
    tvane::ShowMessage(FormatMessageArgs(AppTexts().Load(id), first, second), tvane::MsgButtons::Ok,
                       information ? tvane::MsgIcon::Information : tvane::MsgIcon::Warning, 0,
                       kAppName);
}

int RegisterServerFile(const std::string& path, bool quiet) {
    static constexpr const char* kEntry = "DllRegisterServer";
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* error = dlerror();
        ShowRegisterMessage(apptext::kRegLoadFailed, path, error ? error : "", false);
        return kRegisterLoadFailed;
    }
    int result = kRegisterOk;
    using Entry = HRESULT (*)();
    auto entry = reinterpret_cast<Entry>(dlsym(library, kEntry));
    if (!entry) {
        const std::string ext = Lower(std::filesystem::path(path).extension().string());
        const bool isLibrary = ext == ".so" || ext == ".dll" || ext == ".ocx";
        ShowRegisterMessage(isLibrary ? apptext::kRegNoEntryLibrary
                                      : apptext::kRegNoEntryNotLibrary,
                            path, kEntry, false);
        result = kRegisterNoEntry;
    } else if (FAILED(entry())) {
        ShowRegisterMessage(apptext::kRegCallFailed, kEntry, path, false);
        result = kRegisterCallFailed;
    } else if (!quiet) {
        ShowRegisterMessage(apptext::kRegSucceeded, kEntry, path, true);
    }
    dlclose(library);
    return result;
}

bool RegisterComponents(const std::string& programDirectory) {
    std::string install =
        tvane::GetPrivateProfileString("Path", "Install", programDirectory, kProfileFile);
    if (install.empty())
        MissingEntry(apptext::kNoInstallPath);
    if (install.back() != '/')
        install += '/';
    const std::string comm =
        LibraryName("Comm", "QMComm Control", "Linkwell.so", apptext::kNoCommDllName);
    if (RegisterServerFile(install + comm, true) != kRegisterOk)
        return false;
    const std::string driver =
        LibraryName("Instrument", "KXQT7100.Drv32", "KXQT7100.so", apptext::kNoDriverDllName);
    return RegisterServerFile(install + driver, true) == kRegisterOk;
}
