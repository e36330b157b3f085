#pragma once
#include <initializer_list>
#include <string>
#include <unordered_map>

namespace tvane {

struct StringEntry {
    unsigned id;
    const char* text;
};

// A module's user-visible texts by id. Texts are kept exactly as written;
// choice lists are one entry with items separated by '\n'.
class StringTable {
public:
    StringTable(std::initializer_list<StringEntry> entries);
    // The text of id, or an empty string when the table has none.
    std::string Load(unsigned id) const;
    bool Has(unsigned id) const { return m_texts.count(id) != 0; }
    // Like Load, but false when the id is missing.
    bool Load(unsigned id, std::string& out) const;

private:
    std::unordered_map<unsigned, const char*> m_texts;
};

} // namespace tvane
