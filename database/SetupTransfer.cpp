#include "database/SetupTransfer.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <sys/stat.h>

#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "database/CMfxFileException.h"
#include "database/CQMZip.h"
#include "database/CRSBase.h"
#include "database/CRSDataset.h"
#include "database/CRSSetup.h"
#include "database/CStateInfo.h"
#include "database/CWorkspace.h"
#include "database/ExportIndex.h"
#include "database/ExportIndexReader.h"
#include "database/ExportIndexWriter.h"
#include "database/SetupFileHeader.h"
#include "platform/core/Format.h"
#include "platform/core/NameText.h"
#include "platform/storage/Storage.h"
#include "platform/ui/Prompter.h"
#include "platform/zip/Zip.h"

namespace fs = std::filesystem;
using namespace transfer_texts;

namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\" ";
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

void Remove(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

// A name as a message may show it: control characters become "?".
std::string Printable(std::string name) {
    for (char& c : name)
        if (tvane::HasControlCharacter(std::string_view(&c, 1)))
            c = '?';
    return name;
}

tvane::MessageRequest Box(const std::string& text, unsigned helpId) {
    tvane::MessageRequest request;
    request.text = text;
    request.caption = "Tvane";
    request.helpId = helpId;
    return request;
}

} // namespace

// --- Export -------------------------------------------------------------------

SetupExporter::SetupExporter(tvane::OdbcDatabase* database, std::string dataDir,
                             IExportDocument& document, tvane::IPrompter& prompter)
    : m_database(database), m_dataDir(std::move(dataDir)), m_document(document),
      m_prompter(prompter) {}

std::string SetupExporter::IndexPath() const {
    return m_dataDir + "/" + export_index::kIndexFileName;
}

std::string SetupExporter::WorkFolder() const {
    return m_dataDir + "/" + kWorkFolder;
}

void SetupExporter::Show(const std::string& text, unsigned helpId, int icon) {
    tvane::MessageRequest request = Box(text, helpId);
    request.icon = static_cast<tvane::MsgIcon>(icon);
    m_prompter.Ask(request);
}

SetupExporter::PathCheck SetupExporter::CheckPath(std::string& path) {
    // Only the file name decides whether there is an extension: a point in a
    // folder name is no extension.
    if (!path.empty() && fs::path(path).filename().string().find('.') == std::string::npos)
        path += ".";
    if (path.empty()) {
        Show(kNoFileName, 926, static_cast<int>(tvane::MsgIcon::None));
        return PathCheck::Refused;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        // A file that can be made here can be exported to.
        {
            std::ofstream probe(path, std::ios::binary);
            if (!probe) {
                const int error = errno;
                ThrowMfxFileException(tvane::FileException::CauseFromErrno(error), error,
                                      path.c_str());
            }
        }
        Remove(path);
        return PathCheck::Ok;
    }
    if (!S_ISREG(info.st_mode)) {
        Show(kInvalidFileName, 176, static_cast<int>(tvane::MsgIcon::None));
        return PathCheck::Refused;
    }
    if ((info.st_mode & S_IWUSR) == 0) {
        Show(tvane::Format(kReadOnly, path.c_str()), 0, static_cast<int>(tvane::MsgIcon::None));
        return PathCheck::Refused;
    }
    tvane::MessageRequest question = Box(kOverwrite, 0);
    question.buttons = tvane::MsgButtons::OkCancel;
    question.icon = tvane::MsgIcon::Question;
    if (m_prompter.Ask(question) != tvane::MsgAnswer::Ok)
        return PathCheck::Refused;
    Remove(path);
    return PathCheck::Ok;
}

bool SetupExporter::Export(Request& request) {
    if (CheckPath(request.path) != PathCheck::Ok)
        return false;

    const std::string indexPath = IndexPath();
    Remove(indexPath);
    {
        std::ofstream index(indexPath, std::ios::binary | std::ios::trunc);
        if (!index) {
            const int error = errno;
            ThrowMfxFileException(tvane::FileException::CauseFromErrno(error), error,
                                  indexPath.c_str(), kIndexNotCreated);
        }
    }

    const bool exclude = request.scope == TransferScope::NoDatasets;
    std::vector<std::string> datasets;
    if (request.scope == TransferScope::AllDatasets)
        datasets = request.datasets;
    else if (request.scope == TransferScope::OneDataset)
        datasets = {request.datasetName};

    ExportIndexWriter writer(indexPath, m_database, m_document);
    std::string items;
    // A dataset whose row has gone is left out of the index; without the
    // setup's row there is nothing to export.
    const bool written = writer.Write(request.setupName, datasets, exclude, items);
    // An index the import would misread is no export: nothing is written.
    if (!writer.UnreadableName().empty()) {
        Remove(indexPath);
        Show(tvane::Format(kUnreadableName, Printable(writer.UnreadableName()).c_str()), 0,
             static_cast<int>(tvane::MsgIcon::None));
        return false;
    }
    if (!written && items.empty()) {
        Remove(indexPath);
        return false;
    }

    CQMZip zip(&m_prompter);
    bool done = zip.ZipFiles(request.path, items, CQMZip::kKeepFiles);
    Remove(indexPath);
    if (done && request.scope == TransferScope::OneDataset)
        done = ReduceToDataset(request, zip);
    if (done)
        Show(kExportDone, 0, static_cast<int>(tvane::MsgIcon::Information));
    return done;
}

