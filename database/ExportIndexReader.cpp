#include "database/ExportIndexReader.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "database/ExportIndex.h"
#include "platform/profile/Profile.h"

using namespace export_index;

ExportIndexReader::ExportIndexReader(const std::string& indexPath) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(indexPath, ec);
    if (!ec && size > kMaxIndexBytes) {
        m_readable = false;
        return;
    }
    // The first section and key of a name win, as in every other ini lookup.
    for (tvane::ProfileSection& section : tvane::ReadPrivateProfile(indexPath)) {
        Keys& keys = m_sections.try_emplace(section.name).first->second;
        for (auto& [key, value] : section.entries)
            keys.try_emplace(key, std::move(value));
    }
}

const std::string* ExportIndexReader::Find(const std::string& section,
                                           const std::string& key) const {
    const auto s = m_sections.find(section);
    if (s == m_sections.end())
        return nullptr;
    const auto k = s->second.find(key);
    return k == s->second.end() ? nullptr : &k->second;
}

std::string ExportIndexReader::Value(const std::string& section, const std::string& key) const {
    const std::string* value = Find(section, key);
    if (!value)
        return {};
    return value->size() < kValueBuffer ? *value : value->substr(0, kValueBuffer - 1);
}

// The whole name is read, as every other value: a name cut short would miss
// the sections that are named after it.
std::string ExportIndexReader::SetupName() const {
    return Value(kDatasetsSection, kSetupKey);
}

int ExportIndexReader::DatasetCount() const {
    const std::string* count = Find(kDatasetsSection, kCountKey);
    if (!count)
        return 0;
    const std::int64_t value = ParseLong(*count);
    return static_cast<int>(std::clamp<std::int64_t>(value, -2147483647 - 1, 2147483647));
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

std::vector<std::string> ExportIndexReader::PresentDatasetNames() const {
    std::vector<std::pair<long long, std::string>> numbered;
    const auto s = m_sections.find(kDatasetsSection);
    if (s == m_sections.end())
        return {};
    const int count = DatasetCount();
    for (const auto& [key, value] : s->second) {
        // Only the keys the writer makes: decimal numbers without a sign or a
        // leading zero, as a lookup by number would find them.
        if (key.empty() || key.size() > 10 || (key.size() > 1 && key[0] == '0') ||
            !std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        const long long number = std::stoll(key);
        if (number < count && !value.empty())
            numbered.emplace_back(number, Value(kDatasetsSection, key));
    }
    std::sort(numbered.begin(), numbered.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    names.reserve(numbered.size());
    for (auto& entry : numbered)
        names.push_back(std::move(entry.second));
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
