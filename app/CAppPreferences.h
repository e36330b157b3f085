#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One yes/no preference of the program.
struct CPref {
    std::int32_t m_id = 0;
    std::string m_name;
    std::int32_t m_editorKind = 1; // 0: yes/no choice; 2: text with browse; else text
    std::int32_t m_valueType = 1;  // 0 and 2: an integer between minimum and maximum
    std::string m_value;
    std::string m_default;
    std::string m_minimum;
    std::string m_maximum;
    std::string m_description;

    bool IsYesNo() const { return m_minimum == "N" && m_maximum == "Y"; }
};

// The user's preferences 10001..10006, kept in section "PREFERENCES" of the
// program's profile under their ids. Values change in memory through SetPrefValue
// (which writes at once) or an edit that is saved or discarded as a whole.
class CAppPreferences {
public:
    enum Id : std::int32_t {
        kTipOfTheDay = 10001,
        kStartScanningWindow = 10002,
        kDataBrowserWindow = 10003,
        kUseLastSetup = 10004,
        kConfirmGraphicsDelete = 10005,
        kShowAllChannels = 10006,
    };
    static constexpr const char* kSection = "PREFERENCES";

    // Builds the six items and loads them.
    void Initialize();
    void LoadAll();
    void SaveAll();

    static std::int32_t FirstId() { return kTipOfTheDay; }
    // -1 after the last.
    static std::int32_t NextId(std::int32_t id);

    // Ignored for an empty text; otherwise stored and written at once.
    void SetPrefValue(std::int32_t id, const std::string& value);
    // Each false when no item has the id (out is then untouched).
    bool GetPrefValue(std::int32_t id, char* buffer, std::size_t size) const;
    bool GetPrefValue(std::int32_t id, std::string& out) const;
    bool GetPrefValue(std::int32_t id, int& out) const;
    bool GetPrefValue(std::int32_t id, long& out) const;
    bool GetPrefValue(std::int32_t id, double& out) const;

    CPref* Find(std::int32_t id) const;
    const std::vector<std::unique_ptr<CPref>>& Items() const { return m_items; }

    // The page's rules, apart from its widgets.
    // The list line of an item: name, tab, "Yes" or "No".
    static std::string ListLine(const CPref& pref);
    static void RestoreDefaults(std::vector<std::unique_ptr<CPref>>& items);
    // The names of items that fail their integer bounds ("Invalid Entry: %s").
    static std::vector<std::string> Validate(const std::vector<std::unique_ptr<CPref>>& items);

private:
    void Load(CPref& pref);
    void Save(const CPref& pref);

    std::vector<std::unique_ptr<CPref>> m_items;
};
