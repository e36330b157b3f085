#pragma once
#include <cstdint>
#include <string>

#include "platform/com/Activation.h"

namespace tvane {

// The ODBC installer functions as the installer library exports them (the C
// calling conventions of odbcinst.h on this platform: BOOL int, WORD 16 bits,
// DWORD 32 bits), looked up by name.
using InstallDriverManagerFn = int (*)(char* path, std::uint16_t pathMax, std::uint16_t* pathOut);
using InstallDriverExFn = int (*)(const char* description, const char* pathIn, char* pathOut,
                                  std::uint16_t pathOutMax, std::uint16_t* pathOutLength,
                                  std::uint16_t request, std::uint32_t* usageCount);
using InstallTranslatorExFn = InstallDriverExFn;
using ConfigDriverFn = int (*)(void* window, std::uint16_t request, const char* driver,
                               const char* arguments, char* message, std::uint16_t messageMax,
                               std::uint16_t* messageOut);
using RemoveTranslatorFn = int (*)(const char* translator, std::uint32_t* usageCount);
using RemoveDriverFn = int (*)(const char* driver, int removeDataSources,
                               std::uint32_t* usageCount);
using RemoveDriverManagerFn = int (*)(std::uint32_t* usageCount);
using InstallerErrorFn = std::int16_t (*)(std::uint16_t index, std::uint32_t* errorCode,
                                          char* message, std::uint16_t messageMax,
                                          std::uint16_t* messageOut);
using GetPrivateProfileStringFn = int (*)(const char* section, const char* key, const char* def,
                                          char* buffer, int size, const char* file);

// The installer library named on the command line and its entry points. The
// library stays loaded while the object lives.
class InstallerLibrary {
public:
    // Loads the library and binds the entry points every command relies on, in
    // the order that decides which missing one is reported. 0, or the exit code of
    // the first failure (20 library, 30 to 36 entry points).
    int Bind(const std::string& path);

    // Bound when a command first needs them (a library without them still serves
    // the other commands); null when missing.
    InstallTranslatorExFn InstallTranslatorEx();
    GetPrivateProfileStringFn GetPrivateProfileString();

    InstallDriverManagerFn installDriverManager = nullptr;
    InstallDriverExFn installDriverEx = nullptr;
    ConfigDriverFn configDriver = nullptr;
    RemoveTranslatorFn removeTranslator = nullptr;
    RemoveDriverFn removeDriver = nullptr;
    RemoveDriverManagerFn removeDriverManager = nullptr;
    InstallerErrorFn installerError = nullptr;

private:
    DynamicLibrary m_library;
};

} // namespace tvane