bool SetupExporter::ReduceToDataset(const Request& request, CQMZip& zip) {
    const std::string work = WorkFolder();
    const std::string workIndex = work + "/" + export_index::kIndexFileName;
    std::string destination = work;
    if (!zip.UnzipAll(request.path, destination)) {
        Show(kUnpackSetup, kUnpackSetupId, static_cast<int>(tvane::MsgIcon::None));
        return false;
    }
    const ExportIndexReader reader(workIndex);
    const ExportedSetup setup = reader.ReadSetup(request.setupName);
    const std::string setupFile = work + "/" + tvane::zip::MemberBaseName(setup.setupFile);
    const std::string datasetFile = work + "/" + tvane::zip::MemberBaseName(setup.datasetFile);

    try {
        CDatasetStore store;
        if (store.Open(datasetFile, tvane::STGM_READWRITE | tvane::STGM_SHARE_EXCLUSIVE)) {
            for (const std::string& other : request.datasets) {
                if (other == request.datasetName)
                    continue;
                CRSDataset set(m_database);
                if (set.OpenGivenSetupDataset(request.setupName, other, RS_READONLY) == RS_ROWS) {
                    const std::string key = set.m_DatasetKey;
                    set.Close();
                    store.DestroyDataset(key);
                } else {
                    set.Close();
                }
            }
            store.Close();
        }
    } catch (const std::exception&) {
        // A dataset file that cannot be reduced travels whole.
    }

    const std::string items = Quoted(workIndex) + Quoted(setupFile) + Quoted(datasetFile);
    Remove(request.path);
    return zip.ZipFiles(request.path, items, CQMZip::kRemoveFiles);
}

// --- Import -------------------------------------------------------------------

namespace {

// The work folder emptied, and made a real folder: whatever an earlier run
// or another program left there (files, links) is never taken for a member.
void EmptyFolder(const std::string& folder) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(folder, ec);
    if (!ec && fs::exists(status) && !fs::is_directory(status))
        fs::remove(folder, ec);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code removeError;
        fs::remove_all(it->path(), removeError);
    }
    fs::create_directories(folder, ec);
}

// Empties the work folder when an import starts and when it ends.
struct WorkFolderScope {
    explicit WorkFolderScope(std::string folder) : path(std::move(folder)) { EmptyFolder(path); }
    ~WorkFolderScope() { EmptyFolder(path); }
    std::string path;
};

} // namespace

SetupImporter::SetupImporter(CWorkspace& workspace, tvane::OdbcDatabase* database,
                             std::string dataDir, tvane::IPrompter& prompter)
    : m_workspace(workspace), m_database(database), m_dataDir(std::move(dataDir)),
      m_prompter(prompter) {}

SetupImporter::~SetupImporter() {
    Remove(IndexPath());
}

std::string SetupImporter::IndexPath() const {
    return m_dataDir + "/" + export_index::kIndexFileName;
}

std::string SetupImporter::WorkFolder() const {
    return m_dataDir + "/" + kWorkFolder;
}

void SetupImporter::Show(const std::string& text, unsigned helpId) {
    m_prompter.Ask(Box(text, helpId));
}

bool SetupImporter::HasIndex(const std::string& exportPath) {
    CQMZip zip(&m_prompter);
    return zip.ContainsFile(exportPath, export_index::kIndexFileName);
}

bool SetupImporter::UnpackIndex(const std::string& exportPath) {
    Remove(IndexPath());
    CQMZip zip(&m_prompter);
    // Extracted under the name the reader opens, whatever the member's case.
    if (!zip.UnzipFileTo(exportPath, export_index::kIndexFileName, IndexPath(),
                         ExportIndexReader::kMaxIndexBytes)) {
        Show(kUnpackIndex, kUnpackIndexId);
        return false;
    }
    return true;
}

