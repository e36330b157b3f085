#include "tools/restore/DatabaseRestore.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "database/DBException.h"
#include "database/TableSupport.h"
#include "platform/core/CaseInsensitive.h"
#include "platform/core/Clock.h"
#include "platform/core/NameText.h"
#include "platform/storage/Storage.h"
#include "tools/restore/RestoreTexts.h"

namespace texts = restore_texts;
namespace fs = std::filesystem;

namespace {

// The user's data sources.
const char* const kOdbcIni = "odbc.ini";

// The dataset storage files are the entries whose name starts with "y" (the
// data directory's "y*.*", which ignores case).
bool IsDatasetFileName(const std::string& name) {
    return !name.empty() && (name.front() == 'y' || name.front() == 'Y');
}

} // namespace

std::string RestoredRowName(const std::string& word, int counter) {
    const tvane::LocalTime t = tvane::Clock().LocalNow();
    char text[128];
    std::snprintf(text, sizeof text, "%s %02d/%02d/%02d %02d:%02d:%02d.%02d", word.c_str(), t.month,
                  t.day, t.year % 100, t.hour, t.minute, t.second, counter);
    return text;
}

std::string SetupFileOf(const std::string& datasetFile) {
    const std::size_t separator = datasetFile.find_last_of("/\\");
    const std::size_t first = separator == std::string::npos ? 0 : separator + 1;
    std::string setupFile = datasetFile;
    if (first < setupFile.size())
        setupFile[first] = 'X';
    return setupFile;
}

DatabaseRestore::DatabaseRestore(tvane::IPrompter& prompter, tvane::IOdbcInstaller& installer)
    : m_prompter(prompter), m_installer(installer) {}

DatabaseRestore::~DatabaseRestore() {
    Close();
}

void DatabaseRestore::Message(const std::string& text) {
    tvane::MessageRequest request;
    request.text = text;
    request.caption = texts::kProgramName;
    m_prompter.Ask(request);
}

void DatabaseRestore::ReadDataSource() {
    m_databasePath =
        m_installer.GetPrivateProfileString(texts::kDataSourceName, "DBQ", "", kOdbcIni);
    m_dataDirectory =
        m_installer.GetPrivateProfileString(texts::kDataSourceName, "DefaultDir", "", kOdbcIni);
    if (m_dataDirectory.empty()) {
        // The folder of the database file.
        const std::size_t separator = m_databasePath.find_last_of("/\\");
        if (separator != std::string::npos && separator != 0)
            m_dataDirectory = m_databasePath.substr(0, separator);
    }
}

bool DatabaseRestore::OpenDatabase() {
    Close();
    ReadDataSource();

    std::error_code ec;
    const bool exists = !m_databasePath.empty() && fs::is_regular_file(m_databasePath, ec);
    if (!exists) {
        // Without a database there is nothing to compare with; say so rather
        // than show an empty list.
        Message(texts::kDbNotFound);
        return false;
    }
    // A read-only database file would refuse the new rows.
    const fs::perms perms = fs::status(m_databasePath, ec).permissions();
    if (!ec && (perms & fs::perms::owner_write) == fs::perms::none)
        fs::permissions(m_databasePath, fs::perms::owner_write, fs::perm_options::add, ec);

    auto database = std::make_unique<CDynaDatabase>();
    try {
        if (!database->Open(texts::kDataSourceName, false, false, "ODBC;", false)) {
            Message(texts::kDbNotFound);
            return false;
        }
        if (!database->CanUpdate()) {
            Message(texts::kCannotUpdate);
            return false;
        }
        auto setups = std::make_unique<CRSSetup>(database.get());
        auto datasets = std::make_unique<CRSDataset>(database.get());
        if (setups->OpenAll(RS_UPDATABLE) == RS_FAILED ||
            datasets->OpenAll(RS_UPDATABLE) == RS_FAILED) {
            Message(texts::kErrorOpeningDb);
            return false;
        }
        m_database = std::move(database);
        m_setups = std::move(setups);
        m_datasets = std::move(datasets);
    } catch (const tvane::DBException&) {
        Message(texts::kErrorOpeningDb);
        return false;
    }
    return true;
}

void DatabaseRestore::Close() {
    if (m_datasets)
        m_datasets->Close();
    if (m_setups)
        m_setups->Close();
    m_datasets.reset();
    m_setups.reset();
    if (m_database && m_database->IsOpen())
        m_database->Close();
    m_database.reset();
}

