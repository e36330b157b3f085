#pragma once
#include <memory>
#include <string>
#include <vector>

#include "database/CDynaDatabase.h"
#include "database/CRSDataset.h"
#include "database/CRSSetup.h"
#include "database/OdbcInstaller.h"
#include "platform/ui/Prompter.h"

// A dataset that lies in a dataset storage file but has no Dataset row.
struct MissingDataset {
    std::string file;    // the dataset storage file's path
    std::string storage; // the dataset's storage in it, which is its key

    // As the list shows it: file path, ";", storage name.
    std::string Text() const { return file + ";" + storage; }
};

// The restore utility's work: finds the datasets that are in the data
// directory's dataset storage files but not in the database of the data source
// "Tvane32", and adds a Setup row per file and a Dataset row per dataset for
// them. Every failure is shown through the prompter; database exceptions raised
// while a table is walked reach the caller.
class DatabaseRestore {
public:
    explicit DatabaseRestore(tvane::IPrompter& prompter = tvane::Prompter(),
                             tvane::IOdbcInstaller& installer = tvane::OdbcInstaller());
    ~DatabaseRestore();
    DatabaseRestore(const DatabaseRestore&) = delete;
    DatabaseRestore& operator=(const DatabaseRestore&) = delete;

    // Reads the data source's database path and data directory, then opens the
    // database and the Setup and Dataset tables. False, after its message, when
    // there is nothing to work on.
    bool OpenDatabase();
    // Lists the data directory's dataset files and the datasets in them that the
    // database lacks.
    void Scan();
    // Asks for confirmation, then adds the rows of the missing datasets. False
    // when the user declined.
    bool Restore();
    // Closes the tables and the database.
    void Close();

    const std::string& DatabasePath() const { return m_databasePath; }
    const std::string& DataDirectory() const { return m_dataDirectory; }
    // The names of the data directory's entries that the scan looks at.
    const std::vector<std::string>& Files() const { return m_files; }
    const std::vector<MissingDataset>& Missing() const { return m_missing; }
    bool IsOpen() const { return m_database != nullptr && m_setups != nullptr; }
    // True after a scan that found something, until the restore.
    bool CanRestore() const { return m_canRestore; }

private:
    void Message(const std::string& text);
    void ReadDataSource();
    void CheckFile(const std::string& path);
    bool HasDatasetKey(const std::string& key);
    // Each adds its row under the name made with the counter, or with the next
    // counter whose name is free; the counter is left at the one taken. A row of
    // that name for the same file or dataset stands for the row and succeeds.
    bool AddSetupRow(int& counter, const std::string& setupFile, const std::string& datasetFile,
                     std::string& name);
    bool AddDatasetRow(const std::string& setupName, int& counter, const std::string& key);
    // Stores the row being added; a failure drops it and shows failedText.
    bool CommitNewRow(CRSBase& set, const std::string& failedText);

    tvane::IPrompter& m_prompter;
    tvane::IOdbcInstaller& m_installer;
    std::string m_databasePath;
    std::string m_dataDirectory;
    std::vector<std::string> m_files;
    std::vector<MissingDataset> m_missing;
    bool m_canRestore = false;
    std::unique_ptr<CDynaDatabase> m_database;
    std::unique_ptr<CRSDataset> m_datasets;
    std::unique_ptr<CRSSetup> m_setups;
};

// The names of the added rows: the word, the local date and time and a counter,
// "Setup 03/05/26 14:07:09.01".
std::string RestoredRowName(const std::string& word, int counter);
// The setup file that belongs to a dataset storage file: its file name with the
// first letter made "X".
std::string SetupFileOf(const std::string& datasetFile);
