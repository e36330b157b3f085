#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "database/CDynaDatabase.h"
#include "database/OdbcInstaller.h"

// The application's state record: the open workspace database and the names of
// the current setup and dataset. One per application; the application copies it
// before the Open dialog and assigns the copy back when that is cancelled, so a
// copy shares the database.
struct CStateInfo {
    std::shared_ptr<CDynaDatabase> m_pDatabase; // absent when closed
    std::string m_installDir;
    std::string m_dataDir; // without a trailing separator
    std::string m_dataSourceName;
    std::string m_setupName;
    std::string m_setupFile;
    std::string m_datasetName;
    std::string m_datasetKey;
    // The modules of slots 1, 2 and 3 as the document file names them.
    std::array<std::string, 3> m_modules;
    // Unsaved changes; the fourth is cleared when the run is saved as a dataset.
    std::array<std::int32_t, 4> m_flags{};

    CDynaDatabase* GetDatabase() const { return m_pDatabase.get(); }

    // Empties every text, drops the database and zeroes the flags.
    void Reset();
    // Nonzero when the first, second or third flag is set or the fourth is 1.
    bool IsBusy() const;
    // Writes the setup and dataset names into [Recent File List] of the profile.
    void SaveRecentNames() const;
    // Reads the setup and dataset names back from [Recent File List].
    void LoadRecentNames();
    // Empties the names of the setup, its file, the dataset and the modules;
    // folders, data source, database and flags stay.
    void ClearNames();

    // Reads the folders and data source from the profile, checks that the data
    // directory can be written (else throws CMfxFileException), creates the
    // workspace file from the seed when the data directory has none, and opens
    // the data source. True when the database is open, updatable and recognised;
    // messages 904-908 say why not (none when the database file is missing).
    bool OpenDatabase(tvane::IOdbcInstaller& installer = tvane::OdbcInstaller());
    // Closes and drops the database, then resets the record; always true.
    bool CloseDatabase();

    // The folder of the running program (the default installation directory).
    static std::string ProgramDirectory();
    static void SetProgramDirectory(const std::string& directory);
};
