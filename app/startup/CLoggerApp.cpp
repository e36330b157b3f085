#include "app/startup/CLoggerApp.h"

#include <filesystem>
#include <system_error>

#include "app/startup/AppTexts.h"
#include "app/startup/ComponentRegistration.h"
#include "app/startup/IAppHost.h"
#include "database/DataSource.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/FrameworkExceptions.h"
#include "platform/core/NameText.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"
#include "shared/DiskSpace.h"
#include "shared/ExceptionReport.h"

namespace {

constexpr int kPrefUseLastSetup = 10004;
constexpr int kPrefTipOfTheDay = 10001;

void ShowExceptionText(const std::exception& e) {
    ShowMfxErrorMessage(e, "", -1);
}

} // namespace

bool PreviousRunEndedCleanly() {
    return tvane::GetPrivateProfileInt("Settings", "Valid", 1, kProfileFile) != 0;
}

void WriteCleanExitMarker(bool clean) {
    tvane::WritePrivateProfileString("Settings", "Valid", clean ? "1" : "0", kProfileFile);
}

CLoggerApp::CLoggerApp(IAppHost& host, std::string programDirectory)
    : m_host(host), m_programDirectory(std::move(programDirectory)) {}

bool CLoggerApp::InitInstance(const std::vector<std::string>& arguments) {
    try {
        if (IsRegisterCommand(arguments)) {
            m_registeredOnly = true;
            return RegisterComponents(m_programDirectory);
        }
        return StartUp();
    } catch (const tvane::UserException&) {
        tvane::ShowMessage(AppTexts().Load(apptext::kExitingApplication), tvane::MsgButtons::Ok,
                           tvane::MsgIcon::Error, 0, kAppName);
    } catch (const std::exception& e) {
        ShowExceptionText(e);
        tvane::ShowMessage(AppTexts().Load(apptext::kExitingApplication), tvane::MsgButtons::Ok,
                           tvane::MsgIcon::None, 0, kAppName);
    }
    return false;
}

bool CLoggerApp::StartUp() {
    std::string error;
    if (!CheckDiskSpace(kRequiredDiskBytes, m_host.FreeDiskBytes(error), error))
        throw tvane::UserException();
    if (m_host.RaiseRunningInstance())
        return false;
    m_onlyInstance = true;
    m_host.ShowSplash();
    m_host.LoadSettings();
    if (!m_host.RegisterDataSource()) {
        tvane::ShowMessage(AppTexts().Load(apptext::kOdbcFailed), tvane::MsgButtons::Ok,
                           tvane::MsgIcon::None, apptext::kOdbcFailed, kAppName);
        throw tvane::UserException();
    }
    m_host.CreateInstrument(AppTexts().Load(apptext::kDriverName));
    if (!m_host.OpenDatabase(m_state)) {
        m_host.CloseSplash();
        tvane::ShowMessage("Unable to open database.\nMake sure the database exists and no other "
                           "application is using it.\nExiting Tallyvane.",
                           tvane::MsgButtons::Ok, tvane::MsgIcon::None, 0, kAppName);
        m_host.CloseDatabase(m_state);
        return false;
    }
    m_ownsWorkspace = true;
    if (!m_host.CreateDocument() || !m_host.CreateEventLog())
        return false;
    int state = m_host.SavedWindowState();
    if (state == 2)
        state = 3;
    m_host.CloseSplash();
    m_host.ShowMainWindow(state);
    m_host.LoadPreferences();

    const bool restored = RestoreStep();
    m_host.ConnectInstrument();
    if (m_host.Preference(kPrefTipOfTheDay).value_or(true))
        m_host.ShowTipOfTheDay();
    if (!restored)
        RunWelcome();
    return true;
}

bool CLoggerApp::RestoreStep() {
    bool restore = m_host.Preference(kPrefUseLastSetup).value_or(false);
    if (!PreviousRunEndedCleanly()) {
        restore =
            tvane::ShowMessage(AppTexts().Load(apptext::kAbnormalEnd), tvane::MsgButtons::YesNo,
                               tvane::MsgIcon::Question, 0, kAppName) == tvane::MsgAnswer::Yes;
    }
    if (!restore)
        return false;
    m_state.m_setupName =
        tvane::GetPrivateProfileString("Recent File List", "SetupName", "", kProfileFile);
    m_state.m_datasetName =
        tvane::GetPrivateProfileString("Recent File List", "DatasetName", "", kProfileFile);
    // A name with a control character names no stored setup or dataset.
    if (tvane::HasControlCharacter(m_state.m_datasetName))
        m_state.m_datasetName.clear();
    if (m_state.m_setupName.empty() || tvane::HasControlCharacter(m_state.m_setupName)) {
        m_state.m_setupName.clear();
        return false;
    }
    bool opened = false;
    try {
        m_openSetupName = m_state.m_setupName;
        m_openDatasetName = m_state.m_datasetName;
        m_opening = 1;
        opened = m_host.RestoreLastSetup(m_state.m_setupName, m_state.m_datasetName);
    } catch (const tvane::FileException& e) {
        ShowExceptionText(e);
    } catch (const tvane::Exception&) {
        // Any other failure of the open counts as not restored.
    }
    m_openSetupName.clear();
    m_openDatasetName.clear();
    m_opening = 0;
    if (!opened) {
        m_state.m_setupName.clear();
        m_state.m_setupFile.clear();
        m_state.m_datasetName.clear();
        m_state.m_datasetKey.clear();
    }
    return opened;
}

void CLoggerApp::RunWelcome() {
    for (;;) {
        try {
            m_host.Welcome();
            return;
        } catch (const tvane::UserException&) {
        } catch (const tvane::Exception& e) {
            ShowExceptionText(e);
        }
    }
}

int CLoggerApp::ExitInstance(int exitCode) {
    const std::string dataDir = m_state.m_dataDir;
    m_host.DeleteInstrument();
    m_host.CloseDatabase(m_state);
    // The clipboard and the saved settings are shared with a running instance,
    // which a second start must leave as they are.
    if (m_onlyInstance)
        m_host.EmptyClipboardIfOurs();
    if (m_ownsWorkspace) {
        WriteCleanExitMarker(true);
        if (!dataDir.empty()) {
            const std::filesystem::path dir(dataDir);
            // Copied beside the backup and renamed over it, so a failed copy never
            // leaves half a backup in place of a good one.
            std::error_code ec;
            const auto partial = dir / "backup.mdb.partial";
            if (std::filesystem::is_regular_file(dir / kWorkspaceFile, ec) &&
                std::filesystem::copy_file(dir / kWorkspaceFile, partial,
                                           std::filesystem::copy_options::overwrite_existing, ec))
                std::filesystem::rename(partial, dir / "backup.mdb", ec);
            if (ec)
                std::filesystem::remove(partial, ec);
        }
    }
    if (m_onlyInstance)
        m_host.SaveSettings();
    return exitCode;
}
