#include "app/RecentSetupList.h"

#include "database/DataSource.h"
#include "platform/core/NameText.h"
#include "platform/profile/Profile.h"

namespace {

constexpr const char* kSection = "Recent File List";

std::string Key(int index) {
    return "File" + std::to_string(index + 1);
}

} // namespace

void RecentSetupList::Add(const std::string& name) {
    // A line break would split the profile line the name is kept on.
    if (name.empty() || tvane::HasControlCharacter(name))
        return;
    int found = kSize - 1;
    for (int i = 0; i < kSize - 1; ++i)
        if (m_entries[static_cast<std::size_t>(i)] == name) {
            found = i;
            break;
        }
    for (int i = found; i > 0; --i)
        m_entries[static_cast<std::size_t>(i)] = m_entries[static_cast<std::size_t>(i - 1)];
    m_entries[0] = name;
}

int RecentSetupList::Count() const {
    int count = 0;
    for (const std::string& entry : m_entries)
        count += entry.empty() ? 0 : 1;
    return count;
}

void RecentSetupList::Load() {
    for (int i = 0; i < kSize; ++i) {
        std::string name = tvane::GetPrivateProfileString(kSection, Key(i), "", kProfileFile);
        if (tvane::HasControlCharacter(name))
            name.clear();
        m_entries[static_cast<std::size_t>(i)] = name;
    }
    m_previewPages = tvane::GetPrivateProfileInt("Settings", "PreviewPages", 0, kProfileFile);
}

void RecentSetupList::Save() const {
    for (int i = 0; i < kSize; ++i) {
        const std::string& name = m_entries[static_cast<std::size_t>(i)];
        if (!name.empty())
            tvane::WritePrivateProfileString(kSection, Key(i), name, kProfileFile);
    }
    if (m_previewPages != 0)
        tvane::WritePrivateProfileString("Settings", "PreviewPages", std::to_string(m_previewPages),
                                         kProfileFile);
}
