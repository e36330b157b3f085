#include "database/CWorkspace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "database/CMfxFileException.h"
#include "database/CRSCardData.h"
#include "database/CRSDataset.h"
#include "database/CRSFunction.h"
#include "database/CRSSetup.h"
#include "database/CStateInfo.h"
#include "platform/core/FrameworkExceptions.h"
#include "platform/core/NameText.h"
#include "platform/storage/Storage.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"

namespace fs = std::filesystem;

namespace {

// How far a storage name is stepped on before giving up: a day of seconds.
constexpr int kMaxNameSteps = 86400;
constexpr int kMaxSuffix = 99;
constexpr std::size_t kUniqueBaseLength = 33;

int DayOfYear(const tvane::LocalTime& t) {
    static constexpr int kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    const int month = t.month < 1 ? 1 : (t.month > 12 ? 12 : t.month);
    return kDaysBefore[month - 1] + t.day - 1 + (leap && month > 2 ? 1 : 0);
}

tvane::LocalTime LocalAt(std::int64_t offsetSeconds) {
    return tvane::ToLocalTime(tvane::Clock().Now() + offsetSeconds);
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

// The size of a file that must exist; a missing one is the program's file
// exception naming it.
std::uintmax_t RequiredFileSize(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec)
        ThrowMfxFileException(tvane::FileException::fileNotFound, -1, path.c_str());
    return size;
}

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty())
        return false;
    std::error_code ec;
    if (fs::equivalent(a, b, ec))
        return true;
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

// Removes a file when it exists; false when it could not be removed.
bool RemoveIfPresent(const std::string& path) {
    if (path.empty())
        return true;
    std::error_code ec;
    if (!fs::exists(path, ec))
        return true;
    return fs::remove(path, ec) && !ec;
}

// Creates the empty setup document file; an existing file is never replaced.
void CreateNewEmptyFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        // An existing file is one the program may not replace.
        const int cause = error == EEXIST ? tvane::FileException::accessDenied
                                          : tvane::FileException::CauseFromErrno(error);
        ThrowMfxFileException(cause, error, path.c_str());
    }
    ::close(fd);
}

} // namespace

namespace workspace_names {

std::string StorageSuffix(const tvane::LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%1d%02d%02d%02d.%03d", t.year % 10, t.hour, t.minute,
                  t.second, DayOfYear(t));
    return text;
}

std::string SetupFilePath(const std::string& dataDir, const tvane::LocalTime& time) {
    return dataDir + "/X" + StorageSuffix(time);
}

std::string DatasetKey(const tvane::LocalTime& time) {
    return "Z" + StorageSuffix(time);
}

std::string CompanionFileName(const std::string& setupFile) {
    const std::size_t separator = setupFile.find_last_of("/\\");
    const std::size_t first = separator == std::string::npos ? 0 : separator + 1;
    if (first >= setupFile.size())
        return setupFile;
    std::string result = setupFile;
    result[first] = 'Y';
    return result;
}

std::string DefaultName(const char* prefix, const tvane::LocalTime& t) {
    char text[96];
    std::snprintf(text, sizeof text, "%s %02d/%02d/%02d %02d:%02d:%02d", prefix, t.month, t.day,
                  t.year % 100, t.hour, t.minute, t.second);
    return text;
}

} // namespace workspace_names

using workspace_names::CompanionFileName;

tvane::OdbcDatabase* CWorkspace::Database() {
    return m_doc.AppState().GetDatabase();
}

template <typename Taken> tvane::LocalTime CWorkspace::FreeStorageTime(Taken taken) {
    for (int step = 0; step < kMaxNameSteps; ++step) {
        const tvane::LocalTime time = LocalAt(step);
        if (!taken(time))
            return time;
    }
    throw tvane::FileException(tvane::FileException::accessDenied, -1,
                               "X" + workspace_names::StorageSuffix(LocalAt(0)));
}

// --- Names --------------------------------------------------------------------

void CWorkspace::MakeSetupFilePath(CStateInfo& state) {
    const std::string& dir = state.m_dataDir;
    const tvane::LocalTime time = FreeStorageTime([&dir](const tvane::LocalTime& t) {
        const std::string path = workspace_names::SetupFilePath(dir, t);
        return FileExists(path) || FileExists(CompanionFileName(path));
    });
    state.m_setupFile = workspace_names::SetupFilePath(dir, time);
}

std::string CWorkspace::MakeStorageSuffix() {
    return workspace_names::StorageSuffix(LocalAt(0));
}

