#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/NameText.h"
#include "platform/ui/Prompter.h"

class CLoggerDoc;

namespace tvane {
class OdbcDatabase;
}

// What the New Setup dialog asks of the instrument: whether it is offline and
// the model names of the modules in slots 1, 2 and 3.
class INewSetupInstrument {
public:
    virtual ~INewSetupInstrument() = default;
    virtual bool IsOffline() = 0;
    // False when the instrument did not answer.
    virtual bool ReadModules(std::array<std::string, 3>& models) = 0;
};

// The instrument as the document reaches it.
class DocumentNewSetupInstrument final : public INewSetupInstrument {
public:
    explicit DocumentNewSetupInstrument(CLoggerDoc& doc) : m_doc(doc) {}
    bool IsOffline() override;
    bool ReadModules(std::array<std::string, 3>& models) override;

private:
    CLoggerDoc& m_doc;
};

// The New Setup dialog without its window: the setup's name, the module of
// each slot chosen from the module models of the workspace, the modules read
// from the instrument, and the checks of OK. Item i of the slot lists stands
// for the same module in each; item 0 is "(None)".
class NewSetupModel {
public:
    static constexpr std::size_t kNameLimit = 35;
    static constexpr const char* kNoModule = "(None)"; // 507
    static constexpr const char* kNotResponding =
        "Instrument not responding - operation aborted.\n\nChange the instrument communications "
        "setup to Simulated when an instrument is not connected."; // 4051
    static constexpr const char* kNoSlot =
        "You must configure at least one slot if you want a scan setup to be created.\n\nIf you "
        "cancel this assistant now, no scan setup will be created"; // 910
    static constexpr const char* kNameInUse =
        "The setup name is currently being used. Choose a different name";                  // 911
    static constexpr const char* kExists = "A setup named '%s' already exists, overwrite?"; // 912
    static constexpr const char* kOverwrite =
        "Overwriting permanently destroys all the datasets collected with the setup.\n\nAre you "
        "sure you want to overwirte this setup?"; // 913
    static constexpr const char* kModulesDiffer =
        "The module(s) specified for %s are not the same as the instrument's modules, continue "
        "anyway?"; // 914
    static constexpr const char* kLookupFailed =
        "The workspace could not be searched for a setup named '%s'. Check that the database is "
        "available, then try again.";

    struct Module {
        std::string name;
        std::string description;
    };
    // The workspace's answers: 0 the search failed, 1 rows, 2 none.
    struct Lookups {
        std::function<std::int16_t(std::vector<Module>& cards)> cards;
        std::function<std::int16_t(const std::string& setup)> setup;
    };

    NewSetupModel(Lookups lookups, INewSetupInstrument& instrument, tvane::IPrompter& prompter)
        : m_lookups(std::move(lookups)), m_instrument(instrument), m_prompter(prompter) {}

    // Set by the caller before Init: the proposed name and the setup in use.
    std::string m_name;
    std::string m_currentSetup;
    // After OK: the module models of slots 100, 200 and 300 ("(None)" for none).
    std::array<std::string, 3> m_slots;

    // The module lists, then the instrument's modules selected.
    void Init();
    const std::vector<std::string>& Descriptions() const { return m_descriptions; }
    const std::vector<std::string>& Models() const { return m_models; }
    int Selection(int slot) const { return m_selection[static_cast<std::size_t>(slot)]; }
    void Select(int slot, int index);
    void EditName(const std::string& text) { m_name = tvane::CutUtf8(text, kNameLimit); }
    bool OkEnabled() const { return !m_name.empty(); }
    bool SetToInstrumentEnabled() const { return m_setToInstrument; }
    // "Set to Instrument".
    void SetToInstrument();
    // OK: true when the dialog may close; each refusal is shown and keeps it open.
    bool Accept();

    static Lookups DatabaseLookups(tvane::OdbcDatabase* database);

private:
    // Selects the instrument's modules (position 0 where none was read).
    void ReadInstrumentModules();
    bool ValidateName();
    bool ConfirmModules();
    int FindModel(const std::string& model) const;
    tvane::MsgAnswer Ask(const std::string& text, tvane::MsgButtons buttons, tvane::MsgIcon icon,
                         int defaultButton = 0);

    Lookups m_lookups;
    INewSetupInstrument& m_instrument;
    tvane::IPrompter& m_prompter;
    std::vector<std::string> m_descriptions;
    std::vector<std::string> m_models;
    std::array<int, 3> m_selection{};
    std::array<int, 3> m_reported{};
    bool m_setToInstrument = true;
};