bool SetupImporter::ExtractIndex(const std::string& exportPath) {
    if (exportPath.empty())
        return false;
    if (!Exists(exportPath)) {
        Show(kNoExportFile, kNoExportFileHelp);
        return false;
    }
    if (!UnpackIndex(exportPath))
        return false;
    if (ExportIndexReader(IndexPath()).SetupName().empty()) {
        Show(kNoSetup, kNoSetupId);
        return false;
    }
    return true;
}

bool SetupImporter::Import(const std::string& exportPath, TransferScope scope, int position) {
    m_importedName.clear();
    if (!Exists(exportPath)) {
        Show(kNoExportFile, kNoExportFileHelp);
        return false;
    }
    const WorkFolderScope work(WorkFolder());
    if (!UnpackIndex(exportPath))
        return false;
    {
        CRSSetup setups(m_database);
        const bool opened = setups.OpenAll(RS_READONLY) != RS_FAILED;
        setups.Close();
        if (!opened) {
            Show(kSetupTable, kSetupTableId);
            return false;
        }
        CRSDataset datasets(m_database);
        const bool datasetsOpened = datasets.OpenAll(RS_READONLY) != RS_FAILED;
        datasets.Close();
        if (!datasetsOpened) {
            Show(kDatasetTable, kDatasetTableId);
            return false;
        }
    }

    // The index is read once; every lookup below is in memory.
    const ExportIndexReader reader(IndexPath());
    const std::string setupName = reader.SetupName();
    if (setupName.empty()) {
        Show(kNoSetup, kNoSetupId);
        return false;
    }
    if (tvane::HasControlCharacter(setupName)) {
        Show(kInvalidName, kInvalidNameHelp);
        return false;
    }

    std::string newName = setupName;
    {
        CRSSetup set(m_database);
        const bool taken = set.OpenGivenSetup(setupName, RS_READONLY) == RS_ROWS;
        set.Close();
        if (taken) {
            newName = m_workspace.MakeUniqueSetupName(setupName);
            Show(tvane::Format(kRenamed, setupName.c_str(), newName.c_str()), 0);
        }
    }

    std::vector<std::string> names;
    if (scope == TransferScope::AllDatasets) {
        names = reader.PresentDatasetNames();
    } else if (scope == TransferScope::OneDataset && position >= 0 &&
               position < reader.DatasetCount()) {
        std::string name = reader.DatasetName(position);
        if (!name.empty())
            names.push_back(std::move(name));
    }
    std::vector<ExportedDataset> datasets;
    for (const std::string& name : names)
        datasets.push_back(reader.ReadDataset(setupName, name));

    if (!ImportSetup(reader.ReadSetup(setupName), newName, exportPath, datasets))
        return false;
    m_importedName = newName;
    for (const ExportedDataset& dataset : datasets)
        ImportDataset(dataset, newName);
    Show(kImportDone, 0);
    return true;
}

bool SetupImporter::PlaceFile(const std::string& from, const std::string& to) {
    if (from == to)
        return Exists(from);
    std::error_code ec;
    fs::rename(from, to, ec);
    return !ec;
}

void SetupImporter::KeepReadableDatasets(const std::string& datasetFile,
                                         std::vector<ExportedDataset>& datasets) {
    std::vector<ExportedDataset> readable;
    CDatasetStore store;
    try {
        store.Open(datasetFile, tvane::STGM_READWRITE | tvane::STGM_SHARE_EXCLUSIVE);
    } catch (const std::exception&) {
    }
    for (ExportedDataset& dataset : datasets) {
        bool ok = !tvane::HasControlCharacter(dataset.name) && !dataset.datasetKey.empty() &&
                  store.IsOpen();
        // Its storage is opened and its header read, as a later open would.
        DatasetDirEntry entry;
        try {
            if (ok && store.FindDataset(dataset.datasetKey, &entry)) {
                CDataset data;
                ok = data.Open(&store, dataset.datasetKey);
                data.Close();
            } else {
                ok = false;
            }
        } catch (const std::exception&) {
            ok = false;
        }
        if (ok)
            readable.push_back(std::move(dataset));
        else
            Show(tvane::Format(kDatasetSkipped, Printable(dataset.name).c_str()), 0);
    }
    store.Close();
    datasets = std::move(readable);
}