void CWorkspace::MakeDatasetKey(CStateInfo& state) {
    CDatasetStore& store = m_doc.Store();
    const tvane::LocalTime time = FreeStorageTime([&store](const tvane::LocalTime& t) {
        if (!store.IsOpen())
            return false;
        const std::string key = workspace_names::DatasetKey(t);
        tvane::Storage* root = store.GetRootStorage();
        return store.FindDataset(key, nullptr) || (root != nullptr && root->HasElement(key));
    });
    state.m_datasetKey = workspace_names::DatasetKey(time);
}

std::string CWorkspace::MakeDefaultSetupName() {
    // A taken name moves on to the next second rather than waiting for the
    // clock to get there.
    for (int step = 0; step < kMaxNameSteps; ++step) {
        const std::string name = workspace_names::DefaultName("Setup", LocalAt(step));
        CRSSetup set(Database());
        const std::int16_t result = set.OpenGivenSetup(name, RS_READONLY);
        set.Close();
        if (result == RS_FAILED)
            return kNewSetupName;
        if (result == RS_EMPTY)
            return name;
    }
    return kNewSetupName;
}

std::string CWorkspace::MakeDefaultDatasetName() {
    return workspace_names::DefaultName("Data", LocalAt(0));
}

std::string CWorkspace::MakeFreeDatasetName(const std::string& setupName) {
    for (int step = 0; step < kMaxNameSteps; ++step) {
        const std::string name = workspace_names::DefaultName("Data", LocalAt(step));
        CRSDataset set(Database());
        const std::int16_t result = set.OpenGivenSetupDataset(setupName, name, RS_READONLY);
        set.Close();
        // A workspace that cannot be asked fails the row's addition, which says so.
        if (result != RS_ROWS)
            return name;
    }
    return MakeDefaultDatasetName();
}

std::string CWorkspace::MakeUniqueSetupName(const std::string& name) {
    std::string base = name;
    const std::size_t point = base.rfind('.');
    if (point != std::string::npos) {
        const std::string tail = base.substr(point + 1);
        char* end = nullptr;
        const long number = std::strtol(tail.c_str(), &end, 10);
        if (number > 0)
            base.erase(point);
    }
    // Cut at a character boundary: half a UTF-8 character is no name.
    base = tvane::CutUtf8(base, kUniqueBaseLength);
    for (int n = 1; n <= kMaxSuffix; ++n) {
        if (n > 9)
            base = tvane::CutUtf8(base, kUniqueBaseLength - 1);
        const std::string candidate = base + "." + std::to_string(n);
        CRSSetup set(Database());
        const std::int16_t result = set.OpenGivenSetup(candidate, RS_READONLY);
        set.Close();
        if (result == RS_EMPTY)
            return candidate;
        if (result == RS_FAILED)
            break;
    }
    return kNewSetupName;
}

// --- Setups -------------------------------------------------------------------

bool CWorkspace::SetupExists(const std::string& name) {
    CRSSetup set(Database());
    if (set.OpenGivenSetup(name, RS_READONLY) != RS_ROWS) {
        set.Close();
        return false;
    }
    const std::string file = set.m_SetupFile;
    set.Close();
    return RequiredFileSize(file) > 0;
}

bool CWorkspace::CreateSetupStorage(CStateInfo& state) {
    MakeSetupFilePath(state);
    if (!DeleteSetup(state.m_setupName))
        return false;
    if (!AddSetupRow(state.m_setupName, state.m_setupFile))
        return false;
    CreateNewEmptyFile(state.m_setupFile);
    m_doc.CloseDatasetStore();
    // The name was checked free; asking for a new file (no STGM_CREATE) keeps
    // another setup's storage from being replaced all the same.
    m_doc.Store().Create(CompanionFileName(state.m_setupFile),
                         tvane::STGM_SHARE_EXCLUSIVE | tvane::STGM_READWRITE, true);
    return true;
}

bool CWorkspace::AddSetupRow(const std::string& name, const std::string& setupFile) {
    CRSSetup set(Database());
    if (set.OpenAll(RS_UPDATABLE) == RS_FAILED)
        return false;
    if (set.FindSetup(name)) {
        set.Close();
        return false;
    }
    if (set.AddNewRecord() == 0) {
        set.Close();
        return false;
    }
    set.m_Name = name;
    set.m_DateTime = tvane::Clock().Now();
    set.m_User.clear();
    set.m_Note.clear();
    set.m_SetupFile = setupFile;
    set.m_DatasetFile = CompanionFileName(setupFile);
    const bool added = set.UpdateRecord() != 0;
    set.Close();
    return added;
}

