#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "database/IWorkspaceDocument.h"
#include "platform/core/Clock.h"

namespace tvane {
class OdbcDatabase;
}

// A new name, user and note for a Setup or Dataset row, as the save dialogs
// return them.
struct RowProperties {
    std::string name;
    std::string user;
    std::string note;
};

// Time-stamped storage names: y = year mod 10, hour, minute, second, "." and the
// day of the year counted from 0.
namespace workspace_names {
std::string StorageSuffix(const tvane::LocalTime& time);
// "X<suffix>" in the data directory.
std::string SetupFilePath(const std::string& dataDir, const tvane::LocalTime& time);
// "Z<suffix>", 12 characters.
std::string DatasetKey(const tvane::LocalTime& time);
// The dataset storage file beside a setup file: the file name's first letter
// becomes 'Y'. Either separator ends the folder part.
std::string CompanionFileName(const std::string& setupFile);
// "<prefix> mm/dd/yy hh:mm:ss".
std::string DefaultName(const char* prefix, const tvane::LocalTime& time);
} // namespace workspace_names

// The saved setups and their datasets: the Setup and Dataset rows of the
// workspace database together with the setup document files and the dataset
// storage files they name. Every table operation opens its own recordset on the
// application's database and closes it before returning.
//
// Operations answer false for a failed open, a missing row and a failed add,
// edit or delete; database exceptions pass through to the caller. Storage names
// come from the process clock and are stepped on, a second at a time, past names
// already taken on disk or in the open storage file.
class CWorkspace {
public:
    static constexpr const char* kNewSetupName = "(New Setup)"; // 1077
    static constexpr const char* kAddedByRun = "Added By Run";  // 1078
    static constexpr const char* kDefaultActions = ";;;;;";     // 3300
    static constexpr const char* kDisabledActions = "4;;;;;";   // 3301
    static constexpr const char* kNoModule = "(None)";          // 507
    static constexpr std::uint16_t kDatasetBufferBytes = 16384;

    explicit CWorkspace(IWorkspaceDocument& document) : m_doc(document) {}

    // --- Names ----------------------------------------------------------------
    // A free "X" file name in the state's data directory, with no "Y" file beside it.
    void MakeSetupFilePath(CStateInfo& state);
    static std::string MakeStorageSuffix();
    // A key the document's open storage file does not hold yet.
    void MakeDatasetKey(CStateInfo& state);
    static std::string MakeCompanionFileName(const std::string& path) {
        return workspace_names::CompanionFileName(path);
    }
    std::string MakeDefaultSetupName();
    static std::string MakeDefaultDatasetName();
    // The default dataset name that no dataset of the setup has yet: a taken one
    // moves on to the next second.
    std::string MakeFreeDatasetName(const std::string& setupName);
    std::string MakeUniqueSetupName(const std::string& name);

    // --- Setups ---------------------------------------------------------------
    // True when a row of that name exists and its setup file holds data; throws
    // the program's file exception when the row names a file that is missing.
    bool SetupExists(const std::string& name);
    // Row, empty setup file and dataset storage file of the state's setup name
    // (replacing a namesake setup); the storage file stays open as the document's.
    bool CreateSetupStorage(CStateInfo& state);
    bool AddSetupRow(const std::string& name, const std::string& setupFile);
    // Row, setup file and dataset storage file; the Dataset rows stay.
    bool DeleteSetup(const std::string& name);
    bool UpdateSetupRecord(const std::string& oldName, const RowProperties& properties);
    bool SetSetupUserNote(const std::string& name, const std::string& user,
                          const std::string& note);
    bool SetSetupDateTime(const std::string& name, const tvane::CTime& time);
    // The document's setup rows from the module tables, for the modules of
    // slots 1 to 3.
    bool LoadModuleChannels(const std::array<std::string, 3>& modules);

    // --- Datasets -------------------------------------------------------------
    // Closes the current dataset and starts a new one under a default name.
    bool SaveDataset(CStateInfo& state);
    // Saves only a dataset that holds readings or events.
    bool SaveDatasetIfAny(CStateInfo& state);
    bool AddDatasetRow(const std::string& setupName, const std::string& datasetName,
                       const std::string& key);
    bool UpdateDatasetRecord(const std::string& setupName, const std::string& datasetName,
                             const RowProperties& properties);
    bool DeleteDataset(const std::string& setupName, const std::string& datasetName);
    bool DeleteDatasetsOfSetup(const std::string& setupName);
    // Whether the state's dataset is stored; throws the program's file exception
    // when the dataset storage file is missing.
    bool CheckDatasetFile(const CStateInfo& state);

    // --- Run summary ----------------------------------------------------------
    void CloseDataset();
    bool UpdateDatasetHeader();
    void LoadRunSummary();
    bool LoadDatasetFile(CStateInfo& state);

private:
    tvane::OdbcDatabase* Database();
    // The storage name of now, stepped on by a second while `taken` says so.
    template <typename Taken> static tvane::LocalTime FreeStorageTime(Taken taken);
    void WriteRunSummary();

    IWorkspaceDocument& m_doc;
};
