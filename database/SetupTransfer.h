#pragma once
#include <cstdint>
#include <string>
#include <vector>

class CQMZip;
struct ExportedDataset;
struct ExportedSetup;
class CWorkspace;
class IExportDocument;
namespace tvane {
class IPrompter;
class OdbcDatabase;
} // namespace tvane

// The texts the transfer of setups shows, with their help contexts.
namespace transfer_texts {
inline constexpr const char* kNoFileName = "You must supply an export file name."; // 926
inline constexpr const char* kReadOnly = "Unable to export data.\nFile %s is read only.";
inline constexpr const char* kInvalidFileName = "Invalid filename";            // 176
inline constexpr const char* kOverwrite = "Export file exists, overwrite it?"; // 928
inline constexpr const char* kIndexNotCreated = "\nFailed to create internal export file.";
inline constexpr const char* kExportDone = "Export Successful"; // 927
inline constexpr const char* kNotSaved =
    "Can not export selected setup, it has not been saved. Save it now?";
// When the save offered above did not happen.
inline constexpr const char* kStillNotSaved =
    "Can not export selected setup, it has not been saved.";
inline constexpr unsigned kUnpackSetupId = 13191;
inline constexpr const char* kUnpackSetup = "Error unpacking setup archive file 1.";
inline constexpr unsigned kUnpackDatasetsId = 13192;
inline constexpr const char* kUnpackDatasets = "Error unpacking setup archive file 2.";
inline constexpr unsigned kNoExportFileHelp = 13162;
inline constexpr const char* kNoExportFile = "Export file does not exist."; // 929
inline constexpr unsigned kUnpackIndexId = 13185;
inline constexpr const char* kUnpackIndex = "Error unpacking import header";
inline constexpr unsigned kNoSetupId = 13186;
inline constexpr const char* kNoSetup = "Error in reading export file, no setups found.";
inline constexpr unsigned kSetupTableId = 13188;
inline constexpr const char* kSetupTable = "Error opening setup table.";
inline constexpr unsigned kDatasetTableId = 13189;
inline constexpr const char* kDatasetTable = "Error opening dataset table.";
inline constexpr const char* kRenamed = "Setup already exists.\nRenaming (%s) to (%s)"; // 4021
inline constexpr const char* kImportDone = "Import successful";                         // 930
inline constexpr unsigned kInvalidNameHelp = 13194;
inline constexpr const char* kInvalidName = "Error - Invalid setup name"; // 4023
inline constexpr unsigned kInvalidFilesId = 13190;
inline constexpr const char* kInvalidFiles = "Error: Invalid setup of dataset file.";
inline constexpr unsigned kAddSetupId = 13193;
inline constexpr const char* kAddSetup = "Error adding setup to database.";
inline constexpr unsigned kAddDatasetId = 13194;
inline constexpr const char* kAddDataset = "Error adding dataset to database.";
inline constexpr const char* kImportedUser = "Imported";
inline constexpr const char* kUnreadableName =
    "Unable to export data.\nThe name (%s) cannot be stored in an export file.";
inline constexpr const char* kDatasetSkipped =
    "Dataset (%s) was not imported: the export file holds no readable data for it.";
inline constexpr const char* kExportFileName = "qmexport.qmx"; // 603
inline constexpr const char* kWorkFolder = "temp";
inline constexpr const char* kWorkArchive = "temp.qmx";
} // namespace transfer_texts

// Which datasets travel with a setup.
enum class TransferScope {
    AllDatasets, // the setup with every dataset
    NoDatasets,  // the setup alone
    OneDataset,  // the setup with one chosen dataset
};

// Writes a setup, with all, none or one of its datasets, into an export file:
// the index and the setup's storage files in one zip archive. A single dataset
// travels in a copy of the dataset file that holds only that dataset.
class SetupExporter {
public:
    SetupExporter(tvane::OdbcDatabase* database, std::string dataDir, IExportDocument& document,
                  tvane::IPrompter& prompter);

    struct Request {
        std::string path;
        std::string setupName;
        // The setup's datasets in the order the user sees them.
        std::vector<std::string> datasets;
        TransferScope scope = TransferScope::AllDatasets;
        std::string datasetName; // OneDataset
    };

    // Checks the path (a name without an extension gets a trailing "."), asks
    // before replacing a file, writes the archive and reports success. False
    // when the export did not complete; a file that cannot be created throws
    // the program's file exception. request.path takes the checked path.
    bool Export(Request& request);

    std::string IndexPath() const;
    std::string WorkFolder() const;

private:
    enum class PathCheck { Ok, Refused };
    PathCheck CheckPath(std::string& path);
    bool ReduceToDataset(const Request& request, CQMZip& zip);
    void Show(const std::string& text, unsigned helpId, int icon);

    tvane::OdbcDatabase* m_database;
    std::string m_dataDir;
    IExportDocument& m_document;
    tvane::IPrompter& m_prompter;
};

// Reads an export file and adds its setup, with all, none or one of its
// datasets, to the workspace under a name that is free there. The setup's
// storage files are placed in the data folder under new storage names; the
// dataset keys stay, since the copied dataset file keeps its sub-storages.
class SetupImporter {
public:
    SetupImporter(CWorkspace& workspace, tvane::OdbcDatabase* database, std::string dataDir,
                  tvane::IPrompter& prompter);
    // The extracted index is removed with the importer.
    ~SetupImporter();
    SetupImporter(const SetupImporter&) = delete;
    SetupImporter& operator=(const SetupImporter&) = delete;

    // Extracts the index of the export file into the data folder. False, with
    // the message shown, when the file is missing, holds no index or names no
    // setup.
    bool ExtractIndex(const std::string& exportPath);
    // Whether the file is an archive with an index member. Shows nothing.
    bool HasIndex(const std::string& exportPath);

    // Imports from the export file; position picks the dataset (its place in
    // the index's list) for OneDataset. Shows "Import successful" at the end.
    bool Import(const std::string& exportPath, TransferScope scope, int position = 0);

    // The name the last import gave its setup.
    const std::string& ImportedName() const { return m_importedName; }
    std::string IndexPath() const;
    std::string WorkFolder() const;

    // The largest members an import extracts.
    static constexpr std::uint64_t kMaxSetupFileBytes = std::uint64_t{256} << 20;
    static constexpr std::uint64_t kMaxDatasetFileBytes = std::uint64_t{64} << 30;

private:
    // Extracts the index as IndexPath(); false after its message.
    bool UnpackIndex(const std::string& exportPath);
    // Extracts and checks both files, keeps in datasets those whose data the
    // dataset file holds (a message for each other), places the files and
    // adds the Setup row.
    bool ImportSetup(const ExportedSetup& setup, const std::string& newName,
                     const std::string& exportPath, std::vector<ExportedDataset>& datasets);
    void KeepReadableDatasets(const std::string& datasetFile,
                              std::vector<ExportedDataset>& datasets);
    bool ImportDataset(const ExportedDataset& dataset, const std::string& newName);
    void Show(const std::string& text, unsigned helpId);
    bool PlaceFile(const std::string& from, const std::string& to);

    CWorkspace& m_workspace;
    tvane::OdbcDatabase* m_database;
    std::string m_dataDir;
    tvane::IPrompter& m_prompter;
    std::string m_importedName;
};