bool CWorkspace::DeleteSetup(const std::string& name) {
    CRSSetup set(Database());
    const std::int16_t opened = set.OpenAll(RS_UPDATABLE);
    if (opened == RS_FAILED)
        return false;
    if (opened == RS_EMPTY || !set.FindSetup(name)) {
        set.Close();
        return true;
    }
    const std::string setupFile = set.m_SetupFile;
    const std::string datasetFile = set.m_DatasetFile;
    if (set.DeleteRow() == 0) {
        set.Close();
        return false;
    }
    const bool setupRemoved = RemoveIfPresent(setupFile);
    if (CompanionFileName(m_doc.AppState().m_setupFile) == datasetFile ||
        (m_doc.Store().IsOpen() && SameFile(m_doc.Store().GetPath(), datasetFile)))
        m_doc.CloseDatasetStore();
    const bool datasetRemoved = RemoveIfPresent(datasetFile);
    set.Close();
    return setupRemoved && datasetRemoved;
}

namespace {

// Opens Setup for writing and stops on the row of name; false when either fails.
bool EditSetupRow(CRSSetup& set, const std::string& name) {
    if (set.OpenAll(RS_UPDATABLE) == RS_FAILED)
        return false;
    if (!set.FindSetup(name) || set.EditRecord() == 0) {
        set.Close();
        return false;
    }
    return true;
}

} // namespace

bool CWorkspace::UpdateSetupRecord(const std::string& oldName, const RowProperties& properties) {
    CRSSetup set(Database());
    if (!EditSetupRow(set, oldName))
        return false;
    const std::string oldUser = set.m_User, oldNote = set.m_Note, oldRowName = set.m_Name;
    set.m_Name = properties.name;
    set.m_User = properties.user;
    set.m_Note = properties.note;
    const bool unchanged =
        oldRowName == set.m_Name && oldUser == set.m_User && oldNote == set.m_Note;
    const bool updated = set.UpdateRecord() != 0 || unchanged;
    set.Close();
    if (!updated || oldName == properties.name)
        return updated;
    // The setup's datasets follow it to its new name; left behind they would
    // belong to no setup.
    CRSDataset datasets(Database());
    const std::int16_t opened = datasets.OpenAll(RS_UPDATABLE);
    if (opened == RS_FAILED)
        return false;
    bool moved = true;
    while (opened == RS_ROWS && moved && datasets.FindSetup(oldName)) {
        moved = datasets.EditRecord() != 0;
        datasets.m_SetupName = properties.name;
        moved = moved && datasets.UpdateRecord() != 0;
    }
    datasets.Close();
    return moved;
}

bool CWorkspace::SetSetupUserNote(const std::string& name, const std::string& user,
                                  const std::string& note) {
    CRSSetup set(Database());
    if (!EditSetupRow(set, name))
        return false;
    const bool unchanged = set.m_User == user && set.m_Note == note;
    set.m_User = user;
    set.m_Note = note;
    const bool updated = set.UpdateRecord() != 0 || unchanged;
    set.Close();
    return updated;
}

bool CWorkspace::SetSetupDateTime(const std::string& name, const tvane::CTime& time) {
    CRSSetup set(Database());
    if (!EditSetupRow(set, name))
        return false;
    const bool unchanged = set.m_DateTime == time.GetTime();
    set.m_DateTime = time.GetTime();
    const bool updated = set.UpdateRecord() != 0 || unchanged;
    set.Close();
    return updated;
}

