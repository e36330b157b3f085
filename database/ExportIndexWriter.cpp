#include "database/ExportIndexWriter.h"

#include <filesystem>
#include <system_error>

#include "database/CRSBase.h"
#include "database/CRSDataset.h"
#include "database/CRSSetup.h"
#include "database/ExportIndex.h"
#include "database/ExportIndexReader.h"
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
                            const std::string& value, const std::string& owner, bool identifies) {
    // A line break would end the line early and could start sections of its own.
    const auto oneLine = [](const std::string& text) {
        return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
    };
    if (!oneLine(section) || !oneLine(key) || !oneLine(value)) {
        if (m_unreadable.empty())
            m_unreadable = owner;
        return false;
    }
    if (identifies)
        m_identities.push_back({section, key, value, owner});
    return tvane::WritePrivateProfileString(section, key, value, m_path);
}

void ExportIndexWriter::Verify() {
    const ExportIndexReader reader(m_path);
    for (const Written& w : m_identities) {
        const std::string* value = reader.Find(w.section, w.key);
        if (!value || *value != w.value) {
            m_unreadable = w.owner;
            return;
        }
    }
}

bool ExportIndexWriter::Write(const std::string& setupName,
                              const std::vector<std::string>& datasets, bool excludeDatasets,
                              std::string& itemList) {
    std::error_code ec;
    std::filesystem::remove(m_path, ec);
    itemList.clear();
    m_identities.clear();
    m_unreadable.clear();
    bool done = WriteDatasetList(setupName, datasets, excludeDatasets) &&
                WriteSetupSection(setupName, excludeDatasets, itemList) &&
                (excludeDatasets || WriteDatasetSections(setupName, datasets));
    if (m_unreadable.empty())
        Verify();
    return done && m_unreadable.empty();
}

bool ExportIndexWriter::WriteDatasetList(const std::string& setupName,
                                         const std::vector<std::string>& datasets,
                                         bool excludeDatasets) {
    if (!excludeDatasets) {
        for (std::size_t i = 0; i < datasets.size(); ++i) {
            if (!Put(kDatasetsSection, std::to_string(i), datasets[i], datasets[i], true))
                return false;
        }
        if (!Put(kDatasetsSection, kCountKey, std::to_string(datasets.size()), setupName))
            return false;
    }
    return Put(kDatasetsSection, kSetupKey, setupName, setupName, true);
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
    const std::string& owner = setupName;
    if (!Put(section, kDateTimeKey, m_document.FormatTime(time), owner) ||
        !Put(section, kDateTimeExKey, tvane::Format("%lld", static_cast<long long>(time.GetTime())),
             owner, true) ||
        !Put(section, kUserKey, user, owner) || !Put(section, kNoteKey, EncodeNote(note), owner) ||
        !Put(section, kSetupFileKey, setupFile, owner, true) ||
        !Put(section, kDatasetFileKey, excludeDatasets ? std::string() : datasetFile, owner, true))
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
        if (!Put(section, kSetupNameKey, rowSetupName, name) ||
            !Put(section, kDateTimeKey, m_document.FormatTime(time), name) ||
            !Put(section, kDateTimeExKey,
                 tvane::Format("%lld", static_cast<long long>(time.GetTime())), name, true) ||
            !Put(section, kUserKey, user, name) ||
            !Put(section, kNoteKey, EncodeNote(note), name) ||
            !Put(section, kDatasetKeyKey, key, name, true) ||
            !Put(section, kScansKey, scans, name) || !Put(section, kEventsKey, events, name) ||
            !Put(section, kDurationKey, duration, name))
            return false;
    }
    return allFound;
}
