#include "database/ExportIndexReader.h"

#include "database/ExportIndex.h"
#include "platform/profile/Profile.h"

using namespace export_index;

std::string ExportIndexReader::Value(const std::string& section, const std::string& key) const {
    return tvane::GetPrivateProfileString(section, key, "", m_path, kValueBuffer);
}

// The whole name is read, as every other value: a name cut short would miss
// the sections that are named after it.
std::string ExportIndexReader::SetupName() const {
    return Value(kDatasetsSection, kSetupKey);
}

int ExportIndexReader::DatasetCount() const {
    return tvane::GetPrivateProfileInt(kDatasetsSection, kCountKey, 0, m_path);
}

std::string ExportIndexReader::DatasetName(int index) const {
    return Value(kDatasetsSection, std::to_string(index));
}

std::vector<std::string> ExportIndexReader::DatasetNames() const {
    std::vector<std::string> names;
    const int count = DatasetCount();
    for (int i = 0; i < count; ++i) {
        std::string name = DatasetName(i);
        if (name.empty())
            break;
        names.push_back(std::move(name));
    }
    return names;
}

ExportedSetup ExportIndexReader::ReadSetup(const std::string& setupName) const {
    ExportedSetup setup;
    setup.name = setupName;
    setup.dateTime = Value(setupName, kDateTimeKey);
    setup.time = ParseLong(Value(setupName, kDateTimeExKey));
    setup.user = Value(setupName, kUserKey);
    setup.note = DecodeNote(Value(setupName, kNoteKey));
    setup.setupFile = Value(setupName, kSetupFileKey);
    setup.datasetFile = Value(setupName, kDatasetFileKey);
    return setup;
}

ExportedDataset ExportIndexReader::ReadDataset(const std::string& setupName,
                                               const std::string& datasetName) const {
    const std::string section = DatasetSection(setupName, datasetName);
    ExportedDataset dataset;
    dataset.name = datasetName;
    dataset.setupName = Value(section, kSetupNameKey);
    dataset.dateTime = Value(section, kDateTimeKey);
    dataset.time = ParseLong(Value(section, kDateTimeExKey));
    dataset.user = Value(section, kUserKey);
    dataset.note = DecodeNote(Value(section, kNoteKey));
    dataset.datasetKey = Value(section, kDatasetKeyKey);
    dataset.scans = Value(section, kScansKey);
    dataset.events = Value(section, kEventsKey);
    dataset.duration = Value(section, kDurationKey);
    return dataset;
}