bool CWorkspace::LoadModuleChannels(const std::array<std::string, 3>& modules) {
    CRSFunction functions(Database());
    CRSCardData cards(Database());
    const std::int16_t functionsOpened = functions.OpenAll(RS_READONLY);
    const std::int16_t cardsOpened = cards.OpenAll(RS_READONLY);
    if (functionsOpened != RS_ROWS || cardsOpened != RS_ROWS) {
        functions.Close();
        cards.Close();
        return false;
    }
    CFXSetupArray& rows = m_doc.SetupRows();
    const std::int32_t limit = m_doc.ChannelLimit();
    std::int32_t made = 0;
    for (int slot = 1; slot <= 3; ++slot) {
        const std::string& model = modules[static_cast<std::size_t>(slot - 1)];
        if (model.empty() || model == kNoModule)
            continue;
        if (!cards.FindCard(model))
            continue;
        std::int16_t moved = 1;
        while (moved == 1 && !cards.IsEOF() && made < limit && cards.m_Name == model) {
            auto row = std::make_unique<CFXSetup>();
            row->Name = model;
            row->Channel = static_cast<std::uint32_t>(cards.m_ChannelId + slot * 100);
            row->ChannelName = cards.m_ChannelName;
            row->ChannelMode = cards.m_ChannelMode ? 1 : 0;
            row->Function = cards.m_Function;
            row->Range = cards.m_Range;
            row->Resolution = cards.m_Resolution;
            row->Scaling = cards.m_Scaling ? 1 : 0;
            row->Gain = cards.m_Gain;
            row->Offset = cards.m_Offset;
            row->Units = cards.m_Units;
            row->Alarms = cards.m_Alarms;
            row->AlarmHi = cards.m_AlarmHi;
            row->AlarmLo = cards.m_AlarmLo;
            row->AlarmEvent = cards.m_AlarmEvent;
            row->Comment = cards.m_Comment;
            row->FunctionType = static_cast<std::uint32_t>(cards.m_FunctionType);
            if (functions.FindName(cards.m_Function)) {
                row->AdvSettingsType = static_cast<std::uint32_t>(functions.m_AdvSettingsType);
                row->AdvSettings = functions.m_DefaultAdvSettings;
            } else {
                row->AdvSettingsType = 0;
                row->AdvSettings.clear();
            }
            row->SetFunctionDefaults();
            row->AlarmActions =
                row->CellFlags == CFXSetup::kCellAll ? kDefaultActions : kDisabledActions;
            // A slot the array still fills is freed first, so no row is lost.
            if (rows.OwnsRows())
                rows.DeleteAt(made);
            rows.SetSetup(made, row.release());
            ++made;
            moved = cards.MoveRecord(RS_MOVE_NEXT);
        }
    }
    functions.Close();
    cards.Close();
    return true;
}

// --- Datasets -----------------------------------------------------------------

bool CWorkspace::SaveDataset(CStateInfo& state) {
    state.m_datasetName = MakeFreeDatasetName(state.m_setupName);
    MakeDatasetKey(state);
    if (!AddDatasetRow(state.m_setupName, state.m_datasetName, state.m_datasetKey))
        return false;
    CloseDataset();
    int channels = m_doc.CountActiveChannels(false);
    if (channels == 0)
        channels = 1;
    RunSummary summary = m_doc.GetRunSummary();
    if (!m_doc.Dataset().Create(summary.startTime, static_cast<std::int16_t>(channels),
                                &m_doc.Store(), state.m_datasetKey, kDatasetBufferBytes))
        return false;
    // A new dataset holds no run yet: nothing of the last one's summary, its last
    // scan index included, carries over.
    summary.startTime = tvane::CTime::GetCurrentTime();
    summary.firstTick = 0.0;
    summary.lastTick = 0.0;
    summary.runValue = 0;
    m_doc.SetRunSummary(summary);
    return UpdateDatasetHeader();
}

bool CWorkspace::SaveDatasetIfAny(CStateInfo& state) {
    CDataset& dataset = m_doc.Dataset();
    if (dataset.GetReadingCount() < 1 && dataset.GetEventCount() == 0)
        return true;
    if (!SaveDataset(state))
        return false;
    state.m_flags[3] = 0;
    return true;
}

bool CWorkspace::AddDatasetRow(const std::string& setupName, const std::string& datasetName,
                               const std::string& key) {
    CRSDataset set(Database());
    if (set.OpenAll(RS_UPDATABLE) == RS_FAILED)
        return false;
    if (set.FindDataset(setupName, datasetName) || set.AddNewRecord() == 0) {
        set.Close();
        return false;
    }
    set.m_SetupName = setupName;
    set.m_Name = datasetName;
    set.m_DateTime = tvane::Clock().Now();
    set.m_User.clear();
    set.m_Note = kAddedByRun;
    set.m_DatasetKey = key;
    const bool added = set.UpdateRecord() != 0;
    set.Close();
    return added;
}

bool CWorkspace::UpdateDatasetRecord(const std::string& setupName, const std::string& datasetName,
                                     const RowProperties& properties) {
    CRSDataset set(Database());
    if (set.OpenAll(RS_UPDATABLE) == RS_FAILED)
        return false;
    if (!set.FindDataset(setupName, datasetName) || set.EditRecord() == 0) {
        set.Close();
        return false;
    }
    const bool unchanged = set.m_Name == properties.name && set.m_User == properties.user &&
                           set.m_Note == properties.note;
    set.m_Name = properties.name;
    set.m_User = properties.user;
    set.m_Note = properties.note;
    const bool updated = set.UpdateRecord() != 0 || unchanged;
    set.Close();
    return updated;
}

