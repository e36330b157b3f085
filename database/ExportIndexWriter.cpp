#include "database/ExportIndexWriter.h"

#include <filesystem>
#include <system_error>

#include "database/CRSBase.h"
#include "database/CRSDataset.h"
#include "database/CRSSetup.h"
#include "database/ExportIndex.h"
#include "database/IExportDocument.h"
#include "platform/core/Format.h"
#include "platform/profile/Profile.h"
#include "scan/ValueFormat.h"

using namespace export_index;

namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\" ";
}

} // namespace

bool ExportIndexWriter::Put(const std::string& section, const std::string& key,
                            const std::string& value) {
    return tvane::WritePrivateProfileString(section, key, value, m_path);
}

bool ExportIndexWriter::Write(const std::string& setupName,
                              const std::vector<std::string>& datasets, bool excludeDatasets,
                              std::string& itemList) {
    std::error_code ec;
    std::filesystem::remove(m_path, ec);
    itemList.clear();
    if (!WriteDatasetList(setupName, datasets, excludeDatasets))
        return false;
    if (!WriteSetupSection(setupName, excludeDatasets, itemList))
        return false;
    return excludeDatasets || WriteDatasetSections(setupName, datasets);
}

bool ExportIndexWriter::WriteDatasetList(const std::string& setupName,
                                         const std::vector<std::string>& datasets,
                                         bool excludeDatasets) {
    if (!excludeDatasets) {
        for (std::size_t i = 0; i < datasets.size(); ++i) {
            if (!Put(kDatasetsSection, std::to_string(i), datasets[i]))
                return false;
        }
        if (!Put(kDatasetsSection, kCountKey, std::to_string(datasets.size())))
            return false;
    }
    return Put(kDatasetsSection, kSetupKey, setupName);
}

bool ExportIndexWriter::WriteSetupSection(const std::string& setupName, bool excludeDatasets,
                                          std::string& itemList) {
    CRSSetup set(m_database);
    if (set.OpenGivenSetup(setupName, RS_READONLY) != RS_ROWS) {
        set.Close();
        return false;
    }
    const tvane::CTime time(set.m_DateTime);
    const std::string user = set.m_User, note = set.m_Note;
    const std::string setupFile = set.m_SetupFile, datasetFile = set.m_DatasetFile;
    set.Close();

    const std::string& section = setupName;
    if (!Put(section, kDateTimeKey, m_document.FormatTime(time)) ||
        !Put(section, kDateTimeExKey,
             tvane::Format("%lld", static_cast<long long>(time.GetTime()))) ||
        !Put(section, kUserKey, user) || !Put(section, kNoteKey, EncodeNote(note)) ||
        !Put(section, kSetupFileKey, setupFile) ||
        !Put(section, kDatasetFileKey, excludeDatasets ? std::string() : datasetFile))
        return false;

    itemList += Quoted(m_path) + Quoted(setupFile);
    if (!excludeDatasets)
        itemList += Quoted(datasetFile);
    return true;
}

bool ExportIndexWriter::WriteDatasetSections(const std::string& setupName,
                                             const std::vector<std::string>& datasets) {
    std::string datasetFile;
    {
        CRSSetup set(m_database);
        if (set.OpenGivenSetup(setupName, RS_READONLY) == RS_ROWS)
            datasetFile = set.m_DatasetFile;
        set.Close();
    }

    bool allFound = true;
    // A dataset whose storage cannot be read repeats the counts of the one
    // before it (none for the first).
    std::string scans, events, duration;
    for (const std::string& name : datasets) {
        CRSDataset set(m_database);
        if (set.OpenGivenSetupDataset(setupName, name, RS_READONLY) != RS_ROWS) {
            set.Close();
            allFound = false;
            continue;
        }
        const std::string rowSetupName = set.m_SetupName, user = set.m_User, note = set.m_Note;
        const std::string key = set.m_DatasetKey;
        const tvane::CTime time(set.m_DateTime);
        set.Close();

        DatasetDirEntry entry;
        if (m_document.OpenStoredDataset(key, datasetFile, entry)) {
            scans = tvane::Format("%ld", static_cast<long>(entry.ScanCount));
            events = tvane::Format("%ld", static_cast<long>(entry.EventCount));
            FormatDuration(entry.LastTime - entry.FirstTime, duration, true);
        }

        const std::string section = DatasetSection(setupName, name);
        if (!Put(section, kSetupNameKey, rowSetupName) ||
            !Put(section, kDateTimeKey, m_document.FormatTime(time)) ||
            !Put(section, kDateTimeExKey,
                 tvane::Format("%lld", static_cast<long long>(time.GetTime()))) ||
            !Put(section, kUserKey, user) || !Put(section, kNoteKey, EncodeNote(note)) ||
            !Put(section, kDatasetKeyKey, key) || !Put(section, kScansKey, scans) ||
            !Put(section, kEventsKey, events) || !Put(section, kDurationKey, duration))
            return false;
    }
    return allFound;
}
