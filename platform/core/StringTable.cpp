#include "platform/core/StringTable.h"

namespace tvane {

StringTable::StringTable(std::initializer_list<StringEntry> entries) {
    m_texts.reserve(entries.size());
    for (const auto& e : entries)
        m_texts.emplace(e.id, e.text);
}

std::string StringTable::Load(unsigned id) const {
    auto it = m_texts.find(id);
    return it == m_texts.end() ? std::string() : std::string(it->second);
}

bool StringTable::Load(unsigned id, std::string& out) const {
    auto it = m_texts.find(id);
    if (it == m_texts.end())
        return false;
    out = it->second;
    return true;
}

} // namespace tvane
