#include "database/SetupTransfer.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <sys/stat.h>

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
#include "platform/core/Format.h"
#include "platform/storage/Storage.h"
#include "platform/ui/Prompter.h"

namespace fs = std::filesystem;
using namespace transfer_texts;

namespace {

std::string BaseName(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

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
    if (!path.empty() && BaseName(path).find('.') == std::string::npos)
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
    if (!writer.Write(request.setupName, datasets, exclude, items) && items.empty()) {
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
    const std::string setupFile = work + "/" + BaseName(setup.setupFile);
    const std::string datasetFile = work + "/" + BaseName(setup.datasetFile);

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

bool SetupImporter::ExtractIndex(const std::string& exportPath) {
    if (exportPath.empty())
        return false;
    if (!Exists(exportPath)) {
        Show(kNoExportFile, kNoExportFileHelp);
        return false;
    }
    Remove(IndexPath());
    CQMZip zip(&m_prompter);
    std::string destination = m_dataDir;
    if (!zip.UnzipFile(exportPath, destination, export_index::kIndexFileName)) {
        Show(kUnpackIndex, kUnpackIndexId);
        return false;
    }
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
    Remove(IndexPath());
    CQMZip zip(&m_prompter);
    std::string destination = m_dataDir;
    if (!zip.UnzipFile(exportPath, destination, export_index::kIndexFileName)) {
        Show(kUnpackIndex, kUnpackIndexId);
        return false;
    }
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

    const ExportIndexReader reader(IndexPath());
    const std::string setupName = reader.SetupName();
    if (setupName.empty()) {
        Show(kNoSetup, kNoSetupId);
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

    if (!ImportSetup(setupName, newName, exportPath))
        return false;
    m_importedName = newName;

    const int count = reader.DatasetCount();
    if (scope == TransferScope::AllDatasets) {
        for (int i = 0; i < count; ++i) {
            const std::string name = reader.DatasetName(i);
            if (!name.empty())
                ImportDataset(setupName, name, newName);
        }
    } else if (scope == TransferScope::OneDataset && position >= 0 && position < count) {
        const std::string name = reader.DatasetName(position);
        if (!name.empty())
            ImportDataset(setupName, name, newName);
    }
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

bool SetupImporter::ImportSetup(const std::string& sectionName, const std::string& newName,
                                const std::string& exportPath) {
    if (newName.empty() || newName == CWorkspace::kNewSetupName) {
        Show(kInvalidName, kInvalidNameHelp);
        return false;
    }
    const ExportIndexReader reader(IndexPath());
    const ExportedSetup setup = reader.ReadSetup(sectionName);
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

    const std::string work = WorkFolder();
    std::error_code ec;
    fs::create_directories(work, ec);
    CQMZip zip(&m_prompter);
    std::string destination = work;
    if (!zip.UnzipFile(exportPath, destination, setup.setupFile)) {
        Show(kUnpackSetup, kUnpackSetupId);
        return false;
    }
    const std::string workSetup = work + "/" + BaseName(newSetupFile);
    const std::string workDataset = work + "/" + BaseName(newDatasetFile);
    if (!PlaceFile(work + "/" + BaseName(setup.setupFile), workSetup)) {
        Show(kUnpackSetup, kUnpackSetupId);
        return false;
    }

    Remove(workDataset);
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
            Remove(workSetup);
            return false;
        }
    } else {
        if (!zip.UnzipFile(exportPath, destination, setup.datasetFile)) {
            Show(kUnpackDatasets, kUnpackDatasetsId);
            Remove(workSetup);
            return false;
        }
        if (!PlaceFile(work + "/" + BaseName(setup.datasetFile), workDataset)) {
            Show(kUnpackDatasets, kUnpackDatasetsId);
            Remove(workSetup);
            return false;
        }
    }

    // The row is added only once both files are in place: a row naming files
    // that are not there would be a setup that cannot be opened.
    if (Exists(newSetupFile) || Exists(newDatasetFile) || !PlaceFile(workSetup, newSetupFile) ||
        !PlaceFile(workDataset, newDatasetFile)) {
        Remove(workSetup);
        Remove(workDataset);
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

bool SetupImporter::ImportDataset(const std::string& sectionName, const std::string& datasetName,
                                  const std::string& newName) {
    if (newName.empty()) {
        Show(kInvalidName, kInvalidNameHelp);
        return false;
    }
    const ExportedDataset dataset =
        ExportIndexReader(IndexPath()).ReadDataset(sectionName, datasetName);
    CRSDataset set(m_database);
    bool added = false;
    if (set.OpenAll(RS_UPDATABLE) != RS_FAILED && !set.FindDataset(newName, datasetName) &&
        set.AddNewRecord() != 0) {
        set.m_SetupName = newName;
        set.m_Name = datasetName;
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
