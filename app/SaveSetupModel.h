#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "app/ISaveDialogs.h"
#include "platform/core/NameText.h"

namespace tvane {
class IPrompter;
class OdbcDatabase;
} // namespace tvane

// The Save Setup dialog without its window: the name of a setup or dataset with
// its user and description, OK only with a name, and the check that a new name
// is free in the workspace. The caller writes the result.
class SaveSetupModel {
public:
    enum Kind : std::int32_t { Setup = 1, Dataset = 2 };
    static constexpr std::size_t kNameLimit = 35;
    static constexpr std::size_t kLastModifiedLimit = 20;
    static constexpr std::size_t kUserLimit = 32;
    static constexpr std::size_t kDescriptionLimit = 100;
    static constexpr unsigned kSetupInUseId = 911;
    static constexpr const char* kSetupInUse =
        "The setup name is currently being used. Choose a different name";
    static constexpr unsigned kDatasetInUseId = 920;
    static constexpr const char* kDatasetInUse =
        "The dataset name is currently being used, choose a different name";

    // Each answers 1 when a row of the name is stored, 2 when none is and 0 when
    // the search could not be made.
    struct Lookups {
        std::function<std::int16_t(const std::string& setup)> setup;
        std::function<std::int16_t(const std::string& setup, const std::string& dataset)> dataset;
    };

    SaveSetupModel(Lookups lookups, tvane::IPrompter& prompter)
        : m_lookups(std::move(lookups)), m_prompter(prompter) {}

    // Set by the caller before Init.
    std::int32_t m_kind = Setup;
    std::string m_caption;
    // The setup's name; for a dataset, the setup that owns it.
    std::string m_setupName;
    std::string m_datasetName;
    // The exchanged texts: the caller fills user, last modified and description
    // and reads all four back after OK.
    std::string m_description;
    std::string m_lastModified;
    std::string m_name;
    std::string m_user;

    // The name edit takes the setup or dataset name; every text is cut to its limit.
    void Init();
    // The user changed the name edit.
    void EditName(const std::string& text);
    void EditUser(const std::string& text) { m_user = Cut(text, kUserLimit); }
    void EditDescription(const std::string& text) { m_description = Cut(text, kDescriptionLimit); }
    // OK: true when the dialog may close. A taken name is reported and keeps it open.
    bool Accept();

    bool OkEnabled() const { return !m_name.empty(); }
    bool NameChanged() const { return m_nameChanged; }
    // The name the dialog was opened with.
    const std::string& OldName() const { return m_kind == Setup ? m_setupName : m_datasetName; }

    // Searches of the Setup and Dataset tables; a failed or throwing search answers 0.
    static Lookups DatabaseLookups(tvane::OdbcDatabase* database);

    // Never inside a character: the edits' limits count characters, the texts are UTF-8.
    static std::string Cut(const std::string& text, std::size_t limit) {
        return tvane::CutUtf8(text, limit);
    }

private:
    bool NameIsTaken() const;

    Lookups m_lookups;
    tvane::IPrompter& m_prompter;
    bool m_initialising = false;
    bool m_nameChanged = false;
};
