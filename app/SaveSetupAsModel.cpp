#include "app/SaveSetupAsModel.h"

#include <exception>
#include <utility>

#include "database/CRSBase.h"
#include "database/CRSSetup.h"
#include "platform/ui/Prompter.h"

SaveSetupAsModel::SaveSetupAsModel(SaveSetupAsFields& fields, SetupLookup lookup,
                                   tvane::IPrompter& prompter)
    : m_fields(fields), m_lookup(std::move(lookup)), m_prompter(prompter) {}

void SaveSetupAsModel::Init() {
    m_initialising = true;
    SelectCreateNew();
    m_name = Cut(m_fields.newName, kNameLimit);
    m_user = Cut(m_fields.user, kUserLimit);
    m_description = Cut(m_fields.description, kDescriptionLimit);
    m_lastModified = Cut(m_fields.lastModified, kLastModifiedLimit);
    m_nameChanged = false;
    m_initialising = false;
}

void SaveSetupAsModel::SelectCreateNew() {
    m_createNew = 1;
    m_name = Cut(m_fields.newName, kNameLimit);
    m_nameEnabled = true;
    m_focus = Focus::Name;
}

void SaveSetupAsModel::SelectOverwrite() {
    m_createNew = 0;
    m_name = Cut(m_fields.existingName, kNameLimit);
    m_nameEnabled = false;
    m_focus = Focus::Ok;
}

void SaveSetupAsModel::EditName(const std::string& text) {
    m_name = Cut(text, kNameLimit);
    if (!m_initialising)
        m_nameChanged = true;
}

bool SaveSetupAsModel::Accept() {
    if (m_name.empty())
        return false;
    const auto refuse = [this](const char* text) {
        tvane::MessageRequest box;
        box.text = text;
        box.icon = tvane::MsgIcon::Warning;
        m_prompter.Ask(box);
        m_focus = Focus::Name;
        return false;
    };
    if (tvane::HasControlCharacter(m_name))
        return refuse(kNameHasControlCharacter);
    if (m_nameChanged && m_name != m_fields.newName && m_name != m_fields.existingName &&
        m_lookup && m_lookup(m_name) == RS_ROWS)
        return refuse(kNameInUse);
    m_fields.createNew = m_createNew;
    m_fields.name = m_name;
    m_fields.user = m_user;
    m_fields.description = m_description;
    m_fields.lastModified = m_lastModified;
    return true;
}

SaveSetupAsModel::SetupLookup SaveSetupAsModel::DatabaseLookup(tvane::OdbcDatabase* database) {
    return [database](const std::string& name) -> std::int16_t {
        if (database == nullptr)
            return RS_FAILED;
        try {
            CRSSetup set(database);
            const std::int16_t result = set.OpenGivenSetup(name, RS_READONLY);
            set.Close();
            return result;
        } catch (const std::exception&) {
            return RS_FAILED;
        }
    };
}
