#pragma once
#include <string>

namespace tvane {

// odbcsetup: one ODBC installation step per run. The command line holds three
// tokens separated by ';' or newlines: the installer library, the result file and
// the command. The outcome is written into section "ODBC Installer" of the result
// file and returned as the process's exit code.
int RunOdbcSetup(const std::string& commandLine);

// The command line as one text, the arguments joined by single blanks, so that
// an unquoted argument with blanks reads as it was typed.
std::string JoinCommandLine(int argc, const char* const* argv);

// The exit codes; the key each is reported under is given where it is not the
// running command's.
namespace odbcsetup_codes {
inline constexpr int kSuccess = 0;
inline constexpr int kEmptyCommandLine = 1; // not reported: no result file yet
inline constexpr int kNoLibraryToken = 2;   // not reported
inline constexpr int kNoResultToken = 3;    // not reported
inline constexpr int kNoCommandToken = 4;   // GeneralErrorCode
inline constexpr int kUnknownCommand = 5;   // GeneralErrorCode
inline constexpr int kRemoveTranslatorNoArgument = 6;
inline constexpr int kRemoveDriverNoArgument = 7;
inline constexpr int kInstallDriverExNoArgument = 8;
inline constexpr int kDriverDescriptionNotOpened = 9;
inline constexpr int kDriverDescriptionNotRead = 10;
inline constexpr int kConfigDriverNoArgument = 11;
inline constexpr int kInstallTranslatorExNoArgument = 12;
inline constexpr int kTranslatorDescriptionNotOpened = 13;
inline constexpr int kTranslatorDescriptionNotRead = 14;
inline constexpr int kLibraryNotLoaded = 20; // GeneralErrorCode, as all entry points below
inline constexpr int kNoInstallDriverManager = 30;
inline constexpr int kNoInstallDriverEx = 31;
inline constexpr int kNoConfigDriver = 32;
inline constexpr int kNoRemoveTranslator = 33;
inline constexpr int kNoRemoveDriver = 34;
inline constexpr int kNoRemoveDriverManager = 35;
inline constexpr int kNoInstallerError = 36;
inline constexpr int kNoInstallTranslatorEx = 37;
inline constexpr int kInstallDriverManagerFailed = 40;
inline constexpr int kRemoveDriverManagerFailed = 41;
inline constexpr int kRemoveTranslatorFailed = 42;
inline constexpr int kRemoveDriverFailed = 43;
inline constexpr int kDriverInquiryFailed = 44; // InstallDriverExQuery
inline constexpr int kDriverInstallFailed = 45; // InstallDriverExInstall
inline constexpr int kConfigDriverFailed = 46;
inline constexpr int kTranslatorInquiryFailed = 47; // InstallTranslatorExQuery
inline constexpr int kTranslatorInstallFailed = 48; // InstallTranslatorExInstall
} // namespace odbcsetup_codes

} // namespace tvane
