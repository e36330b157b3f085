#include "app/SaveSetupModel.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "app/SaveSetupAsModel.h"
#include "database/CRSBase.h"
#include "database/CRSDataset.h"
#include "database/CRSSetup.h"
#include "platform/ui/Prompter.h"

namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

} // namespace

void SaveSetupModel::Init() {
    m_initialising = true;
    m_name = Cut(OldName(), kNameLimit);
    m_lastModified = Cut(m_lastModified, kLastModifiedLimit);
    m_user = Cut(m_user, kUserLimit);
    m_description = Cut(m_description, kDescriptionLimit);
    m_nameChanged = false;
    m_initialising = false;
}

void SaveSetupModel::EditName(const std::string& text) {
    m_name = Cut(text, kNameLimit);
    if (!m_initialising)
        m_nameChanged = true;
}

bool SaveSetupModel::NameIsTaken() const {
    if (m_kind == Setup)
        return m_lookups.setup && m_lookups.setup(m_name) == RS_ROWS;
    return m_lookups.dataset && m_lookups.dataset(m_setupName, m_name) == RS_ROWS;
}

bool SaveSetupModel::Accept() {
    // OK is disabled without a name; Enter must not get past that either.
    if (m_name.empty())
        return false;
    const auto refuse = [this](const char* text) {
        tvane::MessageRequest box;
        box.text = text;
        box.icon = tvane::MsgIcon::Warning;
        m_prompter.Ask(box);
        return false;
    };
    if (tvane::HasControlCharacter(m_name))
        return refuse(kNameHasControlCharacter);
    if (m_nameChanged && !EqualIgnoringCase(m_name, OldName()) && NameIsTaken())
        return refuse(m_kind == Setup ? kSetupInUse : kDatasetInUse);
    return true;
}

SaveSetupModel::Lookups SaveSetupModel::DatabaseLookups(tvane::OdbcDatabase* database) {
    Lookups lookups;
    lookups.setup = SaveSetupAsModel::DatabaseLookup(database);
    lookups.dataset = [database](const std::string& setup,
                                 const std::string& name) -> std::int16_t {
        if (database == nullptr)
            return RS_FAILED;
        try {
            CRSDataset set(database);
            const std::int16_t result = set.OpenGivenSetupDataset(setup, name, RS_READONLY);
            set.Close();
            return result;
        } catch (const std::exception&) {
            return RS_FAILED;
        }
    };
    return lookups;
}