bool CWorkspace::DeleteDataset(const std::string& setupName, const std::string& datasetName) {
    std::string key;
    {
        CRSDataset set(Database());
        const std::int16_t opened = set.OpenAll(RS_UPDATABLE);
        if (opened == RS_FAILED)
            return false;
        if (opened == RS_EMPTY || !set.FindDataset(setupName, datasetName)) {
            set.Close();
            return true;
        }
        key = set.m_DatasetKey;
        const bool deleted = set.DeleteRow() != 0;
        set.Close();
        if (!deleted)
            return false;
    }
    CDatasetStore& store = m_doc.Store();
    if (store.IsOpen() && store.FindDataset(key, nullptr))
        return store.DestroyDataset(key);

    CRSSetup setups(Database());
    const std::int16_t opened = setups.OpenAll(RS_UPDATABLE);
    if (opened != RS_ROWS || !setups.FindSetup(setupName)) {
        setups.Close();
        return false;
    }
    const std::string file = setups.m_DatasetFile;
    setups.Close();
    // The document's own file was looked at above: the dataset is not in it.
    if (store.IsOpen() && SameFile(store.GetPath(), file))
        return false;
    CDatasetStore other;
    other.Open(file, tvane::STGM_READWRITE | tvane::STGM_SHARE_EXCLUSIVE);
    const bool listed = other.FindDataset(key, nullptr);
    other.DestroyDataset(key);
    other.Close();
    return listed;
}

bool CWorkspace::DeleteDatasetsOfSetup(const std::string& setupName) {
    CRSDataset set(Database());
    const std::int16_t opened = set.OpenAll(RS_UPDATABLE);
    if (opened == RS_FAILED)
        return false;
    bool allDeleted = true;
    if (opened == RS_ROWS) {
        CDatasetStore& store = m_doc.Store();
        while (set.FindSetup(setupName)) {
            const std::string key = set.m_DatasetKey;
            if (set.DeleteRow() == 0) {
                allDeleted = false;
                break;
            }
            if (store.IsOpen() && !store.DestroyDataset(key))
                allDeleted = false;
        }
    }
    set.Close();
    return allDeleted;
}

bool CWorkspace::CheckDatasetFile(const CStateInfo& state) {
    CRSDataset set(Database());
    if (set.OpenGivenSetupDataset(state.m_setupName, state.m_datasetName, RS_READONLY) != RS_ROWS) {
        set.Close();
        return false;
    }
    const std::string key = set.m_DatasetKey;
    set.Close();
    const std::string companion = CompanionFileName(state.m_setupFile);
    CDatasetStore& store = m_doc.Store();
    if (store.IsOpen() && SameFile(store.GetPath(), companion)) {
        tvane::Storage* root = store.GetRootStorage();
        return root != nullptr && root->HasElement(key);
    }
    return RequiredFileSize(companion) > 0;
}

// --- Run summary --------------------------------------------------------------

void CWorkspace::WriteRunSummary() {
    CDataset& dataset = m_doc.Dataset();
    const RunSummary summary = m_doc.GetRunSummary();
    dataset.SetFirstTick(summary.firstTick);
    dataset.SetLastTick(summary.lastTick);
    dataset.SetStartTime(summary.startTime);
    dataset.SetRunValue(summary.runValue);
}

void CWorkspace::CloseDataset() {
    CDataset& dataset = m_doc.Dataset();
    if (!dataset.IsOpen())
        return;
    WriteRunSummary();
    dataset.Close();
}

bool CWorkspace::UpdateDatasetHeader() {
    CDataset& dataset = m_doc.Dataset();
    if (!dataset.IsOpen())
        return false;
    WriteRunSummary();
    // The header write answers false when the directory listed the dataset
    // already, which a rewrite is no failure of; failures are thrown.
    dataset.WriteHeader();
    return true;
}

void CWorkspace::LoadRunSummary() {
    CDataset& dataset = m_doc.Dataset();
    if (!dataset.IsOpen())
        return;
    RunSummary summary = m_doc.GetRunSummary();
    summary.firstTick = dataset.GetFirstTick();
    summary.lastTick = dataset.GetLastTick();
    summary.startTime = dataset.GetStartTime();
    summary.runValue = dataset.GetRunValue();
    m_doc.SetRunSummary(summary);
}

bool CWorkspace::LoadDatasetFile(CStateInfo& state) {
    CDataset& dataset = m_doc.Dataset();
    if (state.m_datasetKey.empty() || dataset.IsOpen())
        return true;
    if (!dataset.Open(&m_doc.Store(), state.m_datasetKey))
        return false;
    LoadRunSummary();
    const std::int32_t events = dataset.GetEventCount();
    const double last = dataset.GetLastEventTime();
    const double second = events == 0 || last > -1.0e12 ? -1.0e12 : last - 1.0;
    m_doc.SetEventPositions(-1.0 - static_cast<double>(events), second);
    return true;
}