void DatabaseRestore::Scan() {
    m_canRestore = false;
    m_files.clear();
    m_missing.clear();
    if (!IsOpen())
        return;
    std::error_code ec;
    for (fs::directory_iterator it(m_dataDirectory, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // A file name with a control character would go into a row as it is.
        if (IsDatasetFileName(name) && !tvane::HasControlCharacter(name))
            m_files.push_back(name);
    }
    // The order the files are checked in, and so the order of their setups.
    std::sort(m_files.begin(), m_files.end(), [](const std::string& a, const std::string& b) {
        const std::string upperA = tvane::ToUpperAscii(a), upperB = tvane::ToUpperAscii(b);
        return upperA != upperB ? upperA < upperB : a < b;
    });

    for (const std::string& name : m_files)
        if (!name.empty())
            CheckFile(m_dataDirectory + "/" + name);
    m_canRestore = !m_missing.empty();
}

void DatabaseRestore::CheckFile(const std::string& path) {
    if (tvane::StgIsStorageFile(path) != tvane::STG_S_OK) {
        Message(texts::kNotStorageFile);
        return;
    }
    tvane::Storage root;
    try {
        root = tvane::StgOpenStorage(path, tvane::STGM_TRANSACTED | tvane::STGM_SHARE_DENY_WRITE |
                                               tvane::STGM_READ);
    } catch (const tvane::StorageException&) {
        Message(texts::kOpenFileFailed);
        return;
    }
    std::vector<tvane::StatStg> elements;
    try {
        elements = root.EnumElements();
    } catch (const tvane::StorageException&) {
        Message(texts::kEnumElementsFailed);
        return;
    }
    for (const tvane::StatStg& element : elements) {
        if (element.type == tvane::STGTY_STORAGE) {
            // Opened to make sure that it can be read.
            try {
                root.OpenStorage(element.name, tvane::STGM_SHARE_EXCLUSIVE | tvane::STGM_READ);
            } catch (const tvane::StorageException&) {
                Message(texts::kOpenStorageFailed);
                continue;
            }
            // The key is stored in the row and looked up by name: one that
            // holds a control character is never found again.
            if (tvane::HasControlCharacter(element.name)) {
                Message(texts::kOpenStorageFailed);
                continue;
            }
            if (!HasDatasetKey(element.name))
                m_missing.push_back({path, element.name});
        } else if (element.type == tvane::STGTY_STREAM) {
            try {
                root.OpenStream(element.name, tvane::STGM_SHARE_EXCLUSIVE | tvane::STGM_READ);
            } catch (const tvane::StorageException&) {
                Message(texts::kOpenStreamFailed);
            }
        }
    }
}

bool DatabaseRestore::HasDatasetKey(const std::string& key) {
    return tvane::FindRow(*m_datasets,
                          [&] { return tvane::EqualsNoCase(m_datasets->m_DatasetKey, key); });
}

bool DatabaseRestore::Restore() {
    tvane::MessageRequest confirm;
    confirm.text = texts::kConfirmRestore;
    confirm.caption = texts::kProgramName;
    confirm.buttons = tvane::MsgButtons::YesNo;
    confirm.icon = tvane::MsgIcon::Question;
    if (!IsOpen() || m_prompter.Ask(confirm) != tvane::MsgAnswer::Yes)
        return false;

    bool allAdded = true;
    int setupCounter = 0;
    int datasetCounter = 0;
    std::string previousFile;
    std::string setupName;
    bool setupAdded = false;
    for (std::size_t i = 0; i < m_missing.size(); ++i) {
        const MissingDataset& entry = m_missing[i];
        if (i == 0 || entry.file != previousFile) {
            previousFile = entry.file;
            ++setupCounter;
            datasetCounter = 0;
            setupAdded = AddSetupRow(setupCounter, SetupFileOf(entry.file), entry.file, setupName);
        } else {
            ++datasetCounter;
        }
        // Without its Setup row a dataset would be listed under a setup that
        // does not exist: the file's datasets wait for another restore.
        if (!setupAdded) {
            allAdded = false;
            continue;
        }
        if (!AddDatasetRow(setupName, datasetCounter, entry.storage))
            allAdded = false;
    }
    m_canRestore = false;
    Message(allAdded ? texts::kRestored : texts::kNotAllRestored);
    return true;
}

bool DatabaseRestore::AddSetupRow(int& counter, const std::string& setupFile,
                                  const std::string& datasetFile, std::string& name) {
    CRSSetup& set = *m_setups;
    // The names hold only the second: another restore in the same second may
    // have taken this counter for another file. A setup of this file is used.
    for (;; ++counter) {
        name = RestoredRowName(texts::kSetupWord, counter);
        if (!set.FindSetup(name))
            break;
        std::string existingFile = set.m_SetupFile;
        tvane::TrimRight(existingFile);
        if (existingFile == setupFile)
            return true;
    }
    try {
        set.AddNewRecord();
    } catch (const tvane::DBException&) {
        Message(texts::kSetupAddModeFailed);
        return false;
    }
    set.m_Name = name;
    set.m_DateTime = tvane::Clock().Now();
    set.m_User = texts::kUser;
    set.m_Note = texts::kNote;
    set.m_SetupFile = setupFile;
    set.m_DatasetFile = datasetFile;
    return CommitNewRow(set, texts::kSetupUpdateFailed);
}

bool DatabaseRestore::AddDatasetRow(const std::string& setupName, int& counter,
                                    const std::string& key) {
    CRSDataset& set = *m_datasets;
    // A name of the setup that another dataset holds is passed over; one that
    // holds this dataset already is kept.
    std::string name;
    for (;; ++counter) {
        name = RestoredRowName(texts::kDataWord, counter);
        if (!set.FindDataset(setupName, name))
            break;
        std::string existingKey = set.m_DatasetKey;
        tvane::TrimRight(existingKey);
        if (tvane::EqualsNoCase(existingKey, key))
            return true;
    }
    try {
        set.AddNewRecord();
    } catch (const tvane::DBException&) {
        Message(texts::kDatasetAddModeFailed);
        return false;
    }
    set.m_SetupName = setupName;
    set.m_Name = name;
    set.m_DateTime = tvane::Clock().Now();
    set.m_User = texts::kUser;
    set.m_Note = texts::kNote;
    set.m_DatasetKey = key;
    return CommitNewRow(set, texts::kDatasetUpdateFailed);
}

bool DatabaseRestore::CommitNewRow(CRSBase& set, const std::string& failedText) {
    bool updated = false;
    try {
        updated = set.UpdateRecord() != 0;
    } catch (const tvane::DBException&) {
    }
    if (!updated) {
        set.CancelUpdate();
        Message(failedText);
    }
    return updated;
}
