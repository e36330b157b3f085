#include "app/NewSetupModel.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "app/CLoggerDoc.h"
#include "app/ISaveDialogs.h"
#include "app/SaveSetupAsModel.h"
#include "database/CRSBase.h"
#include "database/CRSCards.h"
#include "database/CRSSetup.h"
#include "platform/core/Format.h"

namespace {

bool StartsWithIgnoringCase(const std::string& text, const std::string& start) {
    return text.size() >= start.size() && std::equal(start.begin(), start.end(), text.begin(),
                                                     [](unsigned char a, unsigned char b) {
                                                         return std::tolower(a) == std::tolower(b);
                                                     });
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && StartsWithIgnoringCase(a, b);
}

} // namespace

bool DocumentNewSetupInstrument::IsOffline() {
    return m_doc.IsInstrumentOffline();
}

bool DocumentNewSetupInstrument::ReadModules(std::array<std::string, 3>& models) {
    for (std::size_t i = 0; i < models.size(); ++i) {
        bool ok = false;
        models[i] = m_doc.GetCardInfoInSlot(static_cast<std::int16_t>((i + 1) * 100), ok);
        if (!ok)
            return false;
    }
    return true;
}

tvane::MsgAnswer NewSetupModel::Ask(const std::string& text, tvane::MsgButtons buttons,
                                    tvane::MsgIcon icon, int defaultButton) {
    tvane::MessageRequest box;
    box.text = text;
    box.buttons = buttons;
    box.icon = icon;
    box.defaultButton = defaultButton;
    return m_prompter.Ask(box);
}

void NewSetupModel::Init() {
    m_name = tvane::CutUtf8(m_name, kNameLimit);
    m_descriptions.clear();
    m_models.clear();
    std::vector<Module> cards;
    // Without the module models the lists stay empty: OK can only report that
    // no slot is configured.
    if (!m_lookups.cards || m_lookups.cards(cards) != RS_ROWS)
        return;
    m_descriptions.push_back(kNoModule);
    m_models.push_back(kNoModule);
    for (const Module& card : cards) {
        m_descriptions.push_back(card.description);
        m_models.push_back(card.name);
    }
    ReadInstrumentModules();
    m_reported = m_selection;
}

void NewSetupModel::Select(int slot, int index) {
    if (slot >= 0 && slot < 3 && index >= 0 && index < static_cast<int>(m_models.size()))
        m_selection[static_cast<std::size_t>(slot)] = index;
}

int NewSetupModel::FindModel(const std::string& model) const {
    if (model.empty())
        return 0;
    for (std::size_t i = 0; i < m_models.size(); ++i)
        if (StartsWithIgnoringCase(m_models[i], model))
            return static_cast<int>(i);
    return 0;
}

void NewSetupModel::ReadInstrumentModules() {
    std::array<int, 3> positions{};
    if (!m_instrument.IsOffline()) {
        std::array<std::string, 3> models;
        if (m_instrument.ReadModules(models)) {
            for (std::size_t i = 0; i < 3; ++i)
                positions[i] = FindModel(models[i]);
        } else {
            Ask(kNotResponding, tvane::MsgButtons::Ok, tvane::MsgIcon::None);
            m_setToInstrument = false;
        }
    }
    if (!m_models.empty())
        m_selection = positions;
}

void NewSetupModel::SetToInstrument() {
    ReadInstrumentModules();
    m_reported = m_selection;
}

bool NewSetupModel::ValidateName() {
    if (m_name.empty())
        return false;
    if (tvane::HasControlCharacter(m_name)) {
        Ask(kNameHasControlCharacter, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
        return false;
    }
    if (m_name == m_currentSetup) {
        Ask(kNameInUse, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
        return false;
    }
    const std::int16_t found = m_lookups.setup ? m_lookups.setup(m_name) : RS_FAILED;
    if (found == RS_FAILED) {
        // Creating the setup would replace a namesake that could not be seen.
        Ask(tvane::Format(kLookupFailed, m_name.c_str()), tvane::MsgButtons::Ok,
            tvane::MsgIcon::Warning);
        return false;
    }
    if (found != RS_ROWS)
        return true;
    // Cancel is the default of both.
    if (Ask(tvane::Format(kExists, m_name.c_str()), tvane::MsgButtons::OkCancel,
            tvane::MsgIcon::Warning, 1) != tvane::MsgAnswer::Ok)
        return false;
    return Ask(kOverwrite, tvane::MsgButtons::OkCancel, tvane::MsgIcon::Warning, 1) ==
           tvane::MsgAnswer::Ok;
}

bool NewSetupModel::ConfirmModules() {
    if (m_instrument.IsOffline())
        return true;
    std::array<std::string, 3> reported;
    if (!m_instrument.ReadModules(reported))
        return true;
    std::string differing;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string model = reported[i].empty() ? kNoModule : reported[i];
        if (EqualIgnoringCase(model, m_slots[i]))
            continue;
        if (!differing.empty())
            differing += ",";
        differing += "Slot" + std::to_string(i + 1);
    }
    if (differing.empty())
        return true;
    return Ask(tvane::Format(kModulesDiffer, differing.c_str()), tvane::MsgButtons::YesNo,
               tvane::MsgIcon::Question, 1) == tvane::MsgAnswer::Yes;
}

bool NewSetupModel::Accept() {
    if (!ValidateName())
        return false;
    bool any = false;
    for (std::size_t i = 0; i < 3; ++i) {
        const int index = m_models.empty() ? 0 : m_selection[i];
        m_slots[i] = m_models.empty() ? kNoModule : m_models[static_cast<std::size_t>(index)];
        any = any || index != 0;
    }
    if (!any) {
        Ask(kNoSlot, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
        return false;
    }
    return ConfirmModules();
}

NewSetupModel::Lookups NewSetupModel::DatabaseLookups(tvane::OdbcDatabase* database) {
    Lookups lookups;
    lookups.cards = [database](std::vector<Module>& cards) -> std::int16_t {
        cards.clear();
        if (database == nullptr)
            return RS_FAILED;
        try {
            CRSCards set(database);
            const std::int16_t result = set.OpenAll(RS_READONLY);
            if (result == RS_ROWS)
                for (std::int16_t moved = 1; moved == 1 && !set.IsEOF();
                     moved = set.MoveRecord(RS_MOVE_NEXT))
                    cards.push_back({set.m_Name, set.m_Description});
            set.Close();
            return result;
        } catch (const std::exception&) {
            cards.clear();
            return RS_FAILED;
        }
    };
    lookups.setup = SaveSetupAsModel::DatabaseLookup(database);
    return lookups;
}
