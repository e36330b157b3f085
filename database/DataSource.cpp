#include "database/DataSource.h"

#include <cstdlib>
#include <utility>
#include <vector>

#include "database/DatabaseStrings.h"
#include "platform/core/Folders.h"
#include "platform/profile/Profile.h"

namespace {

const char* const kOdbcIni = "odbc.ini";

bool WriteAll(tvane::IOdbcInstaller& installer, const std::string& section,
              const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [key, value] : values)
        if (!installer.WritePrivateProfileString(section, key, value, kOdbcIni))
            return false;
    return true;
}

} // namespace

void UseProgramDataSourceFile() {
    const char* given = std::getenv("ODBCINI");
    if (given != nullptr && *given != '\0')
        return;
    setenv("ODBCINI", tvane::ConfigFile(kOdbcIni).c_str(), 1);
}

std::string WorkspaceDataDirectory() {
    std::string dir =
        tvane::GetPrivateProfileString("Path", "Data", tvane::DataDir().string(), kProfileFile);
    while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\'))
        dir.pop_back();
    return dir;
}

bool RegisterDataSource(tvane::IOdbcInstaller& installer) {
    const std::string name = DatabaseStrings().Load(IDS_DATA_SOURCE_NAME);
    const std::string driver = DatabaseStrings().Load(IDS_DATA_SOURCE_DRIVER);

    if (!WriteAll(installer, "ODBC Data Sources", {{name, driver}}))
        return false;

    const std::string database = WorkspaceDataDirectory() + "/" + kWorkspaceFile;
    if (!WriteAll(installer, name,
                  {{"DBQ", database},
                   {"DefaultDir", WorkspaceDataDirectory()},
                   {"Driver", driver},
                   {"Database", database},
                   {"Description", "Tallyvane 32 Data Source"}}))
        return false;

    // The engine's settings: wait for a busy file (milliseconds), commit
    // synchronously, and never let the driver create an empty file in place of
    // a missing workspace.
    return WriteAll(installer, name,
                    {{"Timeout", "5000"}, {"SyncPragma", "FULL"}, {"NoCreat", "1"}});
}
