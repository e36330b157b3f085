#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "app/ISaveDialogs.h"
#include "platform/core/NameText.h"

namespace tvane {
class IPrompter;
class OdbcDatabase;
} // namespace tvane

// The Save Setup As conflict dialog without its window: which choice is
// selected, what the name edit shows, whether it and OK are enabled, where the
// focus goes, and the check of a typed name against the stored setups.
class SaveSetupAsModel {
public:
    static constexpr std::size_t kNameLimit = 35;
    static constexpr std::size_t kLastModifiedLimit = 20;
    static constexpr std::size_t kUserLimit = 32;
    static constexpr std::size_t kDescriptionLimit = 100;
    static constexpr unsigned kNameInUseId = 911;
    static constexpr const char* kNameInUse =
        "The setup name is currently being used. Choose a different name";

    enum class Focus { Name, Ok };

    // Answers 1 when a setup of the name is stored, 2 when none is and 0 when the
    // lookup failed.
    using SetupLookup = std::function<std::int16_t(const std::string&)>;

    SaveSetupAsModel(SaveSetupAsFields& fields, SetupLookup lookup, tvane::IPrompter& prompter);

    // Selects Create a new setup with the proposed name; the edits take the
    // fields, cut to their limits.
    void Init();
    void SelectCreateNew();
    void SelectOverwrite();
    // The user changed the name edit.
    void EditName(const std::string& text);
    void EditUser(const std::string& text) { m_user = Cut(text, kUserLimit); }
    void EditDescription(const std::string& text) { m_description = Cut(text, kDescriptionLimit); }
    // OK: true when the dialog may close; the fields then hold the outcome.
    bool Accept();

    const std::string& NameText() const { return m_name; }
    const std::string& UserText() const { return m_user; }
    const std::string& DescriptionText() const { return m_description; }
    const std::string& LastModifiedText() const { return m_lastModified; }
    bool CreateNew() const { return m_createNew != 0; }
    bool NameEnabled() const { return m_nameEnabled; }
    bool OkEnabled() const { return !m_name.empty(); }
    Focus GetFocus() const { return m_focus; }
    bool NameChanged() const { return m_nameChanged; }

    // A lookup over the Setup table of the database; a failed or throwing query
    // answers 0.
    static SetupLookup DatabaseLookup(tvane::OdbcDatabase* database);

private:
    static std::string Cut(const std::string& text, std::size_t limit) {
        return tvane::CutUtf8(text, limit);
    }

    SaveSetupAsFields& m_fields;
    SetupLookup m_lookup;
    tvane::IPrompter& m_prompter;
    bool m_initialising = false;
    bool m_nameChanged = false;
    std::int32_t m_createNew = 1;
    bool m_nameEnabled = true;
    Focus m_focus = Focus::Name;
    std::string m_name;
    std::string m_user;
    std::string m_description;
    std::string m_lastModified;
};