bool SetupImporter::ImportSetup(const ExportedSetup& setup, const std::string& newName,
                                const std::string& exportPath,
                                std::vector<ExportedDataset>& datasets) {
    if (newName.empty() || newName == CWorkspace::kNewSetupName ||
        tvane::HasControlCharacter(newName)) {
        Show(kInvalidName, kInvalidNameHelp);
        return false;
    }
    if (setup.setupFile.empty()) {
        Show(kInvalidFiles, kInvalidFilesId);
        return false;
    }

    // New storage names that no file of the data folder has yet, so that no
    // other setup's files are replaced.
    CStateInfo names;
    names.m_dataDir = m_dataDir;
    m_workspace.MakeSetupFilePath(names);
    const std::string newSetupFile = names.m_setupFile;
    const std::string newDatasetFile = CWorkspace::MakeCompanionFileName(newSetupFile);

    // Each member is written straight under its new name in the emptied work
    // folder: nothing there but what this import extracted is ever taken.
    const std::string work = WorkFolder();
    const std::string workSetup = work + "/" + tvane::zip::MemberBaseName(newSetupFile);
    const std::string workDataset = work + "/" + tvane::zip::MemberBaseName(newDatasetFile);
    CQMZip zip(&m_prompter);
    if (!zip.UnzipFileTo(exportPath, setup.setupFile, workSetup, kMaxSetupFileBytes)) {
        Show(kUnpackSetup, kUnpackSetupId);
        return false;
    }
    const auto dropWorkFiles = [&] {
        Remove(workSetup);
        Remove(workDataset);
    };

    if (setup.datasetFile.empty()) {
        // An export without datasets gets an empty dataset file, so the
        // imported setup has one like every other setup.
        try {
            CDatasetStore store;
            store.Create(workDataset,
                         tvane::STGM_CREATE | tvane::STGM_SHARE_EXCLUSIVE | tvane::STGM_READWRITE,
                         false);
            store.Close();
        } catch (const std::exception&) {
            Show(kInvalidFiles, kInvalidFilesId);
            dropWorkFiles();
            return false;
        }
    } else if (!zip.UnzipFileTo(exportPath, setup.datasetFile, workDataset, kMaxDatasetFileBytes)) {
        Show(kUnpackDatasets, kUnpackDatasetsId);
        dropWorkFiles();
        return false;
    }

    // Both files are read through the storage layer before anything is kept:
    // a file that is no setup document or no dataset file is refused here.
    bool valid = setup_file::HasDocumentHeader(workSetup);
    if (valid) {
        try {
            CDatasetStore store;
            store.Open(workDataset, tvane::STGM_READWRITE | tvane::STGM_SHARE_EXCLUSIVE);
            std::vector<DatasetDirEntry> entries(static_cast<std::size_t>(store.GetDirCount()));
            valid = store.ReadDirEntries(0, static_cast<int>(entries.size()), entries.data()) ==
                    static_cast<int>(entries.size());
            store.Close();
        } catch (const std::exception&) {
            valid = false;
        }
    }
    if (!valid) {
        Show(kInvalidFiles, kInvalidFilesId);
        dropWorkFiles();
        return false;
    }
    KeepReadableDatasets(workDataset, datasets);

    // The row is added only once both files are in place: a row naming files
    // that are not there would be a setup that cannot be opened.
    if (Exists(newSetupFile) || Exists(newDatasetFile) || !PlaceFile(workSetup, newSetupFile) ||
        !PlaceFile(workDataset, newDatasetFile)) {
        dropWorkFiles();
        Remove(newSetupFile);
        Show(kAddSetup, kAddSetupId);
        return false;
    }

    CRSSetup set(m_database);
    bool added = false;
    if (set.OpenAll(RS_UPDATABLE) != RS_FAILED && !set.FindSetup(newName) &&
        set.AddNewRecord() != 0) {
        set.m_Name = newName;
        set.m_DateTime = setup.time;
        set.m_User = kImportedUser;
        set.m_Note = setup.note;
        set.m_SetupFile = newSetupFile;
        set.m_DatasetFile = newDatasetFile;
        added = set.UpdateRecord() != 0;
    }
    set.Close();
    if (!added) {
        Show(kAddSetup, kAddSetupId);
        return false;
    }
    return true;
}

bool SetupImporter::ImportDataset(const ExportedDataset& dataset, const std::string& newName) {
    if (newName.empty()) {
        Show(kInvalidName, kInvalidNameHelp);
        return false;
    }
    CRSDataset set(m_database);
    bool added = false;
    if (set.OpenAll(RS_UPDATABLE) != RS_FAILED && !set.FindDataset(newName, dataset.name) &&
        set.AddNewRecord() != 0) {
        set.m_SetupName = newName;
        set.m_Name = dataset.name;
        set.m_DateTime = dataset.time;
        set.m_User = kImportedUser;
        set.m_Note = dataset.note;
        set.m_DatasetKey = dataset.datasetKey;
        added = set.UpdateRecord() != 0;
    }
    set.Close();
    if (!added)
        Show(kAddDataset, kAddDatasetId);
    return added;
}
