#include "tools/odbcsetup/InstallerLibrary.h"

#include "tools/odbcsetup/OdbcSetup.h"

namespace tvane {
namespace {

template <typename Fn> bool BindEntry(DynamicLibrary& library, const char* name, Fn& entry) {
    entry = reinterpret_cast<Fn>(library.Symbol(name));
    return entry != nullptr;
}

} // namespace

int InstallerLibrary::Bind(const std::string& path) {
    if (!m_library.Load(path))
        return odbcsetup_codes::kLibraryNotLoaded;
    if (!BindEntry(m_library, "SQLInstallerError", installerError))
        return odbcsetup_codes::kNoInstallerError;
    if (!BindEntry(m_library, "SQLInstallDriverManager", installDriverManager))
        return odbcsetup_codes::kNoInstallDriverManager;
    if (!BindEntry(m_library, "SQLInstallDriverEx", installDriverEx))
        return odbcsetup_codes::kNoInstallDriverEx;
    if (!BindEntry(m_library, "SQLConfigDriver", configDriver))
        return odbcsetup_codes::kNoConfigDriver;
    if (!BindEntry(m_library, "SQLRemoveTranslator", removeTranslator))
        return odbcsetup_codes::kNoRemoveTranslator;
    if (!BindEntry(m_library, "SQLRemoveDriver", removeDriver))
        return odbcsetup_codes::kNoRemoveDriver;
    if (!BindEntry(m_library, "SQLRemoveDriverManager", removeDriverManager))
        return odbcsetup_codes::kNoRemoveDriverManager;
    return odbcsetup_codes::kSuccess;
}

InstallTranslatorExFn InstallerLibrary::InstallTranslatorEx() {
    InstallTranslatorExFn entry = nullptr;
    BindEntry(m_library, "SQLInstallTranslatorEx", entry);
    return entry;
}

GetPrivateProfileStringFn InstallerLibrary::GetPrivateProfileString() {
    GetPrivateProfileStringFn entry = nullptr;
    BindEntry(m_library, "SQLGetPrivateProfileString", entry);
    return entry;
}

} // namespace tvane
