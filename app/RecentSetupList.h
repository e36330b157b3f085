#pragma once
#include <array>
#include <string>

// The File menu's recent setups: four names, the most recent first, kept in
// the profile's [Recent File List] "File1" to "File4".
class RecentSetupList {
public:
    static constexpr int kSize = 4;

    // Empty names are ignored; a name already listed moves to the top.
    void Add(const std::string& name);
    const std::string& Entry(int index) const { return m_entries[static_cast<std::size_t>(index)]; }
    // The entries that are not empty.
    int Count() const;

    // "File1".."File4" and [Settings] "PreviewPages".
    void Load();
    // Every non-empty entry; "PreviewPages" only when it is not 0.
    void Save() const;
    int PreviewPages() const { return m_previewPages; }

private:
    std::array<std::string, kSize> m_entries;
    int m_previewPages = 0;
};
