#include "database/CStateInfo.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>

#include "database/CMfxFileException.h"
#include "database/CRSBase.h"
#include "database/CRSDataset.h"
#include "database/CRSSetup.h"
#include "database/DataSource.h"
#include "database/DatabaseStrings.h"
#include "database/SeedDatabase.h"
#include "platform/core/NameText.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"

namespace fs = std::filesystem;

namespace {

std::string g_programDirectory;

void ShowDatabaseMessage(unsigned id) {
    tvane::ShowMessage(DatabaseStrings().Load(id));
}

// Creates (or truncates) and removes a file in the data directory.
void WriteTest(const std::string& dataDir) {
    const std::string path = dataDir + "/temp.txt";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        ThrowMfxFileException(tvane::FileException::CauseFromErrno(error), -1, path.c_str(),
                              DatabaseStrings().Load(IDS_RUN_FIX_TOOL).c_str());
    }
    ::close(fd);
    ::unlink(path.c_str());
}

// A file without its owner's write permission is the read-only attribute here.
void MakeWritable(const fs::path& file) {
    std::error_code ec;
    const auto perms = fs::status(file, ec).permissions();
    if (!ec && (perms & fs::perms::owner_write) == fs::perms::none)
        fs::permissions(file, fs::perms::owner_write, fs::perm_options::add, ec);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

std::string CStateInfo::ProgramDirectory() {
    if (!g_programDirectory.empty())
        return g_programDirectory;
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

void CStateInfo::SetProgramDirectory(const std::string& directory) {
    g_programDirectory = directory;
}

void CStateInfo::Reset() {
    m_pDatabase.reset();
    m_installDir.clear();
    m_dataDir.clear();
    m_dataSourceName.clear();
    m_setupName.clear();
    m_setupFile.clear();
    m_datasetName.clear();
    m_datasetKey.clear();
    m_modules = {};
    m_flags = {};
}

bool CStateInfo::IsBusy() const {
    return m_flags[0] != 0 || m_flags[1] != 0 || m_flags[2] != 0 || m_flags[3] == 1;
}

void CStateInfo::SaveRecentNames() const {
    // A name with a line break would split its line and could add sections to
    // the file: such a name is not remembered.
    const auto oneLine = [](const std::string& name) {
        return tvane::HasControlCharacter(name) ? std::string() : name;
    };
    tvane::WritePrivateProfileString("Recent File List", "SetupName", oneLine(m_setupName),
                                     kProfileFile);
    tvane::WritePrivateProfileString("Recent File List", "DatasetName", oneLine(m_datasetName),
                                     kProfileFile);
}

void CStateInfo::LoadRecentNames() {
    m_setupName = tvane::GetPrivateProfileString("Recent File List", "SetupName", "", kProfileFile);
    m_datasetName =
        tvane::GetPrivateProfileString("Recent File List", "DatasetName", "", kProfileFile);
}

void CStateInfo::ClearNames() {
    m_setupName.clear();
    m_setupFile.clear();
    m_datasetName.clear();
    m_datasetKey.clear();
    m_modules = {};
}

namespace {

// A damaged file may still open: only reading its rows shows it. Nothing is
// taken for the workspace (nor copied over its backup at exit) until its
// setups and datasets have been read.
bool ReadsEveryRow(tvane::OdbcDatabase* database) {
    try {
        CRSSetup setups(database);
        std::int16_t result = setups.OpenAll(RS_READONLY);
        for (; result == RS_ROWS && !setups.IsEOF(); setups.MoveNext()) {
        }
        setups.Close();
        if (result == RS_FAILED)
            return false;
        CRSDataset datasets(database);
        result = datasets.OpenAll(RS_READONLY);
        for (; result == RS_ROWS && !datasets.IsEOF(); datasets.MoveNext()) {
        }
        datasets.Close();
        return result != RS_FAILED;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

bool CStateInfo::OpenDatabase(tvane::IOdbcInstaller& installer) {
    const std::string fixedName = DatabaseStrings().Load(IDS_DATA_SOURCE_NAME);
    m_installDir =
        tvane::GetPrivateProfileString("Path", "Install", ProgramDirectory(), kProfileFile);
    m_dataDir = WorkspaceDataDirectory();
    m_dataSourceName = tvane::GetPrivateProfileString("Database", "DSN", fixedName, kProfileFile);
    if (m_dataSourceName.empty()) {
        ShowDatabaseMessage(IDS_DSN_EMPTY);
        return false;
    }

    WriteTest(m_dataDir);

    // A start without a workspace gets a new one from the seed; a failure here
    // shows as the missing file below.
    const fs::path workspace = fs::path(m_dataDir) / kWorkspaceFile;
    std::error_code ec;
    if (!fs::exists(workspace, ec)) {
        try {
            tvane::CreateSeedDatabase(workspace);
        } catch (const std::exception&) {
        }
    }

    const std::string dbq =
        installer.GetPrivateProfileString(m_dataSourceName, "DBQ", "", "odbc.ini");
    if (dbq.empty() || !fs::is_regular_file(dbq, ec))
        return false;
    MakeWritable(dbq);

    bool result = false;
    try {
        m_pDatabase.reset();
        m_pDatabase = std::make_shared<CDynaDatabase>();
        if (!m_pDatabase->Open(m_dataSourceName, false, false, "ODBC;", false))
            ShowDatabaseMessage(IDS_WORKSPACE_NOT_FOUND);
        else if (!m_pDatabase->CanUpdate())
            ShowDatabaseMessage(IDS_WORKSPACE_READ_ONLY);
        else if (!ReadsEveryRow(m_pDatabase.get()))
            ShowDatabaseMessage(IDS_WORKSPACE_OPEN_FAILED);
        else
            result = true;
    } catch (const std::exception&) {
        ShowDatabaseMessage(IDS_WORKSPACE_OPEN_FAILED);
    }
    if (!result)
        return false;

    // The path the driver reports goes back into the data source, whichever data
    // source was opened.
    std::string path = m_pDatabase->GetDatabaseName();
    if (!path.empty()) {
        if (!fs::path(path).has_extension())
            path += ".mdb";
        const std::size_t slash = path.find_last_of("/\\");
        const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash);
        installer.WritePrivateProfileString(fixedName, "DBQ", path, "odbc.ini");
        installer.WritePrivateProfileString(fixedName, "DefaultDir", dir, "odbc.ini");
    }
    if (Lower(path).find("tvane") == std::string::npos) {
        ShowDatabaseMessage(IDS_NOT_A_WORKSPACE);
        return false;
    }
    return true;
}

bool CStateInfo::CloseDatabase() {
    if (!m_pDatabase)
        return true;
    if (m_pDatabase->IsOpen())
        m_pDatabase->Close();
    m_pDatabase.reset();
    Reset();
    return true;
}
