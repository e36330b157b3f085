#include "app/CAppPreferences.h"

#include <cstdlib>
#include <cstring>

#include "app/DocumentTexts.h"
#include "platform/profile/Profile.h"

namespace {

struct PrefRow {
    std::int32_t id;
    const char* name;
    const char* def;
    const char* description;
};

constexpr PrefRow kPrefTable[] = {
    {10001, "Tip-of-the-Day Window", "Y", "Show the Tip-of-the-Day window on startup"},
    {10002, "Start Scanning Window", "Y",
     "Show the Start Scanning window before the start of every scan"},
    {10003, "Data Browser Window", "Y",
     "Show the Data Browser window on the completion of every scan"},
    {10004, "Use Last Setup/Dataset", "N", "Open the last used setup/dataset on startup"},
    {10005, "Confirm Graphics Delete", "Y", "Confirm before deleting graphics"},
    {10006, "Show All Channels in Graphics", "Y", "Show all channels in graphic's channel list"},
};

std::string KeyOf(std::int32_t id) {
    return std::to_string(id);
}

} // namespace

std::int32_t CAppPreferences::NextId(std::int32_t id) {
    return id >= kTipOfTheDay && id < kShowAllChannels ? id + 1 : -1;
}

void CAppPreferences::Initialize() {
    m_items.clear();
    for (std::int32_t id = FirstId(); id != -1; id = NextId(id)) {
        const PrefRow& row = kPrefTable[id - kTipOfTheDay];
        auto pref = std::make_unique<CPref>();
        pref->m_id = id;
        pref->m_name = row.name;
        pref->m_editorKind = 0;
        pref->m_valueType = 2;
        pref->m_value = row.def;
        pref->m_default = row.def;
        pref->m_minimum = "N";
        pref->m_maximum = "Y";
        pref->m_description = row.description;
        m_items.push_back(std::move(pref));
    }
    LoadAll();
}

void CAppPreferences::Load(CPref& pref) {
    const char* def = pref.m_id == kUseLastSetup ? "N" : "Y";
    const std::string text =
        tvane::GetPrivateProfileString(kSection, KeyOf(pref.m_id), def, doctext::kIniFile);
    if (!text.empty())
        pref.m_value = text;
    else
        Save(pref);
}

void CAppPreferences::Save(const CPref& pref) {
    tvane::WritePrivateProfileString(kSection, KeyOf(pref.m_id), pref.m_value, doctext::kIniFile);
}

void CAppPreferences::LoadAll() {
    for (auto& pref : m_items)
        Load(*pref);
}

void CAppPreferences::SaveAll() {
    for (const auto& pref : m_items)
        Save(*pref);
}

CPref* CAppPreferences::Find(std::int32_t id) const {
    for (const auto& pref : m_items)
        if (pref->m_id == id)
            return pref.get();
    return nullptr;
}

void CAppPreferences::SetPrefValue(std::int32_t id, const std::string& value) {
    CPref* pref = Find(id);
    if (pref == nullptr || value.empty())
        return;
    pref->m_value = value;
    Save(*pref);
}

bool CAppPreferences::GetPrefValue(std::int32_t id, char* buffer, std::size_t size) const {
    const CPref* pref = Find(id);
    if (pref == nullptr || buffer == nullptr || size == 0 || pref->m_value.size() >= size)
        return false;
    std::memcpy(buffer, pref->m_value.c_str(), pref->m_value.size() + 1);
    return true;
}

bool CAppPreferences::GetPrefValue(std::int32_t id, std::string& out) const {
    const CPref* pref = Find(id);
    if (pref == nullptr)
        return false;
    out = pref->m_value;
    return true;
}

bool CAppPreferences::GetPrefValue(std::int32_t id, int& out) const {
    const CPref* pref = Find(id);
    if (pref == nullptr)
        return false;
    out = pref->IsYesNo() ? (pref->m_value == "Y" ? 1 : 0) : std::atoi(pref->m_value.c_str());
    return true;
}

bool CAppPreferences::GetPrefValue(std::int32_t id, long& out) const {
    const CPref* pref = Find(id);
    if (pref == nullptr)
        return false;
    out = std::atol(pref->m_value.c_str());
    return true;
}

bool CAppPreferences::GetPrefValue(std::int32_t id, double& out) const {
    const CPref* pref = Find(id);
    if (pref == nullptr)
        return false;
    out = std::atof(pref->m_value.c_str());
    return true;
}

std::string CAppPreferences::ListLine(const CPref& pref) {
    return pref.m_name + "\t" + (pref.m_value == "Y" ? "Yes" : "No");
}

void CAppPreferences::RestoreDefaults(std::vector<std::unique_ptr<CPref>>& items) {
    for (auto& pref : items)
        pref->m_value = pref->m_default;
}

std::vector<std::string>
CAppPreferences::Validate(const std::vector<std::unique_ptr<CPref>>& items) {
    std::vector<std::string> failed;
    for (const auto& pref : items) {
        if (pref->m_valueType != 0 && pref->m_valueType != 2)
            continue;
        const long value = std::atol(pref->m_value.c_str());
        if (value < std::atol(pref->m_minimum.c_str()) ||
            value > std::atol(pref->m_maximum.c_str()))
            failed.push_back(pref->m_name);
    }
    return failed;
}
